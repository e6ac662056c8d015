#include "pages/lighting/lamplight.h"
#include "ui_lamplight.h"

#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/pagelink.h"
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
    PageRefill refill(PageRefill::LightPage, PageRefill::WhenDone);
}

void LampLight::SlotUpDataLightUIA(FlashDataMap)
{
    PageRefill refill(PageRefill::LightPage, PageRefill::Cleared);
}

void LampLight::SlotFormResetLight()
{
    PageRefill refill(PageRefill::LightPage);
}

void LampLight::SlotAllLanguage(int) {}
void LampLight::SlotUpDataDPILed(FlashDataMap) {}
void LampLight::SlotRGBValue(DongleRGB *) {}
void LampLight::SlotForm() {}
void LampLight::SlotFormB() {}
