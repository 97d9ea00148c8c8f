#include "windows/basedata/timetable_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "basedata/classes.h"
#include "basedata/full_width.h"
#include "engine/teacher_picker.h"
#include "store/store.h"
#include "store/week.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {
const QColor kSelectedCell{0, 192, 0};
// Fits an 800x600 screen with its taskbar at its placed position.
constexpr int kCellWidth = 100, kLineHeight = 22, kGridLeft = 70, kGridTop = 104;
}  // namespace

TimetableWindow::TimetableWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form19", QStringLiteral("手动输入课务情况"));
    setFixedSize(kGridLeft + week::kDays * kCellWidth + 30,
                 kGridTop + week::kPeriods * 2 * kLineHeight + 108);

    auto* frame = new QGroupBox(QStringLiteral("教师及任课选择："), this);
    frame->setObjectName("Frame1");
    frame->setGeometry(20, 10, kGridLeft + week::kDays * kCellWidth - 10, 64);
    const char* const captions[] = {"教师：", "班级：", "任课："};
    for (int i = 0; i < 3; ++i) {
        const int x = 14 + i * 180;
        makeLabel(frame, QStringLiteral("Label%1").arg(i + 1), QString::fromUtf8(captions[i]),
                  {x, 26, 44, 24});
        auto* combo = new QComboBox(frame);
        combo->setObjectName(QStringLiteral("Combo%1").arg(i + 1));
        combo->setGeometry(x + 46, 24, 120, 26);
        // Subjects outside the grade's course list can be typed; teachers and classes are
        // chosen from their lists.
        combo->setEditable(i == 2);
    }
    connect(findChild<QComboBox*>("Combo1"), &QComboBox::activated, this,
            [this] { runAction(ctx_, [this] { showWeek(); }); });
    connect(findChild<QComboBox*>("Combo2"), &QComboBox::activated, this,
            [this] { runAction(ctx_, [this] { chooseClass(); }); });

    for (int d = 0; d < week::kDays; ++d) {
        auto* head = makeLabel(this, arrayName("Label6", d), qs(week::weekdayName(d + 1)),
                               {kGridLeft + d * kCellWidth, kGridTop - 26, kCellWidth, 22});
        head->setAlignment(Qt::AlignCenter);
    }
    const char* const halves[] = {"上      午", "下      午"};
    for (int h = 0; h < 2; ++h) {
        const int first = h == 0 ? 0 : week::kMorningPeriods;  // rows above the half
        const int rows = h == 0 ? week::kMorningPeriods : week::kAfternoonPeriods;
        auto* half =
            makeLabel(this, arrayName("Label6", week::kDays + h), QString::fromUtf8(halves[h]),
                      {24, kGridTop + first * 2 * kLineHeight, 30, rows * 2 * kLineHeight});
        half->setWordWrap(true);
        half->setAlignment(Qt::AlignCenter);
    }
    for (int cell = 0; cell < kGridCells; ++cell) {
        const int x = kGridLeft + (week::weekdayOfSlot(cell) - 1) * kCellWidth + 1;
        const int y = kGridTop + (week::periodOfSlot(cell) - 1) * 2 * kLineHeight + 1;
        auto* subject = makeClickLabel(this, arrayName("Label4", cell), QString(),
                                       {x, y, kCellWidth - 2, kLineHeight});
        auto* cls = makeClickLabel(this, arrayName("Label5", cell), QString(),
                                   {x, y + kLineHeight, kCellWidth - 2, kLineHeight - 2});
        for (auto* l : {subject, cls}) {
            l->setAlignment(Qt::AlignCenter);
            connect(l, &ClickLabel::clicked, this, [this, cell] { toggle(cell); });
        }
        paint(cell);
    }
    const int below = kGridTop + week::kPeriods * 2 * kLineHeight + 8;
    for (int k = 0; k < 2; ++k) {
        auto* line = makeLineEdit(this, arrayName("Text1", k),
                                  {kGridLeft, below + k * 28, week::kDays * kCellWidth, 26});
        line->setReadOnly(true);
        line->hide();
    }
    auto* save = makeButton(this, "Command1", QStringLiteral("保存"),
                            {kGridLeft + week::kDays * kCellWidth / 2 - 150, below + 60, 100, 30});
    setMainButton(this, save);
    auto* del = makeButton(this, "Command2", QStringLiteral("删除"),
                           {kGridLeft + week::kDays * kCellWidth / 2 + 50, below + 60, 100, 30});
    connect(save, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { this->save(); }); });
    connect(del, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { remove(); }); });
    placeWindow(*this, ctx_.platform.screen, {100, 40});
    runAction(ctx_, [this] { load(); });
}

