#include "windows/main/day_board_view.h"

#include <QChildEvent>
#include <QFile>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include "school/term_start.h"
#include "store/failure.h"
#include "store/paths.h"
#include "store/store.h"
#include "store/week.h"
#include "ui/pdf_file.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

QString esc(const std::string& s) {
    return qs(s).toHtmlEscaped();
}

// A cover recorded after the substitutes were told, and one they were told of that is no
// longer recorded: the office has to tell them again. The board shows it; the printed sheet
// is the day's plan and leaves it out.
constexpr const char* kChangeText = "已变更，需再通知";
constexpr const char* kChangeColour = "#e07000";
// A swapped lesson (调课): taught, but by the colleague the two teachers exchanged with.
constexpr const char* kSwapColour = "#1f5fbf";

QString changeMark() {
    return " <span style='color:" + QString(kChangeColour) + ";font-weight:bold'>" +
           qs(kChangeText) + "</span>";
}

// Days long enough to need a wide page.
bool landscape(const board::Board& b) {
    return b.lines.size() > 18;
}

}  // namespace

std::optional<calendar::Day> boardDay(RunContext& ctx, const board::Board& b) {
    const auto start = readTermStart(ctx.store);
    if (!start || b.week < 1 || b.weekday < 1 || b.weekday > week::kCalendarDays)
        return std::nullopt;
    return calendar::dateOf(*start, b.week, b.weekday);
}

QString boardDate(RunContext& ctx, const board::Board& b) {
    const auto day = boardDay(ctx, b);
    if (!day) return {};
    const std::chrono::year_month_day d{*day};
    return QStringLiteral("%1年%2月%3日")
        .arg(static_cast<int>(d.year()))
        .arg(static_cast<unsigned>(d.month()))
        .arg(static_cast<unsigned>(d.day()));
}

namespace {

QString dayLine(const board::Board& b, const QString& dateText) {
    const QString weekday = qs(week::weekdayNumeral(b.weekday));
    return (b.week > 0 ? QStringLiteral("第%1周　").arg(b.week) : QString()) +
           QStringLiteral("星期") + weekday + (dateText.isEmpty() ? "" : "　" + dateText) +
           QStringLiteral("　　") + qs(board::countsText(b));
}

}  // namespace

QString boardHtml(const board::Board& b, const QString& dateText, bool forSheet) {
    QString h = "<html><body style='font-size:" + QString(forSheet ? "11pt" : "10.5pt") + "'>";
    if (forSheet) {
        h += QStringLiteral("<h2 align='center' style='margin:0'>当日代课安排表</h2>");
        h +=
            "<p align='center' style='margin:2px'>" + dayLine(b, dateText).toHtmlEscaped() + "</p>";
    }
    if (b.lines.empty()) {
        h += QStringLiteral("<p align='center' style='color:#666'>今天还没有代课安排。</p>");
    } else {
        h += "<table width='100%' border='1' cellspacing='0' cellpadding='3' "
             "style='border-collapse:collapse'>";
        h += QStringLiteral(
            "<tr style='background:#e0e0e0'><th>节次</th><th>班级</th><th>课目</th>"
            "<th>请假教师</th><th>事由</th><th>代课教师</th></tr>");
        for (const auto& l : b.lines) {
            const QString style = l.waiting
                                      ? QStringLiteral(" style='color:#c00000;font-weight:bold'")
                                  : l.swapped ? " style='color:" + QString(kSwapColour) + "'"
                                              : QString();
            h += "<tr" + style + "><td align='center'>" + esc(b.times.label(l.period)) +
                 "</td><td align='center'>" + esc(l.cls) + "</td><td align='center'>" +
                 esc(l.subject) + "</td><td align='center'>" + esc(l.absent) +
                 "</td><td align='center'>" + esc(l.reason) + "</td><td align='center'>" +
                 esc(board::takerText(l)) + (l.changed && !forSheet ? changeMark() : QString()) +
                 "</td></tr>";
        }
        h += "</table>";
    }
    {
        QString swaps;
        for (const auto& l : b.lines)
            if (l.swapped) swaps += (swaps.isEmpty() ? "" : "；") + esc(l.swapText);
        if (!swaps.isEmpty())
            h += "<p style='margin:6px 0 0 0;color:" + QString(kSwapColour) + "'>" +
                 QStringLiteral("<b>调课：</b>") + swaps + "</p>";
    }
    if (!forSheet)
        for (const auto& w : b.withdrawn)
            h += "<p style='margin:4px 0 0 0;color:" + QString(kChangeColour) + "'>" +
                 QStringLiteral("已取消：") + esc(w.substitute) + " " +
                 esc(b.times.label(w.period)) + " " + esc(w.cls) + esc(w.subject) + "（" +
                 qs(kChangeText) + "）</p>";
    if (!b.absent.empty()) {
        QString list;
        for (const auto& a : b.absent)
            list += (list.isEmpty() ? "" : "；") + esc(a.name) +
                    (a.reason.empty() ? QString() : "（" + esc(a.reason) + "）");
        h += QStringLiteral("<p style='margin:6px 0 0 0'><b>请假教师：</b>") + list + "</p>";
    }
    if (!b.away.empty()) {
        QString list;
        for (const auto& a : b.away)
            list += (list.isEmpty() ? "" : "；") + esc(a.name) + "（" +
                    qs(board::periodList(a.periods)) + "）";
        h += QStringLiteral("<p style='margin:4px 0 0 0'><b>空课时间外出：</b>") + list + "</p>";
    }
    if (b.otherDays > 0 && !forSheet)
        h += QStringLiteral(
                 "<p style='color:#666'>当天代课记录中另有%1条其它日期的代课，"
                 "开始新的一天时清除。</p>")
                 .arg(b.otherDays);
    if (forSheet)
        h += QStringLiteral(
            "<p align='right' style='margin-top:18px'>教导处　　　　年　　月　　日</p>");
    return h + "</body></html>";
}

