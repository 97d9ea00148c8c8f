#include "windows/statistics/pay_sheet_window.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <chrono>
#include <filesystem>

#include "school/term_archive.h"
#include "statistics/pay_sheet_xlsx.h"
#include "store/store.h"
#include "store/tables/settings.h"
#include "ui/keyboard.h"
#include "ui/pdf_file.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/statistics/figures_grid.h"
#include "windows/statistics/pay_sheet_print.h"

namespace daike {

namespace {

using statistics::DateRange;
using namespace std::chrono;

constexpr int kMonthsOffered = 24;

// "2026-09-01", as the date boxes show a range chosen by its button.
QString boxDate(calendar::Day d) {
    return QString::fromStdString(isoDate(d));
}

QString rateBox(const std::optional<double>& r) {
    return r ? qs(statistics::formatNumber(*r, 2)) : QString();
}

}  // namespace

PaySheetWindow::PaySheetWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormFF", QStringLiteral("代课费发放表"));
    resize(790, 500);
    setMinimumSize(640, 420);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);

    // The range: a month of the last two years, or the days a school settles on.
    auto* rangeBox = new QGroupBox(QStringLiteral("发放期间"), this);
    rangeBox->setObjectName("Frame1");
    auto* rangeRow = new QHBoxLayout(rangeBox);
    rangeRow->setContentsMargins(6, 2, 6, 2);
    monthOption_ = makeRadio(rangeBox, "Option1", QStringLiteral("按月"));
    month_ = new QComboBox(rangeBox);
    month_->setObjectName("Combo1");
    month_->setToolTip(QStringLiteral("发放哪个月的代课费"));
    const year_month_day today{ctx_.platform.clock.today()};
    year_month ym = today.year() / today.month();
    for (int i = 0; i < kMonthsOffered; ++i, ym -= months(1))
        month_->addItem(QStringLiteral("%1年%2月")
                            .arg(static_cast<int>(ym.year()))
                            .arg(static_cast<unsigned>(ym.month())),
                        static_cast<int>(ym.year()) * 100 + static_cast<int>(unsigned(ym.month())));
    auto* customOption = makeRadio(rangeBox, "Option2", QStringLiteral("自定"));
    from_ = new QLineEdit(rangeBox);
    from_->setObjectName("Text1");
    to_ = new QLineEdit(rangeBox);
    to_->setObjectName("Text2");
    for (QLineEdit* box : {from_, to_}) {
        box->setFixedWidth(104);
        box->setToolTip(QStringLiteral("例如 2026-09-16 或 2026年9月16日"));
    }
    auto* make = makeButton(rangeBox, "Command1", QStringLiteral("生成"));
    setMainButton(this, make);
    rangeRow->addWidget(monthOption_);
    rangeRow->addWidget(month_);
    rangeRow->addSpacing(8);
    rangeRow->addWidget(customOption);
    rangeRow->addWidget(from_);
    rangeRow->addWidget(new QLabel(QStringLiteral("至"), rangeBox));
    rangeRow->addWidget(to_);
    rangeRow->addWidget(make);
    auto* top = new QHBoxLayout;
    top->addWidget(rangeBox);
    top->addStretch(1);
    layout->addLayout(top);

    // The rates and the school's name: stored at 保存, never as they are typed.
    auto* rateBoxes = new QGroupBox(QStringLiteral("代课酬金（元/节；留空的按正课计）"), this);
    rateBoxes->setObjectName("Frame2");
    auto* rateRow = new QHBoxLayout(rateBoxes);
    rateRow->setContentsMargins(6, 2, 6, 2);
    const auto shown = statistics::shownRates(ctx_.store);
    for (std::size_t k = 0; k < shown.size(); ++k) {
        rateRow->addWidget(new QLabel(qs(shown[k].kind), rateBoxes));
        auto* box = new QLineEdit(rateBoxes);
        box->setObjectName(QStringLiteral("Text%1").arg(3 + k));
        box->setFixedWidth(60);
        box->setToolTip(
            k == 0 ? QStringLiteral("每节正课的酬金（元），也是其他各类的默认金额")
                   : QStringLiteral("每节%1的酬金（元）；留空按正课计").arg(qs(shown[k].kind)));
        box->setText(rateBox(shown[k].rate));
        // A blank box is paid as 正课, and says so.
        if (k > 0) box->setPlaceholderText(QStringLiteral("同正课"));
        rateRow->addWidget(box);
        rates_.push_back(box);
    }
    rateRow->addSpacing(8);
    rateRow->addWidget(new QLabel(QStringLiteral("学校名称"), rateBoxes));
    school_ = new QLineEdit(rateBoxes);
    school_->setObjectName("Text7");
    school_->setToolTip(QStringLiteral("印在发放表标题上的学校名称"));
    school_->setText(qs(settings::schoolName(ctx_.store)));
    rateRow->addWidget(school_, 1);
    auto* save = makeButton(rateBoxes, "Command2", QStringLiteral("保存"));
    save->setToolTip(QStringLiteral("保存酬金和学校名称"));
    rateRow->addWidget(save);
    layout->addWidget(rateBoxes);

    grid_ = makeFiguresGrid(this);
    layout->addWidget(grid_, 1);
    words_ = addWordsLine(this, layout, "Label1");

    auto* bottom = new QHBoxLayout;
    auto* printButton = makeButton(this, "Command3", QStringLiteral("打印"));
    auto* previewButton = makeButton(this, "Command4", QStringLiteral("打印预览"));
    auto* pdfButton = makeButton(this, "Command5", QStringLiteral("另存为PDF…"));
    auto* xlsxButton = makeButton(this, "Command6", QStringLiteral("导出Excel…"));
    auto* close = makeButton(this, "Command7", QStringLiteral("关闭"));
    outputs_ = {printButton, previewButton, pdfButton, xlsxButton};
    for (auto* b : outputs_) {
        b->setEnabled(false);
        bottom->addWidget(b);
    }
    bottom->addStretch(1);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    auto act = [this](void (PaySheetWindow::*f)()) {
        return [this, f] { runAction(ctx_, [this, f] { (this->*f)(); }); };
    };
    connect(monthOption_, &QRadioButton::toggled, this, [this](bool on) {
        from_->setEnabled(!on);
        to_->setEnabled(!on);
        month_->setEnabled(on);
        if (on && ready_) runAction(ctx_, [this] { makeSheet(); });
    });
    connect(month_, &QComboBox::activated, this, act(&PaySheetWindow::makeSheet));
    for (QLineEdit* box : {from_, to_})
        connect(box, &QLineEdit::returnPressed, this, act(&PaySheetWindow::makeSheet));
    connect(make, &QPushButton::clicked, this, act(&PaySheetWindow::makeSheet));
    connect(save, &QPushButton::clicked, this, act(&PaySheetWindow::saveRates));
    connect(printButton, &QPushButton::clicked, this, act(&PaySheetWindow::print));
    connect(previewButton, &QPushButton::clicked, this, act(&PaySheetWindow::preview));
    connect(pdfButton, &QPushButton::clicked, this, act(&PaySheetWindow::exportPdf));
    connect(xlsxButton, &QPushButton::clicked, this, act(&PaySheetWindow::exportXlsx));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    placeWindow(*this, ctx_.platform.screen, {0, 0});
    // This month, its dates in the boxes for a range of one's own.
    const DateRange month = DateRange::thisMonth(ctx_.platform.clock.today());
    from_->setText(boxDate(month.from));
    to_->setText(boxDate(month.to));
    monthOption_->setChecked(true);
    ready_ = true;
    showRange(month, false);
}

