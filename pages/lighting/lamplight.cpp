#include "pages/lighting/lamplight.h"
#include "ui_lamplight.h"

#include "app/postmsg.h"
#include "device/devicestate.h"
#include "pages/hubconnections.h"

LampLight::LampLight(QWidget *parent)
    : QWidget(parent), ui(new Ui::LampLight)
{
    ui->setupUi(this);
    PostMsg *hub = PostMsg::instance();
    connectBlockingHub(this);
    connect(hub, &PostMsg::SigUpDataLightUIA, this, &LampLight::SlotUpDataLightUIA);
    connect(hub, &PostMsg::SigFormB, this, &LampLight::SlotFormB);
    connect(hub, &PostMsg::SigAllLanguage, this, &LampLight::SlotAllLanguage);
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
