// A desktop for tests: message boxes answered from a queue and remembered, a clock set by
// hand, a screen of a chosen width and a pointer that only records where it was sent.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <vector>

#include "platform/platform.h"

namespace daike {

class ScriptedMessageBoxes : public MessageBoxes {
  public:
    enum class Kind { Ok, YesNo, OkCancel };
    struct Shown {
        Kind kind;
        QString text;
        QString answer;  // the caption of the button taken
    };

    // Queues the caption of the button the next box takes ("是", "否", "确定", "取消"); a box
    // with nothing queued takes its first button.
    void queue(const QString& button) { answers_.push_back(button); }
    const std::vector<Shown>& shown() const { return shown_; }
    // Answers that named a button the box did not have.
    const std::vector<QString>& mismatches() const { return mismatches_; }
    std::size_t pendingAnswers() const { return answers_.size(); }
    // From now on a box with nothing queued takes one of its buttons at random (the same
    // buttons for the same seed and the same boxes): an operator who clicks without reading.
    void answerAtRandom(std::uint32_t seed) {
        random_ = true;
        rng_.seed(seed);
    }

    void ok(const QString& text) override;
    bool yesNo(const QString& text) override;
    bool okCancel(const QString& text) override;

  private:
    QString take(Kind kind, const QString& text, const QString& first, const QString& second);
    std::deque<QString> answers_;
    bool random_ = false;
    std::mt19937 rng_;
    std::vector<Shown> shown_;
    std::vector<QString> mismatches_;
};

class FixedClock : public Clock {
  public:
    explicit FixedClock(std::chrono::sys_days day) : day_(day) {}
    void set(std::chrono::sys_days day) { day_ = day; }
    std::chrono::sys_days today() const override { return day_; }

  private:
    std::chrono::sys_days day_;
};

// One screen of 1024x768 unless told otherwise. A window shown full screen is put on the
// area given, at its size, as an ordinary window (the offscreen desktop has no second screen).
// The taskbar takes the bottom 40 pixels of the primary screen.
class FixedScreen : public Screen {
  public:
    static constexpr int kTaskbar = 40;
    // A screen that wide at 100 %, three quarters as high as wide (800x600, 1024x768).
    void setWidth(int pixels);
    // A screen of that many device pixels scaled by `percent` (100, 125, 150): windows see it
    // as (width / scale) x (height / scale) pixels, as Qt reports a scaled screen.
    void setSize(int width, int height, int percent);
    // The desktop's screens side by side, the first the primary one (its width is the width).
    void setSizes(const std::vector<QSize>& sizes);
    int widthPixels() const override { return width_; }
    int twipsPerPixel() const override { return 15; }
    std::vector<QRect> screenAreas() const override;
    void showFullScreen(QWidget& window, const QRect& area) override;
    QRect availableArea() const override;
    double scale() const override { return scale_; }
    // The primary screen in device pixels, as the scenario named it.
    QSize deviceSize() const { return device_; }
    // The areas windows were shown full screen on, in order.
    const std::vector<QRect>& fullScreenShown() const { return shownOn_; }

  private:
    int width_ = 1024;
    int height_ = 768;
    double scale_ = 1.0;
    QSize device_{1024, 768};
    std::vector<QSize> sizes_;
    std::vector<QRect> shownOn_;
};

class RecordingPointer : public Pointer {
  public:
    void moveTo(QPoint p) override { moves_.push_back(p); }
    std::optional<QPoint> last() const {
        return moves_.empty() ? std::nullopt : std::optional<QPoint>(moves_.back());
    }
    const std::vector<QPoint>& moves() const { return moves_; }

  private:
    std::vector<QPoint> moves_;
};

// File dialogs answered from a queue: a path, or nothing for 取消. A dialog with nothing
// queued takes the path it suggests (opening: is cancelled). Every dialog shown is remembered.
class ScriptedFileDialogs : public FileDialogs {
  public:
    struct Shown {
        bool save;
        QString caption;
        QString suggested;  // the suggested path (saving) or directory (opening)
        std::optional<QString> answer;
    };
    void queue(std::optional<QString> answer) { answers_.push_back(std::move(answer)); }
    const std::vector<Shown>& shown() const { return shown_; }
    std::size_t pendingAnswers() const { return answers_.size(); }

    std::optional<QString> openFile(const QString& caption, const QString& directory,
                                    const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& suggested,
                                    const QString& filter) override;

  private:
    std::deque<std::optional<QString>> answers_;
    std::vector<Shown> shown_;
};

// A printer that writes each job to a PDF in a directory of its own, so a test can read what
// was printed. A preview is written the same way and counted apart.
class PdfPrinter : public Printer {
  public:
    struct Job {
        QString name;
        QString pdfPath;
        int pages = 0;
        bool preview = false;
    };
    void setDirectory(const QString& dir) { dir_ = dir; }
    // A printer that is missing: print() fails.
    void setAvailable(bool available) { available_ = available; }
    const std::vector<Job>& jobs() const { return jobs_; }
    // The next preview also opens the toolkit's print preview dialog, as the real printer does,
    // and hands it to `whileOpen` before closing it: a test may look at the dialog.
    void openNextPreview(std::function<void(QWidget& dialog)> whileOpen) {
        whileOpen_ = std::move(whileOpen);
    }

    bool print(const QString& jobName, const QPageLayout& layout,
               const PagePainter& paint) override;
    void preview(QWidget* parent, const QString& jobName, const QPageLayout& layout,
                 const PagePainter& paint) override;

  private:
    Job write(const QString& jobName, const QPageLayout& layout, const PagePainter& paint,
              bool preview);
    QString dir_;
    bool available_ = true;
    std::function<void(QWidget&)> whileOpen_;
    std::vector<Job> jobs_;
};

// A clipboard that keeps every text put on it, the last one being what a paste would give.
class RecordingClipboard : public Clipboard {
  public:
    void setText(const QString& text) override { texts_.push_back(text); }
    const std::vector<QString>& texts() const { return texts_; }

  private:
    std::vector<QString> texts_;
};

class ScriptedPlatform {
  public:
    ScriptedPlatform();
    Platform platform() { return {boxes, clock, screen, pointer, files, printer, clipboard}; }

    ScriptedMessageBoxes boxes;
    FixedClock clock;
    FixedScreen screen;
    RecordingPointer pointer;
    ScriptedFileDialogs files;
    PdfPrinter printer;
    RecordingClipboard clipboard;
};

}  // namespace daike