DayBoardView::DayBoardView(RunContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName("boardView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    text_ = new QTextBrowser(this);
    text_->setObjectName("boardText");
    text_->setAccessibleName(QStringLiteral("今天的代课"));
    text_->setOpenLinks(false);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    summary_ = new QLabel(this);
    summary_->setObjectName("boardSummary");
    QFont f = summary_->font();
    f.setPointSize(f.pointSize() + 2);
    f.setBold(true);
    summary_->setFont(f);
    auto* title = new QLabel(QStringLiteral("今日代课"), this);
    title->setObjectName("boardTitle");
    QFont t = title->font();
    t.setPointSize(t.pointSize() + 6);
    t.setBold(true);
    title->setFont(t);
    auto* head = new QHBoxLayout;
    head->addWidget(title);
    head->addStretch(1);
    actions_ = new QHBoxLayout;
    actions_->setSpacing(4);
    head->addLayout(actions_);
    layout->addLayout(head);
    layout->addWidget(summary_);
    layout->addWidget(text_);
    if (parent) {
        parent->installEventFilter(this);
        for (QObject* o : parent->children())
            if (o != this && o->isWidgetType()) o->installEventFilter(this);
    }
}

QPushButton* DayBoardView::addAction(const QString& objectName, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    actions_->addWidget(b);
    return b;
}

void DayBoardView::setCovered(bool covered) {
    covered_ = covered;
    updateShown();
}

bool DayBoardView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == parent()) {
        if (e->type() == QEvent::ChildAdded) {
            auto* child = static_cast<QChildEvent*>(e)->child();
            if (child != this && child->isWidgetType()) child->installEventFilter(this);
        }
    } else if (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent) {
        QTimer::singleShot(0, this, [this] { updateShown(); });
    }
    return QWidget::eventFilter(watched, e);
}

void DayBoardView::updateShown() {
    bool other = false;
    if (auto* area = parentWidget())
        for (auto* w : area->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w != this && !w->isWindow() && !w->isHidden()) other = true;
    setVisible(!covered_ && !other);
    if (isVisible()) refresh();
}

void DayBoardView::refresh() {
    board_ = board::load(ctx_.store, ctx_.day.week(), ctx_.day.weekday());
    const QString date = boardDate(ctx_, board_);
    summary_->setText(dayLine(board_, date));
    text_->setHtml(boardHtml(board_, date, false));
}

void outputDaySheet(RunContext& ctx, QWidget* parent, SheetOutput how) {
    const auto b = board::load(ctx.store, ctx.day.week(), ctx.day.weekday());
    const QString html = boardHtml(b, boardDate(ctx, b), true);
    const QPageLayout layout(QPageSize(QPageSize::A4),
                             landscape(b) ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    // The whole day on one page: the text is laid out at the page's width and shrunk when it
    // would run past the foot.
    const PagePainter paint = [html](QPagedPaintDevice& device) {
        QTextDocument doc;
        doc.setHtml(html);
        const double logicalWidth = 700;
        doc.setTextWidth(logicalWidth);
        const QRect page(0, 0, device.width(), device.height());
        double scale = page.width() / logicalWidth;
        const double height = doc.size().height();
        if (height * scale > page.height()) scale = page.height() / height;
        QPainter p(&device);
        p.scale(scale, scale);
        doc.drawContents(&p);
    };
    const QString job = QStringLiteral("当日代课安排表");
    switch (how) {
        case SheetOutput::Print:
            if (!ctx.platform.printer.print(job, layout, paint))
                ctx.platform.boxes.ok(
                    QStringLiteral("没有找到可用的打印机，当日代课安排表没有打印。"));
            break;
        case SheetOutput::Preview:
            ctx.platform.printer.preview(parent, job, layout, paint);
            break;
        case SheetOutput::Pdf: {
            const QString suggested =
                qpath(inFolder(ctx.programDir, ss(job) + "_" + std::to_string(b.week) + "_" +
                                                   std::to_string(b.weekday) + ".pdf"));
            const auto path = ctx.platform.files.saveFile(QStringLiteral("另存为PDF"), suggested,
                                                          QStringLiteral("PDF 文件 (*.pdf)"));
            if (!path) return;
            // Put in place only when whole, so a full disk leaves an older sheet as it was.
            try {
                writePdfFile(*path, job, layout, paint);
            } catch (const Failure& e) {
                ctx.platform.boxes.ok(QString::fromUtf8(e.what()));
            }
            break;
        }
    }
}

}  // namespace daike
