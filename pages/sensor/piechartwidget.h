#pragma once

#include <QPointF>
#include <QWidget>

// A self-drawn pie sector (a fixed 120 degrees from three o'clock,
// counter-clockwise) whose radius the user changes by dragging its rim. It
// holds no device data and tells nobody its radius.
class PieChartWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PieChartWidget(QWidget *parent = nullptr);
    ~PieChartWidget() override;

    // ----- read back (tests) -----
    QPointF centre() const { return center; }
    double sectorRadius() const { return radius; }
    bool isDragging() const { return dragging; }

    // The smallest radius a drag or a resize leaves, in pixels.
    static constexpr double kMinimumRadius = 20.0;
    // How near the rim (either side) a press must land to start a drag.
    static constexpr double kRimTolerance = 5.0;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    double distanceToCentre(const QPointF &pos) const;

    QPointF center{0, 0};
    // Replaced by the first resize, which comes before any paint or press.
    double radius = kMinimumRadius;
    int startAngle = 0;
    int spanAngle = 120;
    bool dragging = false;
};
