#include <QWidget>

#include "platform/platform.h"

namespace daike {

bool isDesignScreen(const Screen& screen) {
    return static_cast<float>(screen.widthPixels()) == 800.0f;
}

void placeWindow(QWidget& window, const Screen& screen, QPoint designPosition) {
    QPoint at = designPosition;
    if (!isDesignScreen(screen)) {
        const int tpp = screen.twipsPerPixel() > 0 ? screen.twipsPerPixel() : 15;
        at += QPoint(1800 / tpp, 1400 / tpp);
    }
    window.move(at);
}

void placePointer(const Platform& platform, QPoint onDesignScreen, QPoint otherwise) {
    platform.pointer.moveTo(isDesignScreen(platform.screen) ? onDesignScreen : otherwise);
}

}  // namespace daike
