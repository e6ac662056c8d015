#pragma once

// The real button page on the simulated mouse: the page made as the device
// page makes it (it owns the worker), the mouse opened and set to its
// factory functions (edited by the test), the record sent and shown, and the
// send counters cleared, so a test sees only what it does itself.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/setters.h"
#include "pages/buttons/buttonfunction.h"
#include "pages/buttons/buttoninterface.h"
#include "platform/hidusb/simcontrol.h"
#include "support/pagefixture.h"

#include <QApplication>
#include <QToolButton>

#include <functional>
#include <memory>

namespace buttonpagetest {

inline const QString kMouse = QStringLiteral("mouse");

using pagetest::mouseFlash;

// Records sent to the mouse since the fixture was made.
inline int sends()
{
    int n = 0;
    for (const hidusb::sim::JournalEntry &e : hidusb::sim::journal())
        if (e.function == QLatin1String("ProtocolDataUpdate"))
            ++n;
    return n;
}

struct Fixture
{
    std::unique_ptr<Buttoninterface> page;
    FlashDataMap start{};

    explicit Fixture(const std::function<void(FlashDataMap &)> &edit = {})
    {
        resetDeviceStateForTests();
        loadTextCatalogue();
        // The page makes the worker, which starts with no device named.
        page.reset(new Buttoninterface);
        pagetest::openSimulatedMouse();
        hidusb::sim::factoryReset(kMouse);
        hidusb::sim::flashRecord(kMouse, &start);
        for (int b = 0; b < buttonfn::kButtonCount; ++b)
            start.buttonFunctions[b] = buttonfn::factoryFunction(b);
        if (edit)
            edit(start);
        pagetest::giveMouse(start);
        uiReady = true;
        page->show();
        page->SlotAllLanguage(0);
        page->SlotUpDataButtonUIB(start);
        QApplication::processEvents();
        hidusb::sim::waitIdle();
        hidusb::sim::resetCounters();
        hidusb::sim::setJournalEnabled(true);
        hidusb::sim::clearJournal();
    }
    ~Fixture()
    {
        page.reset();
        uiReady = false;
    }
    template <typename T = QToolButton>
    T *w(const char *name) const
    {
        return page->findChild<T *>(QLatin1String(name));
    }
    QString text(const char *name) const { return w(name)->text(); }
};

} // namespace buttonpagetest
