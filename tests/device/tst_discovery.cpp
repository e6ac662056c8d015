// Device discovery against the simulated receivers and mice: enumeration
// order, identification, the duplicate and cable rules, the refresh of one
// entry and the hand-over of the callback to the GUI thread.

#include "support/listfixture.h"
#include "support/testmain.h"

#include "app/configini.h"
#include "device/devicestate.h"
#include "device/discovery.h"

#include <QThread>
#include <thread>

using namespace listtest;

class TestDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void productIdsAreEnumeratedInCatalogueOrder();
    void identification_data();
    void identification();
    void aDeviceFoundTwiceIsListedOnce();
    void rules_data();
    void rules();
    void cableRuleNeedsExactlyOneCabledMouse_data();
    void cableRuleNeedsExactlyOneCabledMouse();
    void refreshFollowsThePathAfterTheCableRule();
    void refreshIgnoresIndexesOutsideTheList_data();
    void refreshIgnoresIndexesOutsideTheList();
    void callbackFromALibraryThreadRunsOnTheGuiThread();

private:
    void discover();
};

void TestDiscovery::initTestCase()
{
    hidusb::sim::setJournalEnabled(true); // the discovery tests read the call journal
    deviceTotal = ConfigIni::instance()->value("Option", "DeviceTotal").toInt();
    QCOMPARE(deviceTotal, kModelCount);
}

void TestDiscovery::init()
{
    resetDeviceStateForTests();
    listedDevices.clear();
    enumeratedDevices.clear();
}

void TestDiscovery::cleanupTestCase()
{
    StopUsbChanged();
}

// Runs the list callback on the GUI thread (no list page: enumeration only).
void TestDiscovery::discover()
{
    onListDeviceChanged();
}

void TestDiscovery::productIdsAreEnumeratedInCatalogueOrder()
{
    // A receiver of each kind and a cabled mouse, listed in the scenario in
    // the opposite order of the catalogue's product-id lists.
    LOAD_DEVICES(
        concat({receiverWithMouse("rx8", 8, 30), receiverWithMouse("rx4", 4, 31), receiverWithMouse("rx2", 2, 30),
                receiverWithMouse("rx1", 1, 31), QJsonArray{cabledMouse("cable", 29)}}));
    hidusb::sim::clearJournal();
    discover();

    QStringList searched;
    for (const auto &entry : hidusb::sim::journal())
        if (entry.function == QLatin1String("UsbFinderC_FindHidDevicesByDefaultDeviceId"))
            searched << entry.arguments;
    const QStringList pids = ConfigIni::instance()->valueList("Option", "USB_PID")
                             + ConfigIni::instance()->valueList("Option", "Wireless_PID")
                             + ConfigIni::instance()->valueList("Option", "Wireless2_PID")
                             + ConfigIni::instance()->valueList("Option", "Wireless4_PID")
                             + ConfigIni::instance()->valueList("Option", "Wireless8_PID");
    QCOMPARE(searched.size(), pids.size());
    for (int i = 0; i < pids.size(); ++i)
        QVERIFY2(searched.at(i).contains(pids.at(i), Qt::CaseInsensitive),
                 qPrintable(searched.at(i) + " should search " + pids.at(i)));

    QStringList order;
    for (const DeviceAllInfo &info : qAsConst(enumeratedDevices))
        order << info.pid;
    QCOMPARE(order.size(), 5);
    QCOMPARE(order.at(0), ConfigIni::instance()->valueList("Option", "USB_PID").at(0));
    QCOMPARE(order.mid(1), ConfigIni::instance()->valueList("Option", "Wireless_PID")
                               + ConfigIni::instance()->valueList("Option", "Wireless2_PID")
                               + ConfigIni::instance()->valueList("Option", "Wireless4_PID")
                               + ConfigIni::instance()->valueList("Option", "Wireless8_PID"));
}

void TestDiscovery::identification_data()
{
    QTest::addColumn<QJsonObject>("receiverExtra");
    QTest::addColumn<bool>("mouseOnline");
    QTest::addColumn<int>("modelIndex"); // -1: unrecognised
    QTest::addColumn<bool>("online");
    QTest::addColumn<QString>("receiverVersion");

    QTest::newRow("recognised, mouse answers") << QJsonObject{{"version", 0x0123}} << true << 0 << true << "v1.23";
    QTest::newRow("recognised, mouse asleep") << QJsonObject{{"version", 0x010A}} << false << 0 << false << "v1.0A";
    QTest::newRow("id on the ninth request")
        << QJsonObject{{"idAnswersAfter", 9}, {"version", 0x0100}} << true << 0 << true << "v1.00";
    QTest::newRow("id only on the tenth request")
        << QJsonObject{{"idAnswersAfter", 10}, {"version", 0x0100}} << true << -1 << true << "v1.00";
    QTest::newRow("another maker's CID") << QJsonObject{{"cid", kCid + 1}} << true << -1 << true << "";
    QTest::newRow("model id not in the catalogue") << QJsonObject{{"mid", 77}} << true << -1 << true << "";
    QTest::newRow("receiver never answers") << QJsonObject{{"answerNothing", true}} << true << -1 << false << "";
}

