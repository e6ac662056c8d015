// Firmware flashing: images are matched to devices by their header, flashing
// reports progress and then success or failure on the library's thread, the
// device sits in boot mode while flashing and after a failure, and a repair
// flash brings it back.

#include "support/hidusbfixture.h"
#include "support/testmain.h"

#include "platform/hidusb/firmwareimage.h"

#include <QElapsedTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

using namespace hidusb;

namespace {

struct FlashLog
{
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::array<unsigned char, 3>> reports;
    int bootDevicesSeen = -1;
    bool onCaller = false;
    QThread *caller = nullptr;
    std::atomic<int> nestedStartMs{-1};
    QByteArray nextImage;

    void clear()
    {
        std::lock_guard<std::mutex> lk(m);
        reports.clear();
        bootDevicesSeen = -1;
        onCaller = false;
        caller = QThread::currentThread();
        nestedStartMs = -1;
        nextImage.clear();
    }
    int finished()
    {
        std::lock_guard<std::mutex> lk(m);
        int n = 0;
        for (const auto &r : reports)
            n += r[1] == 2;
        return n;
    }
    bool waitFinished(int n, int ms = 8000)
    {
        std::unique_lock<std::mutex> lk(m);
        return cv.wait_for(lk, std::chrono::milliseconds(ms), [&] {
            int done = 0;
            for (const auto &r : reports)
                done += r[1] == 2;
            return done >= n;
        });
    }
};

FlashLog flashLog;
QByteArray currentImage;

void onFlash(const unsigned char *report)
{
    bool startNext = false;
    bool askBoot = false;
    {
        std::lock_guard<std::mutex> lk(flashLog.m);
        flashLog.reports.push_back({report[0], report[1], report[2]});
        if (QThread::currentThread() == flashLog.caller)
            flashLog.onCaller = true;
        startNext = report[1] == 2 && report[2] == 1 && !flashLog.nextImage.isEmpty();
        askBoot = report[1] == 1 && report[2] >= 50 && flashLog.bootDevicesSeen < 0;
    }
    if (askBoot) {
        int count = 0;
        UsbUpgradeC_FindBootDevices(reinterpret_cast<const unsigned char *>(currentImage.constData()),
                                    currentImage.size(), &count);
        std::lock_guard<std::mutex> lk(flashLog.m);
        flashLog.bootDevicesSeen = count;
    }
    if (startNext) {
        // The repair continues with the mouse from inside the callback.
        QByteArray next;
        {
            std::lock_guard<std::mutex> lk(flashLog.m);
            next.swap(flashLog.nextImage);
        }
        QElapsedTimer t;
        t.start();
        UsbUpgrade_Start(reinterpret_cast<const unsigned char *>(next.constData()), next.size(), &onFlash, 10000);
        flashLog.nestedStartMs = static_cast<int>(t.elapsed());
    }
    // Notified under the lock, so the waiter's next lock orders it before
    // the log's destruction at exit.
    std::lock_guard<std::mutex> lk(flashLog.m);
    flashLog.cv.notify_all();
}

std::atomic<int> changes{0};
void onChange()
{
    ++changes;
}

QByteArray firmware(std::uint8_t target, std::uint8_t cid, std::uint8_t mid, int version, int size = 6000)
{
    FirmwareImageInfo info;
    info.version = static_cast<std::uint32_t>(version);
    info.target = target;
    info.cid = cid;
    info.mid = mid;
    info.name = "VMX29_RX4K";
    const auto image = buildFirmwareImage(
        info, firmwareBodyPattern(static_cast<std::size_t>(std::max(1, size - kFirmwareHeaderSize)), 13));
    QByteArray b(reinterpret_cast<const char *>(image.data()), static_cast<int>(image.size()));
    return size < kFirmwareHeaderSize ? b.left(size) : b;
}

QByteArray truncated(QByteArray image)
{
    image.chop(100);
    return image;
}

QByteArray damaged(QByteArray image)
{
    image[kFirmwareHeaderSize + 50] = static_cast<char>(image.at(kFirmwareHeaderSize + 50) ^ 0x40);
    return image;
}

bool start(const QByteArray &image, int timeoutMs = 10000)
{
    currentImage = image;
    return UsbUpgrade_Start(reinterpret_cast<const unsigned char *>(image.constData()), image.size(), &onFlash,
                            timeoutMs);
}

int bootDevices(const QByteArray &image)
{
    int count = 5;
    return UsbUpgradeC_FindBootDevices(reinterpret_cast<const unsigned char *>(image.constData()), image.size(),
                                       &count);
}

const QByteArray kScenario =
    "{\"devices\": ["
    "{\"id\": \"r\", \"type\": \"receiver\", \"kind\": 4, \"cid\": 86, \"mid\": 29, \"version\": \"0x0105\"},"
    "{\"id\": \"m\", \"type\": \"mouse\", \"pairedTo\": \"r\", \"cable\": true, \"cid\": 86, \"mid\": 29,"
    " \"version\": \"0x0102\"}]}";

} // namespace

