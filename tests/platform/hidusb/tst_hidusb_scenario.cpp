// What is attached: the scenarios the program must meet, scenario files good
// and bad, VELMORAX_DEVICES, and the flash file that keeps a mouse's
// settings across restarts (damaged files give factory settings).

#include "support/hidusbfixture.h"
#include "support/testmain.h"

#include "platform/hidusb/firmwareimage.h"

#include "platform/hidusb/dumpformat.h"
#include "platform/hidusb/simulator.h"
#include "support/filesizelimit.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstring>

#include <sys/stat.h>

using namespace hidusb;

namespace {

int countPaths(const char *pid)
{
    int count = 5;
    UsbFinderC_FindHidDevicesByDefaultDeviceId("0x3A7C", pid, &count);
    return count;
}

QByteArray image(std::uint8_t target, std::uint8_t cid, std::uint8_t mid, int size = 2000)
{
    FirmwareImageInfo info;
    info.version = 0x0107;
    info.target = target;
    info.cid = cid;
    info.mid = mid;
    const auto bytes = buildFirmwareImage(info, firmwareBodyPattern(std::size_t(size - kFirmwareHeaderSize), 7));
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size()));
}

const char *const kIds = "\"vid\": \"0x3A7C\", \"cid\": 86, \"mid\": 29";

QByteArray scenario(const QString &devices)
{
    QString text = "{\"devices\": [" + devices + "]}";
    text.replace("IDS", kIds);
    return text.toUtf8();
}

} // namespace