void TimetableWindow::load() {
    auto* teachers = findChild<QComboBox*>("Combo1");
    for (const auto& name : picker::teacherNames(ctx_.store)) teachers->addItem(qs(name));
    teachers->setCurrentIndex(-1);
    auto* classes = findChild<QComboBox*>("Combo2");
    for (const auto& name : readClasses(ctx_.store)) classes->addItem(qs(name));
    classes->setCurrentIndex(-1);
}

void TimetableWindow::chooseClass() {
    auto* subjects = findChild<QComboBox*>("Combo3");
    subjects->clear();
    const int grade = gradeOfClass(ss(findChild<QComboBox*>("Combo2")->currentText()));
    if (grade < 0) return;
    if (auto courses = gradeCourses(ctx_.store, grade))
        for (const auto& c : *courses) subjects->addItem(qs(c));
    // The subject is chosen anew for every class, never taken over unseen.
    subjects->setCurrentIndex(-1);
}

void TimetableWindow::paint(int cell) {
    const QColor c = selected_[static_cast<std::size_t>(cell)] ? kSelectedCell : colors::selected;
    setBackground(findChild<QLabel*>(arrayName("Label4", cell)), c);
    setBackground(findChild<QLabel*>(arrayName("Label5", cell)), c);
}

void TimetableWindow::toggle(int cell) {
    auto& s = selected_[static_cast<std::size_t>(cell)];
    s = !s;
    paint(cell);
}

void TimetableWindow::showWeek() {
    week_ = TeacherWeek{};
    selected_ = {};
    const QString teacher = findChild<QComboBox*>("Combo1")->currentText();
    if (!teacher.isEmpty()) week_ = teacherWeek(ctx_.store, ss(teacher));
    for (int cell = 0; cell < kGridCells; ++cell) {
        const auto& c = week_.cells[static_cast<std::size_t>(cell)];
        findChild<QLabel*>(arrayName("Label4", cell))->setText(qs(c.subject));
        findChild<QLabel*>(arrayName("Label5", cell))->setText(qs(c.className));
        paint(cell);
    }
    if (teacher.isEmpty()) return;
    const auto& week = week_;
    if (week.lessons == 0) {
        ctx_.platform.boxes.ok(QStringLiteral("该教师无任课情况！"));
        return;
    }
    if (week.outsideGrid > 0)
        ctx_.platform.boxes.ok(
            QStringLiteral("该教师有%1节课务不在星期一至星期五第1至6节之内，表中未能显示！")
                .arg(week.outsideGrid));
}

std::vector<int> TimetableWindow::selectedCells() const {
    std::vector<int> cells;
    for (int cell = 0; cell < kGridCells; ++cell)
        if (selected_[static_cast<std::size_t>(cell)]) cells.push_back(cell);
    return cells;
}

void TimetableWindow::save() {
    const auto teacher = ss(findChild<QComboBox*>("Combo1")->currentText());
    const auto cls = cleanFullWidth(ss(findChild<QComboBox*>("Combo2")->currentText()));
    const auto subject = cleanFullWidth(ss(findChild<QComboBox*>("Combo3")->currentText()));
    const auto cells = selectedCells();
    const auto saved = saveLessons(ctx_.store, teacher, cls, subject, cells);
    if (showIfRefused(ctx_, saved)) return;
    const auto& result = *saved;
    if (result.clashCell >= 0) {
        for (int k = 0; k < 2; ++k) findChild<QLineEdit*>(arrayName("Text1", k))->clear();
        const auto lines = clashLines(result.clashes);
        for (std::size_t k = 0; k < lines.size(); ++k) {
            auto* line = findChild<QLineEdit*>(arrayName("Text1", static_cast<int>(k)));
            line->setText(qs(lines[k]));
            line->show();
        }
        ctx_.platform.boxes.ok(QStringLiteral("课务有冲突！"));
        for (int k = 0; k < 2; ++k) findChild<QLineEdit*>(arrayName("Text1", k))->hide();
    }
    showWeek();
}

void TimetableWindow::remove() {
    std::vector<std::pair<int, GridCell>> cells;
    for (int cell : selectedCells()) {
        // A cell that shows no lesson has nothing to delete.
        const auto& shown = week_.cells[static_cast<std::size_t>(cell)];
        if (shown.className.empty()) continue;
        cells.push_back({cell, shown});
    }
    deleteLessons(ctx_.store, cells);
    showWeek();
}

}  // namespace daike
