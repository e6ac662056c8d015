// Choosing firmware image files: only sound images of the right part and
// model count, an update takes only a strictly newer version (minor numbers
// compared as hexadecimal numbers), a repair takes any sound image, and the
// upgrade records written for an interrupted flash.

#include "device/firmwarecheck.h"
#include "device/upgraderecord.h"
#include "platform/hidusb/firmwareimage.h"
#include "platform/userpaths.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kMouseName = QStringLiteral("VMX29_MOUSE");
const QString kReceiverName = QStringLiteral("VMX29_RX8K");
constexpr quint8 kCid = 86;
constexpr quint8 kMid = 29;

QString samples()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/firmware-samples/");
}

quint32 versionOf(const QByteArray &image)
{
    hidusb::FirmwareImageInfo info;
    hidusb::readFirmwareHeader(reinterpret_cast<const unsigned char *>(image.constData()), std::size_t(image.size()),
                               &info);
    return info.version;
}

} // namespace

class TestFirmwareImages : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

    void fill(const QStringList &files)
    {
        for (const QString &f : files) {
            if (f == QLatin1String("garbage.bin")) {
                QFile g(folder.filePath(f));
                QVERIFY(g.open(QIODevice::WriteOnly));
                g.write(QByteArray(500, '\x7f'));
                continue;
            }
            QVERIFY2(QFile::copy(samples() + f, folder.filePath(f)), qPrintable(f));
        }
    }

private slots:
    void init()
    {
        QVERIFY(folder.isValid());
        for (const QString &f : QDir(folder.path()).entryList(QDir::Files))
            QFile::remove(folder.filePath(f));
        setFirmwareImageFolder(folder.path());
        firmwareImages.clear();
        repairImages.clear();
    }
    void cleanupTestCase() { setFirmwareImageFolder(QString()); }

    void versionTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<quint32>("number");
        QTest::newRow("plain") << "v1.05" << true << 0x0105u;
        QTest::newRow("hex minor") << "v1.0A" << true << 0x010Au;
        QTest::newRow("no v") << "10.1F" << true << 0x0A1Fu;
        QTest::newRow("empty") << "" << false << 0u;
        QTest::newRow("no minor") << "v1." << false << 0u;
        QTest::newRow("letters") << "vX.Y" << false << 0u;
        QTest::newRow("minor too large") << "v1.100" << false << 0u;
    }
    void versionTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(quint32, number);
        const FirmwareVersion v = parseFirmwareVersion(text);
        QCOMPARE(v.valid, valid);
        if (valid) {
            QCOMPARE(v.number(), number);
            QCOMPARE(firmwareVersionText(number), text.startsWith(QLatin1Char('v')) ? text : QLatin1Char('v') + text);
        }
    }

    // What an update search chooses for a device running `version`; 0 when
    // nothing is chosen. The probe must always agree with the search.
    void updateSearch_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("version");
        QTest::addColumn<quint32>("chosen");
        QTest::newRow("older, equal and newer")
            << QStringList{"mouse-older.bin", "mouse-equal.bin", "mouse-newer.bin"} << "v1.02" << 0x0103u;
        QTest::newRow("never a downgrade") << QStringList{"mouse-older.bin", "mouse-equal.bin"} << "v1.02" << 0u;
        QTest::newRow("hex minor is a number")
            << QStringList{"mouse-newer-hex.bin", "mouse-newer.bin"} << "v1.02" << 0x010Au;
        QTest::newRow("hex device version is newer") << QStringList{"mouse-newer.bin"} << "v1.0A" << 0u;
        QTest::newRow("unsound or foreign files")
            << QStringList{"mouse-truncated.bin", "mouse-damaged.bin", "mouse-other-model.bin",
                           "mouse-other-cid.bin", "garbage.bin",       "rx8k-newer.bin"}
            << "v1.02" << 0u;
        QTest::newRow("search goes on past a bad file")
            << QStringList{"garbage.bin", "mouse-damaged.bin", "mouse-newer.bin"} << "v1.02" << 0x0103u;
        QTest::newRow("unreadable device version") << QStringList{"mouse-newer.bin"} << "beta" << 0u;
    }
    void updateSearch()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, version);
        QFETCH(quint32, chosen);
        fill(files);
        firmwareImages.append(QByteArray("left over"));
        QCOMPARE(probeFirmwareImage(firmwareTargetMouse, version, kMouseName, kCid, kMid), chosen != 0);
        QCOMPARE(findFirmwareImage(firmwareTargetMouse, version, kMouseName, kCid, kMid), chosen != 0);
        QCOMPARE(firmwareImages.size(), chosen ? 1 : 0);
        if (chosen) {
            QCOMPARE(versionOf(firmwareImages.first()), chosen);
            QVERIFY(hidusb::firmwareImageValid(reinterpret_cast<const uchar *>(firmwareImages.first().constData()),
                                               std::size_t(firmwareImages.first().size())));
        }
    }

    void anyVersionTakesTheHighestSoundImage()
    {
        fill({"rx8k-older.bin", "rx8k-newer-hex.bin", "rx8k-newer.bin", "rx8k-damaged.bin"});
        QVERIFY(!probeFirmwareImage(firmwareTargetReceiver, QString(), kReceiverName, kCid, kMid));
        QVERIFY(findFirmwareImage(firmwareTargetReceiver, QString(), kReceiverName, kCid, kMid));
        QCOMPARE(versionOf(firmwareImages.first()), 0x010Bu);
    }

    // A repair flashes whatever sound image there is, even one older than or
    // equal to what the device reports, but never a damaged one.
    void repairTakesAnySoundImage()
    {
        fill({"mouse-older.bin", "mouse-truncated.bin"});
        QVERIFY(findRepairImage(firmwareTargetMouse, QStringLiteral("v1.02"), kMouseName, kCid, kMid));
        QCOMPARE(repairImages.size(), 1);
        QCOMPARE(versionOf(repairImages.first()), 0x0101u);
        QVERIFY(firmwareImages.isEmpty());
        QFile::remove(folder.filePath("mouse-older.bin"));
        QVERIFY(!findRepairImage(firmwareTargetMouse, QString(), kMouseName, kCid, kMid));
        QVERIFY(repairImages.isEmpty());
    }

    void missingFolderChoosesNothing()
    {
        setFirmwareImageFolder(folder.filePath("missing"));
        firmwareImages.append(QByteArray("left over"));
        QVERIFY(!findFirmwareImage(firmwareTargetMouse, QString(), kMouseName, kCid, kMid));
        QVERIFY(firmwareImages.isEmpty());
    }

    void failRecordRoundTrip()
    {
        upgraderecord::removeFail();
        QVERIFY(upgraderecord::failInfo().isEmpty());
        upgraderecord::writeFail(211, 8, 86, 29);
        QCOMPARE(upgraderecord::failInfo(), QStringLiteral("211,8,86,29"));
        QCOMPARE(upgraderecord::failParts(), (QStringList{"211", "8", "86", "29"}));
        upgraderecord::removeFail();
        QVERIFY(upgraderecord::failInfo().isEmpty());
    }

    void failMarkerIsAnEmptyFile()
    {
        QFile::remove(upgraderecord::failMarkerPath());
        upgraderecord::createFailMarker();
        QFileInfo marker(upgraderecord::failMarkerPath());
        QVERIFY(marker.exists());
        QCOMPARE(marker.size(), 0);
        QVERIFY(marker.absolutePath().startsWith(userDataRoot()));
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestFirmwareImages)
#include "tst_firmwareimages.moc"
