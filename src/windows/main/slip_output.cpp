#include "windows/main/slip_output.h"

#include <QDir>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

#include "documents/notices.h"
#include "engine/telling.h"
#include "store/failure.h"
#include "ui/pdf_file.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

QPageLayout slipPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

namespace {

using L = SlipPageLayout;

// Draws in tenths of a millimetre from the top left of the printable area and keeps the
// lowest point reached on the page.
class SlipPainter {
  public:
    SlipPainter(QPagedPaintDevice& device, SlipPainting& out)
        : device_(device), p_(&device), out_(out) {
        out_.pageHeight = device.height();
        unit_ = device.width() / static_cast<double>(L::kWidth);
        p_.setRenderHint(QPainter::Antialiasing);
    }

    void beginPage(bool first) {
        if (!first) device_.newPage();
        ++out_.pages;
        out_.lowest.push_back(0);
    }

    void text(const QRectF& r, const QString& s, int size, bool bold = false,
              int flags = Qt::AlignLeft | Qt::AlignVCenter, QColor colour = Qt::black) {
        QFont f = p_.font();
        f.setPixelSize(std::max(1, static_cast<int>(size * unit_ * scale_)));
        f.setBold(bold);
        p_.setFont(f);
        p_.setPen(colour);
        const QRectF d = toDevice(r);
        const QString shown = p_.fontMetrics().elidedText(s, Qt::ElideRight, int(d.width()));
        QRectF used;
        p_.drawText(d, flags, shown, &used);
        reach(used.bottom());
    }

    void line(QPointF a, QPointF b, Qt::PenStyle style = Qt::SolidLine, double width = 3) {
        QPen pen(Qt::black);
        pen.setStyle(style);
        pen.setWidthF(width * unit_ * scale_);
        p_.setPen(pen);
        const QPointF da = toDevice(a), db = toDevice(b);
        p_.drawLine(da, db);
        reach(std::max(da.y(), db.y()));
    }

    // A slip taller than a page alone is drawn shrunk to the page.
    void place(double top, double scale) {
        top_ = top;
        scale_ = scale;
    }

  private:
    QPointF toDevice(QPointF q) const {
        return {q.x() * unit_ * scale_, (top_ + q.y() * scale_) * unit_};
    }
    QRectF toDevice(const QRectF& r) const {
        return {toDevice(r.topLeft()), toDevice(r.bottomRight())};
    }
    void reach(double y) { out_.lowest.back() = std::max(out_.lowest.back(), y); }

