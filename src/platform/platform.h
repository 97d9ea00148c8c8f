// The small layers that stand between the program and the desktop: message boxes, today's
// date, the screen, and the mouse pointer. Each has a Qt implementation for the real program
// (qt_platform.h) and a scripted double for tests (scripted_platform.h). Nothing else in the
// program talks to these parts of the desktop directly.
#pragma once

#include <QPoint>
#include <QString>
#include <chrono>

class QWidget;

namespace daike {

// Modal message boxes, titled with the program's name.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Information or error: one button 确定.
    virtual void ok(const QString& text) = 0;
    // Question: 是 (true) or 否 (false).
    virtual bool yesNo(const QString& text) = 0;
    // Confirmation: 确定 (true) or 取消 (false).
    virtual bool okCancel(const QString& text) = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::chrono::sys_days today() const = 0;
};

class Screen {
  public:
    virtual ~Screen() = default;
    virtual int widthPixels() const = 0;
    // Twips (1/1440 inch) per pixel; 15 on an ordinary 96-dpi screen.
    virtual int twipsPerPixel() const = 0;
};

class Pointer {
  public:
    virtual ~Pointer() = default;
    // Moves the mouse pointer to a position on the screen, in pixels.
    virtual void moveTo(QPoint screenPosition) = 0;
};

// What every window is given to reach the desktop.
struct Platform {
    MessageBoxes& boxes;
    Clock& clock;
    Screen& screen;
    Pointer& pointer;
};

// The office's windows were laid out for screens 800 pixels wide.
bool isDesignScreen(const Screen& screen);

// Puts a window at its designed position; on a screen that is not 800 pixels wide it goes
// 1800 twips right and 1400 twips down from there.
void placeWindow(QWidget& window, const Screen& screen, QPoint designPosition);

// Moves the pointer to one of two positions: the first on 800-pixel screens, the second on
// any other.
void placePointer(const Platform& platform, QPoint onDesignScreen, QPoint otherwise);

}  // namespace daike
