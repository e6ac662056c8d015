#include "pages/device/rotatablewidget.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

RotatableWidget::RotatableWidget(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void RotatableWidget::setRotation(int degrees)
{
    int turned = degrees % 360;
    if (turned < 0)
        turned += 360;
    m_rotation = turned;
    updateGeometry();
    repaint();
}

void RotatableWidget::setPixmapPath(const QString &path)
{
    m_pixmapPath = path;
    update();
}

QSize RotatableWidget::turnedSize(const QSize &size, int degrees)
{
    if (degrees % 180 == 0)
        return size;
    if (degrees % 90 == 0)
        return size.transposed();
    const double r = degrees * 0.017453292519943295;
    const double c = std::fabs(std::cos(r));
    const double s = std::fabs(std::sin(r));
    const double w = size.width();
    const double h = size.height();
    return QSize(int(std::lround(w * c + h * s)), int(std::lround(w * s + h * c)));
}

QSize RotatableWidget::sizeHint() const
{
    return turnedSize(QWidget::sizeHint(), m_rotation);
}

QSize RotatableWidget::minimumSizeHint() const
{
    return sizeHint();
}

void RotatableWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int cx = width() / 2;
    const int cy = height() / 2;
    painter.translate(cx, cy);
    painter.rotate(m_rotation);
    painter.translate(-cx, -cy);

    if (!m_pixmapPath.isEmpty()) {
        const QPixmap image(m_pixmapPath);
        if (!image.isNull())
            painter.drawPixmap(rect(), image.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }

    // Children are drawn here, turned with the picture.
    for (QObject *object : children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || !child->isVisible())
            continue;
        painter.save();
        child->render(&painter, child->pos(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        painter.restore();
    }
}
