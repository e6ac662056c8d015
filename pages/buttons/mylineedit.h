#pragma once

#include <QLineEdit>

// The key field of the key-combination dialog. Typing never edits it and no
// key travels on to the dialog while it has the focus: the dialog fills it
// from the keyboard capture. Its context menu (paste, delete, undo, select
// all) still works.
class MyLineEdit : public QLineEdit
{
public:
    explicit MyLineEdit(QWidget *parent = nullptr);
    ~MyLineEdit() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};
