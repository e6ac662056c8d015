// The screen-information dialogs and their clock synchronisation against
// the simulated screen device: the time packet, its checksum, the retries
// and the 10 s rhythm of the synchronisation.

#include "support/testmain.h"

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/screensync.h"
#include "pages/settings/inputpica.h"
#include "pages/settings/inputpicb.h"
#include "platform/hidusb/hidusb.h"
#include "platform/hidusb/simcontrol.h"

#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

namespace {

QByteArray bytesOf(const ScreenPacket &packet, int from, int count)
{
    return QByteArray(reinterpret_cast<const char *>(packet.data()) + from, count);
}

void plugScreenDevice()
{
    QVERIFY(!screenDeviceIds().isEmpty());
    QVERIFY(hidusb::sim::plugScreen(screenVendorId(), screenDeviceIds().first()));
    QCOMPARE(findScreenDevices(), 1);
}

} // namespace

class ScreenInfoTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void timePacket();
    void checksum_data();
    void checksum();
    void retries_data();
    void retries();
    void syncEveryFiftyTicks();
    void syncPausedOrNoDevice();
    void controlsSendNothing_data();
    void controlsSendNothing();
};

void ScreenInfoTest::initTestCase()
{
    loadTextCatalogue();
    // Only the screen device is attached: no receiver shares its ids.
    QVERIFY(hidusb::sim::loadScenarioJson(QByteArrayLiteral("{\"devices\": []}")));
}

void ScreenInfoTest::init()
{
    hidusb::sim::unplugScreen();
    findScreenDevices();
}

void ScreenInfoTest::cleanup()
{
    hidusb::sim::unplugScreen();
    StopUsbChanged();
}

void ScreenInfoTest::timePacket()
{
    // 2024-03-05 was a Tuesday.
    const ScreenPacket packet = screenTimePacket(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    QCOMPARE(bytesOf(packet, 0, 11), QByteArray::fromHex("0a0010 07e8 03 05 0e 07 09 02"));
    QCOMPARE(bytesOf(packet, 11, kScreenPacketSize - 11), QByteArray(kScreenPacketSize - 11, '\0'));
    const ScreenPacket sunday = screenTimePacket(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59)));
    QCOMPARE(int(sunday[10]), 7);
}

void ScreenInfoTest::checksum_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("sum");
    QTest::addColumn<bool>("valid");

    QTest::newRow("0x55 less the sum") << QByteArray::fromHex("010252") << 0x52 << true;
    QTest::newRow("one off") << QByteArray::fromHex("010253") << 0x52 << false;
    QTest::newRow("wraps below zero") << QByteArray::fromHex("ff0155") << 0x55 << true;
    QTest::newRow("a single byte") << QByteArray::fromHex("55") << 0x55 << true;
}

void ScreenInfoTest::checksum()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, sum);
    QFETCH(bool, valid);
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    QCOMPARE(int(packetChecksum(data, bytes.size())), sum);
    QCOMPARE(packetChecksumValid(data, bytes.size()), valid);
}

void ScreenInfoTest::retries_data()
{
    QTest::addColumn<int>("badEchoes");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("echoed");
    QTest::addColumn<int>("exchanges");

    QTest::newRow("first echo good") << 0 << false << true << 1;
    QTest::newRow("two bad echoes") << 2 << false << true << 3;
    QTest::newRow("good fifth echo counts") << 4 << false << true << 5;
    QTest::newRow("five bad echoes") << 5 << false << false << 5;
    QTest::newRow("no answer") << 0 << true << false << 5;
}

