#include "pages/buttons/mylineedit.h"

MyLineEdit::MyLineEdit(QWidget *parent) : QLineEdit(parent) {}

MyLineEdit::~MyLineEdit() = default;

void MyLineEdit::keyPressEvent(QKeyEvent *) {}

void MyLineEdit::keyReleaseEvent(QKeyEvent *) {}
