#include "windows/statistics/statistics_window.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "school/term_start.h"
#include "statistics/exports.h"
#include "statistics/fairness.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/statistics/cover_chart.h"
#include "windows/statistics/figures_grid.h"
#include "windows/statistics/statistics_exports.h"

namespace daike {

StatisticsWindow::StatisticsWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormTJ", QStringLiteral("代课统计"));
    // The figures follow the range chosen: no button to run.
    setNoMainButton(this);
    // Fits an 800 x 600 screen with its taskbar; a wider screen gets room for more teachers.
    if (ctx_.platform.screen.widthPixels() >= 1280)
        resize(1120, 620);
    else
        resize(790, 500);
    setMinimumSize(640, 420);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);

    auto* top = new QHBoxLayout;
    auto* rangeBox = new QGroupBox(QStringLiteral("统计范围"), this);
    rangeBox->setObjectName("Frame1");
    auto* rangeRows = new QVBoxLayout(rangeBox);
    rangeRows->setContentsMargins(6, 2, 6, 2);
    rangeRows->setSpacing(2);
    auto* rangeRow = new QHBoxLayout;
    rangeRows->addLayout(rangeRow);
    auto* todayOption = makeRadio(rangeBox, "Option1", QStringLiteral("今天"));
    auto* weekOption = makeRadio(rangeBox, "Option2", QStringLiteral("本周"));
    auto* weeksOption = makeRadio(rangeBox, "Option3", QStringLiteral("第"));
    fromWeek_ = new QSpinBox(rangeBox);
    fromWeek_->setObjectName("Text1");
    fromWeek_->setAccessibleName(QStringLiteral("起始周"));
    toWeek_ = new QSpinBox(rangeBox);
    toWeek_->setObjectName("Text2");
    toWeek_->setAccessibleName(QStringLiteral("结束周"));
    auto* termOption = makeRadio(rangeBox, "Option4", QStringLiteral("本学期"));
    rangeRow->addWidget(todayOption);
    rangeRow->addWidget(weekOption);
    rangeRow->addWidget(weeksOption);
    rangeRow->addWidget(fromWeek_);
    rangeRow->addWidget(new QLabel(QStringLiteral("至"), rangeBox));
    rangeRow->addWidget(toWeek_);
    rangeRow->addWidget(new QLabel(QStringLiteral("周"), rangeBox));
    rangeRow->addSpacing(6);
    rangeRow->addWidget(termOption);
    rangeRow->addSpacing(6);
    // The days of the range shown: the weeks of a term with their dates.
    days_ = new QLabel(rangeBox);
    days_->setObjectName("Label5");
    rangeRow->addWidget(days_);
    rangeRow->addStretch(1);
    // The past terms kept, the school years and the months with cover, and any days: across
    // terms, from the archive of cleared terms as well.
    auto* otherRow = new QHBoxLayout;
    rangeRows->addLayout(otherRow);
    auto* otherOption = makeRadio(rangeBox, "Option5", QStringLiteral("其他"));
    others_ = new QComboBox(rangeBox);
    others_->setObjectName("Combo1");
    others_->setAccessibleName(QStringLiteral("以往学期、学年或月份"));
    others_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* daysOption = makeRadio(rangeBox, "Option6", QStringLiteral("日期"));
    fromDay_ = new QLineEdit(rangeBox);
    fromDay_->setObjectName("Text4");
    fromDay_->setAccessibleName(QStringLiteral("起始日期"));
    fromDay_->setPlaceholderText(QStringLiteral("2026-09-01"));
    fromDay_->setFixedWidth(88);
    toDay_ = new QLineEdit(rangeBox);
    toDay_->setObjectName("Text5");
    toDay_->setAccessibleName(QStringLiteral("结束日期"));
    toDay_->setPlaceholderText(QStringLiteral("2026-09-30"));
    toDay_->setFixedWidth(88);
    otherRow->addWidget(otherOption);
    otherRow->addWidget(others_);
    otherRow->addSpacing(6);
    otherRow->addWidget(daysOption);
    otherRow->addWidget(fromDay_);
    otherRow->addWidget(new QLabel(QStringLiteral("至"), rangeBox));
    otherRow->addWidget(toDay_);
    otherRow->addStretch(1);
    top->addWidget(rangeBox);
    top->addStretch(1);
    auto* payBox = new QGroupBox(QStringLiteral("代课酬金"), this);
    payBox->setObjectName("Frame2");
    auto* payRow = new QHBoxLayout(payBox);
    payRow->setContentsMargins(6, 2, 6, 2);
    payRow->addWidget(new QLabel(QStringLiteral("每节"), payBox));
    auto* rate = new QLineEdit(payBox);
    rate->setObjectName("Text3");
    rate->setFixedWidth(56);
    rate->setToolTip(QStringLiteral("每节代课的酬金（元）；不计酬金请留空"));
    payRow->addWidget(rate);
    payRow->addWidget(new QLabel(QStringLiteral("元"), payBox));
    auto* saveButton = makeButton(payBox, "Command1", QStringLiteral("保存"));
    payRow->addWidget(saveButton);
    top->addWidget(payBox);
    layout->addLayout(top);

    grid_ = makeFiguresGrid(this);
    layout->addWidget(grid_, 5);

    chart_ = new CoverChart(this);
    chart_->setObjectName("Chart1");
    layout->addWidget(chart_, 4);

    sentence_ = addWordsLine(this, layout, "Label1");
    note_ = addWordsLine(this, layout, "Label2", QColor(192, 0, 0));

    auto* bottom = new QHBoxLayout;
    for (const StatisticsExport& e : statisticsExports()) {
        auto* b = makeButton(this, e.objectName, QString::fromUtf8(e.label));
        bottom->addWidget(b);
        connect(b, &QPushButton::clicked, this,
                [this, &e] { runAction(ctx_, [this, &e] { exportTo(e); }); });
    }
    auto* fairness = makeButton(this, "Command9", QStringLiteral("公平性…"));
    fairness->setToolTip(QStringLiteral("按日期统计各教师代课节数与任课节数之比"));
    bottom->addWidget(fairness);
    connect(fairness, &QPushButton::clicked, this, &StatisticsWindow::fairnessRequested);
    auto* paySheet = makeButton(this, "Command10", QStringLiteral("发放表…"));
    paySheet->setToolTip(QStringLiteral("按月或按日期生成代课费发放表，供财务签字发放"));
    bottom->addWidget(paySheet);
    connect(paySheet, &QPushButton::clicked, this, &StatisticsWindow::paySheetRequested);
    auto* close = makeButton(this, "Command5", QStringLiteral("关闭"));
    bottom->addStretch(1);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    // The weeks offered are those of the term's records, and the current week.
    const auto span = statistics::weeksInRecords(ctx_.store);
    const int current = std::max(ctx_.day.week(), 0);
    const int first =
        span.first > 0 ? std::min(span.first, std::max(current, 1)) : std::max(current, 1);
    const int last = std::max({span.last, current, 1});
    for (QSpinBox* s : {fromWeek_, toWeek_}) {
        s->setRange(1, std::max(last, 30));
        s->setFixedWidth(52);
    }
    range_ = statistics::Range::term();
    range_.fromWeek = first;
    range_.toWeek = last;
    fromWeek_->setValue(first);
    toWeek_->setValue(last);
    termOption->setChecked(true);
    if (auto r = statistics::payRate(ctx_.store))
        rate->setText(QString::fromStdString(statistics::formatNumber(*r, 2)));

    auto choose = [this](statistics::RangeKind kind) {
        return [this, kind](bool on) {
            if (!on) return;
            range_.kind = kind;
            runAction(ctx_, [this] { refresh(); });
        };
    };
    connect(todayOption, &QRadioButton::toggled, this, choose(statistics::RangeKind::Today));
    connect(weekOption, &QRadioButton::toggled, this, choose(statistics::RangeKind::ThisWeek));
    connect(weeksOption, &QRadioButton::toggled, this, choose(statistics::RangeKind::Weeks));
    connect(termOption, &QRadioButton::toggled, this, choose(statistics::RangeKind::Term));
    otherChoices_ = statistics::otherRanges(ctx_.store);
    for (const auto& r : otherChoices_) others_->addItem(qs(r.label()));
    otherOption->setEnabled(!otherChoices_.empty());
    others_->setEnabled(!otherChoices_.empty());
    connect(otherOption, &QRadioButton::toggled, this, [this](bool on) {
        if (!on || otherChoices_.empty()) return;
        otherChosen_ = std::max(0, others_->currentIndex());
        other_ = otherChoices_[static_cast<std::size_t>(otherChosen_)];
        range_.kind = other_.kind;
        runAction(ctx_, [this] { refresh(); });
    });
    connect(others_, &QComboBox::activated, this, [this, otherOption](int i) {
        if (i < 0 || i >= static_cast<int>(otherChoices_.size())) return;
        otherChosen_ = i;
        if (!otherOption->isChecked()) {
            otherOption->setChecked(true);  // runs the range through its toggle
            return;
        }
        other_ = otherChoices_[static_cast<std::size_t>(i)];
        range_.kind = other_.kind;
        runAction(ctx_, [this] { refresh(); });
    });
    // Dates are read when both are typed and the operator presses Enter in either box, or
    // chooses 日期 with both filled in.
    auto takeDays = [this, daysOption] {
        runAction(ctx_, [this, daysOption] {
            const auto days = statistics::customRange(ss(fromDay_->text()), ss(toDay_->text()));
            if (showIfRefused(ctx_, days)) return;
            other_ = statistics::Range::days(days->from, days->to);
            range_.kind = other_.kind;
            if (!daysOption->isChecked()) {
                const QSignalBlocker quiet(daysOption);
                daysOption->setChecked(true);
            }
            refresh();
        });
    };
    connect(daysOption, &QRadioButton::toggled, this, [this, takeDays](bool on) {
        if (on && !fromDay_->text().trimmed().isEmpty() && !toDay_->text().trimmed().isEmpty())
            takeDays();
    });
    connect(fromDay_, &QLineEdit::returnPressed, this, takeDays);
    connect(toDay_, &QLineEdit::returnPressed, this, takeDays);
    connect(fromWeek_, &QSpinBox::valueChanged, this, [this](int v) {
        range_.fromWeek = v;
        // A range that ends before it starts is taken as that one week.
        if (range_.toWeek < v) toWeek_->setValue(v);
        if (range_.kind == statistics::RangeKind::Weeks) runAction(ctx_, [this] { refresh(); });
    });
    connect(toWeek_, &QSpinBox::valueChanged, this, [this](int v) {
        range_.toWeek = v;
        if (range_.fromWeek > v) fromWeek_->setValue(v);
        if (range_.kind == statistics::RangeKind::Weeks) runAction(ctx_, [this] { refresh(); });
    });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { sortBy(c); });
    connect(saveButton, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { this->saveRate(); }); });
    connect(rate, &QLineEdit::returnPressed, this,
            [this] { runAction(ctx_, [this] { this->saveRate(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    placeWindow(*this, ctx_.platform.screen, {0, 0});
    ready_ = true;
    runAction(ctx_, [this] { refresh(); });
}

statistics::Range StatisticsWindow::chosenRange() const {
    const auto& d = ctx_.day;
    switch (range_.kind) {
        case statistics::RangeKind::Today:
            return statistics::Range::today(d.week(), d.weekday());
        case statistics::RangeKind::ThisWeek:
            return statistics::Range::thisWeek(d.week());
        case statistics::RangeKind::Weeks:
            return statistics::Range::weeks(range_.fromWeek,
                                            std::max(range_.fromWeek, range_.toWeek));
        case statistics::RangeKind::Term:
            break;
        case statistics::RangeKind::PastTerm:
        case statistics::RangeKind::Dates:
            return other_;
    }
    return statistics::Range::term();
}

void StatisticsWindow::changeEvent(QEvent* e) {
    // Cover recorded in another window while this one was open shows when it comes back.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && ready_)
        runAction(ctx_, [this] { refresh(); });
    QWidget::changeEvent(e);
}

void StatisticsWindow::refresh() {
    figures_ = statistics::compute(ctx_.store, chosenRange());
    days_->setText(qs(statistics::rangeDates(figures_.range, figures_.termStart)));
    // The rate may have been saved elsewhere (代课费发放表) since: the box shows the stored one,
    // unless the operator is typing in it.
    if (auto* rate = findChild<QLineEdit*>("Text3"); rate && !rate->hasFocus())
        rate->setText(figures_.payRate ? qs(statistics::formatNumber(*figures_.payRate, 2))
                                       : QString());
    display(true);
}

void StatisticsWindow::display(bool keepOrder) {
    table_ = statistics::teacherTable(figures_);
    if (keepOrder && sortColumn_ >= static_cast<int>(table_.headers.size())) sortColumn_ = -1;
    if (sortColumn_ >= 0) statistics::sortTable(table_, sortColumn_, descending_);

    showFiguresTable(grid_, table_, sortColumn_, descending_);

    chart_->setChart(statistics::chartOf(figures_, table_));
    sentence_->setText(QString::fromStdString(chart_->chart().sentence));
    const QString note = QString::fromStdString(statistics::tallyNote(figures_));
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

void StatisticsWindow::sortBy(int column) {
    if (column == sortColumn_) {
        descending_ = !descending_;
    } else {
        sortColumn_ = column;
        // Counts start with the most; names and remarks in pinyin order.
        const bool numeric = column > 0 && column + 1 < static_cast<int>(table_.headers.size());
        descending_ = numeric;
    }
    display(true);
}

void StatisticsWindow::saveRate() {
    auto* box = findChild<QLineEdit*>("Text3");
    const auto rate = statistics::parseRate(box->text().toStdString());
    if (showIfRefused(ctx_, rate)) return;
    statistics::setPayRate(ctx_.store, *rate);
    box->setText(*rate ? QString::fromStdString(statistics::formatNumber(**rate, 2)) : QString());
    refresh();
}

std::optional<QString> StatisticsWindow::askFile(const QString& caption, const QString& extension,
                                                 const QString& filter) {
    const auto suggested =
        statistics::defaultFile(ctx_.programDir, figures_.range, extension.toStdString());
    return askExportFile(ctx_, caption, suggested, extension, filter);
}

void StatisticsWindow::exportTo(const StatisticsExport& e) {
    const auto file = askFile(QString::fromUtf8(e.caption), QString::fromUtf8(e.extension),
                              QString::fromUtf8(e.filter));
    if (!file) return;
    e.write(*file,
            {figures_, table_, chart_->chart(), qs(chineseDate(ctx_.platform.clock.today()))});
    ctx_.platform.boxes.ok(QStringLiteral("已保存：%1").arg(*file));
}

}  // namespace daike
