#include "windows/statistics/statistics_pdf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <filesystem>

#include "store/failure.h"
#include "store/safe_file.h"
#include "ui/path_text.h"
#include "ui/pdf_file.h"
#include "windows/statistics/cover_chart.h"

namespace daike {

namespace {

[[noreturn]] void cannotWrite(const QString& message) {
    throw Failure(Failure::Kind::CannotWrite, message.toStdString());
}

constexpr int kDpi = 300;

QString textOf(const statistics::Cell& c) {
    return QString::fromStdString(c.text);
}

}  // namespace

QPageLayout statisticsPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

void writeStatisticsPdf(const QString& file, const StatisticsPage& page) {
    const QFileInfo target(file);
    const std::filesystem::path targetPath = fspath(file);
    // The writer says nothing of a full disk: the file is put in place only as a whole PDF.
    safefile::write(
        targetPath,
        [&](const std::filesystem::path& tempPath) {
            QPdfWriter writer(qpath(tempPath));
            writer.setResolution(kDpi);
            writer.setPageLayout(statisticsPageLayout());
            writer.setTitle(page.heading);
            writer.setCreator(QStringLiteral("代课"));
            switch (paintStatisticsPages(writer, page)) {
                case PagesPainted::Done:
                    break;
                case PagesPainted::CannotBegin:
                    cannotWrite(QStringLiteral("无法在“%1”中建立文件，请换一个文件夹。")
                                    .arg(QDir::toNativeSeparators(target.absolutePath())));
                case PagesPainted::CannotFinish:
                    cannotWrite(QStringLiteral("无法写入文件“%1”：磁盘可能已满。")
                                    .arg(QDir::toNativeSeparators(file)));
            }
        },
        safefile::Content::Pdf);
}

PagesPainted paintStatisticsPages(QPagedPaintDevice& writer, const StatisticsPage& page) {
    // Lengths in millimetres of the device's own resolution: a PDF and a printer alike.
    const qreal mm = writer.logicalDpiY() / 25.4;
    QPainter p;
    if (!p.begin(&writer)) return PagesPainted::CannotBegin;
    const qreal width = writer.width();
    const qreal bottom = writer.height() - 8 * mm;  // room for the page number
    int pageNumber = 1;
    auto footer = [&] {
        p.setFont(pageFont(8));
        p.setPen(Qt::black);
        const QRectF line(0, bottom + 2 * mm, width, 6 * mm);  // not the week: 6 mm high
        p.drawText(line, Qt::AlignCenter, QStringLiteral("第 %1 页").arg(pageNumber));
    };

    // Heading: what, for which weeks, made on which day.
    qreal y = 0;
    p.setFont(pageFont(16, true));
    QRectF box(0, y, width, QFontMetricsF(p.font(), &writer).height() * 1.3);
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, page.heading);
    y = box.bottom();
    p.setFont(pageFont(9));
    box = QRectF(0, y, width, QFontMetricsF(p.font(), &writer).height() * 1.4);
    p.drawText(box, Qt::AlignRight | Qt::AlignTop, page.dateLine);
    y = box.bottom();
    p.setFont(pageFont(10));
    const QString sentence = QString::fromStdString(page.chart.sentence);
    box = p.boundingRect(QRectF(0, y, width, 1e6), Qt::TextWordWrap, sentence);
    p.drawText(QRectF(0, y, width, box.height()), Qt::TextWordWrap, sentence);
    y += box.height() + 1.5 * mm;
    if (!page.note.isEmpty()) {
        p.setFont(pageFont(9));
        p.setPen(QColor(192, 0, 0));
        box = p.boundingRect(QRectF(0, y, width, 1e6), Qt::TextWordWrap, page.note);
        p.drawText(QRectF(0, y, width, box.height()), Qt::TextWordWrap, page.note);
        p.setPen(Qt::black);
        y += box.height() + 1.5 * mm;
    }
    const qreal chartHeight = 85 * mm;
    paintCoverChart(p, QRectF(0, y, width, chartHeight), page.chart);
    y += chartHeight + 4 * mm;

