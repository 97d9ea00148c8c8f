// Keeping every window of the program on the screen, whatever its size and scaling: a window is
// moved back inside the available area, a large one is maximised on a screen too small for it,
// and a window of fixed size that cannot fit shows its controls in a scroll area.
#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

class QWidget;

namespace daike {

class Screen;

// How a window was fitted when it was last shown.
enum class WindowFit {
    Fits,       // at its own size, moved back inside the area when needed
    Maximised,  // maximised on the area
    Scrolled,   // its controls in a scroll area, the window cut to the area
};

QString fitName(WindowFit fit);  // "fits", "maximised", "scrolled"

// The fit fitToScreen() chose for the window (Fits for one it has not seen).
WindowFit fitOf(const QWidget& window);

// Fits a top-level window into the screen's available area, its title bar and frame included:
//  - a window that fits stays as placed, moved back inside when the placement pushed it out;
//  - a resizable window (and one of fixed size that fits once its frame goes, as a maximised
//    window's does) is maximised, its minimum size lowered to the area; its contents go into a
//    scroll area when even their smallest size does not fit there;
//  - a window of fixed size larger than that keeps its contents at their size in a scroll area
//    and shrinks to the area.
// Running it again on a fitted window does not wrap it twice.
WindowFit fitToScreen(QWidget& window, const Screen& screen);

// The size a window's contents need at the least: its layout's minimum, and the controls placed
// by hand where they are.
QSize contentsNeed(const QWidget& window);

// Whether fitToScreen() maximised the window (it may also have given it a scroll area).
bool fitMaximised(const QWidget& window);

// The named controls of a window that its edge cuts off ("Command1 at 693,33 80x27"): a control
// in a scroll area counts only when the scroll area's contents cut it off.
QStringList cutOffControls(QWidget& window);

// Fits every ordinary window and dialog as it is shown (message boxes, file dialogs and the
// print preview included); menus, tooltips and windows shown full screen are left alone.
// The watcher works for as long as it lives.
class FitWhenShown : public QObject {
  public:
    explicit FitWhenShown(const Screen& screen);
    ~FitWhenShown() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const Screen& screen_;
};

}  // namespace daike
