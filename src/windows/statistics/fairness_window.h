// 代课公平性: how many lessons each teacher covered this week, this month, this term or between
// two dates, beside his own timetabled lessons, with the chart and the spread; printed, or
// saved as PDF or Excel for the leaders. It names no one as absent.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "statistics/fairness.h"
#include "statistics/tables.h"

class QTableWidget;
class QLineEdit;
class QLabel;
class QPushButton;

namespace daike {

struct RunContext;
class CoverChart;
struct StatisticsPage;

class FairnessWindow : public QWidget {
    Q_OBJECT
  public:
    FairnessWindow(RunContext& ctx, QWidget* owner);

    // Reads the figures of the range shown again (cover recorded since).
    void refresh();

  protected:
    void changeEvent(QEvent* e) override;

  private:
    void choose(statistics::DateRangeKind kind);
    void countTyped();  // 统计: the dates typed
    // Reads the range; a refusal is shown (when asked to) and leaves the sheet as it was.
    bool showRange(const statistics::DateRange& range, bool tellRefusal);
    void display();
    void sortBy(int column);
    StatisticsPage page() const;
    void print();
    void exportPdf();
    void exportXlsx();
    std::optional<QString> askFile(const QString& caption, const QString& extension,
                                   const QString& filter);

    RunContext& ctx_;
    statistics::DateRangeKind kind_ = statistics::DateRangeKind::Term;
    std::string fromText_, toText_;  // what the date boxes hold
    std::optional<statistics::Fairness> sheet_;
    statistics::Table table_;
    statistics::Chart chart_;
    int sortColumn_ = -1;
    bool descending_ = false;
    bool ready_ = false;

    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QPushButton* count_ = nullptr;
    std::vector<QPushButton*> outputs_;  // 打印…, 导出PDF…, 导出Excel…: once there is a sheet
    QTableWidget* grid_ = nullptr;
    CoverChart* chartView_ = nullptr;
    QLabel* sentence_ = nullptr;
    QLabel* note_ = nullptr;
};

}  // namespace daike
