#include "windows/engine/day_proposal_window.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <iterator>

#include "store/safekeeping.h"
#include "store/store.h"
#include "store/week.h"
#include "ui/backups.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

const char* const kHeaders[] = {"节次",     "班级",     "课目",     "请假教师", "代课教师",
                                "安排理由", "今日课务", "本日代课", "本周代课", "学期代课"};
const int kWidths[] = {36, 44, 50, 60, 128, 134, 108, 58, 58, 58};
// With a swap on some row: "调：李老师（12月11日第2节）" needs the substitute's column wider.
const int kSwapWidths[] = {36, 44, 50, 60, 200, 104, 72, 56, 56, 56};
static_assert(std::size(kSwapWidths) == std::size(kWidths));
const int kColumns = static_cast<int>(std::size(kWidths));
const QString kLeaveOpen = QStringLiteral("（暂不安排）");
const QString kNobody = QStringLiteral("（无可代教师）");
const QColor kWaiting{255, 200, 200};

QString periodText(int period) {
    return qs(week::periodShortName(period));
}

// A swap in the substitute's place: "调：李老师（12月11日第2节）".
QString swapText(const swapping::Candidate& c) {
    return QStringLiteral("调：") + qs(c.colleague) + "（" + qs(c.when) + "）";
}

}  // namespace

DayProposalWindow::DayProposalWindow(RunContext& ctx, QWidget* owner, Request request)
    : ctx_(ctx), request_(std::move(request)) {
    makeToolWindow(this, owner, "FormYJAP", QStringLiteral("一键安排"));
    // The tables must not change under the proposal while it is open.
    setWindowModality(Qt::ApplicationModal);
    for (const auto& l : request_.lessons)
        if (std::find(absent_.begin(), absent_.end(), l.absent) == absent_.end())
            absent_.push_back(l.absent);
    picks_.assign(request_.lessons.size(), dayplan::Pick::first());
    build();
    placeWindow(*this, ctx_.platform.screen, {10, 10});
    recompute();
}

void DayProposalWindow::build() {
    setFixedSize(780, 500);
    summary_ = makeLabel(this, "Label1", QString(), {10, 8, 760, 22});
    QFont f = summary_->font();
    f.setBold(true);
    summary_->setFont(f);

    // One reason per absent teacher: the records need it.
    auto* reasons = new QScrollArea(this);
    reasons->setObjectName("Frame1");
    reasons->setGeometry(10, 54, 760, 56);
    reasons->setWidgetResizable(false);
    auto* inner = new QWidget;
    const int perLine = 5;
    const int lines = std::max(1, (static_cast<int>(absent_.size()) + perLine - 1) / perLine);
    inner->resize(740, lines * 28 + 4);
    for (std::size_t j = 0; j < absent_.size(); ++j) {
        const int x = 4 + static_cast<int>(j % perLine) * 148;
        const int y = 2 + static_cast<int>(j / perLine) * 28;
        auto* name = makeLabel(inner, arrayName("Label2", static_cast<int>(j)),
                               qs(absent_[j]) + QStringLiteral("："), {x, y, 64, 24});
        name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new QComboBox(inner);
        box->setObjectName(arrayName("Combo2", static_cast<int>(j)));
        box->setEditable(true);
        for (const auto reason : week::kReasons) box->addItem(qs(reason));
        box->setGeometry(x + 66, y, 76, 24);
        auto known = request_.reasons.find(absent_[j]);
        box->setCurrentIndex(-1);
        box->setEditText(known == request_.reasons.end() ? QString() : qs(known->second));
        reasonBoxes_.push_back(box);
    }
    reasons->setWidget(inner);
    auto* reasonTitle =
        makeLabel(this, "Label3", QStringLiteral("事由（每位请假教师一项）"), {10, 34, 300, 18});
    reasonTitle->setStyleSheet("color: #555");

    table_ = new QTableWidget(this);
    table_->setObjectName("Grid1");
    table_->setAccessibleName(QStringLiteral("需代的课和建议的代课教师"));
    table_->setGeometry(10, 116, 760, 336);
    table_->setColumnCount(kColumns);
    QStringList headers;
    for (const char* h : kHeaders) headers << QString::fromUtf8(h);
    table_->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < kColumns; ++c) table_->setColumnWidth(c, kWidths[c]);
    table_->horizontalHeaderItem(6)->setToolTip(
        QStringLiteral("代课教师今天各节：数字为空课，■为上课，□为代课（本行之前已安排的）"));
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(26);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);

    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"), {590, 462, 84, 28});
    setMainButton(this, ok);
    auto* cancel = makeButton(this, "Command2", QStringLiteral("取消"), {686, 462, 84, 28});
    connect(ok, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { confirm(); }); });
    // Nothing was written: the proposal was taken back as soon as it was made.
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    auto* hint = makeLabel(this, "Label4",
                           QStringLiteral("按节次排列；改选代课教师后，其后各节按新的安排重新排序。"
                                          "红色为暂无代课教师的课。"),
                           {10, 462, 570, 28});
    hint->setWordWrap(true);
}