class TestHidUsbFirmware : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        freshSimulator(kScenario);
        sim::setFlashDuration(150);
        flashLog.clear();
        changes = 0;
    }

    void flashingUpdatesTheDevice_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("target");
        QTest::newRow("receiver") << "r" << int(kTargetReceiver);
        QTest::newRow("mouse on its cable") << "m" << int(kTargetMouse);
    }

    void flashingUpdatesTheDevice()
    {
        QFETCH(QString, device);
        QFETCH(int, target);
        const QByteArray image = firmware(static_cast<std::uint8_t>(target), 86, 29, 0x0107);
        QVERIFY(StartUsbChanged(&onChange, 0));
        QTRY_COMPARE(changes.load(), 1);
        QCOMPARE(bootDevices(image), 0);
        QVERIFY(start(image));
        QVERIFY(flashLog.waitFinished(1));
        std::lock_guard<std::mutex> lk(flashLog.m);
        const auto &r = flashLog.reports;
        QVERIFY(r.size() >= 3);
        QCOMPARE(int(r.front()[1]), 1);
        QCOMPARE(int(r.front()[2]), 0);
        int last = -1;
        for (std::size_t i = 0; i + 1 < r.size(); ++i) {
            QCOMPARE(int(r[i][0]), int(kUpgradeReportTag));
            QCOMPARE(int(r[i][1]), 1);
            QVERIFY(int(r[i][2]) > last);
            last = r[i][2];
        }
        QCOMPARE(last, 100);
        QCOMPARE(int(r.back()[1]), 2);
        QCOMPARE(int(r.back()[2]), 1);
        QVERIFY(!flashLog.onCaller);
        QCOMPARE(flashLog.bootDevicesSeen, 1); // in boot mode while flashing
        QCOMPARE(sim::firmwareVersion(device), 0x0107);
        QVERIFY(!sim::inBootMode(device));
        QVERIFY(!pathBytes(device).endsWith("boot"));
        QTRY_VERIFY(changes.load() >= 2); // it left and came back
    }

    void failedFlashLeavesBootModeUntilRepaired()
    {
        const QByteArray image = firmware(kTargetReceiver, 86, 29, 0x0108);
        QVERIFY(sim::failFlashAt("r", 40));
        QVERIFY(start(image));
        QVERIFY(flashLog.waitFinished(1));
        {
            std::lock_guard<std::mutex> lk(flashLog.m);
            QCOMPARE(int(flashLog.reports.back()[1]), 2);
            QVERIFY(flashLog.reports.back()[2] != 1);
            for (const auto &rep : flashLog.reports)
                if (rep[1] == 1)
                    QVERIFY(rep[2] < 40);
        }
        QVERIFY(sim::inBootMode("r"));
        int count = 5;
        UsbFinderC_FindHidDevicesByDefaultDeviceId("0x3A7C", "0x7C24", &count);
        QCOMPARE(count, 0);
        QCOMPARE(bootDevices(image), 1);
        QCOMPARE(sim::firmwareVersion("r"), 0x0105);
        // Boot mode outlives a restart.
        sim::restart();
        QVERIFY(sim::inBootMode("r"));
        // The repair flash brings it back.
        QVERIFY(sim::failFlashAt("r", -1));
        flashLog.clear();
        QVERIFY(start(image));
        QVERIFY(flashLog.waitFinished(1));
        QCOMPARE(int(flashLog.reports.back()[2]), 1);
        QVERIFY(!sim::inBootMode("r"));
        QCOMPARE(sim::firmwareVersion("r"), 0x0108);
        count = 5;
        UsbFinderC_FindHidDevicesByDefaultDeviceId("0x3A7C", "0x7C24", &count);
        QCOMPARE(count, 1);
    }

    void imageThatFitsNoDeviceIsRefused_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::newRow("other CID") << firmware(kTargetReceiver, 87, 29, 0x0107);
        QTest::newRow("other MID") << firmware(kTargetReceiver, 86, 30, 0x0107);
        QTest::newRow("unknown target") << firmware(212, 86, 29, 0x0107);
        QTest::newRow("shorter than a header") << firmware(kTargetReceiver, 86, 29, 0x0107, 500);
        QTest::newRow("shorter than its header says") << truncated(firmware(kTargetReceiver, 86, 29, 0x0107));
        QTest::newRow("damaged firmware") << damaged(firmware(kTargetReceiver, 86, 29, 0x0107));
        QTest::newRow("empty") << QByteArray();
    }

    void imageThatFitsNoDeviceIsRefused()
    {
        QFETCH(QByteArray, image);
        QElapsedTimer t;
        t.start();
        QVERIFY(!start(image, 300));
        QVERIFY(t.elapsed() < 100);
        QCOMPARE(bootDevices(image), 0);
        // The caller still hears the end, once the time is up.
        QVERIFY(flashLog.waitFinished(1));
        QVERIFY(t.elapsed() >= 250);
        std::lock_guard<std::mutex> lk(flashLog.m);
        QCOMPARE(int(flashLog.reports.size()), 1);
        QCOMPARE(int(flashLog.reports[0][2]), 0);
        QVERIFY(!sim::inBootMode("r"));
        QVERIFY(!sim::inBootMode("m"));
    }

    void twoDevicesThatFitAreRefused()
    {
        QVERIFY(
            sim::loadScenarioJson("{\"devices\": [{\"id\": \"r1\", \"type\": \"receiver\", \"cid\": 86, \"mid\": 29},"
                                  "{\"id\": \"r2\", \"type\": \"receiver\", \"cid\": 86, \"mid\": 29}]}"));
        QVERIFY(!start(firmware(kTargetReceiver, 86, 29, 0x0107), 200));
        QVERIFY(flashLog.waitFinished(1));
        QVERIFY(!sim::inBootMode("r1"));
        QVERIFY(!sim::inBootMode("r2"));
    }

    void nextFlashStartsFromInsideTheCallback()
    {
        {
            std::lock_guard<std::mutex> lk(flashLog.m);
            flashLog.nextImage = firmware(kTargetMouse, 86, 29, 0x0203);
        }
        QVERIFY(start(firmware(kTargetReceiver, 86, 29, 0x0109)));
        QVERIFY(flashLog.waitFinished(2));
        QVERIFY(flashLog.nestedStartMs.load() >= 0);
        QVERIFY(flashLog.nestedStartMs.load() < 50);
        QCOMPARE(sim::firmwareVersion("r"), 0x0109);
        QCOMPARE(sim::firmwareVersion("m"), 0x0203);
    }

    void deviceThatStopsAnsweringFails()
    {
        QVERIFY(sim::loadScenarioJson(kScenario));
        sim::setFlashDuration(2000);
        QVERIFY(start(firmware(kTargetMouse, 86, 29, 0x0107), 300));
        QTRY_VERIFY(sim::inBootMode("m"));
        QVERIFY(sim::setAnswerNothing("m", true));
        QVERIFY(flashLog.waitFinished(1));
        QVERIFY(flashLog.reports.back()[2] != 1);
        QVERIFY(sim::inBootMode("m"));
    }

    // Pulling the cable ends the flash with a failure at once, not after the
    // no-progress time, and the device comes back in boot mode.
    void unplugDuringFlashFailsAtOnce()
    {
        sim::setFlashDuration(2000);
        QVERIFY(start(firmware(kTargetMouse, 86, 29, 0x0107), 10000));
        QTRY_VERIFY(sim::inBootMode("m"));
        QElapsedTimer t;
        t.start();
        QVERIFY(sim::unplug("m"));
        QVERIFY(flashLog.waitFinished(1, 3000));
        QVERIFY(t.elapsed() < 3000);
        QVERIFY(flashLog.reports.back()[2] != 1);
        QVERIFY(sim::plug("m"));
        QVERIFY(sim::inBootMode("m"));
        QCOMPARE(sim::firmwareVersion("m"), 0x0102);
    }

    void lostFinishedReportIsNeverDelivered()
    {
        sim::loseNextFinishedReport();
        QVERIFY(start(firmware(kTargetReceiver, 86, 29, 0x0107)));
        QTRY_COMPARE(sim::firmwareVersion("r"), 0x0107);
        QVERIFY(sim::waitIdle());
        QCOMPARE(flashLog.finished(), 0);
        // Only that one report is lost.
        QVERIFY(start(firmware(kTargetReceiver, 86, 29, 0x0108)));
        QVERIFY(flashLog.waitFinished(1));
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestHidUsbFirmware)
#include "tst_hidusb_firmware.moc"
