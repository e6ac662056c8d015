#include "app/widgets/myconmbobox.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

MyConmboBox::MyConmboBox(QWidget *parent) : QComboBox(parent) {}

MyConmboBox::~MyConmboBox() = default;

void MyConmboBox::mousePressEvent(QMouseEvent *event)
{
    pressedIndex = currentIndex();
    QComboBox::mousePressEvent(event);
}

void MyConmboBox::paintEvent(QPaintEvent *)
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
        if (option.editable) {
            style()->drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, this);
            return;
        }
    }
    // Draw the text like a push button's label: centred in the edit field.
    QStyleOptionButton label;
    label.initFrom(this);
    label.rect = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    label.text = option.currentText;
    label.icon = option.currentIcon;
    label.iconSize = option.iconSize;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    style()->drawControl(QStyle::CE_PushButtonLabel, &label, &painter, this);
}