void DayProposalWindow::recompute() {
    dayplan::Day day;
    day.week = ss(request_.week);
    day.weekdayText = ss(request_.weekday);
    day.severalTeachers = request_.severalTeachers;
    rows_ = dayplan::propose(ctx_.store, day, request_.lessons, picks_);
    fill();
}

void DayProposalWindow::fill() {
    filling_ = true;
    const bool anySwap = std::any_of(rows_.begin(), rows_.end(),
                                     [](const dayplan::Row& r) { return !r.swaps.empty(); });
    for (int c = 0; c < kColumns; ++c)
        table_->setColumnWidth(c, (anySwap ? kSwapWidths : kWidths)[c]);
    table_->setRowCount(static_cast<int>(rows_.size()));
    int placed = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const auto& r = rows_[i];
        const int row = static_cast<int>(i);
        const auto* sub = r.substitute();
        const auto* swap = r.swap();
        if (r.placed()) ++placed;
        auto text = [&](int col, const QString& t) {
            auto* item = new QTableWidgetItem(t);
            item->setTextAlignment(Qt::AlignCenter);
            if (!r.placed()) item->setBackground(kWaiting);
            table_->setItem(row, col, item);
        };
        text(0, periodText(r.lesson.period));
        text(1, qs(r.lesson.cls));
        text(2, qs(r.lesson.subject));
        text(3, qs(r.lesson.absent));
        // His day, week and term as they stand before this row's cover.
        const auto* st = r.standing();
        text(6, st ? qs(coverload::strip(st->load)) : QString());
        text(7, st ? QString::number(st->load.today) : QString());
        text(8, st ? QString::number(st->load.week) : QString());
        text(9, st ? QString::number(st->load.term) : QString());

        auto* box = new QComboBox;
        box->setObjectName(arrayName("Combo1", row));
        // A box in the table has no label beside it: it says whose lesson it gives.
        box->setAccessibleName(qs(r.lesson.absent) + QStringLiteral("老师") + qs(r.lesson.cls) +
                               qs(r.lesson.subject) + QStringLiteral("的代课教师"));
        // The swaps first (under 短假优先调课), then the covers, then leaving it open.
        const int swaps = static_cast<int>(r.swaps.size());
        for (const auto& w : r.swaps) {
            box->addItem(swapText(w));
            box->setItemData(
                box->count() - 1,
                QStringLiteral("与%1老师调课：%2老师于%3上%1老师的%4，不计代课")
                    .arg(qs(w.colleague), qs(r.lesson.absent), qs(w.when), qs(w.subject)),
                Qt::ToolTipRole);
        }
        for (std::size_t k = 0; k < r.candidates.size(); ++k) {
            const auto& c = r.candidates[k];
            const auto& cs = r.standings[k];
            QString item =
                c.affinity.empty() ? qs(c.name) : qs(c.name) + "（" + qs(c.affinity) + "）";
            if (cs.limit != coverload::Limit::None)
                item += QStringLiteral(" ") + qs(coverload::limitText(cs.limit));
            box->addItem(item);
            const int at = swaps + static_cast<int>(k);
            if (cs.limit != coverload::Limit::None)
                box->setItemData(at, colors::limited, Qt::ForegroundRole);
            box->setItemData(at,
                             QStringLiteral("今日 %1　本日代课 %2　本周代课 %3　学期代课 %4")
                                 .arg(qs(coverload::strip(cs.load)))
                                 .arg(cs.load.today)
                                 .arg(cs.load.week)
                                 .arg(cs.load.term),
                             Qt::ToolTipRole);
        }
        const bool nobody = r.candidates.empty() && r.swaps.empty();
        box->addItem(nobody ? kNobody : kLeaveOpen);
        box->setCurrentIndex(swap  ? r.swapChosen
                             : sub ? swaps + r.chosen
                                   : swaps + static_cast<int>(r.candidates.size()));
        box->setEnabled(!nobody);
        table_->setCellWidget(row, 4, box);
        connect(box, &QComboBox::activated, this, [this, row](int item) {
            runAction(ctx_, [this, row, item] { rowChanged(row, item); });
        });

        QString why;
        if (r.placed()) {
            for (const auto& w : r.why) why += (why.isEmpty() ? "" : "，") + qs(w);
            if (r.pickLost) why = QStringLiteral("原选教师本节已有安排；") + why;
        } else {
            why = nobody ? QStringLiteral("本节没有可代课的教师，仍留待安排")
                         : QStringLiteral("暂不安排，仍留待安排");
        }
        auto* reason = makeLabel(nullptr, arrayName("Label5", row), why, {});
        reason->setContentsMargins(4, 0, 4, 0);
        reason->setToolTip(swap ? why + QStringLiteral("：") + qs(r.lesson.absent) +
                                      QStringLiteral("老师于") + qs(swap->when) +
                                      QStringLiteral("上") + qs(swap->colleague) +
                                      QStringLiteral("老师的") + qs(swap->subject)
                                : why);
        if (!r.placed()) setBackground(reason, kWaiting);
        table_->setCellWidget(row, 5, reason);
    }
    const int weekday = request_.weekday.toInt();
    const auto swapped = std::count_if(rows_.begin(), rows_.end(),
                                       [](const dayplan::Row& r) { return r.swap() != nullptr; });
    summary_->setText(
        QStringLiteral("第%1周 星期%2　共%3节课需代：已安排%4节%5，未安排%6节")
            .arg(request_.week, qs(week::weekdayNumeral(weekday)))
            .arg(rows_.size())
            .arg(placed)
            .arg(swapped ? QStringLiteral("（其中调课%1节）").arg(swapped) : QString())
            .arg(static_cast<int>(rows_.size()) - placed));
    filling_ = false;
}