    QPagedPaintDevice& device_;
    QPainter p_;
    SlipPainting& out_;
    double unit_ = 1;   // device units per tenth of a millimetre
    double top_ = 0;    // the slip's top on the page, tenths of a millimetre
    double scale_ = 1;  // below 1 for a slip taller than the page
};

constexpr int kBody = 42;   // text size, tenths of a millimetre (about 12 pt)
constexpr int kTable = 38;  // the lessons' table
constexpr int kTitleSize = 62;

void drawSlip(SlipPainter& d, const Slip& s) {
    const int left = L::kPad, right = L::kWidth - L::kPad, width = right - left;
    int y = L::kPad;
    const char* title = s.kind == SlipKind::Withdrawn ? kWithdrawnSlipTitle
                        : s.kind == SlipKind::Added   ? kAddedSlipTitle
                        : s.swapsOnly()               ? kSwapSlipTitle
                                                      : kSlipTitle;
    d.text(QRectF(left, y, width, L::kTitle), qs(title), kTitleSize, true, Qt::AlignCenter);
    y += L::kTitle;
    d.text(QRectF(left, y, width, L::kLine), qs(s.substitute) + QStringLiteral("老师："), kBody,
           true);
    y += L::kLine;
    if (!s.lessons.empty()) {
        if (s.withdrawn())
            d.text(QRectF(left + 80, y, width - 80, L::kLine),
                   QStringLiteral("%1（%2）：").arg(qs(kWithdrawnLine), qs(s.dateLine)), kBody,
                   true, Qt::AlignLeft | Qt::AlignVCenter, QColor(0xc0, 0, 0));
        else
            d.text(QRectF(left + 80, y, width - 80, L::kLine),
                   QStringLiteral("请您于%1代上以下课程：").arg(qs(s.dateLine)), kBody);
        y += L::kLine;

        // The lessons' table: 节次 (with its time), 班级, 课目, 原任课教师, 事由.
        static const int columns[] = {470, 290, 290, 390, 380};
        static const char* heads[] = {"节次", "班级", "课目", "原任课教师", "事由"};
        const int rows = 1 + static_cast<int>(s.lessons.size());
        const int tableBottom = y + rows * L::kRow;
        for (int r = 0; r <= rows; ++r)
            d.line(QPointF(left, y + r * L::kRow), QPointF(right, y + r * L::kRow));
        int x = left;
        d.line(QPointF(x, y), QPointF(x, tableBottom));
        for (int w : columns) {
            x += w;
            d.line(QPointF(x, y), QPointF(x, tableBottom));
        }
        auto row = [&](int top, const std::vector<QString>& cells, bool bold) {
            int cx = left;
            for (std::size_t c = 0; c < cells.size(); ++c) {
                d.text(QRectF(cx + 10, top, columns[c] - 20, L::kRow), cells[c], kTable, bold,
                       Qt::AlignCenter);
                cx += columns[c];
            }
        };
        row(y, {qs(heads[0]), qs(heads[1]), qs(heads[2]), qs(heads[3]), qs(heads[4])}, true);
        for (std::size_t i = 0; i < s.lessons.size(); ++i) {
            const auto& l = s.lessons[i];
            row(y + static_cast<int>(i + 1) * L::kRow,
                {qs(l.periodLabel), qs(l.cls), qs(l.subject), qs(l.absent), qs(l.reason)}, false);
        }
        y = tableBottom;
    }
    if (!s.swaps.empty()) {
        d.text(QRectF(left + 80, y, width - 80, L::kLine), qs(kSwapLine), kBody, true);
        y += L::kLine;
        for (const auto& swap : s.swaps) {
            const auto [given, back] = swapSlipLines(swap);
            d.text(QRectF(left + 120, y, width - 120, L::kLine), qs(given), kTable);
            y += L::kLine;
            d.text(QRectF(left + 200, y, width - 200, L::kLine), qs(back), kTable);
            y += L::kLine;
        }
    }
    d.text(
        QRectF(left + 80, y, width - 80, L::kLine),
        s.withdrawn() ? QStringLiteral("给您添麻烦了，谢谢！") : QStringLiteral("请按时到班上课。"),
        kBody);
    y += L::kLine;
    d.text(QRectF(left, y, width / 2, L::kFoot), qs(s.dateLine), kBody);
    d.text(QRectF(left + width / 2, y, width / 2, L::kFoot),
           QStringLiteral("教导处　　　　（签字）"), kBody, false,
           Qt::AlignRight | Qt::AlignVCenter);
}

// The dashed line to cut along, in the gap above a slip that starts at `top`.
void drawCutLine(SlipPainter& d, int top) {
    const double y = top - L::kCutGap / 2.0;
    d.line(QPointF(0, y), QPointF(L::kWidth - 260, y), Qt::DashLine, 4);
    d.text(QRectF(L::kWidth - 250, y - 25, 250, 50), QStringLiteral("（沿虚线剪开）"), 26, false,
           Qt::AlignRight | Qt::AlignVCenter, QColor(0x60, 0x60, 0x60));
}

}  // namespace

