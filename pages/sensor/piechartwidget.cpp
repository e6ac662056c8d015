#include "pages/sensor/piechartwidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>

PieChartWidget::PieChartWidget(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(300, 300);
}

PieChartWidget::~PieChartWidget() = default;

double PieChartWidget::distanceToCentre(const QPointF &pos) const
{
    return std::hypot(pos.x() - center.x(), pos.y() - center.y());
}

void PieChartWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    center = QPointF(rect().center());
    radius = std::max(0.25 * std::min(width(), height()), kMinimumRadius);
}

void PieChartWidget::mousePressEvent(QMouseEvent *event)
{
    if (std::abs(distanceToCentre(event->localPos()) - radius) < kRimTolerance) {
        dragging = true;
        setCursor(Qt::SizeAllCursor);
    }
}

void PieChartWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!dragging)
        return;
    // The rim stays inside the widget with a small margin, and never shrinks
    // to a dot: the lower bound wins in a widget too small for both.
    const double limit = std::min(width(), height()) / 2 - 5;
    double r = std::min(distanceToCentre(event->localPos()), limit);
    r = std::max(r, kMinimumRadius);
    if (qFuzzyCompare(r, radius))
        return;
    radius = r;
    update();
}

void PieChartWidget::mouseReleaseEvent(QMouseEvent *)
{
    dragging = false;
    setCursor(Qt::ArrowCursor);
}

void PieChartWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF bounds(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    QRadialGradient fill(center, radius);
    fill.setColorAt(0, QColor(50, 150, 255));
    fill.setColorAt(1, QColor(0, 80, 200));
    painter.setBrush(fill);
    painter.setPen(QPen(QBrush(Qt::black), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawPie(bounds, startAngle * 16, spanAngle * 16);

    painter.setBrush(Qt::red);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(center, 5.0, 5.0);

    // The two radius lines lie on the sector's edges. Pie angles turn
    // counter-clockwise on screen while screen y grows downward, hence the
    // minus: with a plus the far line would point away from the sector.
    painter.setPen(QPen(QBrush(Qt::darkGray), 1, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin));
    for (const int degrees : {startAngle, startAngle + spanAngle}) {
        const double theta = qDegreesToRadians(double(degrees));
        painter.drawLine(center, QPointF(center.x() + radius * std::cos(theta), center.y() - radius * std::sin(theta)));
    }
}
