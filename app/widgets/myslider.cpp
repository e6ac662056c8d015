#include "app/widgets/myslider.h"

#include <QMouseEvent>

MySlider::MySlider(QWidget *parent) : QSlider(parent) {}

MySlider::~MySlider() = default;

int MySlider::valueAt(int x, int width, int minimum, int maximum)
{
    if (width <= 0)
        return minimum;
    // All in double: the span of a wide range does not fit an int, and a
    // position past either end must not convert an out-of-range value.
    const double span = static_cast<double>(maximum) - static_cast<double>(minimum);
    const double value = minimum + span * (static_cast<double>(x) / static_cast<double>(width));
    return static_cast<int>(qBound(static_cast<double>(minimum), value, static_cast<double>(maximum)));
}

void MySlider::mousePressEvent(QMouseEvent *event)
{
    QSlider::mousePressEvent(event);
    setValue(valueAt(event->pos().x(), width(), minimum(), maximum()));
}
