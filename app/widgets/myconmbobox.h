#pragma once

#include <QComboBox>

// A combo box that remembers its index at the moment of the last mouse
// press (so a change that could not be sent can be put back) and draws its
// text centred in the field.
class MyConmboBox : public QComboBox
{
public:
    explicit MyConmboBox(QWidget *parent = nullptr);
    ~MyConmboBox() override;

    // currentIndex() at the last mouse press; 0 before the first.
    int pressedIndex = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
