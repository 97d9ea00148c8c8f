// The small layers that stand between the program and the desktop: message boxes, today's
// date, the screen, the mouse pointer, file dialogs and the printer. Each has a Qt implementation
// for the real program (qt_platform.h) and a scripted double for tests (scripted_platform.h).
// Nothing else in the program talks to these parts of the desktop directly.
#pragma once

#include <QMargins>
#include <QPageLayout>
#include <QPoint>
#include <QRect>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

class QPagedPaintDevice;

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
    // The time of day on the office's clock; it names backup files.
    virtual std::chrono::seconds timeOfDay() const { return std::chrono::hours(8); }
};

class Screen {
  public:
    virtual ~Screen() = default;
    virtual int widthPixels() const = 0;
    // Twips (1/1440 inch) per pixel; 15 on an ordinary 96-dpi screen.
    virtual int twipsPerPixel() const = 0;
    // Every screen of the desktop in desktop coordinates, the primary one first.
    virtual std::vector<QRect> screenAreas() const = 0;
    // Shows a window filling the screen of that area (one of screenAreas()).
    virtual void showFullScreen(QWidget& window, const QRect& area) = 0;

    // The part of the primary screen windows may take, taskbar left out, in desktop
    // coordinates of device-independent pixels (what windows are moved and sized in).
    virtual QRect availableArea() const { return QRect(0, 0, widthPixels(), 728); }
    // Device pixels per device-independent pixel: 1.0, 1.25, 1.5 as the desktop is scaled.
    virtual double scale() const { return 1.0; }
    // What the desktop draws around a window: the title bar on top, the frame on the other
    // sides. A title bar of 30 and a frame of 8 pixels until the desktop says otherwise.
    virtual QMargins windowFrame(const QWidget& window) const;
    // Shows a window maximised on the available area: the title bar at the top of the area, its
    // inside the rest of it (a maximised window has no frame at the sides).
    virtual void maximise(QWidget& window) const;
};

class Pointer {
  public:
    virtual ~Pointer() = default;
    // Moves the mouse pointer to a position on the screen, in pixels.
    virtual void moveTo(QPoint screenPosition) = 0;
};

// Choosing a file to read or a name to write to. Nothing is read or written here: the caller
// gets the chosen path, or nothing when the operator cancelled.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // `filter` as the toolkit writes it: "Excel 工作簿 (*.xlsx)".
    virtual std::optional<QString> openFile(const QString& caption, const QString& directory,
                                            const QString& filter) = 0;
    // `suggested` is the full path offered; the operator may change folder and name.
    virtual std::optional<QString> saveFile(const QString& caption, const QString& suggested,
                                            const QString& filter) = 0;
};

// Draws every page of a document on the device it is given, calling newPage() between pages.
using PagePainter = std::function<void(QPagedPaintDevice&)>;

// The printer. The pages are drawn by the caller; this layer only chooses where they go.
class Printer {
  public:
    virtual ~Printer() = default;
    // Prints one copy of every page on the default printer. False when there is no printer or
    // the job could not be started (nothing was printed).
    virtual bool print(const QString& jobName, const QPageLayout& layout,
                       const PagePainter& paint) = 0;
    // The toolkit's print preview of the same pages, from which the operator may also print
    // on a printer of their choice.
    virtual void preview(QWidget* parent, const QString& jobName, const QPageLayout& layout,
                         const PagePainter& paint) = 0;
};

// The desktop's clipboard, for texts pasted into the teachers' chat groups.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
};

// What every window is given to reach the desktop.
struct Platform {
    MessageBoxes& boxes;
    Clock& clock;
    Screen& screen;
    Pointer& pointer;
    FileDialogs& files;
    Printer& printer;
    Clipboard& clipboard;
};

// The office's windows were laid out for screens 800 pixels wide.
bool isDesignScreen(const Screen& screen);

// Puts a window at its designed position; on a screen that is not 800 pixels wide it goes
// 1800 twips right and 1400 twips down from there. Then it is moved back as far as needed for
// its title bar and frame to lie inside the available area (the top-left corner first).
void placeWindow(QWidget& window, const Screen& screen, QPoint designPosition);

// Where a window's frame (its outer rectangle, title bar and frame included) goes to lie inside
// the area: moved left and up as far as needed, but never past the area's top-left corner.
QPoint keptInside(const QRect& frame, const QRect& area);

// Moves a window so that its frame lies inside the screen's available area, as keptInside().
void keepOnScreen(QWidget& window, const Screen& screen);

// Moves the pointer to one of two positions: the first on 800-pixel screens, the second on
// any other.
void placePointer(const Platform& platform, QPoint onDesignScreen, QPoint otherwise);

}  // namespace daike
