// A desktop for tests: message boxes answered from a queue and remembered, a clock set by
// hand, a screen of a chosen width and a pointer that only records where it was sent.
#pragma once

#include <deque>
#include <optional>
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

    void ok(const QString& text) override;
    bool yesNo(const QString& text) override;
    bool okCancel(const QString& text) override;

  private:
    QString take(Kind kind, const QString& text, const QString& first, const QString& second);
    std::deque<QString> answers_;
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

class FixedScreen : public Screen {
  public:
    void setWidth(int pixels) { width_ = pixels; }
    int widthPixels() const override { return width_; }
    int twipsPerPixel() const override { return 15; }

  private:
    int width_ = 1024;
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

class ScriptedPlatform {
  public:
    ScriptedPlatform();
    Platform platform() { return {boxes, clock, screen, pointer}; }

    ScriptedMessageBoxes boxes;
    FixedClock clock;
    FixedScreen screen;
    RecordingPointer pointer;
};

}  // namespace daike
