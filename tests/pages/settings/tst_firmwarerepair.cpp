// Repairing an interrupted firmware flash from the device list: the repair
// button opens the update and repair dialog, the dialog checks the attached
// devices against the failure record, flashes the receiver and then the
// mouse, and every way a flash can end badly (the device refuses it, the
// cable is pulled, the finished report never comes) leaves the record, a
// closable dialog and the repair button, after which a repair succeeds.

#include "support/firmwarefixture.h"
#include "support/listfixture.h"
#include "support/testmain.h"

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/dialogchange.h"
#include "device/discovery.h"
#include "device/firmwarecheck.h"
#include "device/firmwareflash.h"
#include "device/upgraderecord.h"
#include "pages/settings/updaterepair.h"
#include "platform/registry.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <memory>

using namespace listtest;
namespace sim = hidusb::sim;

namespace {

// A receiver of kind 8 and its mouse on the cable beside it.
QJsonArray receiverAndCabledMouse(bool receiverInBootMode = false)
{
    QJsonObject receiver{{"id", "rx"}, {"type", "receiver"}, {"kind", 8}, {"cid", kCid}, {"mid", 29}};
    if (receiverInBootMode)
        receiver.insert("bootMode", true);
    return QJsonArray{receiver, cabledMouse("mouse", 29, "rx")};
}

using firmwaretest::upgradeStarts;

} // namespace

class TestFirmwareRepair : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        loadTextCatalogue();
        firmwaretest::setUpFirmwareTests();
        QVERIFY(imageDir.isValid());
        // No repair dialog is made here: before any device was opened there
        // is no settings page to make it, and the list page's repair button
        // must make it itself.
        QVERIFY(!updateRepairDialog);
        // The settings page's dialogs, as the shell hands them to the list page.
        listPageDialogs = &settingsListPageDialogs();
    }
    void cleanupTestCase() { delete updateRepairDialog; }
    void init();
    void cleanup();

    void repairFlashesReceiverThenMouse();
    void badEndLeavesRecordAndClosableDialog_data();
    void badEndLeavesRecordAndClosableDialog();
    void checkRefuses_data();
    void checkRefuses();
    void startWithoutImageReportsFailure();

private:
    void images(const QStringList &files) { imageDir.add(files); }
    void openRepair();
    void startRepair();
    QString text() const { return updateRepairDialog->findChild<QLabel *>("ToolText_2")->text(); }
    QToolButton *tool(const char *name) const { return updateRepairDialog->findChild<QToolButton *>(name); }
    QProgressBar *bar() const { return updateRepairDialog->findChild<QProgressBar *>("progressBar_2"); }
    void expectClosableFailure();
    void repairSucceedsAfterwards();

    firmwaretest::ImageFolder imageDir;
    std::unique_ptr<DialogChange> page;
};

void TestFirmwareRepair::init()
{
    resetDeviceStateForTests();
    upgraderecord::removeFail();
    imageDir.set({"rx8k-newer.bin", "mouse-newer.bin"});
    // Every test starts from devices that run their factory firmware.
    QVERIFY(firmwaretest::factoryDevices(QJsonDocument(QJsonObject{{"devices", receiverAndCabledMouse()}}).toJson(),
                                         {"rx", "mouse"}));
    page.reset(new DialogChange(nullptr));
    page->show();
    QTest::qWait(50);
    StopUsbChanged();
    QTest::qWait(20);
}

void TestFirmwareRepair::cleanup()
{
    if (updateRepairDialog)
        updateRepairDialog->hide();
    QTRY_VERIFY_WITH_TIMEOUT(!repairRunning, 20000);
    page.reset();
    StopUsbChanged();
    QTest::qWait(20);
    QVERIFY(sim::waitIdle(20000));
}

// The list page as it is after a device change, then its repair button.
void TestFirmwareRepair::openRepair()
{
    onListDeviceChanged();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto *repair = page->findChild<QPushButton *>("Repair");
    QVERIFY(!repair->isHidden());
    QTest::mouseClick(repair, Qt::LeftButton);
    QVERIFY(updateRepairDialog && updateRepairDialog->isVisible());
}

