// The real desktop: Qt message boxes, the system clock, the primary screen and the pointer.
#pragma once

#include "platform/platform.h"

namespace daike {

class QtMessageBoxes : public MessageBoxes {
  public:
    void ok(const QString& text) override;
    bool yesNo(const QString& text) override;
    bool okCancel(const QString& text) override;
};

class SystemClock : public Clock {
  public:
    std::chrono::sys_days today() const override;
    std::chrono::seconds timeOfDay() const override;
};

class QtScreen : public Screen {
  public:
    int widthPixels() const override;
    int twipsPerPixel() const override;
    std::vector<QRect> screenAreas() const override;
    void showFullScreen(QWidget& window, const QRect& area) override;
    QRect availableArea() const override;
    double scale() const override;
    QMargins windowFrame(const QWidget& window) const override;
    void maximise(QWidget& window) const override;
};

class QtPointer : public Pointer {
  public:
    void moveTo(QPoint screenPosition) override;
};

class QtFileDialogs : public FileDialogs {
  public:
    std::optional<QString> openFile(const QString& caption, const QString& directory,
                                    const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& suggested,
                                    const QString& filter) override;
};

class QtPrinter : public Printer {
  public:
    bool print(const QString& jobName, const QPageLayout& layout,
               const PagePainter& paint) override;
    void preview(QWidget* parent, const QString& jobName, const QPageLayout& layout,
                 const PagePainter& paint) override;
};

class QtClipboard : public Clipboard {
  public:
    void setText(const QString& text) override;
};

class QtPlatform {
  public:
    Platform platform() {
        return {boxes_, clock_, screen_, pointer_, files_, printer_, clipboard_};
    }

  private:
    QtMessageBoxes boxes_;
    SystemClock clock_;
    QtScreen screen_;
    QtPointer pointer_;
    QtFileDialogs files_;
    QtPrinter printer_;
    QtClipboard clipboard_;
};

}  // namespace daike
