// The "updating the setting" notice: its three jobs (refresh wait, reload
// after a device pass, configuration import) against the simulated mouse.

#include "support/delayscale.h"
#include "support/pagefixture.h"
#include "support/testmain.h"

#include "app/textcatalogue.h"
#include "device/reportdecoder.h"
#include "pages/settings/inportfail.h"
#include "pages/settings/updataparam.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace pagetest;

namespace {

// The dialog's waits, shrunk for the test (real: 2500, 500 and 2000 ms).
int startMs()
{
    return testdelays::ms(delays::Delay::WaitDialogStart);
}
int pollMs()
{
    return testdelays::ms(delays::Delay::WaitDialogPoll);
}
int pauseMs()
{
    return testdelays::ms(delays::Delay::WaitDialogRefreshPause);
}

void setRefillFlags(bool on)
{
    lightPageRefreshed = on;
    sensorPageRefreshed = on;
    buttonPageRefreshed = on;
}

// Sets the three page-refilled flags `ms` after now, as the pages do when a
// dump has been taken over (a negative time: never).
void refillAfter(int ms)
{
    if (ms >= 0)
        QTimer::singleShot(ms, [] { setRefillFlags(true); });
}

// Starts a notice's job timer with the import of `fileName` as its job.
void startImport(UpDataParam &notice, const QString &fileName)
{
    notice.startJobTimer();
    notice.importRequested = true;
    notice.fileName = fileName;
}

// Runs a notice the way its openers do and returns how long it stayed open.
qint64 runNotice(UpDataParam &notice)
{
    QElapsedTimer clock;
    clock.start();
    notice.exec();
    return clock.elapsed();
}

} // namespace

class WaitDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void refreshWait_data();
    void refreshWait();
    void reloadAnsweringDevice_data();
    void reloadAnsweringDevice();
    void reloadSilentDevice_data();
    void reloadSilentDevice();
    void importGoodFile();
    void importRejectedFile_data();
    void importRejectedFile();
    void importToSilentDevice();
    void importBeforeTheRecordWasRead_data();
    void importBeforeTheRecordWasRead();

private:
    QTemporaryDir files;
};

void WaitDialogTest::initTestCase()
{
    // A quarter: the cases check the dialog's timing by the clock, with a few
    // polls of margin; shorter polls would let a loaded machine's scheduling
    // eat that margin.
    testdelays::shrink(0.25);
    loadTextCatalogue();
    QVERIFY(files.isValid());
}

void WaitDialogTest::init()
{
    setRefillFlags(false);
    passOnline = true;
    deviceOnline = true;
    importResult = 0;
}

void WaitDialogTest::refreshWait_data()
{
    QTest::addColumn<bool>("staleFlags");
    QTest::addColumn<int>("refillAtMs");
    QTest::addColumn<bool>("offline");

    QTest::newRow("pages refilled during the wait") << false << startMs() + pollMs() << false;
    QTest::newRow("pages never refilled") << false << -1 << true;
    // Flags left over from an earlier dump do not count for this wait.
    QTest::newRow("flags set before the wait, no refill") << true << -1 << true;
}

void WaitDialogTest::refreshWait()
{
    QFETCH(bool, staleFlags);
    QFETCH(int, refillAtMs);
    QFETCH(bool, offline);

    setRefillFlags(staleFlags);
    HubRecorder hub;
    UpDataParam notice;
    notice.startJobTimer();
    notice.waitForRefresh = true;
    refillAfter(refillAtMs);
    // A timer due in the pause after the refill must run while the notice is
    // still open: the pause processes events.
    bool tickedInPause = false;
    QTimer::singleShot(startMs() + 4 * pollMs(), [&] { tickedInPause = notice.isVisible(); });
    const qint64 elapsed = runNotice(notice);

    QVERIFY(!hub.described().isEmpty());
    QCOMPARE(hub.described().first(), QStringLiteral("SigSetver(4)"));
    QCOMPARE(hub.count("SigMouseOffLineo(0)"), offline ? 1 : 0);
    QCOMPARE(hub.count("SigMouseOffLineo(1)"), 0);
    if (offline) {
        // All twelve polls and the pause.
        QVERIFY2(elapsed >= startMs() + 11 * pollMs() + pauseMs(), qPrintable(QString::number(elapsed)));
    } else {
        QVERIFY2(elapsed >= startMs() + pauseMs() && elapsed < startMs() + 5 * pollMs() + pauseMs(),
                 qPrintable(QString::number(elapsed)));
        QVERIFY(tickedInPause);
        // The refresh wait leaves the flags as the pages set them.
        QVERIFY(lightPageRefreshed && sensorPageRefreshed && buttonPageRefreshed);
    }
    QVERIFY(!notice.isVisible());
}

