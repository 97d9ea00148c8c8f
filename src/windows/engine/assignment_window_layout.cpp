// Form1's controls and their places; what they do is in assignment_window.cpp.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "store/week.h"
#include "ui/name_completion.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/engine/assignment_window.h"

namespace daike {

namespace {

const char* const kValueLabels[AssignmentWindow::kListValues] = {"Label85", "Label54", "Label55",
                                                                 "Label56", "Label57", "Label59"};
const char* const kListHeaders[AssignmentWindow::kListValues] = {
    "姓名", " 科任 情况", "本日总节数", "本日代课节数", "是否连课", "学期代课节数"};
// The window fits an 800x600 screen with its taskbar (inside 800x530) with both blocks of the
// candidate list in view.
const int kWindowW = 800;
const int kWindowH = 528;
// Left edge and width of the list columns inside a block: number, the six values, option.
const int kListX[8] = {0, 24, 90, 148, 190, 232, 274, 318};
const int kListW[7] = {22, 64, 56, 40, 40, 40, 40};
const int kBlockX[2] = {6, 398};
const int kListTop = 50;
const int kRowHeight = 17;

const char* const kSuggestionLabels[AssignmentWindow::kSuggestionColumns] = {
    "Label8", "Label9", "Label10", "Label11", "Label12", "Label14", "Label15"};
const char* const kSuggestionHeaders[AssignmentWindow::kSuggestionColumns] = {
    "序号", "姓名", "星期", "班级", "节次", "课目", "适合原因"};
const int kSuggestionX[8] = {6, 42, 106, 142, 194, 230, 302, 376};
const int kSuggestionW[7] = {34, 62, 34, 50, 34, 70, 70};

const char* const kInfo =
    "1. 输入或用“…”点选请假教师，选择事由，按“确定”调出当天课务。\n"
    "2. 点选一节课，下方按优先顺序列出可代课教师（绿色：本班班主任；粉色：在本班任主课）。\n"
    "3. 点选一位教师，按其旁边的“确定”并确认，即记入代课。\n"
    "4. 课务代完后按“退出”，再选择空课时间是否外出。";

const char* const kSuggestionWhy = "他在任课班级另有待代的课，可改代上列课目，或点“仍代原课”。";

}  // namespace

void AssignmentWindow::build() {
    setFixedSize(kWindowW, kWindowH);

    // Who and why.
    makeLabel(this, "Label1", QStringLiteral("周次："), {8, 6, 40, 26});
    week_ = makeLineEdit(this, "Text1", {48, 6, 36, 26});
    makeLabel(this, "Label2", QStringLiteral("星期："), {92, 6, 40, 26});
    weekdayBox_ = makeLineEdit(this, "Text2", {132, 6, 28, 26});
    weekdayBox_->setReadOnly(true);
    weekdayBox_->setAlignment(Qt::AlignCenter);
    auto* up = makeButton(this, "Command2", QString(), {161, 6, 20, 13});
    up->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    up->setToolTip(QStringLiteral("后一天"));
    auto* down = makeButton(this, "Command6", QString(), {161, 19, 20, 13});
    down->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    down->setToolTip(QStringLiteral("前一天"));
    // The arrows inside their half-height buttons.
    for (auto* b : {up, down}) b->setIconSize(QSize(9, 9));
    connect(up, &QPushButton::clicked, this, [this] { stepWeekday(1); });
    connect(down, &QPushButton::clicked, this, [this] { stepWeekday(-1); });

    makeLabel(this, "Label3", QStringLiteral("教师："), {190, 6, 40, 26});
    teachers_ = new QComboBox(this);
    teachers_->setObjectName("Combo1");
    teachers_->setEditable(true);
    // A name typed and entered is looked up, never added: the list is the day's absences.
    teachers_->setInsertPolicy(QComboBox::NoInsert);
    teachers_->setGeometry(230, 6, 120, 26);
    typed_ = makeLineEdit(this, "Text3", {230, 6, 94, 26});
    typed_->hide();
    // Both boxes offer the stored names as the operator types.
    attachTeacherCompletion(ctx_, typed_);
    attachTeacherCompletion(ctx_, teachers_->lineEdit());
    pick_ = makeButton(this, "Command7", QStringLiteral("…"), {326, 6, 24, 26});
    pick_->setToolTip(QStringLiteral("选择教师"));
    pick_->hide();
    connect(pick_, &QPushButton::clicked, this, [this] { act([this] { openPicker(); }); });

    makeLabel(this, "Label4", QStringLiteral("事由："), {360, 6, 40, 26});
    reasons_ = new QComboBox(this);
    reasons_->setObjectName("Combo2");
    reasons_->setEditable(true);
    reasons_->setGeometry(400, 6, 104, 26);
    for (const auto reason : week::kReasons) reasons_->addItem(qs(reason));
    reasons_->addItem(qs(week::kOtherReason));
    reasons_->setCurrentIndex(-1);
    reasons_->setEditText(QString());
    connect(reasons_, &QComboBox::textActivated, this, [this](const QString& t) {
        act([&] { session_.reasonChosen(ss(t)); });
        if (session_.otherReasonShown()) otherReason_->setFocus();
    });
    // What the operator types is the session's at once; painting is not typing.
    connect(reasons_, &QComboBox::editTextChanged, this, [this](const QString& t) {
        if (!painting_) session_.reasonTyped(ss(t));
    });
    connect(teachers_, &QComboBox::editTextChanged, this, [this](const QString& t) {
        if (!painting_) session_.nameTyped(ss(t));
    });
    connect(typed_, &QLineEdit::textEdited, this,
            [this](const QString& t) { session_.nameTyped(ss(t)); });

    auto* load = makeButton(this, "Command1", QStringLiteral("确定"), {514, 6, 68, 26});
    loadDay_ = load;
    connect(load, &QPushButton::clicked, this, [this] { act([this] { session_.load(); }); });
    auto* oneStep = makeButton(this, "Command12", QStringLiteral("一键安排"), {622, 6, 92, 26});
    oneStep->setToolTip(QStringLiteral("为当天所有待代的课一次排好代课教师，预览后确定"));
    connect(oneStep, &QPushButton::clicked, this, [this] { act([this] { proposeDay(); }); });
    auto* exit = makeButton(this, "Command8", QStringLiteral("退出"), {724, 6, 68, 26});
    connect(exit, &QPushButton::clicked, this, [this] { act([this] { exitStep(); }); });

    // The period grid.
    auto* grid = new QWidget(this);
    grid->setObjectName("periodGrid");
    grid->setGeometry(8, 38, 360, 132);
    auto* am = makeLabel(grid, "Label5", QStringLiteral("上  午"), {0, 0, 30, 62});
    auto* pm = makeLabel(grid, "Label6", QStringLiteral("下    午"), {0, 69, 30, 62});
    for (auto* l : {am, pm}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignCenter);
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    for (int r = 0; r < week::kPeriods; ++r) {
        const int y = r * 21 + (week::isMorning(r + 1) ? 0 : 6);
        auto& p = periods_[static_cast<std::size_t>(r)];
        p.number =
            makeCell(grid, arrayName("Label7", r), QString::number(r + 1) + ".", {34, y, 26, 20});
        p.cls = makeCell(grid, arrayName("Label13", r), QString(), {62, y, 66, 20});
        p.ban = makeCell(grid, arrayName("Label19", r), QStringLiteral("班"), {130, y, 22, 20});
        p.subject = makeCell(grid, arrayName("Label25", r), QString(), {154, y, 70, 20});
        p.ke = makeCell(grid, arrayName("Label31", r), QStringLiteral("课"), {226, y, 22, 20});
        p.option = makeRadio(grid, arrayName("Option1", r), QString(), {252, y + 1, 20, 18});
        p.coveredBy =
            makeLabel(grid, QStringLiteral("coveredBy_%1").arg(r), QString(), {274, y, 86, 20});
        connect(p.option, &QRadioButton::clicked, this,
                [this, r] { act([this, r] { session_.clickPeriod(r); }); });
    }

    // What the window is for; the free-text reason takes its place when shown.
    info_ = new QGroupBox(QStringLiteral("软件说明:"), this);
    info_->setObjectName("infoFrame");
    info_->setGeometry(376, 34, 416, 136);
    auto* infoText = makeLabel(info_, "infoText", QString::fromUtf8(kInfo), {8, 18, 402, 114});
    QFont small = infoText->font();
    small.setPointSize(9);
    infoText->setFont(small);
    infoText->setWordWrap(true);
    infoText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    otherReason_ = makeLineEdit(this, "Text4", {388, 58, 220, 26});
    otherReason_->setPlaceholderText(QStringLiteral("请输入事由"));
    otherReason_->hide();
    takeOther_ = makeButton(this, "Command9", QStringLiteral("确定"), {616, 58, 60, 26});
    takeOther_->hide();
    connect(takeOther_, &QPushButton::clicked, this,
            [this] { act([this] { session_.takeOtherReason(); }); });
    connect(otherReason_, &QLineEdit::textEdited, this,
            [this](const QString& t) { session_.otherReasonTyped(ss(t)); });
    connect(otherReason_, &QLineEdit::returnPressed, takeOther_, &QPushButton::click);

    // The suggestion panel, over the information panel while it is shown.
    suggestionFrame_ =
        new QGroupBox(QStringLiteral("在需要代课目中搜索到更合适的代课班级："), this);
    suggestionFrame_->setObjectName("Frame5");
    // Taller than the information panel by the line that says why it is shown: it covers the
    // right half of the candidate list's title line (the chosen candidate's load) while the
    // operator decides, never the list's column titles.
    suggestionFrame_->setGeometry(376, 34, 416, 156);
    setBackground(suggestionFrame_, palette().color(QPalette::Window));
    suggestionTitle_ = makeLabel(suggestionFrame_, "Label16", QString(), {6, 18, 280, 18});
    for (int c = 0; c < kSuggestionColumns; ++c)
        makeLabel(suggestionFrame_, QStringLiteral("suggestionHeader_%1").arg(c),
                  QString::fromUtf8(kSuggestionHeaders[c]),
                  {kSuggestionX[c], 38, kSuggestionW[c], 18})
            ->setAlignment(Qt::AlignCenter);
    for (int j = 0; j < 4; ++j) {
        auto& s = suggestionRows_[static_cast<std::size_t>(j)];
        const int y = 57 + j * 19;
        for (int c = 0; c < kSuggestionColumns; ++c)
            s.labels[static_cast<std::size_t>(c)] =
                makeCell(suggestionFrame_, arrayName(kSuggestionLabels[c], j), QString(),
                         {kSuggestionX[c], y, kSuggestionW[c], 18});
        s.option = makeRadio(suggestionFrame_, arrayName("Option3", j), QString(),
                             {kSuggestionX[7], y, 20, 18});
        connect(s.option, &QRadioButton::clicked, this,
                [this, j] { act([this, j] { session_.takeSuggestion(j); }); });
    }
    moreSuggestions_ =
        makeButton(suggestionFrame_, "Command10", QStringLiteral("下一组"), {350, 14, 60, 22});
    earlierSuggestions_ =
        makeButton(suggestionFrame_, "Command11", QStringLiteral("上一组"), {288, 14, 60, 22});
    connect(moreSuggestions_, &QPushButton::clicked, this,
            [this] { act([this] { session_.moreSuggestions(); }); });
    connect(earlierSuggestions_, &QPushButton::clicked, this,
            [this] { act([this] { session_.earlierSuggestions(); }); });
    // Why the cover was not recorded, and the way to record it all the same.
    suggestionWhy_ = makeLabel(suggestionFrame_, "Label16b", QString::fromUtf8(kSuggestionWhy),
                               {6, 132, 336, 20});
    QFont whyFont = suggestionWhy_->font();
    whyFont.setPointSize(8);
    suggestionWhy_->setFont(whyFont);
    suggestionWhy_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    keepChosen_ =
        makeButton(suggestionFrame_, "Command13", QStringLiteral("仍代原课"), {344, 130, 66, 22});
    connect(keepChosen_, &QPushButton::clicked, this,
            [this] { act([this] { after(session_.keepChosenLesson()); }); });

    // 可调课: the colleagues of the class who could take the lesson for one of theirs.
    swapFrame_ = new QGroupBox(QStringLiteral("可调课（与本班任课教师互换，不计代课）"), this);
    swapFrame_->setObjectName("Frame6");
    swapFrame_->setGeometry(376, 34, 416, 136);
    setBackground(swapFrame_, palette().color(QPalette::Window));
    swapTitle_ = makeLabel(swapFrame_, "Label90", QString(), {8, 18, 270, 18});
    for (int j = 0; j < assignment::Session::kSwapRows; ++j) {
        auto& s = swapRows_[static_cast<std::size_t>(j)];
        const int y = 38 + j * 19;
        s.option = makeRadio(swapFrame_, arrayName("Option4", j), QString(), {8, y, 20, 18});
        s.text = makeLabel(swapFrame_, arrayName("Label91", j), QString(), {30, y, 300, 18});
        s.option->setAccessibleName(QStringLiteral("可调课第%1位").arg(j + 1));
        connect(s.option, &QRadioButton::clicked, this,
                [this, j] { act([this, j] { session_.clickSwap(j); }); });
    }
    moreSwaps_ = makeButton(swapFrame_, "Command15", QStringLiteral("下一组"), {340, 14, 70, 22});
    connect(moreSwaps_, &QPushButton::clicked, this,
            [this] { act([this] { session_.moreSwaps(); }); });
    confirmSwap_ = makeButton(swapFrame_, "Command14", QStringLiteral("调课"), {340, 108, 70, 22});
    connect(confirmSwap_, &QPushButton::clicked, this,
            [this] { act([this] { after(session_.confirmSwap(now())); }); });
    swapFrame_->hide();

    // The candidate list: two blocks of sixteen rows.
    auto* frame = new QGroupBox(QStringLiteral("可代课教师名单（按优先排序）"), this);
    frame->setObjectName("Frame3");
    frame->setGeometry(8, 174, 784, 324);
    for (int b = 0; b < 2; ++b) {
        const int x0 = kBlockX[b];
        for (int c = 0; c < kListValues; ++c) {
            // Two-line headers break between words of two characters.
            const int w = (c == 1 || c == 4) ? 28 : kListW[c + 1];
            auto* h = makeLabel(frame, QStringLiteral("listHeader%1_%2").arg(b).arg(c),
                                QString::fromUtf8(kListHeaders[c]),
                                {x0 + kListX[c + 1] + (kListW[c + 1] - w) / 2, 16, w, 32});
            QFont f = h->font();
            f.setPointSize(8);
            h->setFont(f);
            h->setWordWrap(true);
            h->setAlignment(Qt::AlignCenter);
        }
    }
    for (int r = 0; r < 32; ++r) {
        const int x0 = kBlockX[r / 16];
        const int y = kListTop + (r % 16) * kRowHeight;
        auto& row = list_[static_cast<std::size_t>(r)];
        row.number = makeLabel(frame, arrayName("Label37", r), QStringLiteral("%1.").arg(r + 1),
                               {x0, y, kListW[0], kRowHeight - 1});
        row.number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (int c = 0; c < kListValues; ++c)
            row.values[static_cast<std::size_t>(c)] =
                makeCell(frame, arrayName(kValueLabels[c], r), QString(),
                         {x0 + kListX[c + 1], y, kListW[c + 1], kRowHeight - 1});
        row.option =
            makeRadio(frame, arrayName("Option2", r), QString(), {x0 + kListX[7], y, 18, 17});
        // The row's values stand to its left, out of a label's reach: the option says its place.
        row.option->setAccessibleName(QStringLiteral("可代课教师第%1位").arg(r + 1));
        connect(row.option, &QRadioButton::clicked, this,
                [this, r] { act([this, r] { session_.clickCandidate(r); }); });
    }
    // Beside the list's title: the chosen candidate's periods today, this week's and this
    // term's cover.
    candidateDay_ = makeLabel(frame, "candidateDay", QString(), {200, 0, 578, 16});
    candidateDay_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    confirm_ = makeButton(frame, "Command3", QStringLiteral("确定"), {0, 0, 44, 22});
    confirm_->hide();
    connect(confirm_, &QPushButton::clicked, this,
            [this] { act([this] { after(session_.confirm()); }); });

    previousPage_ = makeButton(this, "Command5", QStringLiteral("上一页"), {636, 501, 76, 25});
    nextPage_ = makeButton(this, "Command4", QStringLiteral("下一页"), {716, 501, 76, 25});
    previousPage_->hide();
    nextPage_->hide();
    connect(nextPage_, &QPushButton::clicked, this,
            [this] { act([this] { session_.turnPage(1); }); });
    connect(previousPage_, &QPushButton::clicked, this,
            [this] { act([this] { session_.turnPage(-1); }); });
}

}  // namespace daike
