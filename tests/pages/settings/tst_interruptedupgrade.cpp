// An upgrade from the settings page that does not end well: the receiver or
// the mouse is unplugged during its flash, the finished report never comes,
// the device refuses the image, or the program itself is killed mid-flash.
// Each leaves the failure record and a dialog the user can close; the device
// list then offers the repair, which succeeds and removes the record.

#include "support/delayscale.h"
#include "support/firmwarefixture.h"
#include "support/testmain.h"

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/dialogchange.h"
#include "device/discovery.h"
#include "device/upgraderecord.h"
#include "pages/settings/formsetting.h"
#include "pages/settings/updaterepair.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <cstdio>
#include <memory>

namespace sim = hidusb::sim;

namespace {

const QByteArray &kScenario = firmwaretest::receiverAndCabledMouseScenario();

// Set in the environment of the child program that is killed mid-flash; it
// names the parent's image folder.
const char kChildVariable[] = "VELMORAX_FLASH_UNTIL_KILLED";
// What the child prints once its receiver flash is under way.
const char kFlashingMarker[] = "receiver flash under way";

using firmwaretest::openCabledMouseBesideReceiver;

} // namespace

class TestInterruptedUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The upgrade's steps and limits at a tenth of their time.
        testdelays::shrink(0.1);
        loadTextCatalogue();
        firmwaretest::setUpFirmwareTests();
        QVERIFY(imageDir.isValid());
        // The settings page's dialogs, as the shell hands them to the list page.
        listPageDialogs = &settingsListPageDialogs();
    }
    void init();
    void cleanup();

    void repairedFromTheList_data();
    void repairedFromTheList();
    void killedMidFlash();
    // Run only as the child program of killedMidFlash.
    void flashUntilKilled();

private:
    void startUpgrade();
    void repairFromTheList(const QString &record);
    QString dialogText() const { return updateRepairDialog->findChild<QLabel *>("ToolText_2")->text(); }
    QToolButton *dialogButton(const char *name) const { return updateRepairDialog->findChild<QToolButton *>(name); }

    firmwaretest::ImageFolder imageDir;
    std::unique_ptr<FormSetting> settings;
    std::unique_ptr<DialogChange> list;
};

void TestInterruptedUpgrade::init()
{
    resetDeviceStateForTests();
    upgraderecord::removeFail();
    imageDir.set({"rx8k-newer.bin", "mouse-newer.bin"});
    QVERIFY(firmwaretest::factoryDevices(kScenario, {"rx", "mouse"}));
    openCabledMouseBesideReceiver();
    devicePageActive = 1;
    settings.reset(new FormSetting(nullptr));
    QVERIFY(updateRepairDialog);
}

void TestInterruptedUpgrade::cleanup()
{
    QTRY_VERIFY_WITH_TIMEOUT(!upgradeRunning && !repairRunning, 20000);
    QVERIFY(sim::waitIdle(20000));
    list.reset();
    StopUsbChanged();
    delete updateRepairDialog;
    settings.reset();
    QVERIFY(sim::failFlashAt("rx", -1));
    QVERIFY(sim::failFlashAt("mouse", -1));
}

void TestInterruptedUpgrade::startUpgrade()
{
    settings->SetVer(0);
    QVERIFY(updateRepairDialog->isVisible());
    QCOMPARE(dialogText(), catalogueText("home", "ReadyUpdate"));
    dialogButton("NewHong_2")->click();
    QVERIFY(upgradeRunning);
}

// The next start of the program: the device list shows its repair button,
// which opens the dialog ready to repair; the repair puts both parts on the
// newer firmware and removes the record.
void TestInterruptedUpgrade::repairFromTheList(const QString &record)
{
    QCOMPARE(upgraderecord::failInfo(), record);
    devicePageActive = 0;
    list.reset(new DialogChange(nullptr));
    list->show();
    QTest::qWait(50);
    StopUsbChanged();
    onListDeviceChanged();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto *repair = list->findChild<QPushButton *>("Repair");
    QVERIFY(!repair->isHidden());
    QTest::mouseClick(repair, Qt::LeftButton);
    QVERIFY(updateRepairDialog->isVisible());
    QCOMPARE(dialogText(), catalogueText("home", "ReadyUpdate"));
    dialogButton("NewHong_2")->click();
    QVERIFY(repairRunning);
    QTRY_VERIFY_WITH_TIMEOUT(!repairRunning, 20000);
    QCOMPARE(dialogText(), catalogueText("update", "DialogUpgradeSuccess"));
    QVERIFY(upgraderecord::failInfo().isEmpty());
    QCOMPARE(sim::firmwareVersion("rx"), 0x0106);
    QCOMPARE(sim::firmwareVersion("mouse"), 0x0103);
    QVERIFY(!sim::inBootMode("rx") && !sim::inBootMode("mouse"));
    onListDeviceChanged();
    QVERIFY(repair->isHidden());
}