void WaitDialogTest::reloadAnsweringDevice_data()
{
    QTest::addColumn<int>("refillAtMs");
    QTest::addColumn<bool>("cacheBefore");
    QTest::addColumn<bool>("offline");
    QTest::addColumn<bool>("recordRead");

    QTest::newRow("refilled, no cache file yet") << startMs() + pollMs() / 2 << false << false << true;
    QTest::newRow("refilled, cache file exists") << startMs() + pollMs() / 2 << true << false << true;
    QTest::newRow("pages not refilled in time") << -1 << false << true << true;
    // The record in hand was not read from this mouse in this attach (its
    // dump never came): it must not become this mouse's cache file.
    QTest::newRow("record not read in this attach") << -1 << false << true << false;
}

void WaitDialogTest::reloadAnsweringDevice()
{
    QFETCH(int, refillAtMs);
    QFETCH(bool, cacheBefore);
    QFETCH(bool, offline);
    QFETCH(bool, recordRead);

    openSimulatedMouse();
    if (recordRead)
        takeSimulatedMouseRecord();
    const QString name = selectedCacheName.get();
    QFile::remove(deviceCachePath(name));
    const FlashDataMap older = patternRecord(2, 0, 7);
    if (cacheBefore)
        QVERIFY(saveDeviceCache(name, older));
    if (!recordRead)
        currentFlashData = patternRecord(4, 2, 3);

    HubRecorder hub;
    UpDataParam notice;
    notice.startJobTimer();
    refillAfter(refillAtMs);
    const qint64 elapsed = runNotice(notice);

    QCOMPARE(hub.count("SigMouseOffLineo(1)"), offline ? 1 : 0);
    QCOMPARE(hub.count("SigMouseOffLineo(0)"), 0);
    QCOMPARE(hub.count("SigUpDataLightUIA"), 0);
    if (!offline) {
        // Closes at the first test after the refill, without a pause, and
        // clears the flags for the next wait.
        QVERIFY2(elapsed < startMs() + 4 * pollMs(), qPrintable(QString::number(elapsed)));
        QVERIFY(!lightPageRefreshed && !sensorPageRefreshed && !buttonPageRefreshed);
    } else {
        QVERIFY2(elapsed >= startMs() + 11 * pollMs() && elapsed < startMs() + 15 * pollMs(),
                 qPrintable(QString::number(elapsed)));
    }
    FlashDataMap cached;
    if (!recordRead) {
        QVERIFY(!loadDeviceCache(name, &cached));
        return;
    }
    QVERIFY(loadDeviceCache(name, &cached));
    QVERIFY(sameRecord(cached, cacheBefore ? older : currentFlashData));
}

void WaitDialogTest::reloadSilentDevice_data()
{
    QTest::addColumn<bool>("withCache");
    QTest::newRow("cache file present") << true;
    QTest::newRow("no cache file") << false;
}

