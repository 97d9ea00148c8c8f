// Form22: the list of the school's teachers, typed into 64 numbered places.
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class TeacherNamesWindow : public QWidget {
    Q_OBJECT
  public:
    TeacherNamesWindow(RunContext& ctx, QWidget* owner);

  private:
    void load();
    void store();
    RunContext& ctx_;
};

}  // namespace daike
