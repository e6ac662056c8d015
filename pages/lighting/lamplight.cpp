#include "pages/lighting/lamplight.h"
#include "ui_lamplight.h"

#include "app/configini.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/lightstate.h"
#include "device/pagelink.h"
#include "pages/hubconnections.h"

#include <QTabBar>
#include <QWheelEvent>

LampLight::LampLight(QWidget *parent) : QWidget(parent), ui(new Ui::LampLight)
{
    ui->setupUi(this);
    look::setSheet(ui->tabWidget, look::transparentTabSheet());
    ui->verticalScrollBar->hide();
    ui->tabWidget->tabBar()->hide();
    ui->FrameOneLed->hide();

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigAllLanguage, this, &LampLight::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
    connectBlockingHub(this);
    connect(hub, &PostMsg::SigUpDataLightUIA, this, &LampLight::SlotUpDataLightUIA);
    connect(hub, &PostMsg::SigFormB, this, &LampLight::SlotFormB);
    ui->tabWidget->setCurrentIndex(0);
}

LampLight::~LampLight() = default;

void LampLight::refill(const FlashDataMap &record, Source source)
{
    const bool fromDevice = source == Source::Device;
    ui->FrameMouseLight->setSlidersEnabled(fromDevice);
    // A record loaded from a file is not what the device holds: the page
    // counts as refilling from the start, and stays "not refreshed".
    std::unique_ptr<PageRefill> guard;
    if (!fromDevice)
        guard.reset(new PageRefill(PageRefill::LightPage, PageRefill::Cleared));
    readReceiverLights();
    for (int led = 0; led < 3; ++led)
        confirmedIndicatorLeds[led] = reinterpret_cast<const unsigned char *>(receiverIndicatorLeds)[led];
    ui->FrameThreeLed->showLed1Function(receiverIndicatorLeds->led1Function);
    ui->FrameThreeLed->showLed2Function(receiverIndicatorLeds->led2Function);
    ui->FrameThreeLed->showLed3Function(receiverIndicatorLeds->led3Function);
    if (fromDevice)
        guard.reset(new PageRefill(PageRefill::LightPage, PageRefill::WhenDone));

    showReceiverLight();
    ui->frameEffect->setSlidersEnabled(true);
    ui->frameEffect->enableSliders();
    showDpiLed(record);
    showMouseLight(record);
    // Without an answering mouse (or for a record from a file) the receiver
    // cannot be asked: the LED-information choice shows its usual setting.
    if (!fromDevice || !currentDevice.get().online)
        ui->FrameOneLed->showChoice(1);
}

void LampLight::showReceiverLight()
{
    ReceiveLight *panel = ui->FrameReceiveLight;
    const LedBarMode &bar = *receiverLedBar;
    panel->setValueSignalsBlocked(true);
    panel->setBrightnessSlider(bar.brightness + 1);
    lastReceiverBrightness = qBound(1, bar.brightness + 1, 10);
    panel->setSpeedSlider(bar.speed + 1);
    lastReceiverSpeed = qBound(1, bar.speed + 1, 10);
    panel->showBrightnessValue(bar.brightness + 1);
    panel->showSpeedValue(bar.speed + 1);
    panel->showColor(bar.red, bar.green, bar.blue);
    panel->setValueSignalsBlocked(false);
    const int mode = bar.on ? bar.mode : 0;
    panel->selectMode(mode);
    lastReceiverLightMode = mode;
}

void LampLight::showDpiLed(const FlashDataMap &record)
{
    const DpiLedMode &led = record.dpiLed;
    if (led.on == 0)
        ui->frameEffect->showMode(0);
    else if (led.mode == 1 || led.mode == 2)
        ui->frameEffect->showMode(led.mode);
    ui->frameEffect->showSpeed(led.speed);
    ui->frameEffect->showBrightnessStep(dpiLedBrightnessStep(led.brightness));
}

void LampLight::showMouseLight(const FlashDataMap &record)
{
    MouseLight *panel = ui->FrameMouseLight;
    const LedBarMode &light = record.mouseLight;
    panel->setValueSignalsBlocked(true);
    panel->setBrightnessSlider(light.brightness + 1);
    panel->setSpeedSlider(light.speed + 1);
    panel->showSpeedValue(light.speed + 1);
    panel->showBrightnessValue(light.brightness + 1);
    panel->showColor(light.red, light.green, light.blue);
    panel->setValueSignalsBlocked(false);
    const int mode = light.on ? light.mode : 0;
    panel->selectMode(mode);
    lastMouseLightMode = mode;
    panel->showLightOffWhenMoving(record.lightOffWhenMoving != 0);
}

