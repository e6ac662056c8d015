// The pairing dialog against the simulated receiver: success, failure, a
// receiver lost while pairing, how the dialog may be closed, and what it
// gives back to the device page and the device list.

#include "app/look.h"
#include "support/listfixture.h"
#include "support/testmain.h"

#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/discovery.h"
#include "device/match.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

using namespace listtest;

namespace {

int journalCount(const QString &function)
{
    int n = 0;
    for (const auto &entry : hidusb::sim::journal())
        if (entry.function == function)
            ++n;
    return n;
}

} // namespace

class TestMatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void outcome_data();
    void outcome();
    void closingIsRefusedWhilePairing_data();
    void closingIsRefusedWhilePairing();
    void pressingAgainRestartsThePairing();
    void aCabledDeviceCannotBePaired();
    void anEmptyListLeavesNothingToPair();
    void dotsCycleEveryFourSteps();
    void aDevicePageTakesPrecedenceOverTheListTarget();

private:
    void attach(bool fromDevicePage, const QString &receiver = "rx");
    QPushButton *button(Match &m) { return m.findChild<QPushButton *>("MatchButton"); }
    // Prepares and shows the dialog; true once its first tick has run (the
    // text box shows).
    static bool showAfterFirstTick(Match &m)
    {
        m.prepare();
        m.show();
        return QTest::qWaitFor([&] { return !m.findChild<QTextEdit *>("textEdit")->isHidden(); });
    }
};

void TestMatch::initTestCase()
{
    hidusb::sim::setJournalEnabled(true); // the pairing tests read the call journal
    loadTextCatalogue();
    deviceTotal = kModelCount;
}

void TestMatch::init()
{
    resetDeviceStateForTests();
    listedDevices.clear();
    enumeratedDevices.clear();
    pairingTargetSet = false;
    pairingTarget = DeviceAllInfo();
    pairingActive = false;
    devicePageParked = false;
    pairResult = 0;
}

void TestMatch::cleanup()
{
    StopUsbChanged();
    UsbServer_Exit();
    QTest::qWait(20);
}

// Lists the attached devices and points the dialog at receiver `receiver`:
// as the open device of a device page, or as the list page's choice.
void TestMatch::attach(bool fromDevicePage, const QString &receiver)
{
    onListDeviceChanged();
    DeviceAllInfo target;
    for (const DeviceAllInfo &info : qAsConst(enumeratedDevices))
        if (info.path == hidusb::sim::pathOf(receiver))
            target = info;
    QVERIFY(!target.path.isEmpty());
    if (fromDevicePage) {
        currentDevice = target;
        currentDevicePath = target.path.toLocal8Bit();
        devicePageActive = 1;
    } else {
        pairingTarget = target;
        pairingTargetSet = true;
        devicePageActive = 0;
    }
}

void TestMatch::outcome_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("fromDevicePage");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("textKey");
    QTest::addColumn<QString>("image");

    for (bool page : {false, true}) {
        const char *from = page ? "device page" : "device list";
        QTest::addRow("success from the %s", from) << "success" << page << 2 << "PairSuccess"
                                                   << "PairSuccess.png";
        QTest::addRow("failure from the %s", from) << "failure" << page << 3 << "PairFail"
                                                   << "PairFail.png";
        QTest::addRow("receiver lost from the %s", from) << "lost" << page << 3 << "PairFail"
                                                         << "PairFail.png";
    }
}

void TestMatch::outcome()
{
    QFETCH(QString, how);
    QFETCH(bool, fromDevicePage);
    QFETCH(int, result);
    QFETCH(QString, textKey);
    QFETCH(QString, image);

    LOAD_DEVICES(receiverWithMouse("rx", 8));
    attach(fromDevicePage);
    QVERIFY(hidusb::sim::setPairingOutcome("rx", how != "failure"));

    Match match(nullptr);
    match.prepare();
    match.show();
    QVERIFY(QTest::qWaitForWindowActive(&match));
    QTRY_VERIFY(!match.findChild<QTextEdit *>("textEdit")->isHidden());
    QVERIFY(button(match)->isEnabled());
    QVERIFY(match.findChild<QLabel *>("label")->isHidden());
    hidusb::sim::clearJournal();
    if (how == "lost") {
        // The receiver is pulled before it can answer.
        QVERIFY(hidusb::sim::unplug("rx"));
    }
    QTest::keyClick(&match, Qt::Key_Space);
    QTRY_VERIFY(pairResult != 0); // Space clicks the button (animated)
    QCOMPARE(journalCount("UsbServer_EnterDonglePairOnlyCid"), 1);

    QTRY_COMPARE_WITH_TIMEOUT(pairResult.load(), result, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(button(match)->text(), catalogueText("pair", textKey), 3000);
    QVERIFY(look::sheetOf(button(match)).contains(image));
    QVERIFY(!pairingActive);
    // Whatever the end, the device page has its state back.
    QTRY_COMPARE(devicePageActive.load(), fromDevicePage ? 1 : 0);
    QVERIFY(!devicePageParked);

    if (result == 2) {
        // A paired mouse stays paired: the next tick enables the button
        // again, but pressing it starts nothing.
        QTRY_VERIFY(button(match)->isEnabled());
        hidusb::sim::clearJournal();
        match.on_MatchButton_clicked();
        QCOMPARE(pairResult.load(), 2);
        QCOMPARE(journalCount("UsbServer_EnterDonglePairOnlyCid"), 0);
    }

    // The pairing is over: the close button now closes, and re-arms the list
    // callback only when a list opened the dialog.
    hidusb::sim::clearJournal();
    QTest::mouseClick(match.findChild<QToolButton *>("CloseButton"), Qt::LeftButton);
    QVERIFY(!match.isVisible());
    QCOMPARE(journalCount("StartUsbChanged"), fromDevicePage ? 0 : 1);
}

void TestMatch::closingIsRefusedWhilePairing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close button") << "close";
    QTest::newRow("Escape") << "escape";
}