// A silent mouse's cache is shown on the pages and nothing more: it does not
// become the mouse's record, so when the mouse wakes and reports one of its
// own buttons, nothing of the cache is sent to it.
void WaitDialogTest::reloadSilentDevice()
{
    QFETCH(bool, withCache);

    openSimulatedMouse();
    passOnline = false;
    const QString name = selectedCacheName.get();
    const QString loadedBefore = cacheNameForId(0x2205);
    loadedCacheName = loadedBefore;
    QFile::remove(deviceCachePath(name));
    const FlashDataMap cachedRecord = patternRecord(5, 4, 11);
    if (withCache)
        QVERIFY(saveDeviceCache(name, cachedRecord));
    const FlashDataMap before = patternRecord(3, 0, 2);
    currentFlashData = before;
    FlashDataMap onMouseBefore;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &onMouseBefore));
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));

    HubRecorder hub;
    UpDataParam notice;
    notice.startJobTimer();
    runNotice(notice);

    if (withCache) {
        QCOMPARE(hub.described(), QStringList({"SigSetver(4)", "SigUpDataLightUIA", "SigUpDataSensorUIB",
                                               "SigUpDataButtonUIC", "SigFormB", "SigMouseOffLineo(0)"}));
        QCOMPARE(hub.records().size(), 3);
        for (const FlashDataMap &r : hub.records())
            QVERIFY(sameRecord(r, cachedRecord));
    } else {
        QCOMPARE(hub.described(), QStringList({"SigSetver(4)", "SigMouseOffLineo(0)"}));
    }
    QVERIFY(sameRecord(currentFlashData, before));
    QVERIFY(!currentFlashDataIsOpenDevice());
    QCOMPARE(loadedCacheName.get(), loadedBefore);

    QVERIFY(hidusb::sim::wake(QStringLiteral("mouse")));
    hidusb::sim::resetCounters();
    const unsigned char header[5] = {0, hidusb::ReportData, 0, 0, hidusb::DataReportRate};
    const unsigned char rate[1] = {2};
    // From a thread of its own, as the library delivers reports: the pages'
    // connections to the decoder's signals are blocking.
    std::atomic<bool> delivered{false};
    std::thread library([&] {
        onDeviceReport(header, 5, rate, 1);
        delivered = true;
    });
    QTRY_VERIFY(delivered);
    library.join();
    QVERIFY(hidusb::sim::waitIdle());
    QCOMPARE(hidusb::sim::counters().recordBlocksWritten, std::uint64_t(0));
    FlashDataMap onMouse;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &onMouse));
    QVERIFY(sameRecord(onMouse, onMouseBefore));
}

void WaitDialogTest::importGoodFile()
{
    openSimulatedMouse();
    takeSimulatedMouseRecord();
    FlashDataMap record;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &record));
    record.dpiStageCount = 3;
    record.activeDpiStage = 1;
    record.reportRate = record.reportRate == 2 ? 4 : 2;
    const QString name = files.filePath(QStringLiteral("good.bin"));
    QVERIFY(writeFile(name, exportedFile("Derez", "3950", record)));

    HubRecorder hub;
    UpDataParam notice;
    startImport(notice, name);
    const qint64 elapsed = runNotice(notice);

    QCOMPARE(hub.described(), QStringList({"SigSetver(4)", "SigUpDataLightUIA", "SigUpDataSensorUIB",
                                           "SigUpDataButtonUIC", "SigFormB"}));
    for (const FlashDataMap &r : hub.records())
        QVERIFY(sameRecord(r, record));
    QVERIFY(sameRecord(currentFlashData, record));
    QVERIFY(!notice.importRequested);
    // The import settles for five polls.
    QVERIFY2(elapsed >= startMs() + 5 * pollMs() - pollMs() / 5 && elapsed < startMs() + 9 * pollMs(),
             qPrintable(QString::number(elapsed)));
    QVERIFY(hidusb::sim::waitIdle());
    FlashDataMap onMouse;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &onMouse));
    QVERIFY(sameRecord(onMouse, record));
}

void WaitDialogTest::importRejectedFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("textKey");

    FlashDataMap record = patternRecord(3, 1);
    const QByteArray good = exportedFile("Derez", "3950", record);
    QTest::newRow("another sensor") << exportedFile("Derez", "3395", record) << 2 << "DialogEConfigMismatch";
    QTest::newRow("too many stages") << exportedFile("Derez", "3950", patternRecord(9, 0)) << 2
                                     << "DialogEConfigMismatch";
    QTest::newRow("truncated") << good.left(good.size() / 2) << 1 << "DialogConfigError";
    QTest::newRow("garbage") << QByteArray(3000, '\x5a') << 1 << "DialogConfigError";
    // Well formed and for this model, but holding a key event the mouse has
    // no encoding for: the library refuses it and nothing is sent.
    FlashDataMap unfit = patternRecord(3, 1);
    unfit.keyCombos[0].events[0].action = 2;
    QTest::newRow("record the mouse cannot hold")
        << exportedFile("Derez", "3950", unfit) << 2 << "DialogEConfigMismatch";
}

