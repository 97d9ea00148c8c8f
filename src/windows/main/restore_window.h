// 数据恢复: the backups of the data directory, newest first, with their date, kind and size;
// the operator picks one (or another file) to restore from. The window only chooses: the shell
// checks the file, asks, and swaps it in.
#pragma once

#include <QWidget>
#include <filesystem>
#include <vector>

#include "store/safekeeping.h"

namespace daike {

struct RunContext;

class RestoreWindow : public QWidget {
    Q_OBJECT
  public:
    RestoreWindow(RunContext& ctx, QWidget* owner);

  signals:
    void chosen(const QString& file);

  private:
    void restoreSelected();
    void chooseOther();
    RunContext& ctx_;
    std::vector<safekeeping::Backup> backups_;
};

}  // namespace daike