void DayProposalWindow::rowChanged(int row, int item) {
    if (filling_ || row < 0 || row >= static_cast<int>(rows_.size())) return;
    const auto& r = rows_[static_cast<std::size_t>(row)];
    auto& pick = picks_[static_cast<std::size_t>(row)];
    // The box lists the swaps, then the cover candidates, then leaving the lesson open.
    const int swaps = static_cast<int>(r.swaps.size());
    if (item >= 0 && item < swaps) {
        const auto& w = r.swaps[static_cast<std::size_t>(item)];
        pick = dayplan::Pick::swapWith(w.colleague, w.slot);
        recompute();
        return;
    }
    const int cover = item - swaps;
    const bool someone = cover >= 0 && cover < static_cast<int>(r.candidates.size());
    if (someone && cover != r.chosen) {
        // Past a limit of 代课规则 he may still be chosen, once the operator says so.
        const auto& st = r.standings[static_cast<std::size_t>(cover)];
        if (st.limit != coverload::Limit::None &&
            !ctx_.platform.boxes.yesNo(qs(coverload::overLimitQuestion(st.limit, st.load)))) {
            fill();  // the row shows its choice again
            return;
        }
    }
    pick = someone ? dayplan::Pick::of(r.candidates[static_cast<std::size_t>(cover)].name)
                   : dayplan::Pick::open();
    recompute();
}

void DayProposalWindow::confirm() {
    dayplan::Day day;
    day.week = ss(request_.week);
    day.weekdayText = ss(request_.weekday);
    day.severalTeachers = request_.severalTeachers;
    for (std::size_t j = 0; j < absent_.size(); ++j) {
        const QString reason = reasonBoxes_[j]->currentText().trimmed();
        bool needed = false;
        for (const auto& r : rows_)
            needed = needed || (r.placed() && r.lesson.absent == absent_[j]);
        if (needed && reason.isEmpty()) {
            ctx_.platform.boxes.ok(
                QStringLiteral("请填写“%1”老师的代课事由！").arg(qs(absent_[j])));
            reasonBoxes_[j]->setFocus();
            return;
        }
        day.reasons[absent_[j]] = ss(reason);
    }
    int covered = 0, swapped = 0;
    for (const auto& r : rows_) {
        covered += r.substitute() ? 1 : 0;
        swapped += r.swap() ? 1 : 0;
    }
    if (covered + swapped == 0) {
        ctx_.platform.boxes.ok(QStringLiteral("没有安排任何代课，请选择代课教师或按“取消”。"));
        return;
    }
    const QString question =
        swapped == 0 ? QStringLiteral("是否确定按本表记入%1节代课？").arg(covered)
                     : QStringLiteral("是否确定按本表记入%1节代课、%2节调课？（调课不计代课节数）")
                           .arg(covered)
                           .arg(swapped);
    if (!ctx_.platform.boxes.okCancel(question)) return;
    dayplan::confirm(ctx_.store, day, rows_, safekeeping::shown(officeNow(ctx_.platform)));
    emit confirmed();
    close();
}

}  // namespace daike
