#include "windows/basedata/main_classes_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>

#include "basedata/classes.h"
#include "store/week.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {
const QColor kChosen{255, 192, 255};  // the subject being edited and its ticked classes
constexpr int kBoxesPerLine = 10;
constexpr int kBoxW = 65;  // ten to a line beside the grade, room left for a scroll bar
constexpr int kLineH = 26;
const QString kSaveQuestion = QStringLiteral("已改动，是否确定保存（是/否）！");
}  // namespace

MainClassesWindow::MainClassesWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form7", QStringLiteral("教师主要任课班级输入"));
    // 上一位 and 下一位 ask before storing: Enter runs neither.
    setNoMainButton(this);
    setFixedSize(780, 500);

    place_ = makeLabel(this, "Label9", QString(), {20, 12, 120, 24});
    count_ = makeLabel(this, "Label6", QString(), {150, 12, 120, 24});
    previous_ = makeButton(this, "Command2", QStringLiteral("上一位"), {540, 8, 100, 30});
    next_ = makeButton(this, "Command3", QStringLiteral("下一位"), {656, 8, 100, 30});
    connect(previous_, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { step(-1); }); });
    connect(next_, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { step(1); }); });

    // 姓名 and 主班 on the first line, then 语文 数学, then 英语 科学.
    const auto caption = [](int i) {
        return i == 0 ? QStringLiteral("姓名")
                      : qs(mainclasses::kCaptions[static_cast<std::size_t>(i - 1)]);
    };
    for (int i = 0; i < static_cast<int>(boxes_.size()); ++i) {
        const int x = 20 + (i % 2) * 376;
        const int y = 48 + (i / 2) * 34;
        makeLabel(this, arrayName("Label1", i), caption(i), {x, y + 2, 40, 24});
        boxes_[i] = makeLineEdit(this, arrayName("Text1", i), {x + 44, y, 316, 26});
        boxes_[i]->installEventFilter(this);
        connect(boxes_[i], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (i == 0) {
                editor_.setName(ss(text));
            } else {
                editor_.setValue(i - 1, ss(text));
                showTicks();
            }
        });
    }
    makeLabel(this, "Label13", QStringLiteral("请选择相应的学科再选择班级"), {20, 150, 400, 24});

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("classGrid");
    scroll->setGeometry(20, 178, 740, 306);
    scroll->setWidgetResizable(false);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* area = new QWidget;
    area->setObjectName("classGridArea");
    buildClassGrid(area);
    scroll->setWidget(area);

    teachers_ = mainclasses::readTeachers(ctx_.store);
    count_->setText(QStringLiteral("共计：%1").arg(teachers_.size()));
    showTeacher(teachers_.empty() ? 0 : 1);
    placeWindow(*this, ctx_.platform.screen, {10, 10});
}

void MainClassesWindow::buildClassGrid(QWidget* area) {
    // Every class of a grade has its box, however many the grade has: ten to a line.
    const auto grades = mainclasses::classesByGrade(ctx_.store);
    int y = 4;
    for (int g = 0; g < week::kGrades; ++g) {
        const auto& classes = grades[static_cast<std::size_t>(g)];
        makeLabel(area, arrayName("Label2", g),
                  qs(week::kGradeNames[static_cast<std::size_t>(g)]) + QStringLiteral("年级"),
                  {6, y, 56, kLineH - 2});
        for (std::size_t i = 0; i < classes.size(); ++i) {
            const int at = static_cast<int>(i);
            auto* box =
                makeCheck(area, arrayName(QStringLiteral("Check%1").arg(g + 1), at), qs(classes[i]),
                          {64 + (at % kBoxesPerLine) * kBoxW, y + (at / kBoxesPerLine) * kLineH,
                           kBoxW - 4, kLineH - 2});
            classBoxes_.push_back({classes[i], box});
        }
        const int lines = classes.empty() ? 1 : (static_cast<int>(classes.size()) + 9) / 10;
        y += lines * kLineH + 6;
    }
    area->resize(64 + kBoxesPerLine * kBoxW, y);
    for (const auto& c : classBoxes_) {
        connect(c.box, &QCheckBox::clicked, this,
                [this, c](bool on) { runAction(ctx_, [this, c, on] { classClicked(c, on); }); });
    }
}

void MainClassesWindow::showTeacher(int position) {
    position_ = position;
    const int n = static_cast<int>(teachers_.size());
    editor_.load(position >= 1 && position <= n ? teachers_[static_cast<std::size_t>(position - 1)]
                                                : mainclasses::Teacher{});
    boxes_[0]->setText(qs(editor_.shown().name));
    for (int k = 0; k < mainclasses::kValues; ++k)
        boxes_[k + 1]->setText(qs(editor_.shown().values[static_cast<std::size_t>(k)]));
    place_->setText(QStringLiteral("第%1位教师").arg(position));
    previous_->setEnabled(position > 1);
    next_->setEnabled(position >= 1 && position < n);
    showSubjectColours();
    showTicks();
}

bool MainClassesWindow::offerToStore() {
    if (position_ < 1 || !editor_.changed()) return true;
    if (!ctx_.platform.boxes.yesNo(kSaveQuestion)) return true;
    return runAction(ctx_, [this] {
        showIfRefused(ctx_, mainclasses::storeTeacher(ctx_.store, position_, editor_.loadedName(),
                                                      editor_.shown()));
    });
}

void MainClassesWindow::step(int delta) {
    if (!offerToStore()) return;
    // The list is read again: what was just stored, or names changed in the meantime.
    teachers_ = mainclasses::readTeachers(ctx_.store);
    const int n = static_cast<int>(teachers_.size());
    count_->setText(QStringLiteral("共计：%1").arg(n));
    int to = position_ + delta;
    if (to > n) to = n;
    if (to < 1) to = n > 0 ? 1 : 0;
    showTeacher(to);
}

bool MainClassesWindow::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::FocusIn) {
        for (int k = 0; k < mainclasses::kValues; ++k)
            if (watched == boxes_[k + 1] && editor_.subject() != k) chooseSubject(k);
    }
    return QWidget::eventFilter(watched, e);
}

void MainClassesWindow::chooseSubject(int k) {
    editor_.choose(k);
    showSubjectColours();
    showTicks();
}

void MainClassesWindow::classClicked(const ClassBox& c, bool on) {
    if (!showIfRefused(ctx_, editor_.tick(c.cls, on))) {
        const int k = editor_.subject();
        boxes_[k + 1]->setText(qs(editor_.shown().values[static_cast<std::size_t>(k)]));
    }
    showTicks();
}

void MainClassesWindow::showTicks() {
    for (const auto& c : classBoxes_) {
        const bool on = editor_.ticked(c.cls);
        c.box->setChecked(on);
        setBackground(c.box, on ? kChosen : palette().color(QPalette::Button));
    }
}

void MainClassesWindow::showSubjectColours() {
    for (int k = 0; k < mainclasses::kValues; ++k)
        setBackground(boxes_[k + 1],
                      editor_.subject() == k ? kChosen : palette().color(QPalette::Base));
}

void MainClassesWindow::closeEvent(QCloseEvent* e) {
    // Changes of the teacher on screen are not dropped without asking.
    offerToStore();
    e->accept();
}

}  // namespace daike
