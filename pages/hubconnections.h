#pragma once

// The hub's blocking-queued connections, declared once (the table below).
//
// The report callback and the worker pass emit some hub signals off the GUI
// thread and must wait until the receiving page has taken the data over:
// those signals carry records the event queue cannot copy, and the emitter's
// next step relies on the page being refilled. Each such connection is
// blocking-queued. A page connects all of its class's rows with one call in
// its constructor, connectBlockingHub(this); a class that receives device
// data and has no row does not compile, and no page types a blocking
// connection by hand.
//
// The table names the pages only by declaration: each row's slot is looked
// up when the page's own constructor instantiates it, so this header ties no
// page to any other.

#include "app/postmsg.h"

#include <QObject>

class Advanced;
class Buttoninterface;
class Dialog;
class FormSetting;
class LampLight;
class LedInfo;
class Sensor;

namespace hubrows {

template <typename Signal, typename Page, typename Slot>
void blocking(Signal signal, Page *page, Slot slot)
{
    QObject::connect(PostMsg::instance(), signal, page, slot, Qt::BlockingQueuedConnection);
}

// The rows of one receiving class (specialised below); a class without rows
// has none, and connectBlockingHub does not compile for it.
template <typename Receiver>
struct Rows;

// The table: per receiving class, every hub signal that reaches it blocking.
// Emitted off the GUI thread only (a blocking signal emitted on the GUI thread
// would wait for itself). A signal's slots run in the order the pages
// connect, which is the order the device page creates them.

template <>
struct Rows<Advanced>
{
    template <typename Page>
    static void connect(Page *page)
    {
        blocking(&PostMsg::SigUpDataLightSensor, page, &Page::SlotUpDataSenSorUISensor);
        blocking(&PostMsg::SigForm, page, &Page::SlotForm);
        blocking(&PostMsg::SigFormReset, page, &Page::SlotFormReset);
        blocking(&PostMsg::SigLongRangeMode, page, &Page::SlotLongRangeMode);
    }
};

template <>
struct Rows<Buttoninterface>
{
    template <typename Page>
    static void connect(Page *page)
    {
        blocking(&PostMsg::SigUpDataConfigUI, page, &Page::SlotUpDataConfigUI);
        blocking(&PostMsg::SigUpDataLightUIButton, page, &Page::SlotUpDataButtonUIButton);
        blocking(&PostMsg::SigFormReset, page, &Page::SlotFormResetButton);
    }
};

template <>
struct Rows<Dialog>
{
    template <typename Page>
    static void connect(Page *page)
    {
        blocking(&PostMsg::SigBattery, page, &Page::SlotBattery);
    }
};

template <>
struct Rows<FormSetting>
{
    template <typename Page>
    static void connect(Page *page)
    {
        blocking(&PostMsg::SigRGBValue, page, &Page::SlotRGBValue);
        blocking(&PostMsg::SigLongRangeMode, page, &Page::SlotLongRangeMode);
        blocking(&PostMsg::SigForm, page, &Page::SlotForm);
        blocking(&PostMsg::SigFormReset, page, &Page::SlotFormResetForm);
    }
};

template <>
struct Rows<LampLight>
{
    template <typename Page>
    static void connect(Page *page)
    {
        blocking(&PostMsg::SigUpDataLightLight, page, &Page::SlotUpDataLightUILight);
        blocking(&PostMsg::SigUpDataDPILed, page, &Page::SlotUpDataDPILed);
        blocking(&PostMsg::SigRGBValue, page, &Page::SlotRGBValue);
        blocking(&PostMsg::SigForm, page, &Page::SlotForm);
        blocking(&PostMsg::SigFormReset, page, &Page::SlotFormResetLight);
    }
};

template <>
struct Rows<LedInfo>
{
    template <typename Page>
    static void connect(Page *page)
    {
        blocking(&PostMsg::SigRGBValue, page, &Page::SlotRGBValue);
    }
};

template <>
struct Rows<Sensor>
{
    template <typename Page>
    static void connect(Page *page)
    {
        blocking(&PostMsg::SigUpDataLightSensor, page, &Page::SlotUpDataSenSorUISensor);
        blocking(&PostMsg::SigFormReset, page, &Page::SlotFormReset);
        blocking(&PostMsg::SigUpDataReportRate, page, &Page::SlotUpDataReportRate);
        blocking(&PostMsg::SigUpDataDPI, page, &Page::SlotUpDataDPI);
    }
};

} // namespace hubrows

template <typename Page>
void connectBlockingHub(Page *page)
{
    hubrows::Rows<Page>::connect(page);
}
