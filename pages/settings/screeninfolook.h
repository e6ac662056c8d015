#pragma once

#include <QList>
#include <QString>

class QDialog;
class QFrame;
class QLabel;
class QSlider;
class QToolButton;

// The parts the two screen-information layouts share, styled the same way.
struct ScreenInfoParts
{
    QFrame *frame;
    QList<QLabel *> labels;
    QList<QToolButton *> pictureSlots;
    QList<QToolButton *> fileButtons;
    QToolButton *screenSwitch;
    QSlider *brightness;
    QToolButton *closeButton;
};

// Window flags, style sheets from `pictureDir` and the theme, fonts scaled
// to the screen.
void styleScreenInfo(QDialog *dialog, const ScreenInfoParts &parts, const QString &pictureDir);
