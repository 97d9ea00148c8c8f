#include "windows/main/staff_room_board.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "school/period_times.h"
#include "store/week.h"
#include "ui/change_signals.h"
#include "ui/help.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/main/day_board_view.h"
#include "windows/main/day_sheet_picture.h"

namespace daike {

namespace {

constexpr int kPageSeconds = 10;
// 节次, 班级, 课目, 请假教师, 事由, 代课教师
constexpr int kColumns = 6;  // not the week
// Rows never lower than this, whatever the screen: readable from the back of the room.
constexpr int kLeastRow = 48;
const QColor kBackground(0, 0, 0);
const QColor kText(255, 255, 255);
const QColor kWaiting(255, 80, 80);
const QColor kSwapped(120, 180, 255);  // 调课: taught by the colleague of the exchange
const QColor kHeader(40, 40, 40);

QFont sized(const QFont& base, int pixels, bool bold) {
    QFont f = base;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QLabel* label(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}

}  // namespace

StaffRoomBoard::StaffRoomBoard(RunContext& ctx, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint), ctx_(ctx) {
    setObjectName("boardScreen");
    setWindowTitle(QStringLiteral("今日代课"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    // A screen to read: F1 explains it, Enter has nothing to run.
    installHelpKey(this);
    setNoMainButton(this);
    prepareKeyboard(this);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    pal.setColor(QPalette::WindowText, kText);
    pal.setColor(QPalette::Base, kBackground);
    pal.setColor(QPalette::Text, kText);
    setPalette(pal);

    title_ = label(this, "boardScreenTitle");
    title_->setText(QStringLiteral("今日代课"));
    day_ = label(this, "boardScreenDay");
    pageLabel_ = label(this, "boardScreenPage");
    pageLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid_ = new QTableWidget(0, kColumns, this);
    grid_->setObjectName("Grid");
    grid_->setAttribute(Qt::WA_TransparentForMouseEvents);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->verticalHeader()->hide();
    grid_->setHorizontalHeaderLabels({QStringLiteral("节次"), QStringLiteral("班级"),
                                      QStringLiteral("课目"), QStringLiteral("请假教师"),
                                      QStringLiteral("事由"), QStringLiteral("代课教师")});
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lists_ = label(this, "boardScreenLists");
    lists_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 20, 32, 20);
    layout->setSpacing(12);
    auto* head = new QHBoxLayout;
    head->addWidget(title_);
    head->addSpacing(40);
    head->addWidget(day_, 1);
    head->addWidget(pageLabel_);
    layout->addLayout(head);
    layout->addWidget(grid_, 1);
    layout->addWidget(lists_);

    pager_ = new QTimer(this);
    pager_->setInterval(kPageSeconds * 1000);
    connect(pager_, &QTimer::timeout, this, [this] {
        turnPage();
        showClock();
    });
    pager_->start();
    connect(listen(ctx_, this), &ChangeSignals::dayChanged, this, &StaffRoomBoard::refresh);
    fitTo(QRect(0, 0, 1920, 1080));
    refresh();
}

void StaffRoomBoard::fitTo(const QRect& area) {
    // 45 pixels on a 1080-line screen, 40 at the least; rows half as tall again.
    textPixels_ = std::max(40, area.height() / 24);
    rowHeight_ = std::max(kLeastRow, textPixels_ * 3 / 2);
    const QFont base = font();
    title_->setFont(sized(base, textPixels_ * 5 / 4, true));
    day_->setFont(sized(base, textPixels_ * 3 / 4 > 32 ? textPixels_ * 3 / 4 : 32, false));
    pageLabel_->setFont(sized(base, 32, false));
    grid_->setFont(sized(base, textPixels_, false));
    // A style sheet decides the header's type; the sizes go into it.
    grid_->setStyleSheet(QStringLiteral("QTableWidget { background: #000; color: #fff; "
                                        "gridline-color: #666; border: none; }"
                                        "QTableWidget::item { padding: 0px 12px; }"
                                        "QHeaderView::section { background: #282828; color: #fff; "
                                        "border: 1px solid #666; padding: 0px 12px; "
                                        "font-size: %1px; font-weight: bold; }")
                             .arg(textPixels_));
    grid_->horizontalHeader()->setFixedHeight(rowHeight_);
    grid_->verticalHeader()->setMinimumSectionSize(rowHeight_);
    grid_->verticalHeader()->setDefaultSectionSize(rowHeight_);
    lists_->setFont(sized(base, std::max(32, textPixels_ * 3 / 4), false));
    showPage();
}

int StaffRoomBoard::rowsPerPage() const {
    const int room = grid_->height() - grid_->horizontalHeader()->height() - 2;
    return std::max(1, room / rowHeight_);
}

int StaffRoomBoard::pages() const {
    const int lines = static_cast<int>(board_.lines.size());
    return std::max(1, (lines + rowsPerPage() - 1) / rowsPerPage());
}

void StaffRoomBoard::refresh() {
    board_ = board::load(ctx_.store, ctx_.day.week(), ctx_.day.weekday());
    showClock();
    QString lists;
    // The reasons stand in the table; the names alone keep a busy day's list short.
    if (!board_.absent.empty()) {
        QString names;
        for (const auto& a : board_.absent) names += (names.isEmpty() ? "" : "、") + qs(a.name);
        lists += QStringLiteral("请假教师：") + names;
    }
    if (!board_.away.empty()) {
        QString names;
        for (const auto& a : board_.away)
            names += (names.isEmpty() ? "" : "；") + qs(a.name) + "（" +
                     qs(board::periodList(a.periods)) + "）";
        lists += (lists.isEmpty() ? "" : "\n") + QStringLiteral("空课时间外出：") + names;
    }
    lists_->setText(lists);
    lists_->setVisible(!lists.isEmpty());
    showPage();
}

void StaffRoomBoard::turnPage() {
    page_ = page_ + 1 < pages() ? page_ + 1 : 0;
    showPage();
}

void StaffRoomBoard::showClock() {
    const auto minutes = static_cast<int>(ctx_.platform.clock.timeOfDay().count() / 60);
    QString line = boardDate(ctx_, board_);
    if (board_.weekday >= 1 && board_.weekday <= week::kCalendarDays)
        line += QStringLiteral("　星期") + qs(week::weekdayNumeral(board_.weekday));
    line += QStringLiteral("　") + qs(clockText(minutes));
    line += QStringLiteral("　　") + qs(board::countsText(board_));
    day_->setText(line.trimmed());
}

void StaffRoomBoard::showPage() {
    if (page_ >= pages()) page_ = 0;
    const int per = rowsPerPage();
    const int first = page_ * per;
    const int count = std::clamp(static_cast<int>(board_.lines.size()) - first, 0, per);
    grid_->clearSpans();
    grid_->setRowCount(board_.lines.empty() ? 1 : count);
    if (board_.lines.empty()) {
        grid_->setSpan(0, 0, 1, kColumns);
        auto* item = new QTableWidgetItem(QStringLiteral("今天还没有代课安排。"));
        item->setTextAlignment(Qt::AlignCenter);
        item->setForeground(kText);
        grid_->setItem(0, 0, item);
    }
    for (int r = 0; r < count; ++r) {
        const auto& l = board_.lines[static_cast<std::size_t>(first + r)];
        const std::array<QString, kColumns> cells = {
            periodOnBoard(board_, l.period), qs(l.cls), qs(l.subject), qs(l.absent), qs(l.reason),
            qs(board::takerText(l))};
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(cells[static_cast<std::size_t>(c)]);
            item->setTextAlignment(Qt::AlignCenter);
            item->setForeground(l.waiting ? kWaiting : l.swapped ? kSwapped : kText);
            if (l.waiting) item->setFont(sized(grid_->font(), textPixels_, true));
            grid_->setItem(r, c, item);
        }
    }
    for (int r = 0; r < grid_->rowCount(); ++r) grid_->setRowHeight(r, rowHeight_);
    pageLabel_->setText(pages() > 1 ? QStringLiteral("第%1/%2页").arg(page_ + 1).arg(pages())
                                    : QString());
}

void StaffRoomBoard::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void StaffRoomBoard::mouseDoubleClickEvent(QMouseEvent*) {
    close();
}

void StaffRoomBoard::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // The rows that fit change with the height.
    showPage();
}

StaffRoomBoard* openStaffRoomBoard(RunContext& ctx, QWidget* owner) {
    StaffRoomBoard* board = nullptr;
    for (auto* w : owner->findChildren<StaffRoomBoard*>(QString(), Qt::FindDirectChildrenOnly))
        board = w;
    if (!board) board = new StaffRoomBoard(ctx, owner);
    const auto areas = ctx.platform.screen.screenAreas();
    // The staff room's screen is the second one; without it the board takes the office's own.
    const QRect area = areas.size() > 1 ? areas[1]
                       : areas.empty()  ? QRect(0, 0, 1024, 768)
                                        : areas[0];
    board->fitTo(area);
    ctx.platform.screen.showFullScreen(*board, area);
    board->raise();
    board->activateWindow();
    board->setFocus();
    return board;
}

}  // namespace daike