void TestMatch::closingIsRefusedWhilePairing()
{
    QFETCH(QString, how);
    LOAD_DEVICES(receiverWithMouse("rx", 8));
    attach(true);
    Match match(nullptr);
    QVERIFY(showAfterFirstTick(match));
    // Start pairing by hand so no answer can end it before the close.
    pairingActive = true;
    devicePageActive = 0;
    devicePageParked = true;
    auto closeIt = [&] {
        if (how == "close")
            QTest::mouseClick(match.findChild<QToolButton *>("CloseButton"), Qt::LeftButton);
        else
            QTest::keyClick(&match, Qt::Key_Escape);
    };
    closeIt();
    QVERIFY(match.isVisible());
    QCOMPARE(devicePageActive.load(), 0);

    // Once the result is in, the same way closes it and un-parks the page.
    pairingActive = false;
    closeIt();
    QVERIFY(!match.isVisible());
    QCOMPARE(devicePageActive.load(), 1);
    QVERIFY(!devicePageParked);
}

void TestMatch::pressingAgainRestartsThePairing()
{
    LOAD_DEVICES(receiverWithMouse("rx", 8));
    attach(false);
    Match match(nullptr);
    QVERIFY(showAfterFirstTick(match));
    hidusb::sim::clearJournal();
    match.on_MatchButton_clicked();
    match.on_MatchButton_clicked();
    const auto journal = hidusb::sim::journal();
    QStringList calls;
    for (const auto &entry : journal)
        if (entry.function == "UsbServerC_Start" || entry.function == "UsbServer_EnterDonglePairOnlyCid")
            calls << entry.function + ":" + (entry.path.isEmpty() ? entry.arguments : entry.path);
    const QString rx = hidusb::sim::pathOf("rx");
    QCOMPARE(calls.size(), 4);
    QVERIFY(calls.at(0).startsWith("UsbServerC_Start") && calls.at(0).contains(rx));
    QVERIFY(calls.at(1).startsWith("UsbServer_EnterDonglePairOnlyCid"));
    QVERIFY(calls.at(2).startsWith("UsbServerC_Start") && calls.at(2).contains(rx));
    QVERIFY(calls.at(3).startsWith("UsbServer_EnterDonglePairOnlyCid"));
    QVERIFY(pairStatusTimer->isActive());
    QVERIFY(pairTextTimer->isActive());
}

void TestMatch::aCabledDeviceCannotBePaired()
{
    LOAD_DEVICES(QJsonArray{cabledMouse("c", 29)});
    attach(false, "c");
    Match match(nullptr);
    match.prepare();
    match.show();
    QTRY_VERIFY(!match.findChild<QLabel *>("label")->isHidden());
    QVERIFY(match.findChild<QTextEdit *>("textEdit")->isHidden());
    QVERIFY(!button(match)->isEnabled());
    QVERIFY(look::sheetOf(button(match)).contains("rgb(120,126,136)"));
    QVERIFY(!look::sheetOf(button(match)).contains(pairButtonColor));
    hidusb::sim::clearJournal();
    QTest::keyClick(&match, Qt::Key_Space);
    match.on_MatchButton_clicked();
    QCOMPARE(pairResult.load(), 0);
    QCOMPARE(journalCount("UsbServer_EnterDonglePairOnlyCid"), 0);
}

void TestMatch::anEmptyListLeavesNothingToPair()
{
    LOAD_DEVICES(QJsonArray());
    onListDeviceChanged();
    QVERIFY(listedDevices.isEmpty());
    Match match(nullptr);
    match.prepare();
    match.show();
    QTest::qWait(250); // two ticks
    QVERIFY(!button(match)->isEnabled());
    hidusb::sim::clearJournal();
    match.on_MatchButton_clicked();
    QCOMPARE(pairResult.load(), 0);
    QVERIFY(hidusb::sim::journal().isEmpty());
}

void TestMatch::dotsCycleEveryFourSteps()
{
    Match match(nullptr);
    match.prepare();
    const QString p = catalogueText("pair", "Pairing");
    QVERIFY(!p.isEmpty());
    const QStringList expected{p, p + ".", p + "..", p + "...", p, p + ".", p + "..", p + "...", p};
    QStringList shown;
    for (int i = 0; i < expected.size(); ++i) {
        match.onTextTimeupDestroy();
        shown << button(match)->text();
    }
    QCOMPARE(shown, expected);
}

void TestMatch::aDevicePageTakesPrecedenceOverTheListTarget()
{
    LOAD_DEVICES(concat({receiverWithMouse("open", 8, 29), receiverWithMouse("listed", 1, 30)}));
    attach(false, "listed");
    attach(true, "open");
    pairingTargetSet = true; // still set from an earlier list choice
    Match match(nullptr);
    QVERIFY(showAfterFirstTick(match));
    hidusb::sim::clearJournal();
    match.on_MatchButton_clicked();
    bool startedOnOpen = false;
    for (const auto &entry : hidusb::sim::journal())
        if (entry.function == "UsbServerC_Start")
            startedOnOpen = entry.path == hidusb::sim::pathOf("open");
    QVERIFY(startedOnOpen);
}

VELMORAX_TEST_MAIN(TestMatch)
#include "tst_match.moc"
