#include "app/widgets/myslider.h"

#include <QMouseEvent>

MySlider::MySlider(QWidget *parent)
    : QSlider(parent)
{
}

MySlider::~MySlider() = default;

int MySlider::valueAt(int x, int width, int minimum, int maximum)
{
    if (width <= 0)
        return minimum;
    const double value = minimum + (maximum - minimum) * (static_cast<double>(x) / static_cast<double>(width));
    return static_cast<int>(value);
}

void MySlider::mousePressEvent(QMouseEvent *event)
{
    QSlider::mousePressEvent(event);
    setValue(valueAt(event->pos().x(), width(), minimum(), maximum()));
}
