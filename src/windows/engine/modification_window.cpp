#include "windows/engine/modification_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>

#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/engine/free_period_leave_window.h"

namespace daike {

namespace {

const int kRowH = 34;
const int kVisibleRows = 6;
const QString kChoose = QStringLiteral("请选择");

// The main window is closing and takes every window with it.
bool runEnding(const QWidget* owner) {
    return owner && owner->property("endingRun").toBool();
}

QLabel* value(QWidget* parent, const QString& name, QRect at) {
    auto* l = makeLabel(parent, name, QString(), at);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QComboBox* list(QWidget* parent, const QString& name, QRect at) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->lineEdit()->setReadOnly(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setGeometry(at);
    return c;
}

}  // namespace

ModificationWindow::ModificationWindow(RunContext& ctx, QWidget* owner,
                                       const modification::Lists& lists)
    : ctx_(ctx) {
    makeToolWindow(this, owner, "Form3", QStringLiteral("代课情况修改"));
    // 删除 and 重代 withdraw cover: Enter runs neither.
    setNoMainButton(this);
    build();
    setList(substitutes_, lists.substitutes);
    setList(absent_, lists.absent);
    // The absent teachers of this visit, for the free-period leave check.
    awayAtStart_ = lists.absent;
    // Corrections at the weekend or on another day apply to the day whose cover is stored.
    // The records' own day; the working day stays as it is.
    weekday_ = modification::weekdayOfRecords(ctx_.store, ctx_.day.weekday());
    placeWindow(*this, ctx_.platform.screen, {60, 40});
}

void ModificationWindow::build() {
    setFixedSize(680, 400);
    makeLabel(this, "Label1", QStringLiteral("代课教师："), {20, 14, 72, 26});
    substitutes_ = list(this, "Combo1", {92, 14, 140, 26});
    makeLabel(this, "Label2", QStringLiteral("外出教师："), {270, 14, 72, 26});
    absent_ = list(this, "Combo2", {342, 14, 140, 26});
    connect(substitutes_, &QComboBox::textActivated, this,
            [this](const QString& t) { runAction(ctx_, [this, t] { choose(BySubstitute, t); }); });
    connect(absent_, &QComboBox::textActivated, this,
            [this](const QString& t) { runAction(ctx_, [this, t] { choose(ByAbsent, t); }); });

    auto* frame = new QGroupBox(QStringLiteral("代课情况显示："), this);
    frame->setObjectName("Frame1");
    frame->setGeometry(12, 52, 656, kVisibleRows * kRowH + 40);
    scroll_ = new QScrollArea(frame);
    scroll_->setObjectName("coverScroll");
    scroll_->setAccessibleName(QStringLiteral("代课情况显示"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setGeometry(4, 24, 648, kVisibleRows * kRowH + 10);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every row's option button sits in a frame of its own; one group across the frames keeps
    // one cover selected, the one 删除 and 重代 act on.
    options_ = new QButtonGroup(this);
    options_->setExclusive(true);
    rowsHost_ = new QWidget;
    rowsHost_->setObjectName("coverRows");
    rowsHost_->resize(628, kVisibleRows * kRowH);
    scroll_->setWidget(rowsHost_);
    for (int r = 0; r < kVisibleRows; ++r) rowAt(r);

    auto* del = makeButton(this, "Command3", QStringLiteral("删除"), {150, 348, 100, 32});
    auto* again = makeButton(this, "Command4", QStringLiteral("重代"), {290, 348, 100, 32});
    auto* exit = makeButton(this, "Command1", QStringLiteral("退出"), {430, 348, 100, 32});
    // Cover of an earlier day recorded afterwards and a reason corrected: a window of its own.
    auto* late = makeButton(this, "Command5", QStringLiteral("补登/改事由…"), {560, 348, 108, 32});
    connect(late, &QPushButton::clicked, this, &ModificationWindow::lateCoverAsked);
    // A lesson given to a colleague in exchange for one of his: no cover, a window of its own.
    auto* swap = makeButton(this, "Command6", QStringLiteral("调课…"), {30, 348, 100, 32});
    connect(swap, &QPushButton::clicked, this, &ModificationWindow::swapAsked);
    connect(del, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { correct(false); }); });
    connect(again, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { correct(true); }); });
    connect(exit, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { exitStep(); }); });
}

