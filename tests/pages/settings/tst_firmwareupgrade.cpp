// The settings page's firmware upgrade against a simulated receiver with its
// mouse on the cable beside it: the readiness check opens the update dialog
// only for strictly newer images, the start button flashes the receiver and
// then the mouse with the progress split between them, the version labels
// follow, and a failing flash leaves the failure record, the marker file and
// a closable dialog.

#include "support/delayscale.h"
#include "support/filesizelimit.h"
#include "support/firmwarefixture.h"
#include "support/testmain.h"

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/firmwarecheck.h"
#include "device/upgraderecord.h"
#include "pages/settings/formsetting.h"
#include "pages/settings/updaterepair.h"
#include "platform/hidusb/simcontrol.h"
#include "platform/registry.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace sim = hidusb::sim;

namespace {

const QByteArray &kScenario = firmwaretest::receiverAndCabledMouseScenario();

using firmwaretest::openCabledMouseBesideReceiver;

} // namespace

class TestFirmwareUpgrade : public QObject
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
    }
    void init();
    void cleanup();

    void bothPartsUpgradeReceiverThenMouse();
    void onlyTheMouseIsNewer();
    void noPromptForOlderOrEqualImages();
    void failingReceiverFlashStopsTheUpgrade();
    void unstorableFailureRecordStopsTheFlash();
    void unreadableReceiverVersion_data();
    void unreadableReceiverVersion();
    void pairingWritesTheReceiversIdToCabledMice_data();
    void pairingWritesTheReceiversIdToCabledMice();
    void upgradeMarkStopperAndWait();

private:
    void images(const QStringList &files) { imageDir.set(files); }
    QString dialogText() const { return updateRepairDialog->findChild<QLabel *>("ToolText_2")->text(); }
    QToolButton *dialogButton(const char *name) const { return updateRepairDialog->findChild<QToolButton *>(name); }
    QLabel *label(const char *name) const { return page->findChild<QLabel *>(name); }
    void startFromDialog();

    firmwaretest::ImageFolder imageDir;
    std::unique_ptr<FormSetting> page;
};

void TestFirmwareUpgrade::init()
{
    resetDeviceStateForTests();
    upgraderecord::removeFail();
    QFile::remove(upgraderecord::failMarkerPath());
    imageDir.clear();
    QVERIFY(firmwaretest::factoryDevices(kScenario, {"rx", "mouse"}));
    openCabledMouseBesideReceiver();
    devicePageActive = 1;
    page.reset(new FormSetting(nullptr));
    QVERIFY(updateRepairDialog);
}

void TestFirmwareUpgrade::cleanup()
{
    QTRY_VERIFY_WITH_TIMEOUT(!upgradeRunning, 20000);
    QVERIFY(sim::waitIdle(20000));
    delete updateRepairDialog;
    page.reset();
}

void TestFirmwareUpgrade::startFromDialog()
{
    page->SetVer(0);
    QVERIFY(updateRepairDialog->isVisible());
    QCOMPARE(dialogText(), catalogueText("home", "ReadyUpdate"));
    dialogButton("NewHong_2")->click();
    QVERIFY(upgradeRunning);
    QVERIFY(!onlineCheckEnabled);
    QVERIFY(!dialogButton("CloseButton")->isEnabled());
}

