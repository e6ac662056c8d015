#include "pages/device/longmode.h"
#include "ui_longmode.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/pagelink.h"

LongMode::LongMode(QWidget *parent) : QFrame(parent), ui(new Ui::LongMode)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Advanced"));
    look::setSheet(ui->TitleButton_3, look::imageSheet(QStringLiteral("#TitleButton_3"), pictureDir,
                                                       look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    look::setSheet(ui->label_5, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(ui->label_6, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(ui->checkBox, look::checkBoxSheet(pictureDir, QStringLiteral("CheckBoxChecked.png"),
                                                     QStringLiteral("CheckBox.png")));
    connect(PostMsg::instance(), &PostMsg::SigAllLanguage, this, &LongMode::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
}

LongMode::~LongMode() = default;

void LongMode::SlotAllLanguage(int index)
{
    ui->label_5->setText(catalogueText(QStringLiteral("AdvancedSettings"), QStringLiteral("LongDistance"), index));
    ui->label_6->setText(catalogueText(QStringLiteral("AdvancedSettings"), QStringLiteral("LongDistanceTips"), index));
}

void LongMode::setBoxChecked(bool on)
{
    const bool was = ui->checkBox->blockSignals(true);
    ui->checkBox->setChecked(on);
    ui->checkBox->blockSignals(was);
}

bool LongMode::boxChecked() const
{
    return ui->checkBox->isChecked();
}

void LongMode::on_checkBox_toggled(bool checked)
{
    if (!uiReady)
        return;
    sendOrRestore(setLongRangeMode(checked), ui->checkBox, &QCheckBox::setChecked, !checked);
}