void PaySheetWindow::makeSheet() {
    if (monthOption_->isChecked()) {
        const int ym = month_->currentData().toInt();
        const auto first = calendar::makeDay(ym / 100, static_cast<unsigned>(ym % 100), 1);
        const DateRange month = DateRange::thisMonth(first);
        from_->setText(boxDate(month.from));
        to_->setText(boxDate(month.to));
        showRange(month, true);
        return;
    }
    const auto range = statistics::customRange(ss(from_->text()), ss(to_->text()));
    if (showIfRefused(ctx_, range)) return;
    showRange(*range, true);
}

void PaySheetWindow::showRange(const DateRange& range, bool tellRefusal) {
    range_ = range;
    auto sheet = statistics::paySheet(ctx_.store, range);
    if (!sheet) {
        sheet_.reset();
        for (auto* b : outputs_) b->setEnabled(false);
        showFiguresTable(grid_, statistics::Table{}, -1, false);
        words_->setText(qs(sheet.refusal().message));
        if (tellRefusal) showIfRefused(ctx_, sheet);
        return;
    }
    sheet_ = std::move(*sheet);
    showFiguresTable(grid_, statistics::payTable(*sheet_), -1, false);
    const bool rows = !sheet_->empty();
    for (auto* b : outputs_) b->setEnabled(rows);
    words_->setText(
        rows ? QStringLiteral("%1（%2人，%3节）")
                   .arg(qs(sheet_->totalInWords()))
                   .arg(sheet_->rows.size())
                   .arg(sheet_->covers)
             : QStringLiteral("%1没有代课记录，无需发放代课费。").arg(qs(sheet_->range.dates())));
}

