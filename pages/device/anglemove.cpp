#include "pages/device/anglemove.h"
#include "ui_anglemove.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/advancedvalues.h"
#include "device/devicestate.h"
#include "device/pagelink.h"

int lastSentAngle = 0;

AngleMove::AngleMove(QWidget *parent) : QFrame(parent), ui(new Ui::AngleMove)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Advanced"));

    look::setSheet(ui->TitleButton_4, look::imageSheet(QStringLiteral("#TitleButton_4"), pictureDir,
                                                       look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    look::setSheet(ui->Keydown_6,
                   look::imageSheet(QStringLiteral("QLabel"), pictureDir, look::Images(QStringLiteral("Level.png")),
                                    look::Fit::Stretch, look::rgb(look::Role::Label),
                                    QStringLiteral("background-color: transparent;")));
    for (QLabel *label : {ui->Keydown_3, ui->Keydown_4, ui->Keydown_5, ui->label_7})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(ui->AngleSet, look::sliderSheet(pictureDir, QStringLiteral("HuaKuai.png")));
    look::setSheet(ui->Error_3, look::imageSheet(QStringLiteral("QLabel"), pictureDir,
                                                 look::Images(QStringLiteral("Tips.png")), look::Fit::Stretch));
    // The two pictures paint themselves (the inner one turned), so their
    // images are set as paths rather than as background rules.
    ui->widget->setPixmapPath(pictureDir + QStringLiteral("Back.png"));
    ui->widget_2->setPixmapPath(pictureDir + QStringLiteral("Component.png"));

    connect(PostMsg::instance(), &PostMsg::SigAllLanguage, this, &AngleMove::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
}

AngleMove::~AngleMove() = default;

void AngleMove::SlotAllLanguage(int index)
{
    ui->label_7->setText(catalogueText(QStringLiteral("AdvancedSettings"), QStringLiteral("AngularMode"), index));
    ui->Error_3->setToolTip(
        catalogueText(QStringLiteral("AdvancedSettings"), QStringLiteral("AngularModeTips"), index));
}

void AngleMove::setSliderSilently(int value)
{
    const bool was = ui->AngleSet->blockSignals(true);
    ui->AngleSet->setValue(value);
    ui->AngleSet->blockSignals(was);
}

void AngleMove::enableSlider(bool enabled)
{
    ui->AngleSet->setEnabled(enabled);
}

void AngleMove::setAngleText(const QString &text)
{
    ui->Keydown_6->setText(text);
}

void AngleMove::rotateDial(int degrees)
{
    ui->widget_2->setRotation(degrees);
}

void AngleMove::moveTipIcon(int x, int y)
{
    ui->Error_3->move(x, y);
}

void AngleMove::showAngle(int degrees)
{
    ui->widget_2->setRotation(degrees);
    ui->Keydown_6->setText(advanced::angleText(degrees));
}

void AngleMove::on_AngleSet_sliderMoved(int position)
{
    // The slider does not track: a drag only shows where it would land.
    showAngle(position);
}

void AngleMove::on_AngleSet_valueChanged(int value)
{
    showAngle(value);
    if (!ui->AngleSet->isEnabled()) {
        // A slider locked by a refused write keeps the mouse's angle.
        setSliderSilently(lastSentAngle);
        showAngle(lastSentAngle);
        return;
    }
    if (!uiReady || sensorPageRefreshing)
        return;
    const bool sent = sendOrRestore(setAngle(value), ui->AngleSet, [this] {
        ui->AngleSet->setEnabled(false);
        ui->AngleSet->setValue(lastSentAngle);
        showAngle(lastSentAngle);
    });
    if (sent)
        lastSentAngle = value;
}
