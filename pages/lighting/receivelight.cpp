#include "pages/lighting/receivelight.h"
#include "ui_receivelight.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/lightstate.h"
#include "device/pagelink.h"
#include "pages/lighting/lighteditor.h"

#include <QMouseEvent>
#include <QSignalBlocker>

namespace {

bool mayWrite()
{
    return uiReady && !lightPageRefreshing;
}

// A released slider (positions 1..10, the receiver keeps 0..9). A refused
// write puts the slider and its box back to the last confirmed position.
void released(QSlider *slider, QSpinBox *box, int value, bool (*setter)(int), int &confirmed)
{
    box->setValue(value);
    if (!mayWrite())
        return;
    if (sendOrRestore(setter(value - 1), {slider, box}, [&] {
            slider->setValue(confirmed);
            box->setValue(confirmed);
        }))
        confirmed = value;
}

} // namespace

ReceiveLight::ReceiveLight(QWidget *parent) : QFrame(parent), ui(new Ui::ReceiveLight)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Light"));
    ui->line_3->hide();
    ui->line_4->hide();

    const auto w = lighting::ColourEditor::widgetsOf(this, QStringLiteral("_2"), "label_24", "labelPreView_2");
    m_colour = new lighting::ColourEditor(
        this, w, [](const QColor &c) { return !mayWrite() || setReceiverLightColor(c.red(), c.green(), c.blue()); },
        [] { return !uiReady || checkDeviceOnline() || lightPageRefreshing; },
        [] { return QColor(receiverLedBar->red, receiverLedBar->green, receiverLedBar->blue); });

    lighting::styleModeList(ui->LightMod_2, pictureDir);
    for (QWidget *label : {ui->label_9, ui->label_14, ui->label_15, ui->label_23, ui->label_18, ui->label_20,
                           ui->label_19, ui->label_21, ui->label_22})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    lighting::styleValueBox(ui->LightSpinBox_3);
    lighting::styleValueBox(ui->SpeedSpinBox_3);
    lighting::styleSlider(ui->horizontalLight_2, pictureDir);
    lighting::styleSlider(ui->horizontalSpeed_2, pictureDir);
    look::setSheet(ui->TitleButton_5, look::imageSheet(QStringLiteral("#TitleButton_5"), pictureDir,
                                                       look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    m_colour->style(pictureDir);
    applyLayout(ui->LightMod_2->currentIndex());

    connect(PostMsg::instance(), &PostMsg::SigAllLanguage, this, &ReceiveLight::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
}

ReceiveLight::~ReceiveLight() = default;

void ReceiveLight::applyLayout(int index)
{
    lighting::showModeLayout(index, {{ui->horizontalLight_2, ui->LightSpinBox_3},
                                     ui->line_3,
                                     {ui->horizontalSpeed_2, ui->SpeedSpinBox_3},
                                     ui->line_4,
                                     m_colour->controls()
                                         + QList<QWidget *>{ui->label_23, ui->label_18, ui->label_20, ui->label_19,
                                                            ui->label_21, ui->label_22}});
}

void ReceiveLight::setValueSignalsBlocked(bool blocked)
{
    ui->horizontalLight_2->blockSignals(blocked);
    ui->horizontalSpeed_2->blockSignals(blocked);
    m_colour->setBoxSignalsBlocked(blocked);
}

void ReceiveLight::selectMode(int index)
{
    {
        const QSignalBlocker block(ui->LightMod_2);
        ui->LightMod_2->setCurrentIndex(index);
    }
    applyLayout(index);
}

void ReceiveLight::setBrightnessSlider(int value)
{
    ui->horizontalLight_2->setValue(value);
}

void ReceiveLight::setSpeedSlider(int value)
{
    ui->horizontalSpeed_2->setValue(value);
}

void ReceiveLight::showBrightnessValue(int value)
{
    ui->LightSpinBox_3->setValue(value);
}

void ReceiveLight::showSpeedValue(int value)
{
    ui->SpeedSpinBox_3->setValue(value);
}

void ReceiveLight::showColor(int red, int green, int blue)
{
    m_colour->showColour(QColor(qBound(0, red, 255), qBound(0, green, 255), qBound(0, blue, 255)));
}

void ReceiveLight::setSlidersEnabled(bool on)
{
    ui->horizontalLight_2->setEnabled(on);
    ui->horizontalSpeed_2->setEnabled(on);
}

void ReceiveLight::on_LightMod_2_currentIndexChanged(int index)
{
    if (mayWrite()) {
        if (!sendOrRestore(setReceiverLightMode(index), ui->LightMod_2, &QComboBox::setCurrentIndex,
                           lastReceiverLightMode))
            return;
        lastReceiverLightMode = index;
    }
    applyLayout(index);
}

void ReceiveLight::on_horizontalLight_2_sliderMoved(int position)
{
    ui->LightSpinBox_3->setValue(position);
}

void ReceiveLight::on_horizontalLight_2_valueChanged(int value)
{
    released(ui->horizontalLight_2, ui->LightSpinBox_3, value, &setReceiverLightBrightness, lastReceiverBrightness);
}

void ReceiveLight::on_horizontalSpeed_2_sliderMoved(int position)
{
    ui->SpeedSpinBox_3->setValue(position);
}

void ReceiveLight::on_horizontalSpeed_2_valueChanged(int value)
{
    released(ui->horizontalSpeed_2, ui->SpeedSpinBox_3, value, &setReceiverLightSpeed, lastReceiverSpeed);
}

void ReceiveLight::mousePressEvent(QMouseEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return;
    m_colour->press(event->pos(), {ui->LightSpinBox_3, ui->SpeedSpinBox_3});
}

void ReceiveLight::SlotAllLanguage(int index)
{
    const QString light = QStringLiteral("light");
    for (int item = 0; item < ui->LightMod_2->count(); ++item)
        ui->LightMod_2->setItemText(item,
                                    catalogueOption(QStringLiteral("LightModeOptions"), QString::number(item), index));
    ui->label_9->setText(catalogueText(light, QStringLiteral("receiverLight"), index));
    ui->label_14->setText(catalogueText(light, QStringLiteral("Brightness"), index));
    ui->label_15->setText(catalogueText(light, QStringLiteral("Speed"), index));
    ui->label_23->setText(catalogueText(light, QStringLiteral("Preview"), index));
    ui->label_18->setText(catalogueText(light, QStringLiteral("CustomColor"), index));
    ui->label_22->setText(catalogueText(light, QStringLiteral("Preset"), index));
}
