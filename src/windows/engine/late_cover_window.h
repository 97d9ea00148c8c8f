// FormBD 补登与改事由: cover of an earlier day of this term recorded afterwards, the reason of a
// recorded cover corrected, and the log of both (修改记录). Opened from 代课模式 and from 修改.
#pragma once

#include <QWidget>
#include <vector>

#include "engine/late_cover.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace daike {

struct RunContext;

class LateCoverWindow : public QWidget {
    Q_OBJECT
  public:
    LateCoverWindow(RunContext& ctx, QWidget* owner);

  protected:
    bool event(QEvent* e) override;

  private:
    void listLessons();
    void recordLate();
    void changeReason();
    // The term's covers and the log, read again.
    void refresh();
    std::string now() const;

    RunContext& ctx_;
    std::vector<TimetableRow> lessons_;  // of 请假教师 on the day typed, as List1 shows them
    std::vector<CoverRecord> covers_;    // the term's, as List2 shows them
    QLineEdit* absent_ = nullptr;
    QLineEdit* date_ = nullptr;
    QListWidget* lessonList_ = nullptr;
    QLineEdit* substitute_ = nullptr;
    QComboBox* reason_ = nullptr;
    QListWidget* coverList_ = nullptr;
    QComboBox* newReason_ = nullptr;
    QListWidget* log_ = nullptr;
};

}  // namespace daike