void LampLight::SlotUpDataLightUILight(FlashDataMap DataMap)
{
    refill(DataMap, Source::Device);
}

void LampLight::SlotUpDataLightUIA(FlashDataMap DataMap)
{
    refill(DataMap, Source::LoadedRecord);
}

void LampLight::SlotUpDataDPILed(FlashDataMap DataMap)
{
    showDpiLed(DataMap);
}

void LampLight::SlotFormResetLight()
{
    PageRefill refill(PageRefill::LightPage);
    MouseLight *mouse = ui->FrameMouseLight;
    ReceiveLight *receiver = ui->FrameReceiveLight;
    mouse->selectMode(1);
    receiver->selectMode(1);
    lastMouseLightMode = 1;
    lastReceiverLightMode = 1;
    // Sliders and their boxes change together, quietly, so they never
    // disagree and nothing is written.
    mouse->setValueSignalsBlocked(true);
    mouse->setBrightnessSlider(10);
    mouse->setSpeedSlider(8);
    mouse->showBrightnessValue(10);
    mouse->showSpeedValue(8);
    mouse->setValueSignalsBlocked(false);
    receiver->setValueSignalsBlocked(true);
    receiver->setBrightnessSlider(10);
    receiver->setSpeedSlider(8);
    receiver->showBrightnessValue(10);
    receiver->showSpeedValue(8);
    receiver->setValueSignalsBlocked(false);
    lastReceiverBrightness = 10;
    lastReceiverSpeed = 8;
    mouse->showLightOffWhenMoving(false);
    ui->FrameOneLed->hide();
    ui->FrameOneLed->showChoice(1);
    ui->frameEffect->showMode(0);
    ui->frameEffect->showSpeed(3);
    ui->frameEffect->showBrightnessStep(5);
    ui->FrameThreeLed->showLed1Function(0);
    ui->FrameThreeLed->showLed2Function(0);
    ui->FrameThreeLed->showLed3Function(0);
    confirmedIndicatorLeds[0] = confirmedIndicatorLeds[1] = confirmedIndicatorLeds[2] = 0;
}

// Whether the open model's receiver has an LED-information choice. A model
// whose list is too short to say is taken as one without it.
static bool modelHasLedInfoChoice()
{
    const QStringList advanced = ConfigIni::instance()->valueList(
        QStringLiteral("Drive%1").arg(currentDevice.get().modelIndex + 1), QStringLiteral("Adveanced"));
    return advanced.size() >= 2 && advanced.at(1) != QLatin1String("-1");
}

void LampLight::SlotRGBValue(DongleRGB *Rgb)
{
    if (!Rgb || !modelHasLedInfoChoice() || currentDevice.get().wired)
        return;
    ui->FrameOneLed->hide();
    // What the receiver announces is shown, not written back to it.
    const int choice = Rgb->ledInfoChoice;
    if (choice >= 1 && choice <= 3)
        ui->FrameOneLed->showChoice(choice - 1);
}

void LampLight::SlotForm()
{
    if (!modelHasLedInfoChoice() || currentDevice.get().wired)
        ui->FrameOneLed->hide();
}

void LampLight::SlotFormB()
{
    SlotForm();
}

void LampLight::SlotAllLanguage(int index)
{
    for (int item = 0; item < 3; ++item)
        ui->frameEffect->setModeItemText(
            item, catalogueOption(QStringLiteral("DPIEffectOptions"), QString::number(item), index));
    const QString light = QStringLiteral("light");
    ui->frameEffect->setTitleText(catalogueText(light, QStringLiteral("DPIEffect"), index));
    ui->frameEffect->setSpeedLabelText(catalogueText(light, QStringLiteral("Speed"), index));
    ui->frameEffect->setBrightnessLabelText(catalogueText(light, QStringLiteral("Brightness"), index));
}

void LampLight::on_StopCloseTime_activated(int index)
{
    static const int kSleepCodes[] = {1, 3, 6, 30, 60, 90, 120, 150, 180, 210, 240};
    if (!uiReady || lightPageRefreshing)
        return;
    if (index < 0 || index >= int(sizeof kSleepCodes / sizeof kSleepCodes[0]))
        return;
    setStopCloseTime(kSleepCodes[index]);
}

void LampLight::wheelEvent(QWheelEvent *event)
{
    // The page does not scroll; a wheel turn over it goes nowhere.
    event->accept();
}