// Rows are made as needed: six show at once, more scroll.
ModificationWindow::Row& ModificationWindow::rowAt(int r) {
    while (static_cast<int>(rows_.size()) <= r) {
        const int i = static_cast<int>(rows_.size());
        auto* box = new QFrame(rowsHost_);
        box->setObjectName(arrayName("coverRow", i));
        box->setFrameStyle(QFrame::Box | QFrame::Plain);
        box->setGeometry(0, i * kRowH, 628, kRowH - 4);
        Row row{};
        row.box = box;
        row.option = makeRadio(box, arrayName("Option1", i), QString(), {6, 6, 20, 18});
        row.marker = makeLabel(box, arrayName("Label4", i), QString(), {0, 0, 1, 1});
        row.marker->hide();
        struct Part {
            QLabel** value;
            const char* name;
            const char* word;
            const char* wordName;
            int w;
        };
        const Part parts[] = {{&row.absent, "Label3", "老师因", "Label13", 64},
                              {&row.reason, "Label5", "特请", "Label6", 60},
                              {&row.substitute, "Label7", "老师代", "Label8", 64},
                              {&row.cls, "Label9", "班第", "Label10", 52},
                              {&row.period, "Label14", "节", "Label12", 24},
                              {&row.subject, "Label11", "课", "Label18", 72}};
        int x = 30;
        for (const auto& p : parts) {
            *p.value = value(box, arrayName(p.name, i), {x, 4, p.w, 22});
            x += p.w;
            const QString word = QString::fromUtf8(p.word);
            const int ww = word.size() * 14 + 4;
            makeLabel(box, arrayName(p.wordName, i), word, {x, 4, ww, 22});
            x += ww;
        }
        options_->addButton(row.option, i);
        connect(row.option, &QRadioButton::clicked, this, [this, i] { selected_ = i; });
        box->setVisible(false);
        rows_.push_back(row);
        rowsHost_->resize(628, std::max(kVisibleRows, static_cast<int>(rows_.size())) * kRowH);
    }
    return rows_[static_cast<std::size_t>(r)];
}

void ModificationWindow::setList(QComboBox* box, const std::vector<std::string>& names) {
    box->clear();
    for (const auto& n : names) box->addItem(qs(n));
    box->setCurrentIndex(-1);
    box->setEditText(kChoose);
}

void ModificationWindow::removeFrom(QComboBox* box, const QString& name) {
    const int i = box->findText(name);
    if (i < 0) return;
    box->removeItem(i);
    box->setCurrentIndex(-1);
    box->setEditText(kChoose);
}

void ModificationWindow::choose(Mode mode, const QString& name) {
    mode_ = mode;
    chosen_ = name;
    covers_ = mode == BySubstitute ? modification::coversBy(ctx_.store, ss(name))
                                   : modification::coversOf(ctx_.store, ss(name));
    showCovers();
    if (covers_.empty()) {
        if (mode == ByAbsent) freePeriodCheck(name);
        dropTeacher();
    }
}

void ModificationWindow::showCovers() {
    selected_ = -1;
    // An exclusive group keeps its checked button: let go of it to show no selection.
    options_->setExclusive(false);
    for (auto& row : rows_) row.option->setChecked(false);
    options_->setExclusive(true);
    for (int r = 0; r < static_cast<int>(std::max(rows_.size(), covers_.size())); ++r) {
        auto& row = rowAt(r);
        const bool shown = r < static_cast<int>(covers_.size());
        row.box->setVisible(shown);
        const auto c = shown ? covers_[static_cast<std::size_t>(r)] : modification::CoverRow{};
        row.marker->setText(shown ? QStringLiteral("1") : QString());
        row.absent->setText(qs(c.absent));
        row.reason->setText(qs(c.reason));
        row.substitute->setText(qs(c.substitute));
        row.cls->setText(qs(c.cls));
        row.period->setText(shown ? QString::number(c.period) : QString());
        row.subject->setText(qs(c.subject));
    }
}