class TestHidUsbScenario : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshSimulator(); }

    void defaultIsOneReceiverWithItsOnlineMouse()
    {
        QCOMPARE(sim::deviceIds(), QStringList({"receiver", "mouse"}));
        const QByteArray receiver = pathBytes("receiver");
        QVERIFY(!receiver.isEmpty());
        QVERIFY(pathBytes("mouse").isEmpty()); // no cable
        QVERIFY(UsbFinderC_GetDeviceOnLine(receiver.constData()));
        // The catalogue beside the executable: its first model behind an
        // 8000 Hz receiver.
        QCOMPARE(countPaths("0x7C28"), 1);
        const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(receiver.constData(), 0);
        QCOMPARE(int(info.cid()), 86);
        QCOMPARE(int(info.mid()), 29);
        QCOMPARE(int(info.linkCode), 5);
    }

    void scenariosOfTheProgram_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("check");
        QTest::newRow("mouse on a cable next to its receiver") << scenario(
            "{\"id\": \"r\", \"type\": \"receiver\", \"pid\": \"0x7C21\", IDS},"
            "{\"id\": \"m\", \"type\": \"mouse\", \"pairedTo\": \"r\", \"cable\": true, \"pid\": \"0x7C10\", IDS}")
                                                               << 0;
        QTest::newRow("two identical receivers")
            << scenario("{\"id\": \"r1\", \"type\": \"receiver\", \"pid\": \"0x7C21\", IDS},"
                        "{\"id\": \"r2\", \"type\": \"receiver\", \"pid\": \"0x7C21\", IDS}")
            << 1;
        QTest::newRow("seven devices") << scenario(
            "{\"id\": \"r1\", \"type\": \"receiver\", \"kind\": 1, \"pid\": \"0x7C21\", IDS},"
            "{\"id\": \"r2\", \"type\": \"receiver\", \"kind\": 2, \"pid\": \"0x7C22\", IDS},"
            "{\"id\": \"r4\", \"type\": \"receiver\", \"kind\": 4, \"pid\": \"0x7C24\", IDS},"
            "{\"id\": \"r8\", \"type\": \"receiver\", \"kind\": 8, \"pid\": \"0x7C28\", IDS},"
            "{\"id\": \"m1\", \"type\": \"mouse\", \"cable\": true, \"pid\": \"0x7C10\", IDS},"
            "{\"id\": \"m2\", \"type\": \"mouse\", \"cable\": true, \"pid\": \"0x7C11\", IDS},"
            "{\"id\": \"m3\", \"type\": \"mouse\", \"cable\": true, \"pid\": \"0x7C11\", IDS}")
                                       << 2;
        QTest::newRow("unrecognised device")
            << scenario("{\"id\": \"x\", \"type\": \"receiver\", \"pid\": \"0x7C21\", \"vid\": \"0x3A7C\","
                        " \"cid\": 3, \"mid\": 200}")
            << 3;
        QTest::newRow("id only on the tenth try")
            << scenario("{\"id\": \"late\", \"type\": \"receiver\", \"pid\": \"0x7C21\", \"idAnswersAfter\": 10, IDS}")
            << 4;
        QTest::newRow("silent mouse") << scenario(
            "{\"id\": \"r\", \"type\": \"receiver\", \"pid\": \"0x7C21\", IDS},"
            "{\"id\": \"m\", \"type\": \"mouse\", \"pairedTo\": \"r\", \"answerNothing\": true, IDS}")
                                      << 5;
        QTest::newRow("mouse in boot mode") << scenario(
            "{\"id\": \"m\", \"type\": \"mouse\", \"cable\": true, \"bootMode\": true, \"pid\": \"0x7C10\", IDS}")
                                            << 6;
    }

    void scenariosOfTheProgram()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, check);
        QString error;
        QVERIFY2(sim::loadScenarioJson(json, &error), qPrintable(error));
        switch (check) {
        case 0: {
            QCOMPARE(countPaths("0x7C21"), 1);
            QCOMPARE(countPaths("0x7C10"), 1);
            const QByteArray cable = pathBytes("m"), receiver = pathBytes("r");
            QVERIFY(UsbFinderC_GetDeviceOnLine(cable.constData()));
            QVERIFY(!UsbFinderC_GetDeviceOnLine(receiver.constData()));
            UsbAddressInfo a{}, b{};
            UsbFinderC_GetDeviceOnLineWithUsbAddress(cable.constData(), &a);
            UsbFinderC_GetDeviceOnLineWithUsbAddress(receiver.constData(), &b);
            QCOMPARE(std::memcmp(a.receiverId, b.receiverId, 3), 0);
            QVERIFY((UsbFinderC_GetDeviceInfo(cable.constData(), 0).linkCode & 0xFA) != 0);
            QVERIFY((UsbFinderC_GetDeviceInfo(receiver.constData(), 0).linkCode & 0xFA) == 0);
            break;
        }
        case 1: {
            int count = 5;
            const char *const *paths = UsbFinderC_FindHidDevicesByDefaultDeviceId("0x3A7C", "0x7C21", &count);
            QCOMPARE(count, 2);
            QVERIFY(QByteArray(paths[0]) != QByteArray(paths[1]));
            QCOMPARE(UsbFinderC_GetDeviceInfo(paths[0], 0).id, UsbFinderC_GetDeviceInfo(paths[1], 0).id);
            break;
        }
        case 2: {
            const int total = countPaths("0x7C21") + countPaths("0x7C22") + countPaths("0x7C24") + countPaths("0x7C28")
                              + countPaths("0x7C10") + countPaths("0x7C11");
            QCOMPARE(total, 7);
            const int codes[4] = {0, 4, 1, 5};
            const char *ids[4] = {"r1", "r2", "r4", "r8"};
            for (int i = 0; i < 4; ++i)
                QCOMPARE(int(UsbFinderC_GetDeviceInfo(pathBytes(ids[i]).constData(), 0).linkCode), codes[i]);
            break;
        }
        case 3: {
            const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(pathBytes("x").constData(), 0);
            QCOMPARE(int(info.cid()), 3);
            QCOMPARE(int(info.mid()), 200);
            break;
        }
        case 4: {
            const QByteArray path = pathBytes("late");
            for (int i = 1; i <= 9; ++i)
                QCOMPARE(int(UsbFinderC_GetDeviceInfo(path.constData(), 0).id), 0);
            QCOMPARE(int(UsbFinderC_GetDeviceInfo(path.constData(), 0).id), 29 << 8 | 86);
            // Plugged in again, it starts over.
            QVERIFY(sim::unplug("late"));
            QVERIFY(sim::plug("late"));
            QCOMPARE(int(UsbFinderC_GetDeviceInfo(path.constData(), 0).id), 0);
            break;
        }
        case 5: {
            const QByteArray path = pathBytes("r");
            QVERIFY(!UsbFinderC_GetDeviceOnLine(path.constData()));
            QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &ReportSink::callback));
            QVERIFY(UsbServer_ReadAllFlashData());
            QVERIFY(UsbServer_ReadBatteryLevel());
            QVERIFY(sim::waitIdle());
            QCOMPARE(ReportSink::instance().reports().size(), 0);
            QCOMPARE(UsbFinderC_GetVersion(path.constData()), 0);
            QVERIFY(UsbFinderC_GetDeviceInfo(path.constData(), 0).id != 0); // the receiver answers
            break;
        }
        case 6: {
            QCOMPARE(countPaths("0x7C10"), 0);
            QVERIFY(sim::inBootMode("m"));
            const QByteArray img = image(kTargetMouse, 86, 29);
            int count = 5;
            QCOMPARE(UsbUpgradeC_FindBootDevices(reinterpret_cast<const unsigned char *>(img.constData()), img.size(),
                                                 &count),
                     1);
            QCOMPARE(count, 1);
            break;
        }
        }
    }

    void exampleScenarioFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("usbDevices");
        QTest::newRow("cable and receiver") << "cable-and-receiver.json" << 2;
        QTest::newRow("two identical receivers") << "two-identical-receivers.json" << 2;
        QTest::newRow("seven devices") << "seven-devices.json" << 7;
        QTest::newRow("silent mouse") << "silent-mouse.json" << 1;
        QTest::newRow("receiver in boot mode") << "boot-mode-receiver.json" << 2;
        QTest::newRow("failing flash") << "failing-flash.json" << 2;
    }

    void exampleScenarioFiles()
    {
        QFETCH(QString, file);
        QFETCH(int, usbDevices);
        QString error;
        QVERIFY2(sim::loadScenarioFile(QStringLiteral(VELMORAX_SCENARIO_DIR "/") + file, &error), qPrintable(error));
        int paths = 0;
        for (const QString &id : sim::deviceIds())
            paths += !sim::pathOf(id).isEmpty();
        QCOMPARE(paths, usbDevices);
    }

    void badScenarioFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x01\x02\xff garbage", 12);
        QTest::newRow("truncated") << scenario("{\"id\": \"r\", \"type\": \"receiver\"}").left(30);
        QTest::newRow("array at the top") << QByteArray("[]");
        QTest::newRow("no device list") << QByteArray("{}");
        QTest::newRow("unknown top field") << QByteArray("{\"devices\": [], \"colour\": 1}");
        QTest::newRow("unknown device field") << scenario("{\"id\": \"r\", \"type\": \"receiver\", \"battery\": 5}");
        QTest::newRow("unknown type") << scenario("{\"id\": \"k\", \"type\": \"keyboard\"}");
        QTest::newRow("receiver kind 3") << scenario("{\"id\": \"r\", \"type\": \"receiver\", \"kind\": 3}");
        QTest::newRow("id used twice") << scenario(
            "{\"id\": \"r\", \"type\": \"receiver\"}, {\"id\": \"r\", \"type\": \"receiver\"}");
        QTest::newRow("id with a slash") << scenario("{\"id\": \"../r\", \"type\": \"receiver\"}");
        QTest::newRow("paired to nothing")
            << scenario("{\"id\": \"m\", \"type\": \"mouse\", \"pairedTo\": \"nowhere\"}");
        QTest::newRow("version too large") << scenario("{\"id\": \"m\", \"type\": \"mouse\", \"version\": 70000}");
        QTest::newRow("battery below zero") << scenario("{\"id\": \"m\", \"type\": \"mouse\", \"battery\": -1}");
        QTest::newRow("fraction") << scenario("{\"id\": \"m\", \"type\": \"mouse\", \"battery\": 50.5}");
        QTest::newRow("number too large for any integer")
            << scenario("{\"id\": \"m\", \"type\": \"mouse\", \"battery\": 1e300}");
        QTest::newRow("receiver id of two bytes")
            << scenario("{\"id\": \"r\", \"type\": \"receiver\", \"receiverId\": [1, 2]}");
        QTest::newRow("text where a flag belongs")
            << scenario("{\"id\": \"m\", \"type\": \"mouse\", \"online\": \"yes\"}");
        QTest::newRow("oversized") << QByteArray(2 * 1024 * 1024, ' ');
    }

    void badScenarioFiles()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString file = dir.filePath("scenario.json");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        QString error;
        QVERIFY(!sim::loadScenarioFile(file, &error));
        QVERIFY(!error.isEmpty());
        // What was attached stays attached.
        QCOMPARE(sim::deviceIds(), QStringList({"receiver", "mouse"}));
        QVERIFY(UsbFinderC_GetDeviceOnLine(pathBytes("receiver").constData()));
    }

    // A device or a pipe named as the scenario must neither block the
    // reader nor be read without end; a file too large says so.
    void specialFilesAreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("endless device") << "/dev/zero"
                                        << "not a regular file";
        QTest::newRow("pipe without a writer") << "fifo"
                                               << "not a regular file";
        QTest::newRow("folder") << "folder"
                                << "not a regular file";
        QTest::newRow("over 1 MiB") << "large"
                                    << "too large";
    }

    void specialFilesAreRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString file = kind;
        if (kind == "fifo") {
            file = dir.filePath("devices.json");
            QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        } else if (kind == "folder") {
            file = dir.path();
        } else if (kind == "large") {
            file = dir.filePath("devices.json");
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(scenario("{\"id\": \"solo\", \"type\": \"mouse\", \"cable\": true}"));
            f.write(QByteArray(sim::kScenarioFileLimit, ' '));
        }
        QString error;
        QVERIFY(!sim::loadScenarioFile(file, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));

        // Named at start-up: the program says why and runs with the default devices.
        qputenv("VELMORAX_DEVICES", file.toLocal8Bit());
        error.clear();
        QVERIFY(sim::environmentScenario(&error).isEmpty());
        QVERIFY2(error.contains(reason), qPrintable(error));
        sim::loadDefaultScenario();
        qputenv("VELMORAX_DEVICES", QByteArray());
        QCOMPARE(sim::deviceIds(), QStringList({"receiver", "mouse"}));
    }

    void aFullDiskKeepsTheLastFlashFile()
    {
        const QByteArray path = pathBytes("receiver");
        const QString file = sim::flashFileName("receiver");
        QVERIFY(UsbFinderC_SetLongRangeMode(path.constData(), 1));
        QVERIFY(sim::waitIdle());
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        QVERIFY(before.size() > 16);
        {
            FileSizeLimit full(16);
            QVERIFY(full.active());
            UsbFinderC_SetLongRangeMode(path.constData(), 0);
            QVERIFY(sim::waitIdle());
        }
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        f.close();
        sim::restart();
        QVERIFY(sim::longRange("receiver"));
        QCOMPARE(QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden).filter("receiver").size(), 1);
    }

    void environmentNamesTheScenario_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("good file") << scenario("{\"id\": \"solo\", \"type\": \"mouse\", \"cable\": true}")
                                   << QStringList({"solo"});
        QTest::newRow("bad file") << QByteArray("{ not json") << QStringList({"receiver", "mouse"});
        QTest::newRow("missing file") << QByteArray() << QStringList({"receiver", "mouse"});
    }

    void environmentNamesTheScenario()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, ids);
        QTemporaryDir dir;
        const QString file = dir.filePath("devices.json");
        if (!content.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        qputenv("VELMORAX_DEVICES", file.toLocal8Bit());
        sim::loadDefaultScenario();
        qputenv("VELMORAX_DEVICES", QByteArray());
        QCOMPARE(sim::deviceIds(), ids);
    }

    void damagedFlashFileGivesFactorySettings_data()
    {
        QTest::addColumn<int>("damage");
        QTest::newRow("no file") << 0;
        QTest::newRow("cut in half") << 1;
        QTest::newRow("one byte flipped") << 2;
        QTest::newRow("garbage") << 3;
        QTest::newRow("empty") << 4;
        QTest::newRow("one byte more") << 5;
        QTest::newRow("huge") << 6;
        QTest::newRow("a receiver's file") << 7;
        QTest::newRow("sound file, images without their tag") << 8;
    }

    void damagedFlashFileGivesFactorySettings()
    {
        QFETCH(int, damage);
        FlashDataMap record = dump::factoryRecord();
        record.sleepTime = 33;
        record.macros[0].nameLength = 1;
        record.macros[0].name[0] = 'x';
        const QByteArray path = pathBytes("receiver");
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &ReportSink::callback));
        QVERIFY(ProtocolDataUpdate(&record));
        QVERIFY(sim::waitIdle());
        UsbServer_Exit();
        const QString file = sim::flashFileName("mouse");
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        QVERIFY(bytes.size() > 4 * kDumpSize);
        switch (damage) {
        case 0:
            bytes.clear();
            QFile::remove(file);
            break;
        case 1:
            bytes = bytes.left(bytes.size() / 2);
            break;
        case 2:
            bytes[bytes.size() / 3] = static_cast<char>(bytes[bytes.size() / 3] ^ 0x40);
            break;
        case 3:
            bytes = QByteArray(bytes.size(), 'z');
            break;
        case 4:
            bytes.clear();
            break;
        case 5:
            bytes.append('\0');
            break;
        case 6:
            bytes = QByteArray(400 * 1024, '\0');
            break;
        case 7: {
            QFile r(sim::flashFileName("receiver"));
            sim::setBattery("mouse", 50, false);
            QVERIFY(UsbFinderC_SetLongRangeMode(path.constData(), 1)); // writes the receiver's file
            QVERIFY(r.open(QIODevice::ReadOnly));
            bytes = r.readAll();
            break;
        }
        case 8: {
            sim::SimDevice mouse; // checksum and layout fine, images all zero
            mouse.id = "mouse";
            mouse.flash[0][0] = 4;
            bytes = sim::flashFileBytes(mouse);
            break;
        }
        }
        if (damage != 0) {
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
            f.close();
        }
        sim::restart();
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        const FlashDataMap factory = dump::factoryRecord();
        QCOMPARE(std::memcmp(&stored, &factory, sizeof stored), 0);
        QCOMPARE(sim::activeSlot("mouse"), 0);
        // The device works on and writes a sound file again.
        const QByteArray again = pathBytes("receiver");
        QVERIFY(UsbServerC_Start(again.constData(), again.constData(), &ReportSink::callback));
        QVERIFY(ProtocolDataUpdate(&record));
        QVERIFY(sim::waitIdle());
        sim::restart();
        QVERIFY(sim::flashRecord("mouse", &stored));
        QCOMPARE(int(stored.sleepTime), 33);
        // Written atomically: nothing but the flash files in the folder.
        const QStringList files = QDir(QFileInfo(file).path()).entryList(QDir::Files);
        for (const QString &name : files)
            QVERIFY2(name.endsWith(".flash"), qPrintable(name));
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestHidUsbScenario)
#include "tst_hidusb_scenario.moc"
