// Form17 (the number of classes of each grade) and Form18 (the courses each grade offers).
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class ClassesWindow : public QWidget {
    Q_OBJECT
  public:
    ClassesWindow(RunContext& ctx, QWidget* owner);

  private:
    void write();
    RunContext& ctx_;
};

class CoursesWindow : public QWidget {
    Q_OBJECT
  public:
    CoursesWindow(RunContext& ctx, QWidget* owner);

  private:
    void store();
    void showGrade(int grade);
    RunContext& ctx_;
    int shownGrade_ = -1;  // the grade whose courses are listed, -1 for none yet
};

}  // namespace daike
