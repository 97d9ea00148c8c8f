#include "windows/engine/late_cover_window.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "store/safekeeping.h"
#include "store/store.h"
#include "store/tables/change_log.h"
#include "store/tables/teachers.h"
#include "store/week.h"
#include "ui/backups.h"
#include "ui/keyboard.h"
#include "ui/name_completion.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

QComboBox* reasonBox(QWidget* parent, const char* name, QRect at) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setGeometry(at);
    box->setEditable(true);
    for (const auto r : week::kStatisticsReasons) box->addItem(qs(r));
    return box;
}

QListWidget* listBox(QWidget* parent, const char* name, const QString& accessible, QRect at) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessible);
    list->setGeometry(at);
    return list;
}

}  // namespace

LateCoverWindow::LateCoverWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormBD", QStringLiteral("补登与改事由"));
    setFixedSize(640, 500);
    setNoMainButton(this);

    auto* late =
        new QGroupBox(QStringLiteral("补登以前某天的代课（计入本学期，不计入今天）"), this);
    late->setObjectName("Frame1");
    late->setGeometry(8, 6, 624, 196);
    makeLabel(late, "Label1", QStringLiteral("请假教师："), {10, 26, 72, 24});
    absent_ = makeLineEdit(late, "Text1", {82, 24, 110, 26});
    attachNameCompletion(absent_, [this] { return teachers::names(ctx_.store); });
    makeLabel(late, "Label2", QStringLiteral("日期："), {204, 26, 44, 24});
    date_ = makeLineEdit(late, "Text2", {248, 24, 110, 26});
    date_->setPlaceholderText(QStringLiteral("2026-09-15"));
    auto* find = makeButton(late, "Command1", QStringLiteral("列出当天课务"), {370, 22, 120, 30});
    lessonList_ = listBox(late, "List1", QStringLiteral("当天课务"), {10, 58, 300, 128});
    makeLabel(late, "Label3", QStringLiteral("代课教师："), {322, 66, 72, 24});
    substitute_ = makeLineEdit(late, "Text3", {394, 64, 110, 26});
    attachNameCompletion(substitute_, [this] { return teachers::names(ctx_.store); });
    makeLabel(late, "Label4", QStringLiteral("事由："), {322, 104, 72, 24});
    reason_ = reasonBox(late, "Combo1", {394, 102, 110, 26});
    auto* record = makeButton(late, "Command2", QStringLiteral("补登"), {394, 146, 110, 32});

    auto* fix = new QGroupBox(QStringLiteral("改事由（只改事由，不改代课节数）"), this);
    fix->setObjectName("Frame2");
    fix->setGeometry(8, 206, 624, 150);
    coverList_ = listBox(fix, "List2", QStringLiteral("本学期的代课记录"), {10, 24, 470, 116});
    makeLabel(fix, "Label5", QStringLiteral("新事由："), {490, 26, 60, 24});
    newReason_ = reasonBox(fix, "Combo2", {490, 52, 124, 26});
    auto* change = makeButton(fix, "Command3", QStringLiteral("改事由"), {490, 96, 124, 32});

    auto* logBox = new QGroupBox(QStringLiteral("修改记录"), this);
    logBox->setObjectName("Frame3");
    logBox->setGeometry(8, 360, 624, 96);
    log_ = listBox(logBox, "List3", QStringLiteral("修改记录"), {10, 22, 604, 66});
    auto* close = makeButton(this, "Command4", QStringLiteral("关闭"), {270, 462, 100, 32});

    connect(find, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { listLessons(); }); });
    connect(date_, &QLineEdit::returnPressed, this,
            [this] { runAction(ctx_, [this] { listLessons(); }); });
    connect(record, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { recordLate(); }); });
    connect(change, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { changeReason(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    placeWindow(*this, ctx_.platform.screen, {80, 20});
    refresh();
}

bool LateCoverWindow::event(QEvent* e) {
    // Cover recorded or withdrawn elsewhere while this window was open shows when it comes back.
    if (e->type() == QEvent::WindowActivate) runAction(ctx_, [this] { refresh(); });
    return QWidget::event(e);
}

std::string LateCoverWindow::now() const {
    const auto shown = safekeeping::shown(officeNow(ctx_.platform));
    return shown.substr(0, 16);  // "2026-12-09 08:15"
}

void LateCoverWindow::listLessons() {
    lessonList_->clear();
    lessons_.clear();
    const auto lessons = latecover::lessonsOn(ctx_.store, ss(absent_->text()), ss(date_->text()),
                                              ctx_.platform.clock.today());
    if (showIfRefused(ctx_, lessons)) return;
    lessons_ = *lessons;
    for (const auto& l : lessons_)
        lessonList_->addItem(qs(week::periodName(l.period) + " " + l.cls + l.subject));
    if (lessons_.empty())
        ctx_.platform.boxes.ok(QStringLiteral("%1这一天没有课务。").arg(absent_->text().trimmed()));
    else
        lessonList_->setCurrentRow(0);
}

void LateCoverWindow::recordLate() {
    const int row = lessonList_->currentRow();
    if (row < 0 || row >= static_cast<int>(lessons_.size())) {
        ctx_.platform.boxes.ok(QStringLiteral("请先列出当天课务，再选择要补登的一节课。"));
        return;
    }
    const latecover::Request request{ss(absent_->text()), ss(date_->text()),
                                     lessons_[static_cast<std::size_t>(row)].period,
                                     ss(substitute_->text()), ss(reason_->currentText())};
    const auto entry = latecover::check(ctx_.store, request, ctx_.platform.clock.today());
    if (showIfRefused(ctx_, entry)) return;
    if (!ctx_.platform.boxes.yesNo(qs(latecover::question(*entry)))) return;
    latecover::record(ctx_.store, *entry, now());
    ctx_.platform.boxes.ok(
        QStringLiteral("已补登：%1。").arg(qs(latecover::describe(entry->record))));
    refresh();
}

void LateCoverWindow::changeReason() {
    const int row = coverList_->currentRow();
    if (row < 0 || row >= static_cast<int>(covers_.size())) {
        ctx_.platform.boxes.ok(QStringLiteral("请先在列表中选择要改事由的代课记录。"));
        return;
    }
    const auto& cover = covers_[static_cast<std::size_t>(row)];
    const QString reason = newReason_->currentText().trimmed();
    if (!ctx_.platform.boxes.yesNo(
            QStringLiteral("将“%1”的事由由“%2”改为“%3”，代课节数不变。是否确定？（是/否）")
                .arg(qs(latecover::describe(cover)), qs(cover.reason), reason)))
        return;
    const auto done = latecover::changeReason(ctx_.store, cover, ss(reason), now());
    if (showIfRefused(ctx_, done)) return;
    refresh();
}

void LateCoverWindow::refresh() {
    const int keep = coverList_->currentRow();
    covers_ = latecover::termCovers(ctx_.store);
    coverList_->clear();
    for (const auto& c : covers_) coverList_->addItem(qs(latecover::describe(c)));
    if (keep >= 0 && keep < coverList_->count()) coverList_->setCurrentRow(keep);
    log_->clear();
    for (const auto& e : changelog::newestFirst(ctx_.store))
        log_->addItem(qs(e.when + "  " + e.what + "：" +
                         (e.before.empty() ? e.after : e.before + " → " + e.after)));
}

}  // namespace daike
