#include "app/fontscale.h"

#include <QFont>
#include <QToolTip>
#include <QVector>
#include <QWidget>

namespace {

void collect(QWidget *widget, QVector<QPair<QWidget *, QFont>> &out)
{
    out.append(qMakePair(widget, widget->font()));
    for (QObject *child : widget->children()) {
        if (child->isWidgetType())
            collect(static_cast<QWidget *>(child), out);
    }
}

void scaleTree(QWidget *widget, float factor, bool namedRules)
{
    if (!widget)
        return;
    QVector<QPair<QWidget *, QFont>> fonts;
    collect(widget, fonts);
    for (auto &entry : fonts) {
        QFont font = entry.second;
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * factor);
        else if (font.pixelSize() > 0)
            font.setPixelSize(qMax(1, qRound(font.pixelSize() * factor)));
        const QString name = entry.first->objectName();
        if (!namedRules || name != QLatin1String("Receive_2"))
            entry.first->setFont(font);
        if (namedRules && name == QLatin1String("NoApear"))
            QToolTip::setFont(font);
    }
}

} // namespace

void scaleFonts(QWidget *widget, float factor)
{
    scaleTree(widget, factor, true);
}

void scaleChildren(QWidget *widget, float factor)
{
    scaleTree(widget, factor, false);
}