void TestDiscovery::identification()
{
    QFETCH(QJsonObject, receiverExtra);
    QFETCH(bool, mouseOnline);
    QFETCH(int, modelIndex);
    QFETCH(bool, online);
    QFETCH(QString, receiverVersion);

    LOAD_DEVICES(receiverWithMouse("rx", 8, 29, mouseOnline, receiverExtra));
    discover();

    QCOMPARE(listedDevices.size(), 1);
    QCOMPARE(enumeratedDevices.size(), 1);
    const DeviceAllInfo info = listedDevices.first();
    QCOMPARE(info.path, hidusb::sim::pathOf("rx"));
    QCOMPARE(info.wired, false);
    if (!receiverVersion.isEmpty())
        QCOMPARE(info.receiverVersion, receiverVersion);
    QVERIFY(info.mouseVersion.isEmpty());
    if (modelIndex < 0) {
        // Unrecognised: the catalogue's model count, id and code untouched.
        QCOMPARE(info.modelIndex, deviceTotal);
        QCOMPARE(info.id, quint16(0));
        QCOMPARE(info.linkCode, quint8(0));
    } else {
        QCOMPARE(info.modelIndex, modelIndex);
        QCOMPARE(info.id, quint16(kCid | (29 << 8)));
        QCOMPARE(info.linkCode, quint8(5)); // the 8K receiver
        QCOMPARE(info.online, online);
    }
}

void TestDiscovery::aDeviceFoundTwiceIsListedOnce()
{
    LOAD_DEVICES(receiverWithMouse("rx", 8));
    const QString vid = ConfigIni::instance()->valueList("Option", "VID").value(0);
    const QString pid = ConfigIni::instance()->valueList("Option", "Wireless8_PID").value(0);
    // The same vendor id twice, as a catalogue could hold it.
    enumerateListDevices({vid, vid}, {pid, pid});
    QCOMPARE(listedDevices.size(), 1);
    QCOMPARE(enumeratedDevices.size(), 1);
    QVERIFY(!applyDuplicateRule());
}

void TestDiscovery::rules_data()
{
    QTest::addColumn<QJsonArray>("devices");
    QTest::addColumn<bool>("duplicate");
    QTest::addColumn<QStringList>("listed"); // scenario ids, in list order
    QTest::addColumn<int>("enumerated");

    QTest::newRow("two identical receivers")
        << concat({receiverWithMouse("a", 8), receiverWithMouse("b", 8)}) << true << QStringList() << 2;
    QTest::newRow("same model, different kinds")
        << concat({receiverWithMouse("a", 1), receiverWithMouse("b", 8)}) << false << QStringList{"a", "b"} << 2;
    QTest::newRow("same kind, different models")
        << concat({receiverWithMouse("a", 8, 29), receiverWithMouse("b", 8, 30)}) << false << QStringList{"a", "b"}
        << 2;
    QTest::newRow("mouse on a cable next to its receiver")
        << concat({receiverWithMouse("a", 8), QJsonArray{cabledMouse("cable", 29, "a")}}) << false
        << QStringList{"cable"} << 2;
    QTest::newRow("cable rule spares other models")
        << concat({receiverWithMouse("a", 8, 30), QJsonArray{cabledMouse("cable", 29)}}) << false
        << QStringList{"cable", "a"} << 2;
    QTest::newRow("two mice of one model on cables")
        << QJsonArray{cabledMouse("c1", 29), cabledMouse("c2", 29)} << true << QStringList() << 2;
    QTest::newRow("two unrecognised receivers of one kind") << concat(
        {receiverWithMouse("a", 8, 29, true, {{"cid", 1}}), receiverWithMouse("b", 8, 29, true, {{"cid", 2}})})
                                                            << true << QStringList() << 2;
}

void TestDiscovery::rules()
{
    QFETCH(QJsonArray, devices);
    QFETCH(bool, duplicate);
    QFETCH(QStringList, listed);
    QFETCH(int, enumerated);

    LOAD_DEVICES(devices);
    discover();
    QCOMPARE(enumeratedDevices.size(), enumerated);
    QCOMPARE(applyDuplicateRule(), duplicate);
    if (duplicate)
        return;
    applyCableRule();
    QStringList paths;
    for (const QString &id : listed)
        paths << hidusb::sim::pathOf(id);
    QStringList got;
    for (const DeviceAllInfo &info : qAsConst(listedDevices))
        got << info.path;
    QCOMPARE(got, paths);
    QCOMPARE(enumeratedDevices.size(), enumerated);
}

