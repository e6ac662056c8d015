#include "device/pagelink.h"

#include "app/postmsg.h"
#include "platform/hidusb/hidusb.h"

#include <cstring>
#include <functional>

namespace {

// A page's two flags: refilling now, and refilled from device data.
struct PageFlags
{
    std::atomic<bool> &refreshing;
    std::atomic<bool> &refreshed;
};

PageFlags flagsOf(PageRefill::Page page)
{
    switch (page) {
    case PageRefill::ButtonPage:
        return {buttonPageRefreshing, buttonPageRefreshed};
    case PageRefill::LightPage:
        return {lightPageRefreshing, lightPageRefreshed};
    case PageRefill::SensorPage:
        break;
    }
    return {sensorPageRefreshing, sensorPageRefreshed};
}

// The one fan-out. `next` gives the record for each signal in turn.
void refill(RefillSource source, const std::function<FlashDataMap()> &next)
{
    PostMsg *hub = PostMsg::instance();
    if (source == RefillSource::DeviceData) {
        lightPageRefreshed = false;
        sensorPageRefreshed = false;
        buttonPageRefreshed = false;
        emit hub->SigUpDataLightUIButton(next());
        emit hub->SigUpDataLightLight(next());
        emit hub->SigUpDataLightSensor(next());
        emit hub->SigForm();
        return;
    }
    // The loaded-record signals reach their pages directly: they must be
    // emitted on the GUI thread.
    runOnGuiThread([&] {
        emit hub->SigUpDataLightUIA(next());
        emit hub->SigUpDataSensorUIB(next());
        emit hub->SigUpDataButtonUIC(next());
        emit hub->SigFormB();
    });
}

} // namespace

void refillPages(RefillSource source, const FlashDataMap &record)
{
    refill(source, [&] { return record; });
}

void refillPagesFromCurrentRecord()
{
    refill(RefillSource::DeviceData, [] {
        FlashDataMap copy;
        runOnGuiThread([&] { std::memcpy(&copy, &currentFlashData, sizeof copy); });
        return copy;
    });
}

void resetPages()
{
    emit PostMsg::instance()->SigFormReset();
}

PageRefill::PageRefill(Page page, Refreshed refreshed)
    : m_refreshing(flagsOf(page).refreshing), m_refreshed(flagsOf(page).refreshed), m_mode(refreshed),
      m_wasRefreshing(m_refreshing.exchange(true))
{
    if (m_mode != Untouched)
        m_refreshed = false;
}

PageRefill::~PageRefill()
{
    if (m_mode == WhenDone)
        m_refreshed = true;
    m_refreshing = m_wasRefreshing;
}

bool PageRefill::running(Page page)
{
    return flagsOf(page).refreshing;
}

void readReceiverLights()
{
    const quint64 attach = currentAttach().number;
    LedBarMode bar = *receiverLedBar;
    if (UsbFinderC_GetDongleRGBBarMode(currentDevicePath, &bar)) {
        *receiverLedBar = bar;
        markReceiverRecordRead(ReceiverRecord::LightBar, attach);
    }
    DongleIndicatorLeds leds = *receiverIndicatorLeds;
    if (UsbFinderC_GetDongleIndicatorLed(currentDevicePath, &leds)) {
        *receiverIndicatorLeds = leds;
        markReceiverRecordRead(ReceiverRecord::IndicatorLeds, attach);
    }
}
