// 代课统计: who covered how many lessons and whose lessons were covered, for today, this week,
// a range of weeks or the whole term, with the fairness chart, the pay per lesson and the
// exports to Excel, CSV and PDF.
#pragma once

#include <QWidget>

#include "statistics/figures.h"
#include "statistics/tables.h"

class QTableWidget;
class QSpinBox;
class QComboBox;
class QLineEdit;
class QLabel;

namespace daike {

struct RunContext;
struct StatisticsExport;
class CoverChart;

class StatisticsWindow : public QWidget {
    Q_OBJECT
  public:
    StatisticsWindow(RunContext& ctx, QWidget* owner);

    const statistics::Figures& figures() const { return figures_; }

  signals:
    // 公平性…: the shell opens 代课公平性.
    void fairnessRequested();
    void paySheetRequested();

  protected:
    void changeEvent(QEvent* e) override;

  private:
    statistics::Range chosenRange() const;
    void refresh();  // reads the figures again and shows them in the present order
    void display(bool keepOrder);
    void sortBy(int column);
    void saveRate();
    void exportTo(const StatisticsExport& e);
    // The file name the operator chose, with the extension added when left off; nothing on 取消.
    std::optional<QString> askFile(const QString& caption, const QString& extension,
                                   const QString& filter);

    RunContext& ctx_;
    statistics::Range range_;
    statistics::Figures figures_;
    statistics::Table table_;
    int sortColumn_ = -1;
    bool descending_ = false;
    bool ready_ = false;

    QTableWidget* grid_ = nullptr;
    CoverChart* chart_ = nullptr;
    QSpinBox* fromWeek_ = nullptr;
    QSpinBox* toWeek_ = nullptr;
    QComboBox* others_ = nullptr;
    QLineEdit* fromDay_ = nullptr;
    QLineEdit* toDay_ = nullptr;
    QLabel* days_ = nullptr;
    // The past terms, school years and months offered, as 其他 lists them.
    std::vector<statistics::Range> otherChoices_;
    statistics::Range other_;  // the one chosen under 其他 or 日期
    int otherChosen_ = 0;
    QLabel* sentence_ = nullptr;
    QLabel* note_ = nullptr;
};

}  // namespace daike
