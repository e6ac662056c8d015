#pragma once

// The sensor page on the simulated mouse, as the program has it after a
// device was chosen and its configuration read: the default scenario's
// mouse (model Drive1, sensor 3950, on an 8000 Hz receiver) opened as the
// device page tests open it, a known record in its flash and in
// currentFlashData, and the page refilled from it. Used
// by the sensor page tests and the sensor benchmark.

#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/dpicodec.h"
#include "device/setters.h"
#include "pages/sensor/sensor.h"
#include "platform/hidusb/hidusb.h"
#include "platform/hidusb/simcontrol.h"
#include "support/pagefixture.h"

#include <QApplication>
#include <QString>

#include <cstring>
#include <memory>

namespace sensortest {

// The DPI of each stage of the start record and its colour (r, g, b).
constexpr int kStartDpi[8] = {400, 800, 1600, 3200, 6400, 12000, 20000, 30000};
inline int startColour(int stage, int channel)
{
    return (stage * 30 + channel * 70 + 5) & 0xFF;
}

// A record every control of the page shows something definite from: 1000 Hz,
// eight stages with stage 1 active, 1 mm, every switch off, performance off
// with 60 s, sensor mode LP.
inline FlashDataMap startRecord(int activeStage = 1, int stageCount = 8)
{
    FlashDataMap record;
    hidusb::sim::flashRecord(QStringLiteral("mouse"), &record);
    record.reportRate = 1;
    record.dpiStageCount = quint8(stageCount);
    record.activeDpiStage = quint8(activeStage);
    record.liftOffDistance = 1;
    record.motionSync = 0;
    record.straightLine = 0;
    record.rippleControl = 0;
    record.performance = 0;
    record.performanceTime = 6;
    record.modelChoose = 0;
    DpiRange range;
    range.parse({"50", "10000", "50", "10100", "30000", "100", "22"});
    for (int k = 0; k < 8; ++k) {
        const DpiCode c = encodeStageDpi(SensorTable(), range, QStringLiteral("3950"), kStartDpi[k], 0);
        DpiStage &s = record.dpiStages[k];
        s.xCode = s.yCode = quint8(c.code);
        s.codeFlags = quint8(c.flags);
        s.red = quint8(startColour(k, 0));
        s.green = quint8(startColour(k, 1));
        s.blue = quint8(startColour(k, 2));
    }
    return record;
}

using pagetest::giveMouse;
using pagetest::mouseFlash;

// The page, shown and refilled from the start record, with the mouse
// answering and user changes allowed; the simulator's counters and journal
// start empty.
struct Fixture
{
    std::unique_ptr<Sensor> page;
    FlashDataMap start;

    explicit Fixture(int activeStage = 1, int stageCount = 8, UsbReportCallback report = pagetest::ignoreReport)
    {
        resetDeviceStateForTests();
        loadTextCatalogue();
        pagetest::openSimulatedMouse(report);
        hidusb::sim::factoryReset(QStringLiteral("mouse"));
        start = startRecord(activeStage, stageCount);
        giveMouse(start);
        uiReady = true;
        page.reset(new Sensor);
        page->show();
        page->SlotUpDataSenSorUISensor(start);
        pagetest::settle();
    }
    ~Fixture()
    {
        page.reset();
        pagetest::closeSimulatedMouse();
    }

    template <typename T>
    T *find(const char *name) const
    {
        return page->findChild<T *>(QLatin1String(name));
    }
};

} // namespace sensortest