void ModificationWindow::dropTeacher() {
    if (!covers_.empty()) return;
    if (mode_ == ByAbsent) removeFrom(absent_, chosen_);
    if (mode_ == BySubstitute) removeFrom(substitutes_, chosen_);
}

void ModificationWindow::freePeriodCheck(const QString& teacher) {
    const auto& saved = awayAtStart_;
    if (std::find(saved.begin(), saved.end(), ss(teacher)) == saved.end()) return;
    if (auto* open = findWindow("Form14"); open && open->isVisible()) {
        open->raise();
        return;
    }
    auto* w = openFreePeriodLeaveEdit(ctx_, parentWidget(), teacher);
    connect(w, &FreePeriodLeaveEditWindow::corrected, this,
            [this](const QString& t) { leave::dropFromList(awayAtStart_, ss(t)); });
    // Without a free-period absence the window has nothing to show.
    if (!w->hasAny()) w->deleteLater();
}

int ModificationWindow::selectedRow() const {
    if (selected_ < 0 || selected_ >= static_cast<int>(covers_.size())) return -1;
    return selected_;
}

void ModificationWindow::correct(bool again) {
    if (again) reassigned_ = true;
    const int k = selectedRow();
    if (k < 0) {
        ctx_.platform.boxes.ok(again ? QStringLiteral("您还没有选择重代课目！")
                                     : QStringLiteral("您还没有选择修改课目！"));
        return;
    }
    const auto cover = covers_[static_cast<std::size_t>(k)];
    // Neither correction can be undone from here: the operator confirms the lesson named.
    const auto question =
        again ? modification::reassignQuestion(cover) : modification::withdrawQuestion(cover);
    if (!ctx_.platform.boxes.yesNo(qs(question))) return;
    const auto out = again ? modification::reassign(ctx_.store, cover)
                           : modification::withdraw(ctx_.store, cover);
    if (again && !queued_.contains(qs(cover.absent))) queued_ << qs(cover.absent);
    if (!out.notFound.empty()) {
        QString list;
        for (const auto& n : out.notFound) list += (list.isEmpty() ? "" : "；") + qs(n);
        ctx_.platform.boxes.ok(QStringLiteral("以下记录没有找到，已跳过，其余已修改：") + list);
    }
    // A teacher left with no cover leaves the other list.
    if (mode_ == ByAbsent && !modification::givesCover(ctx_.store, cover.substitute))
        removeFrom(substitutes_, qs(cover.substitute));
    if (mode_ == BySubstitute && !modification::hasCover(ctx_.store, cover.absent))
        removeFrom(absent_, qs(cover.absent));
    freePeriodCheck(qs(cover.absent));
    choose(mode_, chosen_);
}

void ModificationWindow::exitStep() {
    handOverQueued();
    close();
}

void ModificationWindow::handOverQueued() {
    if (exited_) return;
    exited_ = true;
    if (reassigned_ && !queued_.isEmpty()) {
        std::vector<std::string> names;
        for (const auto& n : queued_) names.push_back(ss(n));
        modification::openQueuedForCover(ctx_.store, names, weekday_);
        emit coverAgain(queued_, weekday_);
    }
}

void ModificationWindow::closeEvent(QCloseEvent* e) {
    // Lessons queued again must reach the assignment screen however the window is left;
    // otherwise they would stay held back with no one to cover them.
    if (!runEnding(parentWidget())) runAction(ctx_, [this] { handOverQueued(); });
    e->accept();
}

}  // namespace daike
