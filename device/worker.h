#pragma once

// The Worker attaches the open device: one pass of run() (on the worker
// thread) starts the library's report delivery for the device and asks for
// its whole configuration; for a silent mouse it first refills the pages from
// the device's cache file. The Worker object itself lives on the GUI thread,
// where its 1300 ms online check watches for a silent mouse coming back.

#include "device/deviceallinfo.h"
#include "device/linkcontrols.h"

#include <QString>
#include <QThread>

class QTimer;

class Worker : public QThread
{
    Q_OBJECT
public:
    // `parent` is not used: the Worker has no Qt parent; whoever creates it
    // releases it (the button page).
    explicit Worker(QObject *parent = nullptr);
    ~Worker() override;

    // A pass that has not started yet will do nothing.
    Q_INVOKABLE void stop();

public slots:
    void SlotSelectMouseInfo(DeviceAllInfo SelectInfo);
    void SlotMainPageChange();
    void SlotCheckOnline();

protected:
    void run() override;

private:
    // Touched by run() only, one pass at a time.
    QString lastPath;
    int lastLinkCode = 0;
};

// The one Worker (held by the button page through a WorkerOwner,
// linkcontrols.h) and its online-check timer.
extern Worker *workerThread;
extern QTimer *onlineTimer;
