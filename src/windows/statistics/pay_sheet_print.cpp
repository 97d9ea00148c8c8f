#include "windows/statistics/pay_sheet_print.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <chrono>

#include "ui/pdf_file.h"

namespace daike {

namespace {

using statistics::PaySheet;

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString yuan(long long fen) {
    return qs(statistics::yuanText(fen));
}

QString rateText(long long fen) {
    return fen % 100 == 0 ? QString::number(fen / 100) : yuan(fen);
}

QString stamp(calendar::Day d) {
    const std::chrono::year_month_day ymd{d};
    return QStringLiteral("%1%2%3")
        .arg(static_cast<int>(ymd.year()))
        .arg(static_cast<unsigned>(ymd.month()), 2, 10, QChar('0'))
        .arg(static_cast<unsigned>(ymd.day()), 2, 10, QChar('0'));
}

// One column of the table: its header (a second line in small print under it) and width in mm.
struct Column {
    QString header, under;
    qreal mm = 0;
    Qt::Alignment align = Qt::AlignHCenter;
};

// 序号, 姓名, the kinds' covers (one kind: 节数 and 单价; several: each kind with its rate under
// its name), 金额, 领款人签字 taking what is left.
std::vector<Column> columnsOf(const PaySheet& s, qreal widthMm) {
    std::vector<Column> c;
    c.push_back({QStringLiteral("序号"), {}, 11});
    c.push_back({QStringLiteral("姓名"), {}, 34, Qt::AlignLeft});
    if (s.kinds.size() <= 1) {
        c.push_back({s.kinds.empty() ? QStringLiteral("节数") : qs(s.kinds[0]) + "节数",
                     {},
                     20,
                     Qt::AlignRight});
        c.push_back({QStringLiteral("单价（元）"), {}, 22, Qt::AlignRight});
    } else {
        for (std::size_t k = 0; k < s.kinds.size(); ++k)
            c.push_back({qs(s.kinds[k]), QStringLiteral("单价%1元").arg(rateText(s.rateFen[k])),
                         s.kinds.size() > 3 ? 17.0 : 20.0, Qt::AlignRight});
    }
    c.push_back({QStringLiteral("金额（元）"), {}, 25, Qt::AlignRight});
    qreal used = 0;
    for (const auto& col : c) used += col.mm;
    c.push_back({QStringLiteral("领款人签字"), {}, std::max<qreal>(widthMm - used, 24)});
    return c;
}

std::vector<QString> rowCells(const PaySheet& s, std::size_t i) {
    const auto& r = s.rows[i];
    std::vector<QString> cells = {QString::number(i + 1), qs(r.shownName())};
    for (int n : r.covers) cells.push_back(n ? QString::number(n) : QString());
    if (s.kinds.size() <= 1)
        cells.push_back(s.rateFen.empty() ? QString() : rateText(s.rateFen[0]));
    cells.push_back(yuan(r.fen));
    cells.push_back({});
    return cells;
}

std::vector<QString> totalCells(const PaySheet& s) {
    std::vector<QString> cells = {QString(), QStringLiteral("合计")};
    for (int n : s.kindTotals) cells.push_back(QString::number(n));
    if (s.kinds.empty()) cells.push_back(QStringLiteral("0"));
    if (s.kinds.size() <= 1) cells.push_back({});
    cells.push_back(yuan(s.fen));
    cells.push_back({});
    return cells;
}

}  // namespace

QPageLayout paySheetPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

int paySheetPages(const PaySheet& sheet) {
    const int rows = static_cast<int>(sheet.rows.size());
    return std::max(1, (rows + kPaySheetRowsPerPage - 1) / kPaySheetRowsPerPage);
}

QString paySheetFileName(const PaySheet& sheet, const QString& extension) {
    return QStringLiteral("代课费发放表-%1-%2.%3")
        .arg(stamp(sheet.range.from), stamp(sheet.range.to), extension);
}

bool paintPaySheet(QPagedPaintDevice& device, const PaySheet& s) {
    // Lengths in millimetres of the device's own resolution: a PDF and a printer alike.
    const qreal mm = device.logicalDpiY() / 25.4;
    QPainter p;
    if (!p.begin(&device)) return false;
    const qreal width = device.width();
    const qreal height = device.height();
    const auto columns = columnsOf(s, width / mm);
    qreal sumMm = 0;
    for (const auto& c : columns) sumMm += c.mm;
    const qreal scale = width / (sumMm * mm);  // squeezed when the columns overrun the page

    // What each page holds apart from the rows: title, range, header; on the last, the total row
    // and the words and signature lines under it; the page number.
    const qreal titleH = 11 * mm, rangeH = 7 * mm, headerH = 10 * mm, closingH = 26 * mm,
                footH = 6 * mm;  // not the week: 6 mm high
    const qreal rowH = std::min(8 * mm, (height - titleH - rangeH - headerH - closingH - footH) /
                                            (kPaySheetRowsPerPage + 1));
    const int pages = paySheetPages(s);
    const QPen rule(Qt::black, 0.25 * mm);

    auto drawCells = [&](qreal y, qreal h, const std::vector<QString>& cells, bool bold) {
        qreal x = 0;
        p.setFont(pageFont(rowH / mm > 5.5 ? 10 : 9, bold));
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const qreal w = columns[c].mm * mm * scale;
            const QRectF cell(x + 1.2 * mm, y, w - 2.4 * mm, h);
            if (c < cells.size()) p.drawText(cell, Qt::AlignVCenter | columns[c].align, cells[c]);
            x += w;
        }
    };
    auto drawGrid = [&](qreal top, qreal bottom, const std::vector<qreal>& lines) {
        p.setPen(rule);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0, top, width, bottom - top));
        for (qreal y : lines) p.drawLine(QPointF(0, y), QPointF(width, y));
        qreal x = 0;
        for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
            x += columns[c].mm * mm * scale;
            p.drawLine(QPointF(x, top), QPointF(x, bottom));
        }
    };

    for (int page = 0; page < pages; ++page) {
        if (page > 0) device.newPage();
        qreal y = 0;
        p.setPen(Qt::black);
        p.setFont(pageFont(17, true));
        p.drawText(QRectF(0, y, width, titleH), Qt::AlignCenter, qs(s.title()));
        y += titleH;
        p.setFont(pageFont(10));
        p.drawText(QRectF(0, y, width, rangeH), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("发放期间：") + qs(s.range.dates()));
        p.drawText(QRectF(0, y, width, rangeH), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("单位：元"));
        y += rangeH;

        const qreal top = y;
        std::vector<qreal> lines;
        // The header: the column's name, its rate in small print under it.
        p.fillRect(QRectF(0, y, width, headerH), QColor(235, 235, 235));
        qreal x = 0;
        for (const auto& c : columns) {
            const qreal w = c.mm * mm * scale;
            p.setPen(Qt::black);
            if (c.under.isEmpty()) {
                p.setFont(pageFont(10, true));
                p.drawText(QRectF(x, y, w, headerH), Qt::AlignCenter, c.header);
            } else {
                p.setFont(pageFont(10, true));
                p.drawText(QRectF(x, y, w, headerH * 0.58), Qt::AlignHCenter | Qt::AlignBottom,
                           c.header);
                p.setFont(pageFont(7.5));
                p.drawText(QRectF(x, y + headerH * 0.58, w, headerH * 0.42),
                           Qt::AlignHCenter | Qt::AlignTop, c.under);
            }
            x += w;
        }
        y += headerH;
        lines.push_back(y);

        const std::size_t first = static_cast<std::size_t>(page) * kPaySheetRowsPerPage;
        const std::size_t last = std::min(s.rows.size(), first + kPaySheetRowsPerPage);
        p.setPen(Qt::black);
        for (std::size_t i = first; i < last; ++i) {
            p.setPen(Qt::black);
            drawCells(y, rowH, rowCells(s, i), false);
            y += rowH;
            lines.push_back(y);
        }
        const bool lastPage = page + 1 == pages;
        if (lastPage) {
            p.fillRect(QRectF(0, y, width, rowH), QColor(245, 245, 245));
            p.setPen(Qt::black);
            drawCells(y, rowH, totalCells(s), true);
            y += rowH;
        }
        lines.pop_back();
        drawGrid(top, y, lines);

        if (lastPage) {
            y += 3 * mm;
            p.setPen(Qt::black);
            p.setFont(pageFont(11, true));
            p.drawText(QRectF(0, y, width, 8 * mm), Qt::AlignLeft | Qt::AlignVCenter,
                       qs(s.totalInWords()));
            y += 8 * mm + 5 * mm;
            p.setFont(pageFont(11));
            const QString lineText = QStringLiteral("______________");
            const QStringList labels = {QStringLiteral("制表："), QStringLiteral("审核："),
                                        QStringLiteral("日期：")};
            for (int k = 0; k < labels.size(); ++k)
                p.drawText(QRectF(k * width / 3, y, width / 3, 8 * mm),
                           Qt::AlignLeft | Qt::AlignVCenter, labels[k] + lineText);
        }
        if (pages > 1) {
            p.setFont(pageFont(8));
            p.drawText(QRectF(0, height - footH, width, footH), Qt::AlignCenter,
                       QStringLiteral("第 %1 页 共 %2 页").arg(page + 1).arg(pages));
        }
    }
    return p.end();
}

}  // namespace daike
