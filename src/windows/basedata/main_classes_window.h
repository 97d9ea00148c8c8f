// Form7 教师主要任课班级输入: one teacher at a time, the head-teacher class (主班) and the classes
// of 语文, 数学, 英语 and 科学, chosen by ticking the class boxes of each grade.
#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "basedata/main_classes.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QLabel;

namespace daike {

struct RunContext;

class MainClassesWindow : public QWidget {
    Q_OBJECT
  public:
    MainClassesWindow(RunContext& ctx, QWidget* owner);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    struct ClassBox {
        std::string cls;
        QCheckBox* box;
    };
    void buildClassGrid(QWidget* area);
    void showTeacher(int position);
    void step(int delta);
    // Asks whether to store changed values; false when the store failed (stay on the teacher).
    bool offerToStore();
    void chooseSubject(int k);
    void classClicked(const ClassBox& c, bool on);
    void showTicks();
    void showSubjectColours();

    RunContext& ctx_;
    std::vector<mainclasses::Teacher> teachers_;
    int position_ = 0;  // 1-based place of the teacher on screen; 0 when there is none
    mainclasses::Editor editor_;
    std::array<QLineEdit*, 1 + mainclasses::kValues> boxes_{};  // 姓名, then the values
    std::vector<ClassBox> classBoxes_;
    QLabel* count_ = nullptr;
    QLabel* place_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
};

}  // namespace daike
