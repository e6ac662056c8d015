// Discovery for the open device page: devices coming and going while the
// device page is open, the receiver kind beside a cabled mouse, and the ids
// a device answers with.

#include "support/pagefixture.h"
#include "support/testmain.h"

#include "device/discovery.h"
#include "device/firmwarecheck.h"
#include "device/worker.h"
#include "pages/settings/updaterepair.h"

#include <QSignalSpy>
#include <QtTest>

using namespace pagetest;

// Rows of the receiver-kind table carry whole device lists.
Q_DECLARE_METATYPE(QList<DeviceAllInfo>)

namespace {

DeviceAllInfo entry(bool wired, const QByteArray &receiverId, quint8 linkCode, const QString &version)
{
    DeviceAllInfo info;
    info.wired = wired;
    info.receiverId = receiverId;
    info.linkCode = linkCode;
    info.receiverVersion = version;
    return info;
}

const QByteArray kReceiver("\x11\x22\x33", 3);

} // namespace

class PageDiscoveryTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void receiverKind_data();
    void receiverKind();
    void identify_data();
    void identify();
    void unplugReturnsToList();
    void unplugDuringUpgradeLeavesDeviceAlone();
    void lateCallbackAfterLeavingDoesNothing();
    void cableTakesOver();
    void otherModelDoesNotCloseThePage();
    void callbackFromLibraryThread();
    void firmwareDialogLooksAgain_data();
    void firmwareDialogLooksAgain();
};

void PageDiscoveryTest::init()
{
    devicePageActive = 1;
    onlineCheckEnabled = true;
    runRequested = false;
    pageDevices = QList<DeviceAllInfo>();
}

void PageDiscoveryTest::cleanup()
{
    StopUsbChanged();
    onlineCheckEnabled = true;
}

void PageDiscoveryTest::receiverKind_data()
{
    QTest::addColumn<QList<DeviceAllInfo>>("devices");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");

    const DeviceAllInfo cabled = entry(true, kReceiver, 2, "v1.00");
    QTest::newRow("mouse and receiver kind 1")
        << QList<DeviceAllInfo>{cabled, entry(false, kReceiver, 0, "v1.05")} << 1 << "v1.05";
    QTest::newRow("receiver kind 2") << QList<DeviceAllInfo>{entry(false, kReceiver, 4, "v2.00"), cabled} << 2
                                     << "v2.00";
    QTest::newRow("receiver kind 4") << QList<DeviceAllInfo>{cabled, entry(false, kReceiver, 1, "v3.00")} << 4
                                     << "v3.00";
    QTest::newRow("receiver kind 8") << QList<DeviceAllInfo>{cabled, entry(false, kReceiver, 5, "v4.00")} << 8
                                     << "v4.00";
    QTest::newRow("receiver without id") << QList<DeviceAllInfo>{cabled, entry(false, QByteArray(), 0, "v1.05")} << 0
                                         << "";
    QTest::newRow("only the cabled mouse") << QList<DeviceAllInfo>{cabled} << 0 << "";
    QTest::newRow("nothing") << QList<DeviceAllInfo>{} << 0 << "";
    QTest::newRow("three devices") << QList<DeviceAllInfo>{cabled, entry(false, kReceiver, 0, "v1.05"),
                                                           entry(false, kReceiver, 4, "v2.00")}
                                   << 0 << "";
}

void PageDiscoveryTest::receiverKind()
{
    QFETCH(QList<DeviceAllInfo>, devices);
    QFETCH(int, kind);
    QFETCH(QString, text);

    QString receiverText = QStringLiteral("stale");
    QCOMPARE(pageReceiverKind(devices, &receiverText), kind);
    QCOMPARE(receiverText, text);
    // A kind of "none" never finds a receiver image.
    if (kind == 0)
        QVERIFY(!checkFirmwareUpdate(211, text, kind));
}