SlipPainting paintSlips(QPagedPaintDevice& device, const std::vector<Slip>& slips) {
    SlipPainting out;
    SlipPainter d(device, out);
    const auto pages = L::pages(slips);
    for (std::size_t pg = 0; pg < pages.size(); ++pg) {
        d.beginPage(pg == 0);
        int top = 0;
        for (std::size_t k = 0; k < pages[pg].size(); ++k) {
            const Slip& s = slips[pages[pg][k]];
            const int h = L::heightOf(s);
            if (k > 0) {
                top += L::kCutGap;
                d.place(0, 1);
                drawCutLine(d, top);
            }
            d.place(top, h > L::kHeight ? L::kHeight / static_cast<double>(h) : 1.0);
            drawSlip(d, s);
            top += h;
        }
    }
    return out;
}

namespace {

// Which slips: today's, or after the substitutes were told and something changed, only the
// changes when the office says so. Nothing when there is nothing to print or the office
// declined (told already, and no swap of the day recorded or withdrawn since).
// `wholeDay`: the slips are the whole day's, swaps included (not only the cover's changes).
std::optional<std::vector<Slip>> chooseSlips(RunContext& ctx, bool& wholeDay) {
    auto& boxes = ctx.platform.boxes;
    const auto changes = telling::sinceTold(ctx.store);
    wholeDay = true;
    if (changes.toldBefore) {
        if (changes.any()) {
            if (boxes.yesNo(QStringLiteral("自上次通知后代课安排有变化（新增%1节，取消%2节）。"
                                           "是否只打印变化的代课单？\n"
                                           "选“否”打印今天全部代课单。")
                                .arg(changes.added.size())
                                .arg(changes.withdrawn.size()))) {
                wholeDay = false;
                return changedSlips(ctx.store, changes.added, changes.withdrawn);
            }
        } else if (!telling::swapsSinceTold(ctx.store, ctx.day.week(), ctx.day.weekday()).any() &&
                   !boxes.yesNo(
                       QStringLiteral("代课安排自上次通知后没有变化。仍要打印全部代课单吗？"))) {
            return std::nullopt;
        }
    }
    auto slips = todaysSlips(ctx.store, ctx.day.week(), ctx.day.weekday());
    if (slips.empty()) {
        boxes.ok(QString::fromUtf8(kNoCoverToday));
        return std::nullopt;
    }
    return slips;
}

}  // namespace

void outputSlips(RunContext& ctx, QWidget* parent, SlipOutput how) {
    bool wholeDay = true;
    const auto slips = chooseSlips(ctx, wholeDay);
    if (!slips) return;
    // The slips told what they hold: the cover, and with the whole day's the day's swaps.
    const auto told = [&] {
        if (wholeDay)
            telling::markDayTold(ctx.store, ctx.day.week(), ctx.day.weekday());
        else
            telling::markTold(ctx.store);
    };
    auto& boxes = ctx.platform.boxes;
    const QPageLayout layout = slipPageLayout();
    bool painted = false;
    const PagePainter paint = [&](QPagedPaintDevice& device) {
        paintSlips(device, *slips);
        painted = true;
    };
    const QString job = QStringLiteral("代课单");
    switch (how) {
        case SlipOutput::Print:
            if (ctx.platform.printer.print(job, layout, paint) && painted)
                told();
            else
                boxes.ok(
                    QStringLiteral("没有找到可用的打印机，代课单没有打印。\n"
                                   "可以用“打印预览”选择打印机，或“另存为PDF”后再打印。"));
            return;
        case SlipOutput::Preview:
            // Looking at the slips tells nobody anything.
            ctx.platform.printer.preview(parent, job, layout, paint);
            return;
        case SlipOutput::Pdf: {
            const QString suggested =
                qpath(ctx.programDir / fspath(QStringLiteral("代课单-") +
                                              qs(calendar::stamp(ctx.platform.clock.today())) +
                                              QStringLiteral(".pdf")));
            const auto path = savePagesAsPdf(ctx.platform, suggested, job, layout, paint);
            if (!path) return;
            told();
            boxes.ok(QStringLiteral("代课单已保存为“%1”。").arg(QDir::toNativeSeparators(*path)));
            return;
        }
    }
}

}  // namespace daike
