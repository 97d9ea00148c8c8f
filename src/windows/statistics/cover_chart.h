// The fairness chart: one bar per teacher with the lessons covered, the mean as a line, the
// exempt teachers apart in grey. The same painting serves the window and the printed page.
#pragma once

#include <QRectF>
#include <QWidget>

#include "statistics/tables.h"

class QPainter;

namespace daike {

// Paints the chart into the area, sizing its lettering to the area, so it reads the same on a
// screen and on an A4 page.
void paintCoverChart(QPainter& painter, const QRectF& area, const statistics::Chart& chart);

class CoverChart : public QWidget {
    Q_OBJECT
  public:
    explicit CoverChart(QWidget* parent = nullptr);
    void setChart(statistics::Chart chart);
    const statistics::Chart& chart() const { return chart_; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    statistics::Chart chart_;
};

}  // namespace daike
