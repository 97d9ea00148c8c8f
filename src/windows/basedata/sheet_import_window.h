// 导入总课表 (FormKB): the whole school's timetable from one spreadsheet. The office chooses the
// file, sees the layout found (and may choose another), every lesson read and every problem,
// decides whether new names join the teacher list, and only 确定 replaces the timetable, after
// an automatic backup. 取消 and closing the window change nothing.
#pragma once

#include <QWidget>
#include <optional>

#include "basedata/sheet_import.h"

class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace daike {

struct RunContext;
class LessonsModel;

class SheetImportWindow : public QWidget {
    Q_OBJECT
  public:
    SheetImportWindow(RunContext& ctx, QWidget* owner);

  private:
    void chooseFile();
    void chooseLayout(int index);
    // Reads the loaded file again in the layout chosen, against the school as it is now.
    void recheck();
    void display();
    void confirm();

    RunContext& ctx_;
    std::optional<sheet_import::Loaded> loaded_;
    std::optional<timetable_sheets::Layout> chosen_;  // none: the layout found
    std::optional<sheet_import::Preview> preview_;
    bool addNewTeachers_ = false;

    QLineEdit* file_ = nullptr;
    QComboBox* layouts_ = nullptr;
    QLabel* found_ = nullptr;
    QLabel* lessonsTitle_ = nullptr;
    QTableView* grid_ = nullptr;
    LessonsModel* model_ = nullptr;
    QLabel* problemsTitle_ = nullptr;
    QListWidget* problems_ = nullptr;
    QCheckBox* addNames_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace daike
