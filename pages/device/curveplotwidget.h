#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <QVector>
#include <QWidget>

// Axis titles of every curve plot, in the current language (set by the
// advanced page). GUI thread only.
extern QString curveAxisTitleX;
extern QString curveAxisTitleY;

// A smooth curve through a few points over a labelled grid. Points are
// marked, the one under the mouse is labelled, and with `editable` set a
// point can be dragged with the left button. It holds demonstration points
// only: nothing reads them and it sends nothing.
class CurvePlotWidget : public QWidget
{
public:
    explicit CurvePlotWidget(QWidget *parent = nullptr);

    // Eight points at x = 0, 1000, ..., 7000 with whole y from 10 to 59.
    void resetDemoPoints();

    // Data units <-> widget pixels.
    QPointF toScreenPoint(const QPointF &data) const;
    QPointF toDataPoint(const QPointF &screen) const;
    // The curve through the points in widget pixels; empty for fewer than two.
    QPainterPath smoothPath() const;

    int editable = 0;
    QVector<QPointF> points;
    int dragIndex = -1;
    double xMin = 0;
    double xMax = 7000;
    double yMin = 0;
    double yMax = 70;
    QVector<double> xTicks{0, 500, 1000, 2000, 3000, 4000, 5000, 6000, 7000};
    QVector<double> yTicks{0, 5, 10, 20, 30, 40, 50, 60, 70};
    int margin = 80;
    int hoverIndex = -1;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    static double distance(const QPointF &a, const QPointF &b);
};