    // The table: columns as wide as their texts, the font made smaller until they fit.
    const auto& t = page.table;
    const int columns = static_cast<int>(t.headers.size());
    qreal points = 9;
    std::vector<qreal> widths(columns, 0);
    for (;; points -= 0.5) {
        const QFontMetricsF plain(pageFont(points), &writer), bold(pageFont(points, true), &writer);
        std::fill(widths.begin(), widths.end(), 0);
        for (int c = 0; c < columns; ++c) {
            widths[c] = bold.horizontalAdvance(QString::fromStdString(t.headers[c]));
            auto measure = [&](const statistics::TableRow& r) {
                if (c < static_cast<int>(r.cells.size()))
                    widths[c] = std::max(widths[c], bold.horizontalAdvance(textOf(r.cells[c])));
            };
            for (const auto& r : t.rows) measure(r);
            if (t.totals) measure(*t.totals);
            widths[c] += plain.averageCharWidth() * 1.6;
        }
        qreal sum = 0;
        for (qreal w : widths) sum += w;
        if (sum <= width || points <= 5.5) {
            // Spread what is left over the columns, or squeeze them when nothing fits.
            const qreal factor = width / sum;
            for (qreal& w : widths) w *= factor;
            break;
        }
    }
    const qreal rowHeight = QFontMetricsF(pageFont(points), &writer).height() * 1.45;
    auto drawRow = [&](const std::vector<QString>& cells, bool bold, QColor fill,
                       const statistics::TableRow* row) {
        if (fill.isValid()) p.fillRect(QRectF(0, y, width, rowHeight), fill);
        qreal x = 0;
        for (int c = 0; c < columns; ++c) {
            const QString s = c < static_cast<int>(cells.size()) ? cells[c] : QString();
            QColor ink = Qt::black;
            if (row && row->exempt) ink = QColor(120, 120, 120);
            if (row && row->mismatch && c == t.tallyColumn) ink = QColor(192, 0, 0);
            p.setFont(pageFont(points, bold));
            p.setPen(ink);
            const bool number =
                row && c < static_cast<int>(row->cells.size()) && row->cells[c].number.has_value();
            const QRectF cell(x + 0.8 * mm, y, widths[c] - 1.6 * mm, rowHeight);
            p.drawText(cell, Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft), s);
            x += widths[c];
        }
        p.setPen(QPen(QColor(160, 160, 160), 0.15 * mm));
        p.drawLine(QPointF(0, y + rowHeight), QPointF(width, y + rowHeight));
        y += rowHeight;
    };
    std::vector<QString> header;
    for (const auto& h : t.headers) header.push_back(QString::fromStdString(h));
    auto drawHeader = [&] { drawRow(header, true, QColor(225, 225, 225), nullptr); };
    auto cellsOf = [](const statistics::TableRow& r) {
        std::vector<QString> out;
        for (const auto& c : r.cells) out.push_back(textOf(c));
        return out;
    };
    if (y + rowHeight * 2 > bottom) {
        footer();
        writer.newPage();
        ++pageNumber;
        y = 0;
    }
    drawHeader();
    std::vector<const statistics::TableRow*> rows;
    for (const auto& r : t.rows) rows.push_back(&r);
    if (t.totals) rows.push_back(&*t.totals);
    for (const auto* r : rows) {
        if (y + rowHeight > bottom) {
            footer();
            writer.newPage();
            ++pageNumber;
            y = 0;
            drawHeader();
        }
        const bool isTotal = t.totals && r == &*t.totals;
        drawRow(cellsOf(*r), isTotal, isTotal ? QColor(240, 240, 240) : QColor(), r);
    }
    footer();
    return p.end() ? PagesPainted::Done : PagesPainted::CannotFinish;
}

}  // namespace daike