void TestFirmwareRepair::startRepair()
{
    openRepair();
    QCOMPARE(text(), catalogueText("home", "ReadyUpdate"));
    QCOMPARE(tool("NewHong_2")->text(), catalogueText("update", "DialogUpgradeStart"));
    tool("NewHong_2")->click();
    QVERIFY(repairRunning);
    QVERIFY(!tool("CloseButton")->isEnabled());
    QVERIFY(!onlineCheckEnabled);
}

void TestFirmwareRepair::repairFlashesReceiverThenMouse()
{
    LOAD_DEVICES(receiverAndCabledMouse(true));
    upgraderecord::writeFail(211, 8, 86, 29);
    QSignalSpy progress(PostMsg::instance(), &PostMsg::SigAutoRepairProgress);
    QSignalSpy newVersion(PostMsg::instance(), &PostMsg::SigSetNewVer);
    QList<bool> onlineCheckDuring;
    auto c = connect(PostMsg::instance(), &PostMsg::SigAutoRepairProgress,
                     [&] { onlineCheckDuring << onlineCheckEnabled.load(); });
    startRepair();
    QTRY_VERIFY_WITH_TIMEOUT(!repairRunning, 10000);
    disconnect(c);

    QCOMPARE(text(), catalogueText("update", "DialogUpgradeSuccess"));
    QCOMPARE(bar()->value(), 100);
    QCOMPARE(sim::firmwareVersion("rx"), 0x0106);
    QCOMPARE(sim::firmwareVersion("mouse"), 0x0103);
    QVERIFY(!sim::inBootMode("rx"));
    QVERIFY(upgraderecord::failInfo().isEmpty());
    QVERIFY(page->findChild<QPushButton *>("Repair")->isHidden());
    QVERIFY(onlineCheckEnabled);
    // The online check stayed off through both parts, also between them.
    QVERIFY(!onlineCheckDuring.contains(true));
    // The receiver fills the first half, the mouse the second.
    int last = -1;
    bool sawMouseHalf = false;
    for (const QList<QVariant> &args : progress) {
        const int v = args.at(0).toInt();
        QVERIFY(v >= last || v == 50);
        last = v;
        sawMouseHalf |= v > 50;
    }
    QVERIFY(sawMouseHalf);
    QVERIFY(tool("CloseButton")->isEnabled());
    tool("CloseButton")->click();
    QCOMPARE(newVersion.count(), 1);
    QVERIFY(!updateRepairDialog->isVisible());
}

void TestFirmwareRepair::badEndLeavesRecordAndClosableDialog_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("device refuses the flash") << "refuse";
    QTest::newRow("receiver unplugged mid-flash") << "unplug";
    QTest::newRow("finished report lost") << "lost";
}

void TestFirmwareRepair::badEndLeavesRecordAndClosableDialog()
{
    QFETCH(QString, fault);
    QFile::remove(imageDir.filePath("mouse-newer.bin"));
    upgraderecord::writeFail(211, 8, 86, 29);
    if (fault == QLatin1String("refuse"))
        QVERIFY(sim::failFlashAt("rx", 40));
    if (fault == QLatin1String("lost")) {
        sim::loseNextFinishedReport();
        FirmwareFlash::instance()->setWatchdogMs(1000);
    }
    sim::setFlashDuration(fault == QLatin1String("unplug") ? 3000 : 300);
    startRepair();
    if (fault == QLatin1String("unplug")) {
        QTRY_VERIFY(bar()->value() > 5);
        QVERIFY(sim::unplug("rx"));
    }
    QTRY_VERIFY_WITH_TIMEOUT(!repairRunning, 15000);
    expectClosableFailure();
    QCOMPARE(upgraderecord::failInfo(), QStringLiteral("211,8,86,29"));

    // Put right what went wrong; the next repair succeeds and removes the record.
    if (fault == QLatin1String("refuse"))
        QVERIFY(sim::failFlashAt("rx", -1));
    if (fault == QLatin1String("unplug"))
        QVERIFY(sim::plug("rx"));
    sim::setFlashDuration(300);
    repairSucceedsAfterwards();
}

void TestFirmwareRepair::expectClosableFailure()
{
    QCOMPARE(text(), catalogueText("update", "DialogUpgradeFail"));
    QVERIFY(onlineCheckEnabled);
    onListDeviceChanged();
    QVERIFY(!page->findChild<QPushButton *>("Repair")->isHidden());
    QVERIFY(tool("CloseButton")->isEnabled());
    QVERIFY(tool("NewHong")->isEnabled() && !tool("NewHong")->isHidden());
    tool("NewHong")->click();
    QVERIFY(!updateRepairDialog->isVisible());
}

