#pragma once

#include <QAbstractButton>
#include <QButtonGroup>
#include <QList>
#include <QString>

#include <QDialog>
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

QString screenInfoPictureDir();

// Both layouts' forms carry the same object names: one set-up serves them.
// Makes the four picture slots one exclusive group and styles the dialog.
template <class Form>
QButtonGroup *setUpScreenInfo(QDialog *dialog, Form *ui)
{
    auto *pictureGroup = new QButtonGroup(dialog);
    for (QAbstractButton *slot : {ui->toolButtonA, ui->toolButtonB, ui->toolButtonC, ui->toolButtonD})
        pictureGroup->addButton(slot);
    pictureGroup->setExclusive(true);
    styleScreenInfo(dialog,
                    {ui->InputPicAFrame,
                     {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_7},
                     {ui->toolButtonA, ui->toolButtonB, ui->toolButtonC, ui->toolButtonD},
                     {ui->Input, ui->Output},
                     ui->CheckButton,
                     ui->SpeedH,
                     ui->CloseButton},
                    screenInfoPictureDir());
    return pictureGroup;
}
