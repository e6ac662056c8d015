#include "pages/hubconnections.h"

#include "app/postmsg.h"
#include "pages/buttons/buttoninterface.h"
#include "pages/device/advanced.h"
#include "pages/device/dialog.h"
#include "pages/lighting/lamplight.h"
#include "pages/lighting/ledinfo.h"
#include "pages/sensor/sensor.h"
#include "pages/settings/formsetting.h"

namespace {

template <typename Signal, typename Page, typename Slot>
void blocking(Signal signal, Page *page, Slot slot)
{
    QObject::connect(PostMsg::instance(), signal, page, slot, Qt::BlockingQueuedConnection);
}

} // namespace

// The table: per receiving class, every hub signal that reaches it blocking.
// Emitted off the GUI thread only (a blocking signal emitted on the GUI thread
// would wait for itself). A signal's slots run in the order the pages
// connect, which is the order the device page creates them.

void connectBlockingHub(Advanced *page)
{
    blocking(&PostMsg::SigUpDataLightSensor, page, &Advanced::SlotUpDataSenSorUISensor);
    blocking(&PostMsg::SigForm, page, &Advanced::SlotForm);
    blocking(&PostMsg::SigFormReset, page, &Advanced::SlotFormReset);
    blocking(&PostMsg::SigLongRangeMode, page, &Advanced::SlotLongRangeMode);
}

void connectBlockingHub(Buttoninterface *page)
{
    blocking(&PostMsg::SigUpDataConfigUI, page, &Buttoninterface::SlotUpDataConfigUI);
    blocking(&PostMsg::SigUpDataLightUIButton, page, &Buttoninterface::SlotUpDataButtonUIButton);
    blocking(&PostMsg::SigFormReset, page, &Buttoninterface::SlotFormResetButton);
}

void connectBlockingHub(Dialog *page)
{
    blocking(&PostMsg::SigBattery, page, &Dialog::SlotBattery);
}

void connectBlockingHub(FormSetting *page)
{
    blocking(&PostMsg::SigRGBValue, page, &FormSetting::SlotRGBValue);
    blocking(&PostMsg::SigLongRangeMode, page, &FormSetting::SlotLongRangeMode);
    blocking(&PostMsg::SigForm, page, &FormSetting::SlotForm);
    blocking(&PostMsg::SigFormReset, page, &FormSetting::SlotFormResetForm);
}

void connectBlockingHub(LampLight *page)
{
    blocking(&PostMsg::SigUpDataLightLight, page, &LampLight::SlotUpDataLightUILight);
    blocking(&PostMsg::SigUpDataDPILed, page, &LampLight::SlotUpDataDPILed);
    blocking(&PostMsg::SigRGBValue, page, &LampLight::SlotRGBValue);
    blocking(&PostMsg::SigForm, page, &LampLight::SlotForm);
    blocking(&PostMsg::SigFormReset, page, &LampLight::SlotFormResetLight);
}

void connectBlockingHub(LedInfo *dialog)
{
    blocking(&PostMsg::SigRGBValue, dialog, &LedInfo::SlotRGBValue);
}

void connectBlockingHub(Sensor *page)
{
    blocking(&PostMsg::SigUpDataLightSensor, page, &Sensor::SlotUpDataSenSorUISensor);
    blocking(&PostMsg::SigFormReset, page, &Sensor::SlotFormReset);
    blocking(&PostMsg::SigUpDataReportRate, page, &Sensor::SlotUpDataReportRate);
    blocking(&PostMsg::SigUpDataDPI, page, &Sensor::SlotUpDataDPI);
}
