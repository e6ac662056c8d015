#include "pages/settings/inputpicb.h"
#include "ui_inputpicb.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "pages/settings/screeninfolook.h"

#include <QButtonGroup>

InputPicB::InputPicB(QWidget *parent) : QDialog(parent), ui(new Ui::InputPicB)
{
    ui->setupUi(this);
    pictureGroup = new QButtonGroup(this);
    for (QAbstractButton *slot : {ui->toolButtonA, ui->toolButtonB, ui->toolButtonC, ui->toolButtonD})
        pictureGroup->addButton(slot);
    pictureGroup->setExclusive(true);

    pictureDir = look::pictureDir(QStringLiteral("ScreeInfo"));
    styleScreenInfo(this,
                    {ui->InputPicAFrame,
                     {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_7},
                     {ui->toolButtonA, ui->toolButtonB, ui->toolButtonC, ui->toolButtonD},
                     {ui->Input, ui->Output},
                     ui->CheckButton,
                     ui->SpeedH,
                     ui->CloseButton},
                    pictureDir);
}

InputPicB::~InputPicB() = default;

void InputPicB::SlotAllLanguage(int) {}

void InputPicB::on_CloseButton_clicked()
{
    emit PostMsg::instance()->SigButtonCheck();
    close();
}
