// The logic's announcements (store/changes.h) as Qt signals. A window makes one as its child
// and connects what it shows; the subscription ends with the window.
#pragma once

#include <QObject>

#include "store/changes.h"

namespace daike {

struct RunContext;

class ChangeSignals : public QObject {
    Q_OBJECT
  public:
    ChangeSignals(ChangeNotifier& changes, QObject* owner);
    ~ChangeSignals() override;

  signals:
    void coverChanged();
    void absencesChanged();
    void calendarChanged();
    void baseDataChanged();
    // Any of the four: for a view that shows all of the day.
    void dayChanged();

  private:
    ChangeNotifier& changes_;
    int token_;
};

// The announcements of the run, for a window.
ChangeSignals* listen(RunContext& ctx, QObject* window);

}  // namespace daike
