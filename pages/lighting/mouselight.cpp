#include "pages/lighting/mouselight.h"
#include "ui_mouselight.h"

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

// Moves a slider while dragging: the mouse is asked at each step, so a
// silent mouse stops the drag at once.
void dragged(QSlider *slider, QSpinBox *box, int position)
{
    if (!slider->isEnabled())
        return;
    // (Disabling the slider only on failure: a disabled slider ends the
    // user's drag.)
    if (uiReady && !checkDeviceOnline()) {
        const QSignalBlocker block(slider);
        slider->setEnabled(false);
        slider->setValue(box->value());
        return;
    }
    box->setValue(position);
}

// A released slider: the device keeps 0..9 for the positions 1..10. A refused
// write puts the slider back to its box and leaves it disabled until the
// page shows device data again.
void released(QSlider *slider, QSpinBox *box, int value, bool (*setter)(int))
{
    if (!slider->isEnabled()) {
        const QSignalBlocker block(slider);
        slider->setValue(box->value());
        return;
    }
    if (!mayWrite())
        return;
    if (sendOrRestore(setter(value - 1), slider, [&] {
            slider->setEnabled(false);
            slider->setValue(box->value());
        }))
        box->setValue(value);
}

} // namespace

MouseLight::MouseLight(QWidget *parent) : QFrame(parent), ui(new Ui::MouseLight)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Light"));
    ui->line->hide();
    ui->line_2->hide();

    const auto w = lighting::ColourEditor::widgetsOf(this, QStringLiteral(""), "label_7", "labelPreView");
    m_colour = new lighting::ColourEditor(
        this, w, [](const QColor &c) { return !mayWrite() || setMouseLightColor(c.red(), c.green(), c.blue()); },
        [] { return !uiReady || checkDeviceOnline() || lightPageRefreshing; },
        [] {
            const LedBarMode &held = currentFlashData.mouseLight;
            return QColor(held.red, held.green, held.blue);
        });

    applyLayout(ui->LightMod->currentIndex());

    lighting::styleModeList(ui->LightMod, pictureDir);
    for (QWidget *label : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_6, ui->label_8, ui->label_13,
                           ui->label_11, ui->label_10, ui->label_12})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    lighting::styleValueBox(ui->LightSpinBox_2);
    lighting::styleValueBox(ui->SpeedSpinBox_2);
    lighting::styleSlider(ui->horizontalLight, pictureDir);
    lighting::styleSlider(ui->horizontalSpeed, pictureDir);
    look::setSheet(ui->RippeControl, look::imageSheet(QStringLiteral("#RippeControl"), pictureDir,
                                                      look::Images(QStringLiteral("Close.png"), QString(), QString(),
                                                                   QStringLiteral("Open.png"))));
    look::setSheet(ui->TitleButton_4, look::imageSheet(QStringLiteral("#TitleButton_4"), pictureDir,
                                                       look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    m_colour->style(pictureDir);

    connect(PostMsg::instance(), &PostMsg::SigAllLanguage, this, &MouseLight::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
}

MouseLight::~MouseLight() = default;

void MouseLight::applyLayout(int index)
{
    lighting::showModeLayout(index, {{ui->horizontalLight, ui->LightSpinBox_2},
                                     ui->line,
                                     {ui->horizontalSpeed, ui->SpeedSpinBox_2},
                                     ui->line_2,
                                     m_colour->controls()
                                         + QList<QWidget *>{ui->label_6, ui->label_8, ui->label_11, ui->label_10,
                                                            ui->label_12, ui->label_13}});
}

void MouseLight::setValueSignalsBlocked(bool blocked)
{
    ui->horizontalLight->blockSignals(blocked);
    ui->horizontalSpeed->blockSignals(blocked);
    m_colour->setBoxSignalsBlocked(blocked);
}

void MouseLight::setSlidersEnabled(bool on)
{
    ui->horizontalLight->setEnabled(on);
    ui->horizontalSpeed->setEnabled(on);
}

void MouseLight::selectMode(int index)
{
    {
        const QSignalBlocker block(ui->LightMod);
        ui->LightMod->setCurrentIndex(index);
    }
    applyLayout(index);
}

void MouseLight::setBrightnessSlider(int value)
{
    ui->horizontalLight->setValue(value);
}

void MouseLight::showBrightnessValue(int value)
{
    ui->LightSpinBox_2->setValue(value);
}

void MouseLight::setSpeedSlider(int value)
{
    ui->horizontalSpeed->setValue(value);
}

void MouseLight::showSpeedValue(int value)
{
    ui->SpeedSpinBox_2->setValue(value);
}

void MouseLight::showColor(int red, int green, int blue)
{
    m_colour->showColour(QColor(qBound(0, red, 255), qBound(0, green, 255), qBound(0, blue, 255)));
}

void MouseLight::showLightOffWhenMoving(bool on)
{
    const QSignalBlocker block(ui->RippeControl);
    ui->RippeControl->setChecked(on);
}

void MouseLight::on_LightMod_currentIndexChanged(int index)
{
    if (mayWrite()) {
        if (!sendOrRestore(setMouseLightMode(index), ui->LightMod, &QComboBox::setCurrentIndex, lastMouseLightMode))
            return;
        lastMouseLightMode = index;
        // A light that is off has nothing to switch off while moving.
        if (index == 0 && ui->RippeControl->isChecked()) {
            ui->RippeControl->setChecked(false);
            sendOrRestore(setLightOffWhenMoving(0), ui->RippeControl, &QToolButton::setChecked, true);
        }
    }
    applyLayout(index);
}

void MouseLight::on_horizontalLight_sliderMoved(int position)
{
    dragged(ui->horizontalLight, ui->LightSpinBox_2, position);
}

void MouseLight::on_horizontalLight_valueChanged(int value)
{
    released(ui->horizontalLight, ui->LightSpinBox_2, value, &setMouseLightBrightness);
}

void MouseLight::on_horizontalSpeed_sliderMoved(int position)
{
    dragged(ui->horizontalSpeed, ui->SpeedSpinBox_2, position);
}

void MouseLight::on_horizontalSpeed_valueChanged(int value)
{
    released(ui->horizontalSpeed, ui->SpeedSpinBox_2, value, &setMouseLightSpeed);
}

void MouseLight::on_RippeControl_clicked(bool checked)
{
    if (!mayWrite())
        return;
    sendOrRestore(setLightOffWhenMoving(checked ? 1 : 0), ui->RippeControl, &QToolButton::setChecked, !checked);
}

void MouseLight::mousePressEvent(QMouseEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return;
    m_colour->press(event->pos(), {ui->LightSpinBox_2, ui->SpeedSpinBox_2});
}

void MouseLight::SlotAllLanguage(int index)
{
    const QString light = QStringLiteral("light");
    ui->label->setText(catalogueText(light, QStringLiteral("LightMode"), index));
    ui->label_2->setText(catalogueText(light, QStringLiteral("Brightness"), index));
    ui->label_3->setText(catalogueText(light, QStringLiteral("Speed"), index));
    ui->label_4->setText(catalogueText(light, QStringLiteral("MovingOffLight"), index));
    ui->label_6->setText(catalogueText(light, QStringLiteral("Preview"), index));
    ui->label_8->setText(catalogueText(light, QStringLiteral("CustomColor"), index));
    ui->label_13->setText(catalogueText(light, QStringLiteral("Preset"), index));
    for (int item = 0; item < ui->LightMod->count(); ++item)
        ui->LightMod->setItemText(item,
                                  catalogueOption(QStringLiteral("LightModeOptions"), QString::number(item), index));
    ui->label_11->setText(QStringLiteral("R:"));
    ui->label_10->setText(QStringLiteral("G:"));
    ui->label_12->setText(QStringLiteral("B:"));
}