void WaitDialogTest::importRejectedFile()
{
    QFETCH(QByteArray, file);
    QFETCH(int, result);
    QFETCH(QString, textKey);

    openSimulatedMouse();
    takeSimulatedMouseRecord();
    FlashDataMap onMouseBefore;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &onMouseBefore));
    const FlashDataMap before = patternRecord(2, 0, 5);
    currentFlashData = before;
    hidusb::sim::resetCounters();
    const QString name = files.filePath(QStringLiteral("rejected.bin"));
    QVERIFY(writeFile(name, file));

    HubRecorder hub;
    UpDataParam notice;
    startImport(notice, name);
    QString shownText;
    whenShown<InportFail>([&](InportFail *fail) {
        shownText = fail->findChild<QLabel *>(QStringLiteral("label"))->text();
        fail->findChild<QToolButton *>(QStringLiteral("NewHong"))->click();
    });
    runNotice(notice);

    QCOMPARE(importResult, result);
    QCOMPARE(shownText, catalogueText(QStringLiteral("key"), textKey));
    QVERIFY(!shownText.isEmpty());
    QCOMPARE(hub.described(), QStringList({"SigSetver(4)"}));
    QVERIFY(sameRecord(currentFlashData, before));
    QVERIFY(hidusb::sim::waitIdle());
    QCOMPARE(hidusb::sim::counters().recordBlocksWritten, std::uint64_t(0));
    FlashDataMap onMouse;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &onMouse));
    QVERIFY(sameRecord(onMouse, onMouseBefore));
}

void WaitDialogTest::importToSilentDevice()
{
    openSimulatedMouse();
    FlashDataMap record;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &record));
    const FlashDataMap onMouseBefore = record;
    record.reportRate = record.reportRate == 2 ? 4 : 2;
    const QString name = files.filePath(QStringLiteral("silent.bin"));
    QVERIFY(writeFile(name, exportedFile("Derez", "3950", record)));
    const FlashDataMap before = patternRecord(2, 0, 9);
    currentFlashData = before;
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    hidusb::sim::resetCounters();

    HubRecorder hub;
    UpDataParam notice;
    startImport(notice, name);
    const qint64 elapsed = runNotice(notice);

    // Said so at once; nothing sent, nothing refilled.
    QCOMPARE(hub.described(), QStringList({"SigSetver(4)", "SigMouseOffLineo(0)"}));
    QVERIFY2(elapsed < startMs() + 3 * pollMs(), qPrintable(QString::number(elapsed)));
    QVERIFY(sameRecord(currentFlashData, before));
    QCOMPARE(hidusb::sim::counters().recordBlocksWritten, std::uint64_t(0));
    QVERIFY(hidusb::sim::wake(QStringLiteral("mouse")));
    FlashDataMap onMouse;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &onMouse));
    QVERIFY(sameRecord(onMouse, onMouseBefore));
}

void WaitDialogTest::importBeforeTheRecordWasRead_data()
{
    QTest::addColumn<int>("readAtMs"); // when the mouse's own record comes in (-1: never)
    // The record comes while the job waits for it.
    QTest::newRow("record read during the wait") << startMs() + 2 * pollMs();
    QTest::newRow("record never read") << -1;
}

// An import chosen right after the device: the mouse's own record of this
// attach has not been read yet. The import is the user's whole record: it
// waits for the read (which would otherwise replace it) and then goes to
// the mouse; no time-out is reported.
void WaitDialogTest::importBeforeTheRecordWasRead()
{
    QFETCH(int, readAtMs);
    openSimulatedMouse();
    QVERIFY(!currentFlashDataIsOpenDevice());
    FlashDataMap record;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &record));
    record.dpiStageCount = 3;
    record.activeDpiStage = 2;
    record.reportRate = record.reportRate == 2 ? 4 : 2;
    const QString name = files.filePath(QStringLiteral("early.bin"));
    QVERIFY(writeFile(name, exportedFile("Derez", "3950", record)));
    if (readAtMs >= 0)
        QTimer::singleShot(readAtMs, [] { takeSimulatedMouseRecord(); });

    HubRecorder hub;
    UpDataParam notice;
    startImport(notice, name);
    runNotice(notice);

    QCOMPARE(hub.described(), QStringList({"SigSetver(4)", "SigUpDataLightUIA", "SigUpDataSensorUIB",
                                           "SigUpDataButtonUIC", "SigFormB"}));
    QVERIFY(sameRecord(currentFlashData, record));
    QVERIFY(currentFlashDataIsOpenDevice());
    QVERIFY(hidusb::sim::waitIdle());
    FlashDataMap onMouse;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &onMouse));
    QVERIFY(sameRecord(onMouse, record));
}

VELMORAX_TEST_MAIN(WaitDialogTest)
#include "tst_waitdialog.moc"
