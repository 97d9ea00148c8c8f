// 代课费发放表: for a calendar month or any dates, what each teacher who covered is paid, by
// kind of period; the rates edited and saved here (正课 is the one rate 代课统计 shows); the
// sheet previewed, printed, saved as PDF or Excel for the finance office to sign.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "statistics/pay_sheet.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace daike {

struct RunContext;

class PaySheetWindow : public QWidget {
    Q_OBJECT
  public:
    PaySheetWindow(RunContext& ctx, QWidget* owner);

    // Reads the sheet of the range shown again (cover recorded or rates saved since).
    void refresh();

  protected:
    void changeEvent(QEvent* e) override;

  private:
    void makeSheet();  // 生成: the range chosen
    // Reads the range's sheet; a refusal is shown as a message when asked, else on the label.
    void showRange(const statistics::DateRange& range, bool tellRefusal);
    void saveRates();
    void print();
    void preview();
    void exportPdf();
    void exportXlsx();

    RunContext& ctx_;
    std::optional<statistics::DateRange> range_;
    std::optional<statistics::PaySheet> sheet_;
    bool ready_ = false;

    QRadioButton* monthOption_ = nullptr;
    QComboBox* month_ = nullptr;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    std::vector<QLineEdit*> rates_;  // 正课, 早读, 午管, 课后服务
    QLineEdit* school_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QLabel* words_ = nullptr;
    std::vector<QPushButton*> outputs_;  // 打印 … 导出Excel: once the sheet has rows
};

}  // namespace daike