void TestInterruptedUpgrade::repairedFromTheList_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("record");
    QTest::newRow("receiver refuses the image") << "refuse"
                                                << "rx"
                                                << "211,8,86,29";
    QTest::newRow("receiver unplugged mid-flash") << "unplug"
                                                  << "rx"
                                                  << "211,8,86,29";
    QTest::newRow("receiver's finished report lost") << "lost"
                                                     << "rx"
                                                     << "211,8,86,29";
    QTest::newRow("mouse unplugged mid-flash") << "unplug"
                                               << "mouse"
                                               << "210,8,86,29";
}

void TestInterruptedUpgrade::repairedFromTheList()
{
    QFETCH(QString, fault);
    QFETCH(QString, device);
    QFETCH(QString, record);
    const bool mouse = device == QLatin1String("mouse");
    if (fault == QLatin1String("refuse"))
        QVERIFY(sim::failFlashAt(device, 40));
    if (fault == QLatin1String("lost")) {
        sim::loseNextFinishedReport();
        FirmwareFlash::instance()->setWatchdogMs(1000);
    }
    if (fault == QLatin1String("unplug"))
        sim::setFlashDuration(3000);
    QSignalSpy progress(PostMsg::instance(), &PostMsg::SigProgress);
    QSignalSpy back(PostMsg::instance(), &PostMsg::SigChangeMainDialog);
    startUpgrade();
    if (fault == QLatin1String("unplug")) {
        // Well into the part's own half of the bar.
        const int from = mouse ? 55 : 5;
        QTRY_VERIFY_WITH_TIMEOUT(
            !progress.isEmpty() && progress.last().at(1).toInt() == 0 && progress.last().at(0).toInt() > from, 20000);
        QVERIFY(sim::unplug(device));
    }
    QTRY_COMPARE_WITH_TIMEOUT(mouse ? firmwareupgrade::mouseState() : firmwareupgrade::receiverState(), 3, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!upgradeRunning, 20000);

    // The failure view, and nothing keeps the user in the dialog.
    QCOMPARE(dialogText(), catalogueText("update", "DialogUpgradeFail"));
    QVERIFY(onlineCheckEnabled);
    QVERIFY(dialogButton("CloseButton")->isEnabled());
    QVERIFY(dialogButton("NewHong")->isEnabled() && !dialogButton("NewHong")->isHidden());
    dialogButton("NewHong")->click();
    QVERIFY(!updateRepairDialog->isVisible());
    QCOMPARE(back.count(), 1);
    QCOMPARE(upgraderecord::failInfo(), record);
    QVERIFY(QFileInfo::exists(upgraderecord::failMarkerPath()));

    // Put right what went wrong, then start again from the list.
    QVERIFY(sim::failFlashAt(device, -1));
    if (fault == QLatin1String("unplug"))
        QVERIFY(sim::plug(device));
    sim::setFlashDuration(300);
    FirmwareFlash::instance()->setWatchdogMs(FirmwareFlash::defaultWatchdogMs());
    repairFromTheList(record);
}

// A child program runs the upgrade and is killed while the receiver flashes;
// the record it wrote before the first byte went out survives, and a fresh
// start of the devices repairs the receiver.
void TestInterruptedUpgrade::killedMidFlash()
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), imageDir.path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("flashUntilKilled")});
    QVERIFY(child.waitForStarted());
    QByteArray output;
    QElapsedTimer waited;
    waited.start();
    while (!output.contains(kFlashingMarker) && child.state() == QProcess::Running && waited.elapsed() < 60000) {
        child.waitForReadyRead(200);
        output += child.readAll();
    }
    QVERIFY2(output.contains(kFlashingMarker), output.constData());
    child.kill();
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    // A fresh start: the devices as their flash left them.
    sim::restart();
    QVERIFY(sim::loadScenarioJson(kScenario));
    QVERIFY(sim::inBootMode("rx"));
    QCOMPARE(sim::firmwareVersion("mouse"), 0x0102);
    repairFromTheList(QStringLiteral("211,8,86,29"));
}

void TestInterruptedUpgrade::flashUntilKilled()
{
    const QString folder = qEnvironmentVariable(kChildVariable);
    if (folder.isEmpty())
        QSKIP("the program killedMidFlash starts and kills");
    setFirmwareImageFolder(folder);
    sim::setFlashDuration(30000);
    QSignalSpy progress(PostMsg::instance(), &PostMsg::SigProgress);
    startUpgrade();
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last().at(0).toInt() > 10, 30000);
    QVERIFY(upgraderecord::failInfo() == QLatin1String("211,8,86,29"));
    std::printf("%s\n", kFlashingMarker);
    std::fflush(stdout);
    // Killed here; the test program that started it never lets it finish.
    QTest::qWait(120000);
    QFAIL("not killed");
}

VELMORAX_TEST_MAIN(TestInterruptedUpgrade)
#include "tst_interruptedupgrade.moc"