void PageDiscoveryTest::identify_data()
{
    QTest::addColumn<int>("cid");
    QTest::addColumn<int>("mid");
    QTest::addColumn<int>("answersAfter");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("modelIndex");

    // The catalogue holds three models (MID 29, 30, 31) of customer id 86.
    QTest::newRow("catalogued model") << 86 << 29 << 1 << 1 << 0;
    QTest::newRow("third model") << 86 << 31 << 1 << 1 << 2;
    QTest::newRow("our customer id, unknown model") << 86 << 99 << 1 << 2 << 3;
    QTest::newRow("another customer id") << 7 << 29 << 1 << 3 << 3;
    QTest::newRow("id on the ninth answer") << 86 << 29 << 9 << 1 << 0;
    QTest::newRow("id only on the tenth answer") << 86 << 29 << 10 << 0 << 3;
}

void PageDiscoveryTest::identify()
{
    QFETCH(int, cid);
    QFETCH(int, mid);
    QFETCH(int, answersAfter);
    QFETCH(int, result);
    QFETCH(int, modelIndex);

    const QByteArray scenario =
        QStringLiteral(
            R"({"devices": [{"id": "receiver", "type": "receiver", "kind": 1, "cid": %1, "mid": %2, "idAnswersAfter": %3}]})")
            .arg(cid)
            .arg(mid)
            .arg(answersAfter)
            .toUtf8();
    QString error;
    QVERIFY2(hidusb::sim::loadScenarioJson(scenario, &error), qPrintable(error));
    currentDevice = DeviceAllInfo();
    DeviceAllInfo entry;
    const QString path = hidusb::sim::pathOf(QStringLiteral("receiver"));
    entry.path = path;
    QCOMPARE(identifyDevice(entry, path), result);
    QCOMPARE(entry.modelIndex, modelIndex);
    QVERIFY(!entry.wired);
    if (result == 1) {
        QCOMPARE(int(entry.id), cid | (mid << 8));
        QCOMPARE(entry.receiverId.size(), 3);
    } else {
        QCOMPARE(int(entry.id), 0);
    }
}

void PageDiscoveryTest::unplugReturnsToList()
{
    const QString path = openSimulatedMouse();
    onPageDeviceChanged();
    QCOMPARE(pageDevices.get().size(), 1);
    QCOMPARE(QString::fromLatin1(currentDevicePath.c_str()), path);

    HubRecorder hub;
    QVERIFY(hidusb::sim::unplug(QStringLiteral("receiver")));
    onPageDeviceChanged();
    QCOMPARE(hub.described().first(), QStringLiteral("SigSetver(4)"));
    QCOMPARE(hub.count("SigChangeMainDialog(0)"), 1);
    QVERIFY(currentDevice.get().path.isEmpty());
    QVERIFY(pageDevices.get().isEmpty());
}

void PageDiscoveryTest::unplugDuringUpgradeLeavesDeviceAlone()
{
    const QString path = openSimulatedMouse();
    onlineCheckEnabled = false;
    HubRecorder hub;
    QVERIFY(hidusb::sim::unplug(QStringLiteral("receiver")));
    onPageDeviceChanged();
    QCOMPARE(hub.count("SigChangeMainDialog(0)"), 0);
    QCOMPARE(currentDevice.get().path, path);
    QCOMPARE(QString::fromLatin1(currentDevicePath.c_str()), path);
}

void PageDiscoveryTest::lateCallbackAfterLeavingDoesNothing()
{
    const QString path = openSimulatedMouse();
    // Leaving the page answers the first "gone" at once, as the main window
    // does; a change still queued behind it must not close the page again.
    QObject guard;
    connect(PostMsg::instance(), &PostMsg::SigChangeMainDialog, &guard, [](int index) {
        if (index == 0)
            devicePageActive = 0;
    });
    HubRecorder hub;
    QVERIFY(hidusb::sim::unplug(QStringLiteral("receiver")));
    onPageDeviceChanged();
    onPageDeviceChanged();
    QCOMPARE(hub.count("SigChangeMainDialog(0)"), 1);
    QCOMPARE(hub.count("SigSetver(4)"), 1);
    Q_UNUSED(path);
}

