#include "windows/basedata/timetable_print.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

#include "basedata/classes.h"
#include "basedata/timetable_export.h"
#include "store/failure.h"
#include "store/paths.h"
#include "store/tables/teachers.h"
#include "store/tables/timetable.h"
#include "store/week.h"
#include "ui/pdf_file.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

constexpr const char* kNoTimetable = "还没有课务，请先输入或导入课务。";

// Sizes on the page, in millimetres of the printable area.
constexpr double kTitleHeight = 22;
constexpr double kTitleFont = 9;
constexpr double kGap = 4;
constexpr double kHeadRow = 12;
constexpr double kLunchRow = 10;
constexpr double kPeriodColumn = 28;
constexpr double kCellFont = 6;
constexpr double kLabelFont = 5;
constexpr double kTimeFont = 3.6;

class PagePen {
  public:
    explicit PagePen(QPagedPaintDevice& device) : p_(&device) {
        const QSizeF mm = device.pageLayout().paintRect(QPageLayout::Millimeter).size();
        width_ = mm.width();
        height_ = mm.height();
        unit_ = device.width() / width_;
        p_.setRenderHint(QPainter::Antialiasing);
    }
    double width() const { return width_; }
    double height() const { return height_; }

    void frame(const QRectF& r, double penMm, const QColor& fill = QColor()) {
        QPen pen(Qt::black);
        pen.setWidthF(penMm * unit_);
        p_.setPen(pen);
        p_.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
        p_.drawRect(toDevice(r));
    }

    // The text centred in the box at the size given, or smaller when its widest line or its
    // lines together would not fit.
    void text(const QRectF& r, const QString& s, double sizeMm, bool bold = false) {
        if (s.isEmpty()) return;
        const QRectF d = toDevice(r.adjusted(1, 1, -1, -1));
        QFont f = p_.font();
        f.setBold(bold);
        double px = sizeMm * unit_;
        for (int tries = 0; tries < 40; ++tries) {
            f.setPixelSize(std::max(1, static_cast<int>(px)));
            const QRectF need = QFontMetricsF(f).boundingRect(d, Qt::AlignCenter, s);
            if ((need.width() <= d.width() && need.height() <= d.height()) || px < 2) break;
            px *= 0.9;
        }
        p_.setFont(f);
        p_.setPen(Qt::black);
        p_.drawText(d, Qt::AlignCenter, s);
    }

  private:
    QRectF toDevice(const QRectF& r) const {
        return {r.x() * unit_, r.y() * unit_, r.width() * unit_, r.height() * unit_};
    }
    QPainter p_;
    double width_ = 1, height_ = 1, unit_ = 1;
};

void paintGrid(PagePen& pen, const WeekGrid& g, const PeriodTimes& times) {
    const double w = pen.width();
    pen.text(QRectF(0, 0, w, kTitleHeight), qs(g.title), kTitleFont, true);
    const double top = kTitleHeight + kGap;
    const double periodRow = (pen.height() - top - kGap - kHeadRow - kLunchRow) / week::kPeriods;
    const double dayColumn = (w - kPeriodColumn) / week::kDays;
    auto columnLeft = [&](int weekday) { return kPeriodColumn + (weekday - 1) * dayColumn; };

    double y = top;
    pen.frame(QRectF(0, y, kPeriodColumn, kHeadRow), 0.3, QColor(0xF0, 0xF0, 0xF0));
    pen.text(QRectF(0, y, kPeriodColumn, kHeadRow), QStringLiteral("节次"), kLabelFont, true);
    for (int d = 1; d <= week::kDays; ++d) {
        const QRectF r(columnLeft(d), y, dayColumn, kHeadRow);
        pen.frame(r, 0.3, QColor(0xF0, 0xF0, 0xF0));
        pen.text(r, QStringLiteral("周") + qs(week::weekdayNumeral(d)), kLabelFont, true);
    }
    y += kHeadRow;
    for (int p = 1; p <= week::kPeriods; ++p) {
        if (p == week::kMorningPeriods + 1) {
            const QRectF band(0, y, w, kLunchRow);
            pen.frame(band, 0.3, QColor(0xE4, 0xE4, 0xE4));
            pen.text(band, QStringLiteral("午　休"), kLabelFont * 0.8, true);
            y += kLunchRow;
        }
        const QRectF label(0, y, kPeriodColumn, periodRow);
        pen.frame(label, 0.3);
        const QString span = qs(times.span(p));
        if (span.isEmpty()) {
            pen.text(label, qs(week::periodName(p)), kLabelFont, true);
        } else {
            pen.text(QRectF(0, y, kPeriodColumn, periodRow * 0.55), qs(week::periodName(p)),
                     kLabelFont, true);
            pen.text(QRectF(0, y + periodRow * 0.45, kPeriodColumn, periodRow * 0.45), span,
                     kTimeFont);
        }
        for (int d = 1; d <= week::kDays; ++d) {
            const QRectF r(columnLeft(d), y, dayColumn, periodRow);
            pen.frame(r, 0.3);
            pen.text(r, qs(g.at(d, p)), kCellFont);
        }
        y += periodRow;
    }
    // The outline drawn again, heavier.
    pen.frame(QRectF(0, top, w, y - top), 0.6);
}

