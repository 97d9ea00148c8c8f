#include <QWidget>
#include <algorithm>

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
    keepOnScreen(window, screen);
}

QPoint keptInside(const QRect& frame, const QRect& area) {
    QPoint at = frame.topLeft();
    if (frame.right() > area.right()) at.setX(at.x() - (frame.right() - area.right()));
    if (frame.bottom() > area.bottom()) at.setY(at.y() - (frame.bottom() - area.bottom()));
    at.setX(std::max(at.x(), area.left()));
    at.setY(std::max(at.y(), area.top()));
    return at;
}

void keepOnScreen(QWidget& window, const Screen& screen) {
    const QMargins m = screen.windowFrame(window);
    // move() places the frame's top-left corner; the size is the inside.
    const QRect frame(window.pos(), window.size().grownBy(m));
    const QPoint at = keptInside(frame, screen.availableArea());
    if (at != window.pos()) window.move(at);
}

QMargins Screen::windowFrame(const QWidget&) const {
    return QMargins(8, 30, 8, 8);
}

void Screen::maximise(QWidget& window) const {
    const QRect area = availableArea();
    const QMargins m = windowFrame(window);
    window.move(area.topLeft());
    window.resize(area.width(), area.height() - m.top());
}

void placePointer(const Platform& platform, QPoint onDesignScreen, QPoint otherwise) {
    platform.pointer.moveTo(isDesignScreen(platform.screen) ? onDesignScreen : otherwise);
}

}  // namespace daike
