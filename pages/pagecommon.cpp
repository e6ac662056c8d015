#include "pages/pagecommon.h"

#include "app/configini.h"
#include "app/textcatalogue.h"
#include "platform/dialogflags.h"
#include "platform/screen.h"

#include <QCoreApplication>
#include <QDialog>
#include <QWidget>

QString pageText(const QString &section, const QString &key, int index)
{
    return catalogueText(section, key, index);
}

QString themeRgb(const QString &key)
{
    const QStringList items = ConfigIni::instance()->valueList(QStringLiteral("Option"), key);
    QStringList rgb;
    for (int i = 0; i < 3; ++i)
        rgb << (i < items.size() ? items.at(i).trimmed() : QStringLiteral("0"));
    return rgb.join(QLatin1Char(','));
}

QString pictureFolder(const QString &folder)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Picture/") + folder + QLatin1Char('/');
}

void applyNoticeFlags(QDialog *dialog)
{
    dialog->setWindowFlags(dialogWindowFlags());
}

namespace {

void scaleTree(QWidget *widget, float factor)
{
    QFont font = widget->font();
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * factor);
        widget->setFont(font);
    }
    for (QObject *child : widget->children())
        if (auto *childWidget = qobject_cast<QWidget *>(child))
            scaleTree(childWidget, factor);
}

} // namespace

void scaleFontsForScreen(QWidget *widget)
{
    const float factor = screen::fontFactor();
    if (factor != 1.0f)
        scaleTree(widget, factor);
}

