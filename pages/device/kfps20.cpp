#include "pages/device/kfps20.h"
#include "ui_kfps20.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/pagelink.h"

KFPS20::KFPS20(QWidget *parent) : QFrame(parent), ui(new Ui::KFPS20)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Advanced"));
    look::setSheet(ui->TitleButton_2, look::imageSheet(QStringLiteral("#TitleButton_2"), pictureDir,
                                                       look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    look::setSheet(ui->label_3, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(ui->KFPS, look::imageSheet(QStringLiteral("#KFPS"), pictureDir,
                                              look::Images(QStringLiteral("Close.png"), QString(), QString(),
                                                           QStringLiteral("Open.png"))));
    look::setSheet(ui->Error_2, look::imageSheet(QStringLiteral("QLabel"), pictureDir,
                                                 look::Images(QStringLiteral("Tips.png")), look::Fit::Stretch));
    connect(PostMsg::instance(), &PostMsg::SigAllLanguage, this, &KFPS20::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
}

KFPS20::~KFPS20() = default;

void KFPS20::SlotAllLanguage(int index)
{
    ui->label_3->setText(catalogueText(QStringLiteral("AdvancedSettings"), QStringLiteral("scanningTitle"), index));
    ui->Error_2->setToolTip(catalogueText(QStringLiteral("AdvancedSettings"), QStringLiteral("scanningTips"), index));
}

void KFPS20::setSwitchChecked(bool on)
{
    ui->KFPS->setChecked(on);
}

bool KFPS20::switchChecked() const
{
    return ui->KFPS->isChecked();
}

void KFPS20::moveTipIcon(int x, int y)
{
    ui->Error_2->move(x, y);
}

void KFPS20::on_KFPS_clicked(bool checked)
{
    sendOrRestore(set20KOpen(checked ? 1 : 0), ui->KFPS, &QToolButton::setChecked, !checked);
}
