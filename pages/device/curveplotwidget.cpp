#include "pages/device/curveplotwidget.h"

#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

QString curveAxisTitleX;
QString curveAxisTitleY;

namespace {

// The distances a press or a move measured, for tuning the pick limits; off
// unless the category is switched on.
Q_LOGGING_CATEGORY(curveLog, "velmorax.curveplot", QtInfoMsg)

// A press picks a point closer than this, a resting mouse labels one closer
// than the second limit (data units: the X distance dominates).
constexpr double kPickDistance = 50;
constexpr double kHoverDistance = 60;
constexpr int kPointRadius = 8;

} // namespace

CurvePlotWidget::CurvePlotWidget(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_MouseTracking);
    resetDemoPoints();
}

void CurvePlotWidget::resetDemoPoints()
{
    points.clear();
    for (int i = 0; i < 8; ++i)
        points.append(QPointF(xMin + i * (xMax - xMin) / 7, QRandomGenerator::global()->bounded(50) + 10));
}

QPointF CurvePlotWidget::toScreenPoint(const QPointF &data) const
{
    const double w = width();
    const double h = height();
    const double m = margin;
    return QPointF((data.x() - xMin) * (w - 2 * m) / (xMax - xMin) + m,
                   h - m - (data.y() - yMin) * (h - 2 * m) / (yMax - yMin));
}

QPointF CurvePlotWidget::toDataPoint(const QPointF &screen) const
{
    const double w = width();
    const double h = height();
    const double m = margin;
    return QPointF((xMax - xMin) * (screen.x() - m) / (w - 2 * m) + xMin,
                   yMax - (yMax - yMin) * (screen.y() - m) / (h - 2 * m));
}

QPainterPath CurvePlotWidget::smoothPath() const
{
    QPainterPath path;
    const int n = points.size();
    if (n < 2)
        return path;
    QVector<QPointF> s;
    s.reserve(n);
    for (const QPointF &p : points)
        s.append(toScreenPoint(p));
    path.moveTo(s[0]);
    for (int i = 0; i < n - 1; ++i) {
        const QPointF &before = s[i > 0 ? i - 1 : i];
        const QPointF &after = s[i + 2 < n ? i + 2 : i + 1];
        const QPointF c1 = s[i] + (s[i + 1] - before) / 6;
        const QPointF c2 = s[i + 1] - (after - s[i]) / 6;
        path.cubicTo(c1, c2, s[i + 1]);
    }
    return path;
}

double CurvePlotWidget::distance(const QPointF &a, const QPointF &b)
{
    const QPointF d = a - b;
    return std::sqrt(d.x() * d.x() + d.y() * d.y());
}

void CurvePlotWidget::mousePressEvent(QMouseEvent *event)
{
    if (editable && event->button() == Qt::LeftButton) {
        const QPointF at = toDataPoint(event->pos());
        for (int i = 0; i < points.size(); ++i) {
            const double d = distance(points[i], at);
            qCDebug(curveLog) << "a1" << d;
            if (d < kPickDistance) {
                dragIndex = i;
                setCursor(Qt::ClosedHandCursor);
                update();
                return;
            }
        }
    }
    dragIndex = -1;
    setCursor(Qt::ArrowCursor);
    QWidget::mousePressEvent(event);
}

void CurvePlotWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = toDataPoint(event->pos());
    if (editable && dragIndex >= 0 && dragIndex < points.size()) {
        points[dragIndex] = QPointF(std::clamp(at.x(), xMin, xMax), std::clamp(at.y(), yMin, yMax));
        update();
        return;
    }
    for (int i = 0; i < points.size(); ++i) {
        const double d = distance(points[i], at);
        qCDebug(curveLog) << d;
        if (d < kHoverDistance) {
            hoverIndex = i;
            update();
            return;
        }
        hoverIndex = -1;
        update();
    }
    setCursor(Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void CurvePlotWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (dragIndex >= 0) {
        dragIndex = -1;
        setCursor(Qt::ArrowCursor);
        update();
    }
    QWidget::mouseReleaseEvent(event);
}

void CurvePlotWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    update();
}

void CurvePlotWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // Grid.
    painter.setPen(QPen(QColor(255, 255, 255, 100), 1, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin));
    for (double tick : xTicks)
        painter.drawLine(toScreenPoint(QPointF(tick, yMax)), toScreenPoint(QPointF(tick, yMin)));
    for (double tick : yTicks)
        painter.drawLine(toScreenPoint(QPointF(xMin, tick)), toScreenPoint(QPointF(xMax, tick)));

    // Axes, tick marks and values, titles.
    const QPointF origin = toScreenPoint(QPointF(xMin, yMin));
    const QPointF xEnd = toScreenPoint(QPointF(xMax, yMin));
    const QPointF yTop = toScreenPoint(QPointF(xMin, yMax));
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawLine(origin, xEnd);
    painter.drawLine(origin, yTop);
    painter.setPen(QPen(Qt::white, 1));
    QFont small = painter.font();
    small.setPointSize(8);
    painter.setFont(small);
    for (double tick : xTicks) {
        const QPointF p = toScreenPoint(QPointF(tick, yMin));
        painter.drawLine(p, p + QPointF(0, 5));
        painter.drawText(QPoint(int(p.x() - 15), int(p.y() + 20)), QString::number(qRound64(tick)));
    }
    for (double tick : yTicks) {
        const QPointF p = toScreenPoint(QPointF(xMin, tick));
        painter.drawLine(p, p - QPointF(5, 0));
        painter.drawText(QPoint(int(p.x() - 30), int(p.y() + 5)), QString::number(qRound64(tick)));
    }
    painter.drawText(QPoint(int(xEnd.x() / 2), int(xEnd.y() + 40)), curveAxisTitleX);
    painter.save();
    painter.translate(yTop.x(), yTop.y() / 2);
    painter.rotate(270);
    painter.drawText(QPoint(int(yTop.x() - 240), int(yTop.y() / 2 - 80)), curveAxisTitleY);
    painter.restore();

    // Curve and the area under it.
    if (points.size() >= 2) {
        const QPainterPath curve = smoothPath();
        QPainterPath area = curve;
        area.lineTo(toScreenPoint(points.last()));
        area.lineTo(toScreenPoint(QPointF(points.last().x(), yMin)));
        area.lineTo(toScreenPoint(QPointF(points.first().x(), yMin)));
        area.closeSubpath();
        painter.fillPath(area, QColor(255, 192, 203, 100));
        painter.setPen(QPen(Qt::white, 2, Qt::SolidLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(curve);
    }

    // Points.
    for (int i = 0; i < points.size(); ++i) {
        const QPoint p = toScreenPoint(points[i]).toPoint();
        painter.setBrush(Qt::yellow);
        painter.setPen(i == dragIndex ? QPen(Qt::red, 2) : QPen(Qt::black, 1));
        painter.drawEllipse(p, kPointRadius, kPointRadius);
    }

    // Label of the dragged or hovered point.
    auto drawLabel = [&](int index, const QString &format) {
        if (index < 0 || index >= points.size())
            return;
        const QPointF data = points[index];
        const QPoint p = toScreenPoint(data).toPoint();
        const QString text = format.arg(data.x(), 0, 'f', 1).arg(data.y(), 0, 'f', 1);
        QFont font = painter.font();
        font.setPointSize(10);
        painter.setFont(font);
        const QRect box = QRect(p.x() - 60, p.y() - 80, 120, 50).adjusted(-20, -20, 20, 20);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 180));
        painter.drawRoundedRect(box, 3, 3);
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::AlignCenter, text);
    };
    drawLabel(dragIndex, QStringLiteral("X: %1, Y: %2"));
    drawLabel(hoverIndex, QStringLiteral("X: %1\nY: %2"));
}
