// Reading exported configuration files: what is accepted, what is refused
// and with which result, and that a refused file never fills the record.

#include "device/devicestate.h"
#include "pages/settings/configfile.h"
#include "support/testmain.h"

#include <QBuffer>
#include <QDataStream>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

namespace {

QByteArray field(const QByteArray &text, int length)
{
    QByteArray out = text.left(length);
    out.append(QByteArray(length - out.size(), '\0'));
    return out;
}

FlashDataMap sampleRecord(int stages, int active)
{
    FlashDataMap record;
    std::memset(&record, 0, sizeof record);
    unsigned char *bytes = recordBytes(record);
    for (int i = 0; i < int(sizeof record); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    bytes[1] = static_cast<unsigned char>(stages);
    bytes[2] = static_cast<unsigned char>(active);
    return record;
}

// The file as the button page's export writes it.
QByteArray exportedFile(const QByteArray &tag, const QByteArray &sensor, const FlashDataMap &record)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    const QByteArray t = field(tag, 12);
    const QByteArray s = field(sensor, 12);
    stream.writeBytes(t.constData(), uint(t.size()));
    stream.writeBytes(s.constData(), uint(s.size()));
    stream.writeBytes(reinterpret_cast<const char *>(&record), uint(sizeof record));
    return out;
}

QByteArray rawField(quint32 length, const QByteArray &bytes)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream << length;
    out.append(bytes);
    return out;
}

} // namespace

class ConfigFileTest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void readsFileOfOpenModel();
    void missingFileIsResultOne();
};

void ConfigFileTest::parse_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("expected");

    const FlashDataMap good = sampleRecord(4, 1);
    const QByteArray valid = exportedFile("Derez", "3950", good);
    QTest::newRow("exported by the same model") << valid << 0;
    QTest::newRow("stage count equal to the model's maximum") << exportedFile("Derez", "3950", sampleRecord(8, 7)) << 0;
    QTest::newRow("one stage") << exportedFile("Derez", "3950", sampleRecord(1, 0)) << 0;
    QTest::newRow("trailing bytes after the record") << valid + QByteArray(5, 'x') << 0;

    QTest::newRow("another sensor") << exportedFile("Derez", "3395", good) << 2;
    QTest::newRow("sensor name with a letter more") << exportedFile("Derez", "3950a", good) << 2;
    QTest::newRow("more stages than the model has") << exportedFile("Derez", "3950", sampleRecord(9, 0)) << 2;
    QTest::newRow("stage count 255") << exportedFile("Derez", "3950", sampleRecord(255, 0)) << 2;

    QTest::newRow("other tag") << exportedFile("Dxrez", "3950", good) << 1;
    QTest::newRow("no stages") << exportedFile("Derez", "3950", sampleRecord(0, 0)) << 1;
    QTest::newRow("active stage past the count") << exportedFile("Derez", "3950", sampleRecord(3, 3)) << 1;
    QTest::newRow("empty file") << QByteArray() << 1;
    QTest::newRow("garbage") << QByteArray("this is not a configuration file at all, just text") << 1;
    QTest::newRow("truncated in the first length") << valid.left(2) << 1;
    QTest::newRow("truncated in the tag") << valid.left(10) << 1;
    QTest::newRow("truncated in the sensor name") << valid.left(25) << 1;
    QTest::newRow("truncated in the record") << valid.left(valid.size() - 1) << 1;
    QTest::newRow("record length field only") << valid.left(36) << 1;

    const QByteArray tagField = rawField(12, field("Derez", 12));
    const QByteArray sensorField = rawField(12, field("3950", 12));
    const QByteArray recordBytesField(reinterpret_cast<const char *>(&good), sizeof good);
    QTest::newRow("record one byte short")
        << tagField + sensorField + rawField(10459, recordBytesField.left(10459)) << 1;
    QTest::newRow("record one byte long") << tagField + sensorField + rawField(10461, recordBytesField + 'x') << 1;
    QTest::newRow("record length claims 4 GB") << tagField + sensorField + rawField(0xFFFFFFFEu, recordBytesField) << 1;
    QTest::newRow("null record field") << tagField + sensorField + rawField(0xFFFFFFFFu, QByteArray()) << 1;
    QTest::newRow("tag length claims 4 GB") << rawField(0xFFFFFFF0u, field("Derez", 12)) << 1;
    QTest::newRow("sensor field of 1 MB")
        << tagField + rawField(1u << 20, QByteArray(1 << 20, 'a')) + rawField(10460, recordBytesField) << 1;
    QTest::newRow("empty tag field") << rawField(0, QByteArray()) + sensorField << 1;
}

void ConfigFileTest::parse()
{
    QFETCH(QByteArray, file);
    QFETCH(int, expected);

    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    FlashDataMap out;
    std::memset(&out, 0xAB, sizeof out);
    const FlashDataMap before = out;
    QCOMPARE(parseConfigFile(&buffer, QStringLiteral("3950"), 8, &out), expected);
    if (expected == 0) {
        // The record is the file's, byte for byte.
        QCOMPARE(std::memcmp(&out, file.constData() + 36, sizeof out), 0);
    } else {
        QCOMPARE(std::memcmp(&out, &before, sizeof out), 0);
    }
}

void ConfigFileTest::readsFileOfOpenModel()
{
    // The model comes from the open device's catalogue group "Drive1".
    DeviceAllInfo open;
    open.modelIndex = 0;
    currentDevice = open;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("config.bin"));
    const FlashDataMap record = sampleRecord(2, 1);
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(exportedFile("Derez", "3950", record));
    file.close();
    QCOMPARE(QFileInfo(name).size(), qint64(10496));

    FlashDataMap out;
    QCOMPARE(readConfigFile(name, &out), 0);
    QCOMPARE(std::memcmp(&out, &record, sizeof out), 0);

    // Another model of the catalogue uses another sensor name.
    open.modelIndex = 1;
    currentDevice = open;
    QCOMPARE(readConfigFile(name, &out), 2);
}

void ConfigFileTest::missingFileIsResultOne()
{
    FlashDataMap out;
    QCOMPARE(readConfigFile(QStringLiteral("/nonexistent/folder/config.bin"), &out), 1);
}

VELMORAX_TEST_GUILESS_MAIN(ConfigFileTest)
#include "tst_configfile.moc"
