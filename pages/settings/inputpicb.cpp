#include "pages/settings/inputpicb.h"
#include "ui_inputpicb.h"

#include "app/postmsg.h"
#include "pages/settings/screeninfolook.h"

InputPicB::InputPicB(QWidget *parent) : QDialog(parent), ui(new Ui::InputPicB)
{
    ui->setupUi(this);
    pictureGroup = setUpScreenInfo(this, ui.get());
}

InputPicB::~InputPicB() = default;

void InputPicB::SlotAllLanguage(int) {}

void InputPicB::on_CloseButton_clicked()
{
    emit PostMsg::instance()->SigButtonCheck();
    close();
}