void ScreenInfoTest::retries()
{
    QFETCH(int, badEchoes);
    QFETCH(bool, silent);
    QFETCH(bool, echoed);
    QFETCH(int, exchanges);

    plugScreenDevice();
    QVERIFY(UsbFinderC_OpenDevice(screenDevices().first().toLatin1().constData()));
    hidusb::sim::setScreenBadEchoes(badEchoes);
    hidusb::sim::setScreenSilent(silent);
    ScreenPacket packet = screenTimePacket(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    ScreenPacket reply{};
    QCOMPARE(sendWithRetry(packet, &reply), echoed);

    const QList<QByteArray> sent = hidusb::sim::screenPackets();
    QCOMPARE(sent.size(), exchanges);
    // Every exchange carries the whole packet, its checksum in the last byte.
    const auto *first = reinterpret_cast<const unsigned char *>(sent.first().constData());
    QCOMPARE(sent.first().size(), kScreenPacketSize);
    QVERIFY(packetChecksumValid(first, kScreenPacketSize));
    QCOMPARE(sent.first(), bytesOf(packet, 0, kScreenPacketSize));
    if (echoed)
        QCOMPARE(bytesOf(reply, 0, kScreenPacketSize), sent.last());
}

void ScreenInfoTest::syncEveryFiftyTicks()
{
    plugScreenDevice();
    InputPicA dialog;
    dialog.startScreenSync(true);
    for (int tick = 1; tick < InputPicA::kTicksPerPacket; ++tick)
        dialog.onEraseChipTimeTimer();
    QVERIFY(hidusb::sim::screenPackets().isEmpty());
    dialog.onEraseChipTimeTimer();
    QCOMPARE(hidusb::sim::screenPackets().size(), 1);
    const QByteArray packet = hidusb::sim::screenPackets().first();
    QCOMPARE(packet.left(3), QByteArray::fromHex("0a0010"));
    QCOMPARE(packet.size(), dialog.packetSize);
    QCOMPARE(int(quint8(packet.at(3))) << 8 | int(quint8(packet.at(4))), QDate::currentDate().year());
    QCOMPARE(dialog.syncTicks, 0);
    for (int tick = 0; tick < InputPicA::kTicksPerPacket; ++tick)
        dialog.onEraseChipTimeTimer();
    QCOMPARE(hidusb::sim::screenPackets().size(), 2);
}

void ScreenInfoTest::syncPausedOrNoDevice()
{
    plugScreenDevice();
    InputPicA dialog;
    dialog.startScreenSync(true);
    dialog.syncPaused = true;
    for (int tick = 0; tick < 3 * InputPicA::kTicksPerPacket; ++tick)
        dialog.onEraseChipTimeTimer();
    QVERIFY(hidusb::sim::screenPackets().isEmpty());
    QCOMPARE(dialog.syncTicks, 0);

    dialog.syncPaused = false;
    hidusb::sim::unplugScreen();
    QCOMPARE(findScreenDevices(), 0);
    for (int tick = 0; tick < InputPicA::kTicksPerPacket; ++tick)
        dialog.onEraseChipTimeTimer();
    QVERIFY(hidusb::sim::screenPackets().isEmpty());
}

void ScreenInfoTest::controlsSendNothing_data()
{
    QTest::addColumn<bool>("layoutA");
    QTest::newRow("InputPicA") << true;
    QTest::newRow("InputPicB") << false;
}

void ScreenInfoTest::controlsSendNothing()
{
    QFETCH(bool, layoutA);
    plugScreenDevice();
    std::unique_ptr<QDialog> dialog;
    if (layoutA)
        dialog.reset(new InputPicA);
    else
        dialog.reset(new InputPicB);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QSignalSpy check(PostMsg::instance(), &PostMsg::SigButtonCheck);
    hidusb::sim::setJournalEnabled(true);
    hidusb::sim::clearJournal();
    for (const char *name : {"Input", "Output", "toolButtonB", "CheckButton"})
        dialog->findChild<QToolButton *>(QLatin1String(name))->click();
    auto *slider = dialog->findChild<QSlider *>(QStringLiteral("SpeedH"));
    slider->setValue(4);
    QCOMPARE(slider->value(), 4);
    QVERIFY(dialog->findChild<QToolButton *>(QStringLiteral("toolButtonB"))->isChecked());
    QCoreApplication::processEvents();
    QVERIFY(hidusb::sim::journal().isEmpty());
    QVERIFY(hidusb::sim::screenPackets().isEmpty());
    QCOMPARE(check.count(), 0);

    dialog->findChild<QToolButton *>(QStringLiteral("CloseButton"))->click();
    QCOMPARE(check.count(), 1);
    QVERIFY(!dialog->isVisible());
}

VELMORAX_TEST_MAIN(ScreenInfoTest)
#include "tst_screeninfo.moc"
