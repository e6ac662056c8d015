#include "pages/settings/updataparam.h"
#include "ui_updataparam.h"

#include "app/appglobals.h"
#include "app/configini.h"
#include "app/delays.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicecache.h"
#include "device/devicestate.h"
#include "device/pagelink.h"
#include "pages/settings/configfile.h"
#include "pages/settings/inportfail.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTimer>

#include <cstring>

int importResult = 0;

namespace {

constexpr int kSlices = 12;
constexpr int kImportSettleSlices = 5;

int sliceMs()
{
    return delays::ms(delays::Delay::WaitDialogPoll);
}

bool pageRefillsDone()
{
    return lightPageRefreshed && sensorPageRefreshed && buttonPageRefreshed;
}

void clearPageRefills()
{
    lightPageRefreshed = false;
    sensorPageRefreshed = false;
    buttonPageRefreshed = false;
}

} // namespace

UpDataParam::UpDataParam(QWidget *parent) : QDialog(parent), ui(new Ui::UpDataParam)
{
    ui->setupUi(this);
    jobTimer = new QTimer(this);
    jobTimer->setSingleShot(true);
    connect(jobTimer, &QTimer::timeout, this, &UpDataParam::onTimeupDestroy);

    // A wait notice: no close button, and its background keeps its own
    // size, centred on the panel.
    pictureDir = look::setUpNotice(this, {nullptr, ui->label, nullptr, {}});
    look::setSheet(ui->UpDataParamA,
                   look::imageSheet(QStringLiteral("#UpDataParamA"), pictureDir, {QStringLiteral("BackGround.png")}));
}

UpDataParam::~UpDataParam() = default;

void UpDataParam::startJobTimer()
{
    // A wait must only succeed on refills that happen after it started.
    clearPageRefills();
    cancelled = false;
    jobTimer->setSingleShot(true);
    jobTimer->start(delays::ms(delays::Delay::WaitDialogStart));
}

void UpDataParam::cancel()
{
    if (!isVisible())
        return;
    jobTimer->stop();
    cancelled = true;
    if (!runningJob)
        close();
}

void UpDataParam::waitMs(int ms)
{
    waitWithEvents(ms);
}

void UpDataParam::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("infoTips"), QStringLiteral("DialogUpdating"), index));
}

bool UpDataParam::pollPageRefills()
{
    for (int i = 0; i < kSlices && !cancelled; ++i) {
        if (pageRefillsDone() && (!waitForClear || settingsClearAnswered))
            return true;
        waitMs(sliceMs());
    }
    return false;
}

void UpDataParam::onTimeupDestroy()
{
    runningJob = true;
    emit PostMsg::instance()->SigSetver(4);
    if (waitForRefresh) {
        refreshWaitJob();
    } else {
        qDebug() << "z";
        if (importRequested)
            importJob();
        else
            reloadJob();
    }
    runningJob = false;
}

void UpDataParam::refreshWaitJob()
{
    const bool refilled = pollPageRefills();
    // A short pause so the refilled pages settle before the notice goes;
    // events keep running so reports and repaints are not held up.
    if (!cancelled)
        waitMs(delays::ms(delays::Delay::WaitDialogRefreshPause));
    close();
    if (!refilled && !cancelled)
        emit PostMsg::instance()->SigMouseOffLineo(0);
}

void UpDataParam::importJob()
{
    FlashDataMap record;
    std::memset(&record, 0, sizeof record);
    importResult = readConfigFile(fileName, &record);
    if (importResult == 0) {
        // Right after the device was chosen its own record may still be on
        // its way: the import waits for it (the record read would otherwise
        // replace the import), then goes to the mouse whether or not the
        // read came, as it is the user's whole record.
        RecordWrite written = replaceRecord(record);
        for (int i = 0; written == RecordWrite::NotLoaded && i < kSlices && !cancelled; ++i) {
            waitMs(sliceMs());
            written = replaceRecord(record);
        }
        if (written == RecordWrite::NotLoaded && !cancelled)
            written = importRecord(record);
        switch (written) {
        case RecordWrite::Sent:
            refillPages(RefillSource::LoadedRecord, record);
            for (int i = 0; i < kImportSettleSlices; ++i)
                waitMs(sliceMs());
            break;
        case RecordWrite::Offline:
            // The mouse went away while the file was chosen (the offline
            // notice has been shown): nothing is sent and the pages keep
            // what the device holds.
            break;
        case RecordWrite::NotLoaded:
            // The wait was cancelled or the device left: nothing is sent.
            importRequested = false;
            close();
            return;
        case RecordWrite::Refused:
            // A record the mouse cannot hold: the file does not fit this device.
            importResult = 2;
            break;
        }
    }
    if (importResult != 0) {
        InportFail notice;
        look::centreOn(&notice, this);
        notice.exec();
    }
    importRequested = false;
    close();
}

void UpDataParam::reloadJob()
{
    if (!passOnline) {
        qDebug() << "x";
        FlashDataMap record;
        std::memset(&record, 0, sizeof record);
        // The cache is only shown: it never becomes the mouse's record, so
        // nothing of it is sent when the mouse comes back (it is read first).
        if (loadDeviceCache(selectedCacheName.get(), &record))
            refillPages(RefillSource::LoadedRecord, record);
        emit PostMsg::instance()->SigMouseOffLineo(0);
        close();
        return;
    }

    qDebug() << "v";
    const bool refilled = pollPageRefills();
    if (refilled)
        clearPageRefills();
    close();
    if (cancelled)
        return;
    qDebug() << "vvv";
    if (!refilled)
        emit PostMsg::instance()->SigMouseOffLineo(1);
    qDebug() << "vv";
    // A first cache file only from the mouse's own record: one that was not
    // read in this attach (the refill timed out) would store another
    // device's or an older record under this device's name.
    FlashDataMap cached;
    if (deviceOnline && currentFlashDataIsOpenDevice() && !loadDeviceCache(selectedCacheName.get(), &cached))
        saveDeviceCache(loadedCacheName.get(), currentFlashData);
}
