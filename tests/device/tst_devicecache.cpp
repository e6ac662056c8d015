// Device cache files: name, exact content, atomic writes, refusal of files
// that are not exactly one record.
#include "device/devicecache.h"
#include "device/devicestate.h"
#include "platform/userpaths.h"
#include "support/filesizelimit.h"
#include "support/testmain.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstring>

namespace {

FlashDataMap patternRecord(int seed)
{
    FlashDataMap record;
    unsigned char *bytes = recordBytes(record);
    for (int i = 0; i < kFlashDataSize; ++i)
        bytes[i] = quint8((i * 7 + seed) & 0xFF);
    return record;
}

void writeRaw(const QString &name, const QByteArray &content)
{
    QDir().mkpath(userDataRoot() + "/Device_Info");
    QFile file(deviceCachePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
}

QByteArray lengthPrefix(quint32 length)
{
    QByteArray prefix;
    QDataStream out(&prefix, QIODevice::WriteOnly);
    out << length;
    return prefix;
}

} // namespace

class TestDeviceCache : public QObject
{
    Q_OBJECT
private slots:
    void init() { QDir(userDataRoot() + "/Device_Info").removeRecursively(); }

    void fileIsInTheDeviceInfoFolderUnderItsName()
    {
        QCOMPARE(deviceCachePath(cacheNameForId(0x0A05)), userDataRoot() + "/Device_Info/Device_CID05_MID0A.bin");
    }

    void savedFileIsTheLengthThenTheRecord()
    {
        const FlashDataMap record = patternRecord(3);
        QVERIFY(saveDeviceCache("Device_CID05_MID0A.bin", record));

        QFile file(deviceCachePath("Device_CID05_MID0A.bin"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QCOMPARE(content.size(), 10464);
        // 32-bit big-endian length 10460 = 0x000028DC
        QCOMPARE(content.left(4), QByteArray::fromHex("000028dc"));
        QVERIFY(std::memcmp(content.constData() + 4, &record, 10460) == 0);
    }

    void roundTripAndOverwrite()
    {
        const QString name = cacheNameForId(0x1D56);
        QVERIFY(saveDeviceCache(name, patternRecord(1)));
        const FlashDataMap second = patternRecord(2);
        QVERIFY(saveDeviceCache(name, second));

        FlashDataMap loaded = patternRecord(99);
        QVERIFY(loadDeviceCache(name, &loaded));
        QVERIFY(std::memcmp(&loaded, &second, sizeof loaded) == 0);
        // Nothing but the cache file is left behind in the folder.
        QCOMPARE(QDir(userDataRoot() + "/Device_Info").entryList(QDir::Files), QStringList{name});
    }

    void aFullDiskKeepsTheOldCache()
    {
        const QString name = cacheNameForId(0x0A05);
        const FlashDataMap first = patternRecord(1);
        QVERIFY(saveDeviceCache(name, first));
        bool saved = true;
        {
            FileSizeLimit full(4096);
            QVERIFY(full.active());
            saved = saveDeviceCache(name, patternRecord(2));
        }
        QVERIFY(!saved);
        FlashDataMap loaded = patternRecord(99);
        QVERIFY(loadDeviceCache(name, &loaded));
        QVERIFY(std::memcmp(&loaded, &first, sizeof loaded) == 0);
        QCOMPARE(QDir(userDataRoot() + "/Device_Info").entryList(QDir::Files), QStringList{name});
    }

    void saveCreatesAMissingFolder()
    {
        QDir(userDataRoot() + "/Device_Info").removeRecursively();
        QVERIFY(saveDeviceCache("Device_CID01_MID02.bin", patternRecord(5)));
        QVERIFY(QFile::exists(deviceCachePath("Device_CID01_MID02.bin")));
    }

    void refusedFilesLeaveTheRecordUntouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray body(10460, '\x5A');
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("length only") << lengthPrefix(10460);
        QTest::newRow("short by one") << (lengthPrefix(10460) + body).left(10463);
        QTest::newRow("long by one") << lengthPrefix(10460) + body + QByteArray(1, '\0');
        QTest::newRow("two records") << lengthPrefix(10460) + body + lengthPrefix(10460) + body;
        QTest::newRow("short array, honest length") << lengthPrefix(100) + body.left(100);
        QTest::newRow("right size, wrong length field") << lengthPrefix(10459) + body;
        QTest::newRow("right size, null array") << lengthPrefix(0xFFFFFFFFu) + body;
        QTest::newRow("garbage") << QByteArray(10464, '\xFF');
        QTest::newRow("text") << QByteArray("not a cache file\n").repeated(400);
    }
    void refusedFilesLeaveTheRecordUntouched()
    {
        QFETCH(QByteArray, content);
        writeRaw("Device_CID05_MID0A.bin", content);
        const FlashDataMap before = patternRecord(42);
        FlashDataMap record = before;
        QVERIFY(!loadDeviceCache("Device_CID05_MID0A.bin", &record));
        QVERIFY(std::memcmp(&record, &before, sizeof record) == 0);
    }

    void missingFileIsRefused()
    {
        const FlashDataMap before = patternRecord(8);
        FlashDataMap record = before;
        QVERIFY(!loadDeviceCache("Device_CID77_MID77.bin", &record));
        QVERIFY(std::memcmp(&record, &before, sizeof record) == 0);
    }

    void namesThatAreNotPlainFileNamesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("parent folder") << "../Macro.ini";
        QTest::newRow("absolute") << "/tmp/velmorax-cache-test.bin";
        QTest::newRow("sub-folder") << "sub/Device_CID05_MID0A.bin";
    }
    void namesThatAreNotPlainFileNamesAreRefused()
    {
        QFETCH(QString, name);
        QFile::remove(userDataRoot() + "/Macro.ini");
        QVERIFY(!saveDeviceCache(name, patternRecord(9)));
        QVERIFY(!QFile::exists(userDataRoot() + "/Macro.ini"));
        QVERIFY(!QFile::exists("/tmp/velmorax-cache-test.bin"));
        FlashDataMap record = patternRecord(8);
        QVERIFY(!loadDeviceCache(name, &record));
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestDeviceCache)
#include "tst_devicecache.moc"
