#include "pages/lighting/threeled.h"
#include "ui_threeled.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/lightstate.h"
#include "device/pagelink.h"
#include "pages/lighting/lighteditor.h"

#include <QSignalBlocker>

ThreeLed::ThreeLed(QWidget *parent) : QFrame(parent), ui(new Ui::ThreeLed)
{
    ui->setupUi(this);
    ui->label_36->hide();
    pictureDir = look::pictureDir(QStringLiteral("Light"));

    look::setSheet(ui->TitleButton_6, look::imageSheet(QStringLiteral("#TitleButton_6"), pictureDir,
                                                       look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    for (int led = 0; led < 3; ++led)
        lighting::styleModeList(selector(led), pictureDir);
    look::setSheet(ui->label_5,
                   look::imageSheet(QStringLiteral("QLabel"), pictureDir, look::Images(QStringLiteral("Mode1.png"))));
    for (QLabel *bar : {ui->label_30, ui->label_32})
        look::setSheet(
            bar, look::imageSheet(QStringLiteral("QLabel"), pictureDir, look::Images(QStringLiteral("Mode2.png"))));
    look::setSheet(ui->label_34,
                   look::imageSheet(QStringLiteral("QLabel"), pictureDir, look::Images(QStringLiteral("Mode3.png"))));
    for (QLabel *label : {ui->label_17, ui->label_25, ui->label_26, ui->label_27, ui->label_28, ui->label_29,
                          ui->label_31, ui->label_33})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));

    connect(PostMsg::instance(), &PostMsg::SigAllLanguage, this, &ThreeLed::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
}

ThreeLed::~ThreeLed() = default;

QComboBox *ThreeLed::selector(int led) const
{
    return led == 0 ? ui->LightMod_3 : led == 1 ? ui->LightMod_4 : ui->LightMod_5;
}

void ThreeLed::showFunction(int led, int value)
{
    const QSignalBlocker block(selector(led));
    selector(led)->setCurrentIndex(value >= 0 && value < selector(led)->count() ? value : -1);
}

void ThreeLed::showLed1Function(int value)
{
    showFunction(0, value);
}

void ThreeLed::showLed2Function(int value)
{
    showFunction(1, value);
}

void ThreeLed::showLed3Function(int value)
{
    showFunction(2, value);
}

void ThreeLed::chosen(int led, int index)
{
    if (!uiReady || lightPageRefreshing || index < 0)
        return;
    if (!sendOrRestore(setReceiverIndicatorLed(led, index), selector(led), &QComboBox::setCurrentIndex,
                       confirmedIndicatorLeds[led]))
        return;
    confirmedIndicatorLeds[led] = index;
}

void ThreeLed::on_LightMod_3_currentIndexChanged(int index)
{
    chosen(0, index);
}

void ThreeLed::on_LightMod_4_currentIndexChanged(int index)
{
    chosen(1, index);
}

void ThreeLed::on_LightMod_5_currentIndexChanged(int index)
{
    chosen(2, index);
}

void ThreeLed::SlotAllLanguage(int index)
{
    const QString light = QStringLiteral("light");
    const QString list = QStringLiteral("receiverList");
    ui->label_17->setText(catalogueText(light, QStringLiteral("receiver"), index));
    ui->label_28->setText(catalogueText(light, QStringLiteral("PreviewLightsTips"), index));
    // Function v (1..3) is the list's item 4 - v; 0 is off.
    for (int led = 0; led < 3; ++led) {
        for (int function = 0; function < 4; ++function) {
            const int item = function == 0 ? 0 : 4 - function;
            selector(led)->setItemText(function, catalogueOption(list, QString::number(item), index));
        }
    }
    ui->label_29->setText(catalogueOption(list, QStringLiteral("3"), index));
    ui->label_31->setText(catalogueOption(list, QStringLiteral("2"), index));
    ui->label_33->setText(catalogueOption(list, QStringLiteral("1"), index));
    const QString status = QStringLiteral("StatusDescriptionList");
    ui->label_35->setText(catalogueOption(status, QStringLiteral("#42e81b"), index));
    ui->label_37->setText(catalogueOption(status, QStringLiteral("#f5b020"), index));
    ui->label_38->setText(catalogueOption(status, QStringLiteral("#f52c17"), index));
    ui->label_49->setText(catalogueText(light, QStringLiteral("default"), index));
}
