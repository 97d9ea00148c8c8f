// Form13: the date of the Monday of week 1 of the term.
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class TermStartWindow : public QWidget {
    Q_OBJECT
  public:
    TermStartWindow(RunContext& ctx, QWidget* owner);

  private:
    void save();
    RunContext& ctx_;
};

}  // namespace daike
