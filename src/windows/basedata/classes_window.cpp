#include "windows/basedata/classes_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "basedata/classes.h"
#include "store/week.h"
#include "ui/backups.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {
QString gradeCaption(int g) {
    return qs(week::kGradeNames[static_cast<std::size_t>(g)]) + QStringLiteral("年级");
}
constexpr int kShownCourses = 18;
}  // namespace

ClassesWindow::ClassesWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form17", QStringLiteral("班级输入"));
    setFixedSize(300, 330);
    auto* frame = new QGroupBox(QStringLiteral("班级确定"), this);
    frame->setObjectName("Frame1");
    frame->setGeometry(20, 12, 260, 252);
    for (int g = 0; g < week::kGrades; ++g) {
        const int y = 30 + g * 36;
        makeLabel(frame, arrayName("Label1", g), gradeCaption(g), {30, y + 2, 60, 24});
        makeLineEdit(frame, arrayName("Text1", g), {96, y, 70, 26});
        makeLabel(frame, arrayName("Label2", g), QStringLiteral("个班"), {172, y + 2, 40, 24});
    }
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"), {100, 280, 100, 32});
    setMainButton(this, ok);
    connect(ok, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { write(); }); });
    placeWindow(*this, ctx_.platform.screen, {240, 120});
}

void ClassesWindow::write() {
    std::array<std::string, week::kGrades> boxes;
    for (int g = 0; g < week::kGrades; ++g)
        boxes[g] = ss(findChild<QLineEdit*>(arrayName("Text1", g))->text());
    const auto written =
        writeClasses(ctx_.store, boxes, [this] { backupBefore(ctx_, "班级数目保存前"); });
    if (showIfRefused(ctx_, written)) return;
    ctx_.platform.boxes.ok(QStringLiteral("班级名称已正确录入！"));
    close();
}

CoursesWindow::CoursesWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form18", QStringLiteral("课程输入"));
    setFixedSize(560, 420);
    makeLabel(this, "Label3", QStringLiteral("开设课程"), {20, 22, 70, 24});
    makeLineEdit(this, "Text2", {90, 20, 160, 26});
    for (int g = 0; g < week::kGrades; ++g)
        makeCheck(this, arrayName("Check2", g), gradeCaption(g),
                  {20 + (g % 3) * 80, 60 + (g / 3) * 30, 76, 24});
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"), {80, 130, 100, 32});
    setMainButton(this, ok);
    connect(ok, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { store(); }); });

    for (int g = 0; g < week::kGrades; ++g) {
        auto* option = makeRadio(this, arrayName("Option1", g), gradeCaption(g),
                                 {290 + (g % 3) * 86, 20 + (g / 3) * 30, 80, 24});
        connect(option, &QRadioButton::clicked, this,
                [this, g] { runAction(ctx_, [this, g] { showGrade(g); }); });
    }
    for (int i = 0; i < kShownCourses; ++i)
        makeLabel(this, arrayName("Label1", i), QString(),
                  {290 + (i / 9) * 130, 90 + (i % 9) * 30, 124, 24});
    // A grade with more courses than the places says how many were left out.
    makeLabel(this, "Label4", QString(), {290, 366, 250, 24});
    placeWindow(*this, ctx_.platform.screen, {160, 100});
}

void CoursesWindow::store() {
    auto* name = findChild<QLineEdit*>("Text2");
    std::array<bool, week::kGrades> grades{};
    for (int g = 0; g < week::kGrades; ++g)
        grades[g] = findChild<QCheckBox*>(arrayName("Check2", g))->isChecked();
    if (showIfRefused(ctx_, addCourse(ctx_.store, ss(name->text()), grades))) {
        name->setFocus();
        return;
    }
    if (shownGrade_ >= 0) showGrade(shownGrade_);
    name->clear();
    for (int g = 0; g < week::kGrades; ++g)
        findChild<QCheckBox*>(arrayName("Check2", g))->setChecked(false);
    name->setFocus();
}

void CoursesWindow::showGrade(int grade) {
    shownGrade_ = grade;
    for (int i = 0; i < kShownCourses; ++i) findChild<QLabel*>(arrayName("Label1", i))->clear();
    auto* more = findChild<QLabel*>("Label4");
    more->clear();
    const auto courses = gradeCourses(ctx_.store, grade);
    if (!courses) {
        ctx_.platform.boxes.ok(QStringLiteral("还没有课程记录！"));
        return;
    }
    const int n = static_cast<int>(courses->size());
    for (int i = 0; i < n && i < kShownCourses; ++i)
        findChild<QLabel*>(arrayName("Label1", i))->setText(qs((*courses)[i]));
    if (n > kShownCourses)
        more->setText(QStringLiteral("共%1门课程，另有%2门未能显示").arg(n).arg(n - kShownCourses));
}

}  // namespace daike
