#pragma once

#include <QSlider>

// A slider that jumps to the pressed position at once (any mouse button),
// using the full widget width, and emits valueChanged for the jump even
// with tracking off.
class MySlider : public QSlider
{
public:
    explicit MySlider(QWidget *parent = nullptr);
    ~MySlider() override;

    // The value a press at x selects: min + (max - min) * (x / width),
    // truncated toward zero.
    static int valueAt(int x, int width, int minimum, int maximum);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