void TestFirmwareUpgrade::bothPartsUpgradeReceiverThenMouse()
{
    images({"rx8k-newer.bin", "mouse-newer.bin", "rx8k-older.bin", "mouse-equal.bin"});
    QSignalSpy progress(PostMsg::instance(), &PostMsg::SigProgress);
    QSignalSpy labels(PostMsg::instance(), &PostMsg::SigLabelText);
    startFromDialog();
    QCOMPARE(firmwareupgrade::partsCount(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(firmwareupgrade::receiverPartFlashing(), 5000);
    QVERIFY(firmwareupgrade::partFlashing() && !firmwareupgrade::mousePartFlashing());
    QTRY_VERIFY_WITH_TIMEOUT(firmwareupgrade::mousePartFlashing(), 20000);
    QVERIFY(firmwareupgrade::partFlashing() && !firmwareupgrade::receiverPartFlashing());
    // Part states keep their values from one upgrade to the next; the
    // device's version tells when this one is done.
    QTRY_COMPARE_WITH_TIMEOUT(sim::firmwareVersion("mouse"), 0x0103, 20000);
    QTRY_VERIFY(!upgradeRunning);
    QCOMPARE(firmwareupgrade::mouseState(), 2);

    QCOMPARE(sim::firmwareVersion("rx"), 0x0106);
    QCOMPARE(sim::firmwareVersion("mouse"), 0x0103);
    QCOMPARE(label("label_5")->text(), QStringLiteral("v1.06"));
    QCOMPARE(label("label_7")->text(), QStringLiteral("v1.03"));
    QCOMPARE(labels.count(), 2);
    QVERIFY(upgraderecord::failInfo().isEmpty());
    QCOMPARE(registry::value(QString::fromLatin1(registry::kDriveTestKey), "MouseVer8629"), QStringLiteral("v1.03"));
    QVERIFY(onlineCheckEnabled);
    // The receiver runs 0-50 %, the mouse 50-100 %, and success is reported once.
    bool sawReceiver = false, sawMouse = false;
    int successes = 0;
    for (const QList<QVariant> &args : progress) {
        const int value = args.at(0).toInt();
        const int status = args.at(1).toInt();
        if (status == 0) {
            QVERIFY(value >= 0 && value <= 100);
            sawReceiver |= value > 0 && value < 50;
            sawMouse |= value > 50;
        }
        successes += status == 2;
        QVERIFY(status != 1);
    }
    QVERIFY(sawReceiver && sawMouse);
    QCOMPARE(successes, 1);
    QCOMPARE(dialogText(), catalogueText("update", "DialogUpgradeSuccess"));
    QSignalSpy newVersion(PostMsg::instance(), &PostMsg::SigSetNewVer);
    dialogButton("NewHong_2")->click();
    QCOMPARE(newVersion.count(), 1);
    QCOMPARE(page->findChild<QToolButton *>("Receive_2")->text(), keyboardText("update", "newTips"));
}

void TestFirmwareUpgrade::onlyTheMouseIsNewer()
{
    images({"rx8k-equal.bin", "mouse-newer.bin"});
    QSignalSpy progress(PostMsg::instance(), &PostMsg::SigProgress);
    startFromDialog();
    QCOMPARE(firmwareupgrade::partsCount(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(sim::firmwareVersion("mouse"), 0x0103, 20000);
    QTRY_VERIFY(!upgradeRunning);
    QCOMPARE(firmwareupgrade::mouseState(), 2);
    QCOMPARE(firmwareupgrade::receiverState(), 4);
    QCOMPARE(sim::firmwareVersion("rx"), 0x0105);
    QCOMPARE(sim::firmwareVersion("mouse"), 0x0103);
    // The mouse alone fills the whole bar.
    bool sawLow = false;
    for (const QList<QVariant> &args : progress)
        sawLow |= args.at(1).toInt() == 0 && args.at(0).toInt() > 0 && args.at(0).toInt() < 50;
    QVERIFY(sawLow);
}

void TestFirmwareUpgrade::noPromptForOlderOrEqualImages()
{
    images({"rx8k-older.bin", "rx8k-equal.bin", "mouse-older.bin", "mouse-equal.bin", "mouse-damaged.bin",
            "rx8k-truncated.bin"});
    QSignalSpy frame(PostMsg::instance(), &PostMsg::SigUpdateFrame);
    sim::clearJournal();
    page->SetVer(0);
    QCOMPARE(frame.count(), 1);
    QCOMPARE(frame.first().at(0).toBool(), false);
    QVERIFY(!updateRepairDialog->isVisible());
    QVERIFY(!mouseUpdateFlag && !receiverUpdateFlag);
    for (const sim::JournalEntry &e : sim::journal())
        QVERIFY(e.function != QLatin1String("UsbUpgrade_Start"));
}

void TestFirmwareUpgrade::failingReceiverFlashStopsTheUpgrade()
{
    images({"rx8k-newer.bin", "mouse-newer.bin"});
    QVERIFY(sim::failFlashAt("rx", 40));
    QSignalSpy back(PostMsg::instance(), &PostMsg::SigChangeMainDialog);
    sim::clearJournal();
    startFromDialog();
    QTRY_COMPARE_WITH_TIMEOUT(firmwareupgrade::receiverState(), 3, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!upgradeRunning, 5000);
    QCOMPARE(dialogText(), catalogueText("update", "DialogUpgradeFail"));
    QCOMPARE(upgraderecord::failInfo(), QStringLiteral("211,8,86,29"));
    QVERIFY(QFileInfo::exists(upgraderecord::failMarkerPath()));
    QVERIFY(onlineCheckEnabled);
    // No mouse part after a failed receiver, also a few steps later.
    QTest::qWait(3 * testdelays::ms(delays::Delay::UpgradeStepTick));
    QCOMPARE(firmwaretest::upgradeStarts(), 1);
    QCOMPARE(sim::firmwareVersion("mouse"), 0x0102);
    QVERIFY(dialogButton("CloseButton")->isEnabled());
    dialogButton("NewHong")->click();
    QVERIFY(!updateRepairDialog->isVisible());
    QCOMPARE(back.count(), 1);
    QCOMPARE(back.first().at(0).toInt(), 0);
    QVERIFY(sim::failFlashAt("rx", -1));
}

// On a full disk the record that would offer a cut-off flash for repair
// cannot be stored: nothing is flashed, and the dialog says why.
void TestFirmwareUpgrade::unstorableFailureRecordStopsTheFlash()
{
    images({"rx8k-newer.bin", "mouse-newer.bin"});
    sim::clearJournal();
    {
        FileSizeLimit full(16);
        QVERIFY(full.active());
        startFromDialog();
        QTRY_COMPARE_WITH_TIMEOUT(firmwareupgrade::receiverState(), 3, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!upgradeRunning, 5000);
    }
    QCOMPARE(dialogText(), catalogueText("update", "DialogUpgradeNotStored"));
    QVERIFY(!dialogText().isEmpty());
    QCOMPARE(firmwaretest::upgradeStarts(), 0);
    QCOMPARE(sim::firmwareVersion("rx"), 0x0105);
    QCOMPARE(sim::firmwareVersion("mouse"), 0x0102);
    QVERIFY(upgraderecord::failInfo().isEmpty());
    QVERIFY(!QFileInfo::exists(upgraderecord::failMarkerPath()));
    QVERIFY(onlineCheckEnabled);
    QVERIFY(dialogButton("CloseButton")->isEnabled());
}

// The receiver does not answer the version query when its part starts: the
// version listed for it decides, and without one nothing is written over it.
void TestFirmwareUpgrade::unreadableReceiverVersion_data()
{
    QTest::addColumn<QString>("receiverImage");
    QTest::addColumn<bool>("versionListed");
    QTest::addColumn<int>("receiverAfter");
    QTest::newRow("equal image") << "rx8k-equal.bin" << true << 0x0105;
    QTest::newRow("older image") << "rx8k-older.bin" << true << 0x0105;
    QTest::newRow("newer image") << "rx8k-newer.bin" << true << 0x0106;
    QTest::newRow("equal image, no version listed") << "rx8k-equal.bin" << false << 0x0105;
    QTest::newRow("newer image, no version known") << "rx8k-newer.bin" << false << 0x0105;
}

void TestFirmwareUpgrade::unreadableReceiverVersion()
{
    QFETCH(QString, receiverImage);
    QFETCH(bool, versionListed);
    QFETCH(int, receiverAfter);
    images({receiverImage, "mouse-newer.bin"});
    // The receiver's listed path no longer answers; flashing finds it by
    // the image all the same.
    QList<DeviceAllInfo> devices = pageDevices.get();
    devices[1].path = QStringLiteral("sim/rx/not-answering");
    if (!versionListed)
        devices[1].receiverVersion.clear();
    pageDevices = devices;
    sim::clearJournal();
    startFromDialog();
    QTRY_COMPARE_WITH_TIMEOUT(sim::firmwareVersion("mouse"), 0x0103, 20000);
    QTRY_VERIFY(!upgradeRunning);

    bool askedReceiver = false;
    for (const sim::JournalEntry &e : sim::journal())
        askedReceiver |=
            e.function == QLatin1String("UsbFinderC_GetSlaveVersion") && e.result == QLatin1String("false");
    QCOMPARE(sim::firmwareVersion("rx"), receiverAfter);
    QCOMPARE(firmwaretest::upgradeStarts(), receiverAfter == 0x0105 ? 1 : 2);
    QCOMPARE(firmwareupgrade::receiverState(), receiverAfter == 0x0105 ? 4 : 2);
    QVERIFY(askedReceiver || !versionListed);
    QVERIFY(upgraderecord::failInfo().isEmpty());
    QCOMPARE(dialogText(), catalogueText("update", "DialogUpgradeSuccess"));
}

void TestFirmwareUpgrade::pairingWritesTheReceiversIdToCabledMice_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("linkCode");
    QTest::addColumn<bool>("answers");
    QTest::addColumn<QString>("record");

    // The receiver's ID is 11 22 33; a mouse takes it last byte first.
    QTest::newRow("kind 1") << 1 << 0 << true << "33 22 11 00 00";
    QTest::newRow("kind 2") << 2 << 4 << true << "33 22 11 00 01";
    QTest::newRow("kind 4") << 4 << 1 << true << "33 22 11 00 01";
    QTest::newRow("kind 8") << 8 << 5 << true << "33 22 11 00 04";
    QTest::newRow("receiver's mouse silent") << 8 << 5 << false << "";
}

// A receiver with its mouse, and a second mouse on its cable that belongs to
// another receiver: the pairing gives the cabled mouse the first receiver's
// ID with the code of its kind, and the stored ID can be written again.
void TestFirmwareUpgrade::pairingWritesTheReceiversIdToCabledMice()
{
    QFETCH(int, kind);
    QFETCH(int, linkCode);
    QFETCH(bool, answers);
    QFETCH(QString, record);

    const QByteArray scenario =
        "{\"devices\": ["
        "{\"id\": \"rx\", \"type\": \"receiver\", \"kind\": "
        + QByteArray::number(kind)
        + ", \"cid\": 86, \"mid\": 29, \"receiverId\": [17, 34, 51]},"
          "{\"id\": \"m1\", \"type\": \"mouse\", \"pairedTo\": \"rx\", \"cid\": 86, \"mid\": 29},"
          "{\"id\": \"r2\", \"type\": \"receiver\", \"kind\": 1, \"cid\": 86, \"mid\": 29, \"receiverId\": [68, 85, "
          "102]},"
          "{\"id\": \"mouse\", \"type\": \"mouse\", \"pairedTo\": \"r2\", \"cable\": true, \"cid\": 86, \"mid\": "
          "29}]}";
    QVERIFY(sim::loadScenarioJson(scenario));
    openCabledMouseBesideReceiver();
    QList<DeviceAllInfo> devices = pageDevices.get();
    devices[1].linkCode = quint8(linkCode);
    pageDevices = devices;
    if (!answers)
        QVERIFY(sim::sleep(QStringLiteral("m1")));
    // The readiness check takes the receiver's kind from the list.
    page->ChechIsUpDate();

    const auto idWrites = [] {
        QStringList out;
        for (const sim::JournalEntry &e : sim::journal())
            if (e.function == QLatin1String("UsbFinderC_SetDongleIDToMouse"))
                out << e.path + QLatin1Char(' ') + e.arguments + QLatin1Char(' ') + e.result;
        return out;
    };
    const QStringList want =
        answers ? QStringList{sim::pathOf("mouse") + QLatin1Char(' ') + record + QStringLiteral(" true")}
                : QStringList();
    sim::clearJournal();
    QCOMPARE(page->pairMiceToReceiver(), answers);
    QCOMPARE(idWrites(), want);

    sim::clearJournal();
    page->writeStoredIdToMice();
    QCOMPARE(idWrites(), want);
}

void TestFirmwareUpgrade::upgradeMarkStopperAndWait()
{
    const auto runningPartTimers = [this] {
        int n = 0;
        for (QTimer *timer : page->findChildren<QTimer *>())
            n += timer->isActive() && timer->interval() == delays::ms(delays::Delay::UpgradeStepTick);
        return n;
    };
    page->setUpgradeRunning();
    QVERIFY(upgradeRunning);
    page->stopUpgrade();
    QVERIFY(!upgradeRunning);

    // A part started by the page: the stopper ends its timer and the mark.
    page->on_Mouse_clicked();
    QVERIFY(upgradeRunning);
    QCOMPARE(runningPartTimers(), 1);
    page->stopUpgrade();
    QVERIFY(!upgradeRunning);
    QCOMPARE(runningPartTimers(), 0);
    onlineCheckEnabled = true;

    // The wait lets queued work run and lasts its time.
    bool ran = false;
    QTimer::singleShot(5, [&ran] { ran = true; });
    QElapsedTimer clock;
    clock.start();
    FormSetting::waitMs(60);
    QVERIFY(ran);
    QVERIFY2(clock.elapsed() >= 55, qPrintable(QString::number(clock.elapsed())));
}

VELMORAX_TEST_MAIN(TestFirmwareUpgrade)
#include "tst_firmwareupgrade.moc"
