// FormTZ 复制通知文字: the text for the teachers' chat group, shown exactly as it will be
// copied: names first (按教师) or by class (按班级, for the head teachers' group); once the
// substitutes were told, only the changes (只发变更) or the whole day again (全部). 复制 puts it
// on the clipboard and records that the substitutes were told.
#pragma once

#include <QWidget>
#include <string>

#include "engine/group_text.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace daike {

struct RunContext;

class GroupTextWindow : public QWidget {
    Q_OBJECT
  public:
    GroupTextWindow(RunContext& ctx, QWidget* owner);
    // Reads the working day again (opened again, or its cover changed).
    void refresh();

  private:
    void render();
    void copy();

    RunContext& ctx_;
    QRadioButton* byTeacher_;
    QRadioButton* byClass_;
    QRadioButton* changesOnly_;
    QRadioButton* wholeDay_;
    QPlainTextEdit* text_;
    QLabel* copied_;
    QPushButton* copyButton_;

    grouptext::DayTexts texts_;
    grouptext::Form form_ = grouptext::Form::ByTeacher;
    bool onlyChanges_ = false;
    bool changesOffered_ = false;
    std::string shown_;
    bool justCopied_ = false;
    bool telling_ = false;  // our own record of the telling is being announced
};

}  // namespace daike
