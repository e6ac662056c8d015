#pragma once

#include <QPushButton>

// A link-like push button: the pointer becomes a pointing hand while it is
// over the button, so the user sees that the text can be clicked.
class MyButton : public QPushButton
{
public:
    explicit MyButton(QWidget *parent = nullptr);
    ~MyButton() override;

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
};
