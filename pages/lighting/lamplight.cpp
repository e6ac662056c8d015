#include "pages/lighting/lamplight.h"
#include "ui_lamplight.h"

#include "app/postmsg.h"
#include "device/devicestate.h"

LampLight::LampLight(QWidget *parent)
    : QWidget(parent), ui(new Ui::LampLight)
{
    ui->setupUi(this);
    PostMsg *hub = PostMsg::instance();
    connect(hub, SIGNAL(SigUpDataLightLight(FlashDataMap)), this, SLOT(SlotUpDataLightUILight(FlashDataMap)),
            Qt::BlockingQueuedConnection);
    connect(hub, SIGNAL(SigUpDataLightUIA(FlashDataMap)), this, SLOT(SlotUpDataLightUIA(FlashDataMap)));
    connect(hub, SIGNAL(SigFormReset()), this, SLOT(SlotFormResetLight()), Qt::BlockingQueuedConnection);
    connect(hub, SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(SlotUpDataDPILed(FlashDataMap)),
            Qt::BlockingQueuedConnection);
    connect(hub, SIGNAL(SigRGBValue(DongleRGB*)), this, SLOT(SlotRGBValue(DongleRGB*)), Qt::BlockingQueuedConnection);
    connect(hub, SIGNAL(SigForm()), this, SLOT(SlotForm()), Qt::BlockingQueuedConnection);
    connect(hub, SIGNAL(SigFormB()), this, SLOT(SlotFormB()));
    connect(hub, SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
}

LampLight::~LampLight()
{
    delete ui;
}

void LampLight::SlotUpDataLightUILight(FlashDataMap)
{
    lightPageRefreshed = false;
    lightPageRefreshing = true;
    lightPageRefreshing = false;
    lightPageRefreshed = true;
}

void LampLight::SlotUpDataLightUIA(FlashDataMap)
{
    lightPageRefreshing = true;
    lightPageRefreshing = false;
}

void LampLight::SlotFormResetLight()
{
    lightPageRefreshing = true;
    lightPageRefreshing = false;
}

void LampLight::SlotAllLanguage(int) {}
void LampLight::SlotUpDataDPILed(FlashDataMap) {}
void LampLight::SlotRGBValue(DongleRGB *) {}
void LampLight::SlotForm() {}
void LampLight::SlotFormB() {}
