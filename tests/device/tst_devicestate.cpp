// Process-wide device state: cache names, the record's owner, and the shared
// texts and device that several threads read and write.
#include "device/devicestate.h"
#include "support/testmain.h"

#include <QThread>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <thread>

class TestDeviceState : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetDeviceStateForTests(); }

    void cacheNameFromId_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("name");
        QTest::newRow("0x0A05") << 0x0A05 << "Device_CID05_MID0A.bin";
        QTest::newRow("0x00FF") << 0x00FF << "Device_CIDFF_MID00.bin";
        QTest::newRow("zero") << 0 << "Device_CID00_MID00.bin";
        QTest::newRow("0xABCD upper case") << 0xABCD << "Device_CIDCD_MIDAB.bin";
    }
    void cacheNameFromId()
    {
        QFETCH(int, id);
        QFETCH(QString, name);
        QCOMPARE(cacheNameForId(quint16(id)), name);
    }

    void flagsStartAsDocumented()
    {
        QVERIFY(onlineCheckEnabled);
        QVERIFY(!runRequested && !deviceOnline && !offlinePending && !restartPending && !passOnline);
        QCOMPARE(devicePageActive.load(), 0);
    }

    // A record counts as the open device's only while the attach that read
    // it is the current one and still names the open device.
    void recordBelongsToTheAttachThatReadIt()
    {
        DeviceAllInfo mouse;
        mouse.path = "/dev/hidraw-a";
        mouse.id = 0x1D56;
        currentDevice = mouse;
        QVERIFY(!currentFlashDataIsOpenDevice()); // nothing attached yet
        const quint64 first = beginAttach(mouse);
        QVERIFY(!currentFlashDataIsOpenDevice()); // attached, not read yet
        markFlashDataRead(first);
        QVERIFY(currentFlashDataIsOpenDevice());

        DeviceAllInfo other = mouse;
        other.id = 0x1D57;
        currentDevice = other; // another model chosen
        QVERIFY(!currentFlashDataIsOpenDevice());
        other = mouse;
        other.path = "/dev/hidraw-b";
        currentDevice = other; // another mouse of the same model
        QVERIFY(!currentFlashDataIsOpenDevice());
        currentDevice = DeviceAllInfo(); // the device went away
        QVERIFY(!currentFlashDataIsOpenDevice());
        currentDevice = mouse; // back, still in the same attach
        QVERIFY(currentFlashDataIsOpenDevice());

        // A new attach of the very same device: what was read before does not
        // count, not even when credited to the old attach afterwards.
        const quint64 second = beginAttach(mouse);
        QVERIFY(second != first);
        QVERIFY(!currentFlashDataIsOpenDevice());
        markFlashDataRead(first);
        QVERIFY(!currentFlashDataIsOpenDevice());
        markFlashDataRead(second);
        QVERIFY(currentFlashDataIsOpenDevice());

        // The receiver's records follow the same rule, each on its own.
        QVERIFY(!receiverRecordIsOpenDevice(ReceiverRecord::LightBar));
        markReceiverRecordRead(ReceiverRecord::LightBar, second);
        QVERIFY(receiverRecordIsOpenDevice(ReceiverRecord::LightBar));
        QVERIFY(!receiverRecordIsOpenDevice(ReceiverRecord::IndicatorLeds));
        beginAttach(mouse);
        QVERIFY(!receiverRecordIsOpenDevice(ReceiverRecord::LightBar));
    }

    void pathPointerStaysValidAfterANewPath()
    {
        currentDevicePath = QByteArray("first-path");
        const char *held = currentDevicePath;
        currentDevicePath = QByteArray("second-path-which-is-longer");
        QCOMPARE(QByteArray(held), QByteArray("first-path"));
        QCOMPARE(currentDevicePath.toByteArray(), QByteArray("second-path-which-is-longer"));
        currentDevicePath = QString("third");
        QCOMPARE(QByteArray(currentDevicePath.c_str()), QByteArray("third"));
    }

    // A device and its path are replaced on one thread while others read
    // them: every read sees one whole device, never a mix of two.
    void deviceAndPathAreReplacedWhole()
    {
        DeviceAllInfo a, b;
        a.path = "/dev/hidraw-one";
        a.id = 0x1111;
        a.mouseVersion = "v1.01";
        b.path = "/dev/hidraw-two-with-a-longer-path";
        b.id = 0x2222;
        b.mouseVersion = "v2.02";
        currentDevice = a;
        currentDevicePath = a.path.toLocal8Bit();

        std::atomic<bool> stop{false};
        std::atomic<int> torn{0};
        std::thread writer([&] {
            for (int i = 0; i < 20000; ++i) {
                const DeviceAllInfo &d = (i & 1) ? b : a;
                currentDevice = d;
                currentDevicePath = d.path.toLocal8Bit();
                currentDevice.update([&](DeviceAllInfo &open) { open.online = (i & 2) != 0; });
            }
            stop = true;
        });
        auto reader = [&] {
            while (!stop) {
                const DeviceAllInfo d = currentDevice;
                const bool consistent = (d.path == a.path && d.id == a.id && d.mouseVersion == a.mouseVersion)
                                        || (d.path == b.path && d.id == b.id && d.mouseVersion == b.mouseVersion);
                const QByteArray path(currentDevicePath.c_str());
                if (!consistent || (path != a.path.toLocal8Bit() && path != b.path.toLocal8Bit()))
                    ++torn;
            }
        };
        std::thread reader1(reader), reader2(reader);
        writer.join();
        reader1.join();
        reader2.join();
        QCOMPARE(torn.load(), 0);
    }

    void runOnGuiThreadRunsThereAndWaits()
    {
        QThread *gui = QThread::currentThread();
        QThread *ranOn = nullptr;
        runOnGuiThread([&] { ranOn = QThread::currentThread(); });
        QCOMPARE(ranOn, gui); // inline on the GUI thread itself

        ranOn = nullptr;
        std::atomic<bool> returned{false};
        int value = 0;
        std::thread other([&] {
            runOnGuiThread([&] {
                ranOn = QThread::currentThread();
                value = 7;
            });
            // The call has run by the time it returns.
            if (value == 7)
                returned = true;
        });
        QTRY_VERIFY(returned);
        other.join();
        QCOMPARE(ranOn, gui);
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestDeviceState)
#include "tst_devicestate.moc"
