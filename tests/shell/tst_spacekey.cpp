// Space in the main window: on the list page with one wireless device it
// pairs that device (or warns about firmware first); on the device page it
// pairs the open device. Either way the dialog is told its target first.

#include "support/listfixture.h"
#include "support/modalhandler.h"
#include "support/testmain.h"

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/discovery.h"
#include "device/firmwarecheck.h"
#include "device/match.h"
#include "platform/registry.h"
#include "shell/dialogmain.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

using namespace listtest;

class TestSpaceKey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void listPage_data();
    void listPage();
    void devicePagePairsTheOpenDevice();
    void receiverPulledWhilePairingReturnsToList();

private:
    std::unique_ptr<DialogMain> window;
    QTemporaryDir imageDir;
};

void TestSpaceKey::initTestCase()
{
    QVERIFY(imageDir.isValid());
    setFirmwareImageFolder(imageDir.path());
    LOAD_DEVICES(QJsonArray());
    window.reset(new DialogMain(nullptr));
    window->show();
    QTest::qWait(50);
    StopUsbChanged();
    QTest::qWait(20);
}

void TestSpaceKey::init()
{
    resetDeviceStateForTests();
    registry::remove(QString::fromLatin1(registry::kDriveTestKey), "MouseVer8629");
    for (const QString &f : QDir(imageDir.path()).entryList(QDir::Files))
        QFile::remove(imageDir.path() + "/" + f);
    pairingTargetSet = false;
    pairingTarget = DeviceAllInfo();
}

void TestSpaceKey::cleanup()
{
    StopUsbChanged();
}

void TestSpaceKey::listPage_data()
{
    QTest::addColumn<QJsonArray>("devices");
    QTest::addColumn<QString>("mouseVersion");
    QTest::addColumn<QStringList>("images");
    QTest::addColumn<QStringList>("dialogs");

    const QJsonArray one = receiverWithMouse("rx", 1, 29);
    QTest::newRow("never opened: pairing") << one << "" << QStringList() << QStringList{"Match"};
    QTest::newRow("no newer images: pairing") << one << "v1.05" << QStringList() << QStringList{"Match"};
    QTest::newRow("both newer: pairing") << one << "v1.05" << QStringList{"mouse", "receiver"} << QStringList{"Match"};
    QTest::newRow("mouse newer: warning") << one << "v1.05" << QStringList{"mouse"} << QStringList{"UpDateWarning"};
    QTest::newRow("receiver newer: update question")
        << one << "v1.05" << QStringList{"receiver"} << QStringList{"ContainReset"};
    QTest::newRow("two devices: nothing") << concat({receiverWithMouse("a", 1, 29), receiverWithMouse("b", 8, 30)})
                                          << "" << QStringList() << QStringList();
    QTest::newRow("cabled device: nothing") << QJsonArray{cabledMouse("c", 29)} << "" << QStringList() << QStringList();
}

void TestSpaceKey::listPage()
{
    QFETCH(QJsonArray, devices);
    QFETCH(QString, mouseVersion);
    QFETCH(QStringList, images);
    QFETCH(QStringList, dialogs);

    LOAD_DEVICES(devices);
    onListDeviceChanged();
    QCOMPARE(window->currentPage(), 0);
    if (!mouseVersion.isEmpty())
        registry::setValue(QString::fromLatin1(registry::kDriveTestKey), "MouseVer8629", mouseVersion);
    if (images.contains("mouse"))
        writeImage(imageDir.path(), "m.bin", firmwareTargetMouse, "VMX29_MOUSE", 0x0106);
    if (images.contains("receiver"))
        writeImage(imageDir.path(), "r.bin", firmwareTargetReceiver, "VMX29_RX1K", 0x7F00);

    ModalHandler modals;
    QTest::keyClick(window.get(), Qt::Key_Space);
    QCOMPARE(modals.seen, dialogs);
    if (dialogs == QStringList{"Match"}) {
        // The dialog was told which device to pair before it started.
        QVERIFY(pairingTargetSet);
        QCOMPARE(pairingTarget.path, hidusb::sim::pathOf("rx"));
    }
}

void TestSpaceKey::devicePagePairsTheOpenDevice()
{
    LOAD_DEVICES(concat({receiverWithMouse("open", 8, 29), receiverWithMouse("other", 1, 30)}));
    onListDeviceChanged();
    DeviceAllInfo open;
    for (const DeviceAllInfo &info : qAsConst(listedDevices))
        if (info.path == hidusb::sim::pathOf("open"))
            open = info;
    QVERIFY(!open.path.isEmpty());
    // An earlier choice on the list named the other receiver.
    pairingTarget = listedDevices.at(listedDevices.at(0).path == open.path ? 1 : 0);
    pairingTargetSet = true;
    currentDevice = open;
    currentDevicePath = open.path.toLocal8Bit();
    emit PostMsg::instance()->SigChangeMainDialog(1);
    QCOMPARE(window->currentPage(), 1);
    StopUsbChanged();
    devicePageActive = 0; // parked by a pairing that never came back

    ModalHandler modals;
    QTest::keyClick(window.get(), Qt::Key_Space);
    QCOMPARE(modals.seen, QStringList{"Match"});
    QCOMPARE(pairingTarget.path, open.path);
    emit PostMsg::instance()->SigChangeMainDialog(0);
}

// Space on the device page pairs; the receiver is pulled while it pairs. The
// pairing fails, and the window goes back to the list as an unplug without
// pairing does, instead of staying on the page of a device that is gone.
void TestSpaceKey::receiverPulledWhilePairingReturnsToList()
{
    LOAD_DEVICES(receiverWithMouse("rx", 1, 29));
    onListDeviceChanged();
    QCOMPARE(listedDevices.size(), 1);
    const DeviceAllInfo open = listedDevices.first();
    currentDevice = open;
    currentDevicePath = open.path.toLocal8Bit();
    devicePageActive = 1;
    emit PostMsg::instance()->SigChangeMainDialog(1);
    QCOMPARE(window->currentPage(), 1);

    QString buttonText;
    ModalHandler modals;
    modals.queue([&](QDialog *match) {
        // Once the dialog has seen the receiver, start pairing and pull it.
        QTimer::singleShot(300, match, [match] {
            match->findChild<QPushButton *>("MatchButton")->click();
            QVERIFY(devicePageParked);
            QVERIFY(hidusb::sim::unplug("rx"));
        });
        QTimer::singleShot(3000, match, [match, &buttonText] {
            buttonText = match->findChild<QPushButton *>("MatchButton")->text();
            match->reject();
        });
    });
    QTest::keyClick(window.get(), Qt::Key_Space);
    QCOMPARE(modals.seen, QStringList{"Match"});
    QCOMPARE(buttonText, catalogueText("pair", "PairFail"));
    QTRY_COMPARE(window->currentPage(), 0);
    QCOMPARE(devicePageActive.load(), 0);
    QVERIFY(!devicePageParked);
}

VELMORAX_TEST_MAIN(TestSpaceKey)
#include "tst_spacekey.moc"