void TestFirmwareRepair::repairSucceedsAfterwards()
{
    startRepair();
    QTRY_VERIFY_WITH_TIMEOUT(!repairRunning, 10000);
    QCOMPARE(text(), catalogueText("update", "DialogUpgradeSuccess"));
    QVERIFY(upgraderecord::failInfo().isEmpty());
    QCOMPARE(sim::firmwareVersion("rx"), 0x0106);
    QVERIFY(!sim::inBootMode("rx"));
}

void TestFirmwareRepair::checkRefuses_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("devices");
    QTest::addColumn<QString>("message"); // catalogue "home" key; empty: nothing shown
    QTest::newRow("record of three parts") << "211,8,86" << QStringList{"rx8k-newer.bin"} << "both"
                                           << "";
    QTest::newRow("nothing attached") << "211,8,86,29" << QStringList{"rx8k-newer.bin"} << "none"
                                      << "NoUSB";
    QTest::newRow("mouse record, nothing attached") << "210,8,86,29" << QStringList{"mouse-newer.bin"} << "none"
                                                    << "NoRecieve";
    QTest::newRow("no image for the part") << "211,8,86,29" << QStringList() << "both"
                                           << "ErrorFile";
    QTest::newRow("only unsound or foreign images")
        << "211,8,86,29"
        << QStringList{"rx8k-truncated.bin", "rx8k-damaged.bin", "rx8k-other-model.bin", "rx8k-other-cid.bin"} << "both"
        << "ErrorFile";
    QTest::newRow("receiver record, mouse not on its cable")
        << "211,8,86,29" << QStringList{"rx8k-newer.bin"} << "wireless"
        << "NoUSB";
}

void TestFirmwareRepair::checkRefuses()
{
    QFETCH(QString, record);
    QFETCH(QStringList, files);
    QFETCH(QString, devices);
    QFETCH(QString, message);
    imageDir.set(files);
    if (devices == QLatin1String("none"))
        LOAD_DEVICES(QJsonArray());
    else if (devices == QLatin1String("wireless"))
        LOAD_DEVICES(receiverWithMouse("rx", 8));
    registry::setValue(QString::fromLatin1(registry::kDriveTestKey), "UpdateFailInfo", record);
    sim::clearJournal();
    const int receiverVersion = sim::firmwareVersion("rx");

    openRepair();
    if (message.isEmpty()) {
        QVERIFY(text().isEmpty()); // the start view stays as it was
    } else {
        QCOMPARE(text(), catalogueText("home", message));
        QCOMPARE(tool("NewHong_2")->text(), catalogueText("common", "OK"));
        tool("NewHong_2")->click();
        QVERIFY(!updateRepairDialog->isVisible());
    }
    QCOMPARE(upgradeStarts(), 0);
    QCOMPARE(sim::firmwareVersion("rx"), receiverVersion);
    QCOMPARE(upgraderecord::failInfo(), record);
}

// A start with nothing to flash says so, keeps the record and the repair
// button, and the dialog can be closed.
void TestFirmwareRepair::startWithoutImageReportsFailure()
{
    upgraderecord::writeFail(211, 8, 86, 29);
    QSignalSpy button(PostMsg::instance(), &PostMsg::SigUpDateButton);
    UpDateRepair fresh(nullptr);
    sim::clearJournal();
    fresh.startUpgrade();
    QCOMPARE(upgradeStarts(), 0);
    QVERIFY(!repairRunning);
    QCOMPARE(fresh.findChild<QLabel *>("ToolText_2")->text(), catalogueText("home", "ErrorFile"));
    QVERIFY(fresh.findChild<QToolButton *>("CloseButton")->isEnabled());
    QCOMPARE(button.count(), 1);
    QCOMPARE(button.first().at(0).toBool(), false);
    QCOMPARE(upgraderecord::failInfo(), QStringLiteral("211,8,86,29"));
}

VELMORAX_TEST_MAIN(TestFirmwareRepair)
#include "tst_firmwarerepair.moc"