void PaySheetWindow::refresh() {
    if (range_) showRange(*range_, false);
}

void PaySheetWindow::changeEvent(QEvent* e) {
    // Cover recorded, or the rate changed in 代课统计, while this window was open.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && ready_)
        runAction(ctx_, [this] { refresh(); });
    QWidget::changeEvent(e);
}

void PaySheetWindow::saveRates() {
    std::vector<std::pair<std::string, std::string>> typed;
    for (std::size_t k = 0; k < rates_.size(); ++k)
        typed.emplace_back(statistics::payKinds()[k], ss(rates_[k]->text()));
    const auto saved = ctx_.store.transaction([&] {
        auto r = statistics::saveRates(ctx_.store, typed);
        if (r) settings::setSchoolName(ctx_.store, ss(school_->text()));
        return r;
    });
    if (showIfRefused(ctx_, saved)) return;
    const auto shown = statistics::shownRates(ctx_.store);
    for (std::size_t k = 0; k < rates_.size(); ++k) rates_[k]->setText(rateBox(shown[k].rate));
    school_->setText(qs(settings::schoolName(ctx_.store)));
    refresh();
    ctx_.platform.boxes.ok(QStringLiteral("代课酬金已保存。"));
}

void PaySheetWindow::print() {
    if (!sheet_ || sheet_->empty()) return;
    const statistics::PaySheet sheet = *sheet_;
    const PagePainter paint = [sheet](QPagedPaintDevice& d) { paintPaySheet(d, sheet); };
    if (!ctx_.platform.printer.print(QStringLiteral("代课费发放表"), paySheetPageLayout(), paint))
        ctx_.platform.boxes.ok(QStringLiteral("没有找到可用的打印机，代课费发放表没有打印。"));
}

void PaySheetWindow::preview() {
    if (!sheet_ || sheet_->empty()) return;
    const statistics::PaySheet sheet = *sheet_;
    ctx_.platform.printer.preview(this, QStringLiteral("代课费发放表"), paySheetPageLayout(),
                                  [sheet](QPagedPaintDevice& d) { paintPaySheet(d, sheet); });
}

void PaySheetWindow::exportPdf() {
    if (!sheet_ || sheet_->empty()) return;
    const statistics::PaySheet sheet = *sheet_;
    const QString suggested = qpath(ctx_.programDir / fspath(paySheetFileName(sheet, "pdf")));
    const auto file =
        savePagesAsPdf(ctx_.platform, suggested, qs(sheet.title()), paySheetPageLayout(),
                       [sheet](QPagedPaintDevice& d) { paintPaySheet(d, sheet); });
    if (file) ctx_.platform.boxes.ok(QStringLiteral("已保存：%1").arg(*file));
}

void PaySheetWindow::exportXlsx() {
    if (!sheet_ || sheet_->empty()) return;
    const auto suggested = ctx_.programDir / fspath(paySheetFileName(*sheet_, "xlsx"));
    const auto file =
        askExportFile(ctx_, QStringLiteral("导出Excel工作簿"), suggested, QStringLiteral("xlsx"),
                      QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (!file) return;
    statistics::writePaySheetXlsx(fspath(*file), *sheet_);
    ctx_.platform.boxes.ok(QStringLiteral("已保存：%1").arg(*file));
}

}  // namespace daike
