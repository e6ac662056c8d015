#pragma once

#include <QDialog>
#include <QString>

#include <memory>

#include "platform/hidusb/records.h"

class QTimer;
namespace Ui {
class UpDataParam;
}

// Result of the last configuration file read by an import job: 0 accepted,
// 1 not a readable configuration file, 2 made for another sensor or holding
// more DPI stages than the model has. InportFail picks its text by it.
extern int importResult;

// "Please wait, we are updating the setting": a modal notice whose job runs
// 2500 ms after startJobTimer() and closes it. The job is a configuration
// import (importRequested), a wait for the pages to refill after the device
// re-sent its configuration (waitForRefresh), or otherwise a reload after a
// device pass.
class UpDataParam : public QDialog
{
    Q_OBJECT

public:
    explicit UpDataParam(QWidget *parent = nullptr);
    ~UpDataParam() override;

    Q_INVOKABLE void startJobTimer();
    // Waits `ms` milliseconds while processing events.
    static void waitMs(int ms);
    // True from the moment the job has started until it has closed the notice.
    bool jobRunning() const { return runningJob; }
    // The device this notice waits for has gone (its page was left): closes
    // the notice without a job, or ends a running wait quietly.
    void cancel();

    QString fileName;
    bool importRequested = false;
    bool waitForRefresh = false;
    // With waitForRefresh: the pages count as refilled only after the mouse
    // answered a settings clear (restore defaults), so a refill from an
    // earlier dump is not taken for the cleared settings.
    bool waitForClear = false;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void onTimeupDestroy();

private:
    void refreshWaitJob();
    void importJob();
    void reloadJob();
    bool pollPageRefills();

    std::unique_ptr<Ui::UpDataParam> ui;
    QString pictureDir;
    QTimer *jobTimer;
    bool runningJob = false;
    bool cancelled = false;
};
