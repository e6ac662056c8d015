#include "pages/settings/screeninfolook.h"

#include "app/look.h"
#include "platform/dialogflags.h"

#include <QColor>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

void styleScreenInfo(QDialog *dialog, const ScreenInfoParts &parts, const QString &pictureDir)
{
    dialog->setWindowFlags(dialogWindowFlags());
    const QString buttonColor = look::rgb(look::Role::Button);
    look::setSheet(parts.frame, look::imageSheet(QStringLiteral("#InputPicAFrame"), pictureDir,
                                                 {QStringLiteral("Back.png")}, look::Fit::Centre));
    for (QLabel *label : parts.labels)
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    for (QToolButton *slot : parts.pictureSlots)
        look::setSheet(slot, look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                              look::Images(QStringLiteral("Pic.png"), QString(), QString(),
                                                           QStringLiteral("PicHover.png")),
                                              look::Fit::Stretch, buttonColor));
    for (QToolButton *button : parts.fileButtons)
        look::setSheet(button,
                       look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                        look::Images(QStringLiteral("Button.png"), QStringLiteral("ButtonHover.png")),
                                        look::Fit::Stretch, buttonColor));
    look::setSheet(parts.screenSwitch, look::imageSheet(QStringLiteral("#CheckButton"), pictureDir,
                                                        look::Images(QStringLiteral("Close.png"), QString(), QString(),
                                                                     QStringLiteral("Open.png")),
                                                        look::Fit::Centre, look::rgb(QColor(Qt::white))));
    look::setSheet(parts.brightness,
                   look::sliderSheet(pictureDir, QStringLiteral("Slider.png"), look::Role::Slider, 1));
    look::setSheet(parts.closeButton,
                   look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                    look::Images(QStringLiteral("CloseButton.png"), QStringLiteral("CloseHover.png"),
                                                 QStringLiteral("CloseClick.png"))));
    look::scaleToScreen(dialog);
}

QString screenInfoPictureDir()
{
    return look::pictureDir(QStringLiteral("ScreeInfo"));
}
