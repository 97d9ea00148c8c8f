// FormCD 重打代课通知: one cover of the working day chosen from the list, its notice alone
// printed, previewed or saved as PDF again (a slip lost, a substitute who asks for another).
// Printing changes no table.
#pragma once

#include <QWidget>
#include <vector>

#include "store/tables/covers.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace daike {

struct RunContext;

class ReprintWindow : public QWidget {
    Q_OBJECT
  public:
    ReprintWindow(RunContext& ctx, QWidget* owner);
    // Reads the working day's cover again; the chosen cover stays chosen while it is there.
    void refresh();

  private:
    void render();
    void output(int how);

    RunContext& ctx_;
    std::vector<CoverRecord> records_;
    int chosen_ = -1;  // index into records_, -1: none
    QListWidget* list_;
    QLabel* hint_;
    std::vector<QPushButton*> outputs_;
};

}  // namespace daike