void TestDiscovery::cableRuleNeedsExactlyOneCabledMouse_data()
{
    QTest::addColumn<int>("cabled");
    QTest::addColumn<bool>("receiverListed");

    QTest::newRow("one cabled mouse") << 1 << false;
    // Which receiver belongs to which mouse is unknown: none is dropped.
    QTest::newRow("two cabled mice of one model") << 2 << true;
}

// The cable rule itself, whatever the duplicate rule made of the list.
void TestDiscovery::cableRuleNeedsExactlyOneCabledMouse()
{
    QFETCH(int, cabled);
    QFETCH(bool, receiverListed);

    QJsonArray devices = receiverWithMouse("a", 8);
    for (int i = 1; i <= cabled; ++i)
        devices.append(cabledMouse(QStringLiteral("c%1").arg(i), 29, i == 1 ? QStringLiteral("a") : QString()));
    LOAD_DEVICES(devices);
    discover();
    QCOMPARE(listedDevices.size(), cabled + 1);
    applyCableRule();
    QStringList got;
    for (const DeviceAllInfo &info : qAsConst(listedDevices))
        got << info.path;
    QCOMPARE(got.contains(hidusb::sim::pathOf("a")), receiverListed);
    for (int i = 1; i <= cabled; ++i)
        QVERIFY(got.contains(hidusb::sim::pathOf(QStringLiteral("c%1").arg(i))));
    QCOMPARE(got.size(), cabled + (receiverListed ? 1 : 0));
}

void TestDiscovery::refreshFollowsThePathAfterTheCableRule()
{
    // Enumerated: cabled mouse, its receiver, another model's receiver.
    // Listed after the cable rule: cabled mouse, the other receiver.
    LOAD_DEVICES(concat(
        {QJsonArray{cabledMouse("cable", 29, "a")}, receiverWithMouse("a", 1, 29), receiverWithMouse("b", 8, 30)}));
    discover();
    QVERIFY(!applyDuplicateRule());
    applyCableRule();
    QCOMPARE(listedDevices.size(), 2);
    QCOMPARE(enumeratedDevices.size(), 3);
    QCOMPARE(listedDevices.at(1).path, hidusb::sim::pathOf("b"));
    QCOMPARE(enumeratedDevices.at(1).path, hidusb::sim::pathOf("a"));
    QVERIFY(enumeratedDevices.at(1).online);
    QVERIFY(enumeratedDevices.at(2).online);

    QVERIFY(hidusb::sim::sleep("b-mouse"));
    refreshDeviceEntry(1);
    QVERIFY(!listedDevices.at(1).online);
    QCOMPARE(enumeratedDevices.at(2).path, hidusb::sim::pathOf("b"));
    QVERIFY(!enumeratedDevices.at(2).online);
    // The receiver at the same position of the other list is left alone.
    QCOMPARE(enumeratedDevices.at(1).path, hidusb::sim::pathOf("a"));
    QVERIFY(enumeratedDevices.at(1).online);
}

void TestDiscovery::refreshIgnoresIndexesOutsideTheList_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("negative") << -1;
    QTest::newRow("one past the end") << 1;
    QTest::newRow("far beyond") << 1000;
}

void TestDiscovery::refreshIgnoresIndexesOutsideTheList()
{
    QFETCH(int, index);
    LOAD_DEVICES(receiverWithMouse("rx", 8));
    discover();
    QCOMPARE(listedDevices.size(), 1);
    const QString before = listedDevices.first().path;
    hidusb::sim::clearJournal();
    refreshDeviceEntry(index);
    refreshEntryAddress(index);
    QCOMPARE(listedDevices.size(), 1);
    QCOMPARE(listedDevices.first().path, before);
    QVERIFY(hidusb::sim::journal().isEmpty());
}

void TestDiscovery::callbackFromALibraryThreadRunsOnTheGuiThread()
{
    LOAD_DEVICES(receiverWithMouse("rx", 8));
    hidusb::sim::clearJournal();
    std::thread other([] { onListDeviceChanged(); });
    other.join();
    // Nothing happened on the calling thread: no enumeration ...
    QVERIFY(listedDevices.isEmpty());
    QVERIFY(hidusb::sim::journal().isEmpty());
    // ... the work runs once the GUI thread gets to it.
    QTRY_COMPARE(listedDevices.size(), 1);
}

VELMORAX_TEST_MAIN(TestDiscovery)
#include "tst_discovery.moc"
