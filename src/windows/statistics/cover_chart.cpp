#include "windows/statistics/cover_chart.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "statistics/figures.h"

namespace daike {

namespace {

const QColor kBar{72, 112, 196};
const QColor kExemptBar{176, 176, 176};
const QColor kMean{208, 48, 48};
const QColor kGrid{222, 222, 222};

// A step for the value axis that gives four to six lines.
int tickStep(int highest) {
    for (int step : {1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000})
        if (highest / step <= 5) return step;
    return (highest / 5 / 1000 + 1) * 1000;
}

}  // namespace

void paintCoverChart(QPainter& p, const QRectF& area, const statistics::Chart& chart) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(area, Qt::white);

    // The lettering follows the area: about one line in fifteen of its height.
    const qreal unit = std::clamp(std::min(area.height() / 15.0, area.width() / 40.0), 4.0, 400.0);
    QFont font = p.font();
    font.setPixelSize(std::max(1, static_cast<int>(unit)));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    const QRectF titleBox(area.left(), area.top() + unit * 0.2, area.width(), unit * 1.4);
    p.drawText(titleBox, Qt::AlignCenter, QString::fromStdString(chart.title));
    font.setBold(false);
    p.setFont(font);

    const int count = static_cast<int>(chart.bars.size());
    if (count == 0) {
        p.drawText(area, Qt::AlignCenter, QStringLiteral("教师名单为空"));
        p.restore();
        return;
    }
    int highest = 0, longestName = 1;
    for (const auto& b : chart.bars) {
        highest = std::max(highest, b.value);
        longestName = std::max<int>(
            longestName, static_cast<int>(QString::fromStdString(b.name).toUcs4().size()));
    }
    const int step = tickStep(std::max(highest, 1));
    const int top = std::max(step, ((std::max(highest, 1) + step - 1) / step) * step);

    const bool hasApart =
        std::any_of(chart.bars.begin(), chart.bars.end(), [](const auto& b) { return b.exempt; });
    const qreal axisWidth = QFontMetricsF(font).horizontalAdvance(QString::number(top)) + unit;
    QRectF plot(area.left() + axisWidth, titleBox.bottom() + unit * 0.6, 0, 0);
    plot.setRight(area.right() - unit * 0.6);
    const qreal slot = plot.width() / (count + (hasApart ? 1 : 0));
    // Names stand upright under their bars, one character under the other.
    const qreal nameUnit = std::clamp(slot * 0.85, 1.0, unit);
    plot.setBottom(area.bottom() - longestName * nameUnit * 1.05 - unit * 0.5);
    if (plot.height() < unit * 2) plot.setBottom(plot.top() + unit * 2);

    auto yOf = [&](double v) { return plot.bottom() - plot.height() * v / top; };

    // Value axis and grid.
    for (int v = 0; v <= top; v += step) {
        const qreal y = yOf(v);
        p.setPen(QPen(v == 0 ? QColor(Qt::black) : kGrid, unit * 0.06));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left(), y - unit, axisWidth - unit * 0.3, unit * 2),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }

    QFont nameFont = font;
    nameFont.setPixelSize(std::max(1, static_cast<int>(nameUnit)));
    QFont valueFont = nameFont;
    int place = 0;
    qreal meanEnd = plot.left();
    bool apartStarted = false;
    for (const auto& b : chart.bars) {
        if (b.exempt && !apartStarted) {
            apartStarted = true;
            // A gap, then the teachers never asked to cover.
            const qreal x = plot.left() + slot * (place + 0.5);
            p.setPen(QPen(kExemptBar, unit * 0.08, Qt::DashLine));
            p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            ++place;
        }
        const qreal x = plot.left() + slot * place;
        if (!b.exempt) meanEnd = x + slot;
        const QRectF bar(x + slot * 0.15, yOf(b.value), slot * 0.7, plot.bottom() - yOf(b.value));
        p.fillRect(bar, b.exempt ? kExemptBar : kBar);
        p.setPen(b.exempt ? QColor(110, 110, 110) : QColor(Qt::black));
        if (b.value > 0 && slot >= nameUnit * 0.9) {
            p.setFont(valueFont);
            p.drawText(QRectF(x - slot, bar.top() - nameUnit * 1.2, slot * 3, nameUnit * 1.15),
                       Qt::AlignHCenter | Qt::AlignBottom, QString::number(b.value));
        }
        p.setFont(nameFont);
        const auto chars = QString::fromStdString(b.name).toUcs4();
        qreal y = plot.bottom() + unit * 0.25;
        for (char32_t c : chars) {
            p.drawText(QRectF(x, y, slot, nameUnit * 1.05), Qt::AlignCenter,
                       QString::fromUcs4(&c, 1));
            y += nameUnit * 1.05;
        }
        ++place;
    }

    // The mean over the teachers who can be asked.
    if (meanEnd > plot.left()) {
        const qreal y = yOf(chart.mean);
        p.setPen(QPen(kMean, unit * 0.12, Qt::DashLine));
        p.drawLine(QPointF(plot.left(), y), QPointF(meanEnd, y));
        p.setFont(font);
        p.setPen(kMean);
        const QString label = QStringLiteral("平均 %1").arg(
            QString::fromStdString(statistics::formatNumber(chart.mean)));
        const qreal w = QFontMetricsF(font).horizontalAdvance(label) + unit * 0.4;
        QRectF box(std::min(meanEnd, plot.right()) - w, y - unit * 1.3, w, unit * 1.2);
        if (box.top() < plot.top()) box.moveTop(y + unit * 0.1);
        p.fillRect(box, QColor(255, 255, 255, 210));
        p.drawText(box, Qt::AlignCenter, label);
    }
    if (hasApart) {
        p.setFont(nameFont);
        p.setPen(QColor(110, 110, 110));
        p.drawText(QRectF(plot.left(), plot.top() - unit * 1.2, plot.width(), unit * 1.1),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("灰色：免代教师，不计平均"));
    }
    p.restore();
}

CoverChart::CoverChart(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(120);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CoverChart::setChart(statistics::Chart chart) {
    chart_ = std::move(chart);
    update();
}

void CoverChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintCoverChart(p, QRectF(rect()), chart_);
}

}  // namespace daike
