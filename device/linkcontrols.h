#pragma once

// Named link controls: the few things a page, a dialog or the shell asks of
// the device link besides showing and changing records (the page-link kit,
// device/pagelink.h). A page includes both headers; neither includes the
// other. Outside device/, platform/ and the shell nothing calls the
// device-access library or touches the worker directly: it names the control
// here instead.
//
// At a glance
// -----------
//   Does the open device answer? ........ openDeviceAnswers()
//   Arm a device-change callback ........ watchDevices(DeviceWatch::Page)
//   Stop device-change callbacks ........ stopDeviceWatch()
//   Tell the device a driver is here .... setDriverStatus(0)
//   Report link back to the open device . restartReportLink()
//   Leave the device (end its reports) .. leaveDevice()
//   Choose a configuration slot ......... chooseConfigSlot(index)
//   Read the open device again .......... readDeviceAgain()
//   The list page's entries ............. listPageDevices()
//   A receiver's ID ..................... readReceiverId(path, &id)
//   Pair a cabled mouse with an ID ...... writeReceiverIdToMouse(path, record)
//   An import or a reset in progress .... ModalOperation busy(ModalOperation::PauseOnlineCheck);
//   Hold the one worker ................. std::unique_ptr<WorkerOwner> owner = std::make_unique<WorkerOwner>();
//
// GUI thread only, unless a control says otherwise. QtCore only.

#include "device/deviceallinfo.h"

#include <QByteArray>
#include <QList>
#include <QString>

class Worker;

// Whether the open device (currentDevicePath) answers right now. The library
// answers from state it keeps, so this is cheap. Any thread.
bool openDeviceAnswers();

// Which device-change callback the library calls: the list page's (the
// device list is rebuilt), the device page's (the open device is followed)
// or the screen-information dialog's (the screen devices are looked up
// again). Arming one replaces the one armed before; the callback runs once
// soon after arming and then after every change, 600 ms after the first
// change of a burst.
enum class DeviceWatch { List, Page, Screen };
void watchDevices(DeviceWatch watch);
// No device-change callback starts after this returns.
void stopDeviceWatch();

// Tells the open device whether the program drives it (status 0 when it
// leaves the device).
void setDriverStatus(int status);
// Starts the open device's report delivery again (after a pairing moved it to
// the receiver).
void restartReportLink();
// Ends the open device's report delivery: the device is left.
void leaveDevice();
// Makes configuration slot `index` (0..3) the mouse's active one; the mouse
// reports the slot it took. False when the library refused the request.
bool chooseConfigSlot(int index);
// The entries the device list page shows, in button order (discovery's
// listedDevices). GUI thread.
const QList<DeviceAllInfo> &listPageDevices();

// How many receivers the last list change found attached (before the cable
// rule), by the catalogue's product id lists: of any kind for an empty
// `kind`, else of kind "1", "2", "4" or "8" only (another text counts none).
// GUI thread.
int enumeratedReceivers(const QString &kind);

// The three ID bytes of the receiver at `path`, in the order the receiver
// reports them. False (and `id` untouched) when it does not answer.
bool readReceiverId(const QString &path, QByteArray *id);
// Writes a pairing record (a receiver's ID, 0, the receiver kind's code) into
// the cabled mouse at `path`; false when the mouse refused it.
bool writeReceiverIdToMouse(const QString &path, const unsigned char record[5]);

// Asks for one worker pass: the open device is attached again and its whole
// configuration read (for a silent mouse, its cache shown).
void readDeviceAgain();

// An import or a restore of defaults owns the record: while a ModalOperation
// lives, modalOperation is set, so editors only show what they get, and with
// PauseOnlineCheck the worker's online check is stopped too. The destructor
// clears the flag and starts the online check again, in that order.
class ModalOperation
{
public:
    enum OnlineCheck { KeepOnlineCheck, PauseOnlineCheck };

    explicit ModalOperation(OnlineCheck check = KeepOnlineCheck);
    ~ModalOperation();
    ModalOperation(const ModalOperation &) = delete;
    ModalOperation &operator=(const ModalOperation &) = delete;

private:
    bool m_pausedOnlineCheck;
};

// The life cycle of the one Worker: the constructor creates it (its online
// check running, its thread not yet started) as workerThread; the destructor
// stops it, keeps serving the GUI thread for Delay::WorkerFinish while a
// running pass finishes (a longer pass is released when it ends) and releases
// it. The button page creates one and releases it with itself.
class WorkerOwner
{
public:
    WorkerOwner();
    ~WorkerOwner();
    WorkerOwner(const WorkerOwner &) = delete;
    WorkerOwner &operator=(const WorkerOwner &) = delete;

    Worker *worker() const { return m_worker; }

private:
    Worker *m_worker = nullptr;
};
