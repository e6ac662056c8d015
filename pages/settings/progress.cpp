#include "pages/settings/progress.h"
#include "ui_progress.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/firmwarecheck.h"

Progress::Progress(QWidget *parent) : QDialog(parent), ui(new Ui::Progress)
{
    ui->setupUi(this);
    connect(PostMsg::instance(), &PostMsg::SigCloseProgress, this, &Progress::SlotCloseProgress);
    look::NoticeParts parts{ui->AddDelayTimeA, ui->label, ui->CloseButton, {ui->NewHong}};
    // Return confirms only once the button is shown: a hidden button's
    // shortcut does not fire, so a key press cannot end a running upgrade.
    parts.returnButton = ui->NewHong;
    pictureDir = look::setUpNotice(this, parts);
    ui->NewHong->hide();
    showPercent(1);
}

Progress::~Progress() = default;

void Progress::SlotAllLanguage(int index)
{
    ui->NewHong->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("OK"), index));
    upgradingText = catalogueText(QStringLiteral("update"), QStringLiteral("DialogUpgradeUpgrading"), index)
                        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    failText = catalogueText(QStringLiteral("update"), QStringLiteral("DialogUpgradeFail"), index);
    successText = catalogueText(QStringLiteral("update"), QStringLiteral("DialogUpgradeSuccess"), index);
}

void Progress::showPercent(int percent)
{
    ui->label->setText(upgradingText + QStringLiteral(": ") + QString::number(percent) + QLatin1Char('%'));
}

void Progress::SlotProgress(int schedue, int Discrib)
{
    ui->progressBar_2->setValue(schedue);
    switch (Discrib) {
    case 0:
        showPercent(schedue);
        break;
    case 1:
        ui->label->setText(failText);
        ui->NewHong->show();
        break;
    case 2:
        ui->label->setText(successText);
        ui->progressBar_2->setValue(100);
        ui->NewHong->show();
        break;
    case 3:
        ui->NewHong->hide();
        break;
    case 4:
        ui->NewHong->hide();
        showPercent(0);
        ui->progressBar_2->setValue(0);
        break;
    default:
        break;
    }
}

void Progress::SlotCloseProgress()
{
    if (upgradeRunning)
        return;
    close();
    showPercent(0);
    ui->progressBar_2->setValue(0);
}

void Progress::on_CloseButton_clicked()
{
    if (upgradeRunning)
        return;
    closeStep();
}

void Progress::on_NewHong_clicked()
{
    closeStep();
}

void Progress::closeStep()
{
    // After a failure the device is in no state to stay on its page; the
    // repair starts from the device list.
    if (ui->label->text() == failText) {
        emit PostMsg::instance()->SigChangeMainDialog(0);
        close();
        return;
    }
    close();
    showPercent(0);
    ui->progressBar_2->setValue(0);
    emit PostMsg::instance()->SigContinue(0);
}