void PageDiscoveryTest::cableTakesOver()
{
    const QString receiverPath = openSimulatedMouse();
    onPageDeviceChanged();
    const DeviceAllInfo wireless = currentDevice.get();
    QVERIFY(!wireless.wired);
    QCOMPARE(wireless.receiverId.size(), 3);

    HubRecorder hub;
    QVERIFY(hidusb::sim::plug(QStringLiteral("mouse")));
    const QString cablePath = hidusb::sim::pathOf(QStringLiteral("mouse"));
    QVERIFY(!cablePath.isEmpty() && cablePath != receiverPath);
    onPageDeviceChanged();

    const DeviceAllInfo open = currentDevice.get();
    QCOMPARE(open.path, cablePath);
    QVERIFY(open.wired);
    QCOMPARE(QString::fromLatin1(currentDevicePath.c_str()), cablePath);
    QVERIFY(runRequested);
    QCOMPARE(hub.count("SigChangeMainDialog(0)"), 0);
    QCOMPARE(pageDevices.get().size(), 2);
    // The cabled mouse reports its receiver to the settings page.
    QCOMPARE(hub.names().filter(QStringLiteral("SigLabelTextB")).size(), 1);
}

void PageDiscoveryTest::otherModelDoesNotCloseThePage()
{
    const QString path = openSimulatedMouse();
    QByteArray scenario = R"({"devices": [
        {"id": "receiver", "type": "receiver", "kind": 1},
        {"id": "mouse", "type": "mouse", "pairedTo": "receiver", "online": true},
        {"id": "receiver2", "type": "receiver", "kind": 1, "mid": 30, "receiverId": [9, 8, 7]},
        {"id": "mouse2", "type": "mouse", "pairedTo": "receiver2", "mid": 30, "online": true}
    ]})";
    QString error;
    QVERIFY2(hidusb::sim::loadScenarioJson(scenario, &error), qPrintable(error));
    DeviceAllInfo open = currentDevice.get();
    open.path = hidusb::sim::pathOf(QStringLiteral("receiver"));
    currentDevice = open;

    HubRecorder hub;
    onPageDeviceChanged();
    QCOMPARE(hub.count("SigChangeMainDialog(0)"), 0);
    QCOMPARE(currentDevice.get().path, open.path);
    for (const DeviceAllInfo &d : pageDevices.get())
        QCOMPARE(d.modelIndex, 0);
    Q_UNUSED(path);
}

void PageDiscoveryTest::callbackFromLibraryThread()
{
    // Armed as the main window arms it: the library calls back on its own
    // thread and the page's work still happens on the GUI thread.
    openSimulatedMouse();
    QSignalSpy back(PostMsg::instance(), &PostMsg::SigChangeMainDialog);
    QSignalSpy setver(PostMsg::instance(), &PostMsg::SigSetver);
    QVERIFY(StartUsbChanged(onPageDeviceChanged, 600));
    QTRY_VERIFY_WITH_TIMEOUT(setver.count() >= 1, 5000);
    QCOMPARE(back.count(), 0);
    QVERIFY(hidusb::sim::unplug(QStringLiteral("receiver")));
    QTRY_COMPARE_WITH_TIMEOUT(back.count(), 1, 5000);
    QCOMPARE(back.first().first().toInt(), 0);
    StopUsbChanged();
}

void PageDiscoveryTest::firmwareDialogLooksAgain_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("flashing");
    QTest::addColumn<int>("checks");
    QTest::newRow("dialog shown") << true << false << 1;
    QTest::newRow("dialog hidden") << false << false << 0;
    QTest::newRow("dialog flashing") << true << true << 0;
}

// The firmware dialog tells the device link whether it is shown; a device
// change then asks it to look at the devices again, unless it is flashing.
void PageDiscoveryTest::firmwareDialogLooksAgain()
{
    QFETCH(bool, shown);
    QFETCH(bool, flashing);
    QFETCH(int, checks);

    openSimulatedMouse();
    UpDateRepair dialog;
    UpDateRepair *const previous = updateRepairDialog;
    updateRepairDialog = &dialog;
    if (shown)
        dialog.show();
    QCOMPARE(bool(updateRepairDialogShown), shown);
    upgradeRunning = flashing;

    HubRecorder hub;
    onPageDeviceChanged();
    QCOMPARE(hub.count("SigCheckUpdate"), checks);

    dialog.hide();
    QVERIFY(!updateRepairDialogShown);
    upgradeRunning = false;
    updateRepairDialog = previous;
}

VELMORAX_TEST_MAIN(PageDiscoveryTest)
#include "tst_pagediscovery.moc"
