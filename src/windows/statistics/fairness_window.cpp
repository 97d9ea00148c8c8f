#include "windows/statistics/fairness_window.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <chrono>
#include <filesystem>

#include "school/term_archive.h"
#include "school/term_start.h"
#include "statistics/exports.h"
#include "store/paths.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/statistics/cover_chart.h"
#include "windows/statistics/figures_grid.h"
#include "windows/statistics/statistics_pdf.h"

namespace daike {

namespace {

using statistics::DateRange;
using statistics::DateRangeKind;

// "2026-09-01", as the date boxes show a range chosen by its button.
QString boxDate(calendar::Day d) {
    return QString::fromStdString(isoDate(d));
}

}  // namespace

FairnessWindow::FairnessWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormGP", QStringLiteral("代课公平性"));
    // Fits an 800 x 600 screen with its taskbar, as 代课统计 does.
    resize(790, 500);
    setMinimumSize(640, 420);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);

    auto* rangeBox = new QGroupBox(QStringLiteral("统计范围"), this);
    rangeBox->setObjectName("Frame1");
    auto* rangeRow = new QHBoxLayout(rangeBox);
    rangeRow->setContentsMargins(6, 2, 6, 2);
    auto* weekOption = makeRadio(rangeBox, "Option1", QStringLiteral("本周"));
    auto* monthOption = makeRadio(rangeBox, "Option2", QStringLiteral("本月"));
    auto* termOption = makeRadio(rangeBox, "Option3", QStringLiteral("本学期"));
    auto* customOption = makeRadio(rangeBox, "Option4", QStringLiteral("自定"));
    from_ = new QLineEdit(rangeBox);
    from_->setObjectName("Text1");
    to_ = new QLineEdit(rangeBox);
    to_->setObjectName("Text2");
    for (QLineEdit* box : {from_, to_}) {
        box->setFixedWidth(104);
        box->setToolTip(QStringLiteral("例如 2026-09-01 或 2026年9月1日"));
    }
    count_ = makeButton(rangeBox, "Command1", QStringLiteral("统计"));
    setMainButton(this, count_);
    rangeRow->addWidget(weekOption);
    rangeRow->addWidget(monthOption);
    rangeRow->addWidget(termOption);
    rangeRow->addSpacing(6);
    rangeRow->addWidget(customOption);
    rangeRow->addWidget(from_);
    rangeRow->addWidget(new QLabel(QStringLiteral("至"), rangeBox));
    rangeRow->addWidget(to_);
    rangeRow->addWidget(count_);
    auto* top = new QHBoxLayout;
    top->addWidget(rangeBox);
    top->addStretch(1);
    layout->addLayout(top);

    grid_ = makeFiguresGrid(this);

    chartView_ = new CoverChart(this);
    chartView_->setObjectName("Chart1");
    // The table is narrow: the chart beside it has the room for every teacher's bar.
    auto* middle = new QHBoxLayout;
    grid_->setFixedWidth(300);
    middle->addWidget(grid_);
    middle->addWidget(chartView_, 1);
    layout->addLayout(middle, 1);

    sentence_ = addWordsLine(this, layout, "Label1");
    note_ = addWordsLine(this, layout, "Label2", QColor(96, 96, 96));

    auto* bottom = new QHBoxLayout;
    auto* printButton = makeButton(this, "Command2", QStringLiteral("打印…"));
    auto* pdfButton = makeButton(this, "Command3", QStringLiteral("导出PDF…"));
    auto* xlsxButton = makeButton(this, "Command4", QStringLiteral("导出Excel…"));
    auto* close = makeButton(this, "Command5", QStringLiteral("关闭"));
    outputs_ = {printButton, pdfButton, xlsxButton};
    for (auto* b : outputs_) b->setEnabled(false);
    bottom->addWidget(printButton);
    bottom->addWidget(pdfButton);
    bottom->addWidget(xlsxButton);
    bottom->addStretch(1);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    auto chooser = [this](DateRangeKind kind) {
        return [this, kind](bool on) {
            if (on) runAction(ctx_, [this, kind] { choose(kind); });
        };
    };
    connect(weekOption, &QRadioButton::toggled, this, chooser(DateRangeKind::Week));
    connect(monthOption, &QRadioButton::toggled, this, chooser(DateRangeKind::Month));
    connect(termOption, &QRadioButton::toggled, this, chooser(DateRangeKind::Term));
    connect(customOption, &QRadioButton::toggled, this, chooser(DateRangeKind::Custom));
    connect(from_, &QLineEdit::textEdited, this,
            [this](const QString& t) { fromText_ = t.toStdString(); });
    connect(to_, &QLineEdit::textEdited, this,
            [this](const QString& t) { toText_ = t.toStdString(); });
    for (QLineEdit* box : {from_, to_})
        connect(box, &QLineEdit::returnPressed, this, [this] {
            if (kind_ == DateRangeKind::Custom) runAction(ctx_, [this] { countTyped(); });
        });
    connect(count_, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { countTyped(); }); });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { sortBy(c); });
    connect(printButton, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { print(); }); });
    connect(pdfButton, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { exportPdf(); }); });
    connect(xlsxButton, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { exportXlsx(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    placeWindow(*this, ctx_.platform.screen, {0, 0});
    ready_ = true;
    // The term so far, as 代课统计 opens on the term.
    termOption->setChecked(true);
}

void FairnessWindow::choose(DateRangeKind kind) {
    kind_ = kind;
    const bool custom = kind == DateRangeKind::Custom;
    from_->setEnabled(custom);
    to_->setEnabled(custom);
    count_->setEnabled(custom);
    // 自定 starts from the dates shown; the sheet changes at 统计.
    if (custom) return;
    const calendar::Day today = ctx_.platform.clock.today();
    DateRange range;
    switch (kind) {
        case DateRangeKind::Week:
            range = DateRange::thisWeek(today);
            break;
        case DateRangeKind::Month:
            range = DateRange::thisMonth(today);
            break;
        default: {
            // Without a first day of term the sheet refuses and says why.
            const auto start = readTermStart(ctx_.store);
            range = DateRange::term(start ? *start : today, today);
            break;
        }
    }
    fromText_ = boxDate(range.from).toStdString();
    toText_ = boxDate(range.to).toStdString();
    from_->setText(QString::fromStdString(fromText_));
    to_->setText(QString::fromStdString(toText_));
    showRange(range, true);
}

void FairnessWindow::countTyped() {
    const auto range = statistics::customRange(fromText_, toText_);
    if (showIfRefused(ctx_, range)) return;
    showRange(*range, true);
}

bool FairnessWindow::showRange(const DateRange& range, bool tellRefusal) {
    auto sheet = statistics::fairness(ctx_.store, range, ctx_.platform.clock.today());
    if (!sheet) {
        if (tellRefusal) showIfRefused(ctx_, sheet);
        return false;
    }
    sheet_ = std::move(*sheet);
    for (auto* b : outputs_) b->setEnabled(true);
    display();
    return true;
}

void FairnessWindow::refresh() {
    if (sheet_) showRange(sheet_->range, false);
}

void FairnessWindow::changeEvent(QEvent* e) {
    // Cover recorded in another window while this one was open shows when it comes back.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && ready_)
        runAction(ctx_, [this] { refresh(); });
    QWidget::changeEvent(e);
}

void FairnessWindow::display() {
    table_ = statistics::fairnessTable(*sheet_);
    if (sortColumn_ >= 0) statistics::sortFairnessTable(table_, sortColumn_, descending_);
    chart_ = statistics::fairnessChart(*sheet_, table_);

    showFiguresTable(grid_, table_, sortColumn_, descending_);

    chartView_->setChart(chart_);
    sentence_->setText(QString::fromStdString(chart_.sentence));
    const QString note = QString::fromStdString(statistics::apartNote(*sheet_));
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

void FairnessWindow::sortBy(int column) {
    if (!sheet_) return;
    if (column == sortColumn_) {
        descending_ = !descending_;
    } else {
        sortColumn_ = column;
        descending_ = column > 0;  // counts and shares start with the most, names in pinyin order
    }
    display();
}

StatisticsPage FairnessWindow::page() const {
    StatisticsPage p;
    p.heading =
        QStringLiteral("代课公平性（%1）").arg(QString::fromStdString(sheet_->range.label()));
    p.dateLine = QStringLiteral("制表日期：") +
                 QString::fromStdString(chineseDate(ctx_.platform.clock.today()));
    p.note = QString::fromStdString(statistics::apartNote(*sheet_));
    p.chart = chart_;
    p.table = table_;
    return p;
}

void FairnessWindow::print() {
    if (!sheet_) return;
    const StatisticsPage sheetPage = page();
    const PagePainter paint = [sheetPage](QPagedPaintDevice& device) {
        paintStatisticsPages(device, sheetPage);
    };
    if (!ctx_.platform.printer.print(QStringLiteral("代课公平性"), statisticsPageLayout(), paint))
        ctx_.platform.boxes.ok(QStringLiteral("没有找到可用的打印机，代课公平性表没有打印。"));
}

std::optional<QString> FairnessWindow::askFile(const QString& caption, const QString& extension,
                                               const QString& filter) {
    const auto suggested = inFolder(
        ctx_.programDir, statistics::fairnessFileName(sheet_->range, extension.toStdString()));
    return askExportFile(ctx_, caption, suggested, extension, filter);
}

void FairnessWindow::exportPdf() {
    if (!sheet_) return;
    const auto file = askFile(QStringLiteral("导出PDF文件"), QStringLiteral("pdf"),
                              QStringLiteral("PDF 文件 (*.pdf)"));
    if (!file) return;
    writeStatisticsPdf(*file, page());
    ctx_.platform.boxes.ok(QStringLiteral("已保存：%1").arg(*file));
}

void FairnessWindow::exportXlsx() {
    if (!sheet_) return;
    const auto file = askFile(QStringLiteral("导出Excel工作簿"), QStringLiteral("xlsx"),
                              QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (!file) return;
    statistics::writeXlsx(fspath(*file), {table_}, "代课公平性（" + sheet_->range.label() + "）");
    ctx_.platform.boxes.ok(QStringLiteral("已保存：%1").arg(*file));
}

}  // namespace daike
