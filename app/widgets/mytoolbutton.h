#pragma once

#include <QToolButton>

// A tool button that acts on the press itself: a left press checks it and
// emits clicked(false), a left double click checks it and emits
// clicked(true). Other buttons do nothing; it never unchecks itself.
class MyToolButton : public QToolButton
{
    Q_OBJECT

public:
    explicit MyToolButton(QWidget *parent = nullptr);
    ~MyToolButton() override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