std::vector<WeekGrid> gridsOf(RunContext& ctx, TimetableKind kind,
                              const std::vector<TimetableRow>& rows) {
    if (kind == TimetableKind::Classes) return classGrids(rows, readClasses(ctx.store));
    // On paper the class stands above the subject, so that a long subject keeps its size.
    auto grids = teacherGrids(rows, teachers::names(ctx.store), "\n");
    std::erase_if(grids, [](const WeekGrid& g) { return g.lessons == 0; });
    return grids;
}

}  // namespace

QPageLayout timetablePageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

int paintTimetables(QPagedPaintDevice& device, const std::vector<WeekGrid>& grids,
                    const PeriodTimes& times) {
    PagePen pen(device);
    int pages = 0;
    for (const WeekGrid& g : grids) {
        if (pages++ > 0) device.newPage();
        paintGrid(pen, g, times);
    }
    return pages;
}

void outputTimetables(RunContext& ctx, QWidget* parent, TimetableKind kind, TimetableOutput how) {
    auto& boxes = ctx.platform.boxes;
    const auto rows = timetable::read(ctx.store);
    const auto grids = gridsOf(ctx, kind, rows);
    if (!anyOnGrid(rows) || grids.empty()) {
        boxes.ok(qs(kNoTimetable));
        return;
    }
    const PeriodTimes times = readPeriodTimes(ctx.store);
    const QPageLayout layout = timetablePageLayout();
    const PagePainter paint = [&](QPagedPaintDevice& device) {
        paintTimetables(device, grids, times);
    };
    const QString job =
        kind == TimetableKind::Classes ? QStringLiteral("班级课表") : QStringLiteral("教师课表");
    switch (how) {
        case TimetableOutput::Print:
            if (!ctx.platform.printer.print(job, layout, paint))
                boxes.ok(QStringLiteral("没有找到可用的打印机，%1没有打印。\n"
                                        "可以用“打印预览”选择打印机，或“另存为PDF”后再打印。")
                             .arg(job));
            return;
        case TimetableOutput::Preview:
            ctx.platform.printer.preview(parent, job, layout, paint);
            return;
        case TimetableOutput::Pdf: {
            const QString suggested = qpath(ctx.programDir / fspath(job + QStringLiteral(".pdf")));
            const auto path = savePagesAsPdf(ctx.platform, suggested, job, layout, paint);
            if (!path) return;
            boxes.ok(QStringLiteral("%1已保存为“%2”。").arg(job, QDir::toNativeSeparators(*path)));
            return;
        }
    }
}

void exportTimetableWorkbook(RunContext& ctx) {
    auto& boxes = ctx.platform.boxes;
    if (!anyOnGrid(timetable::read(ctx.store))) {
        boxes.ok(qs(kNoTimetable));
        return;
    }
    // Beside the statistics' exports, in the program's folder.
    const QString suggested = qpath(inFolder(ctx.programDir, timetable_export::kSuggestedFile));
    auto path = ctx.platform.files.saveFile(QStringLiteral("导出课表"), suggested,
                                            QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (!path || path->trimmed().isEmpty()) return;
    if (!path->endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        *path += QStringLiteral(".xlsx");
    try {
        timetable_export::write(ctx.store, fspath(*path));
    } catch (const Failure& e) {
        boxes.ok(QString::fromUtf8(e.what()));
        return;
    }
    boxes.ok(QStringLiteral("课表已导出到：%1").arg(QDir::toNativeSeparators(*path)));
}

}  // namespace daike
