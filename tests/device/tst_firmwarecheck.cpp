// Firmware-image lookups: which image file of the image folder is chosen for
// a device version, and whether a newer image exists for the open device.

#include "device/devicestate.h"
#include "device/firmwarecheck.h"
#include "platform/hidusb/firmwareimage.h"
#include "support/testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct ImageFile
{
    QString file;
    int target;
    int cid;
    int mid;
    QByteArray name;
    quint32 version;
    int size = 1024;
};

// Writes an image file with the given header fields and a body that tells
// the files apart.
void writeImage(const QString &folder, const ImageFile &image)
{
    QByteArray data;
    if (image.size > firmwareHeaderSize) {
        hidusb::FirmwareImageInfo info;
        info.version = image.version;
        info.target = static_cast<unsigned char>(image.target);
        info.cid = static_cast<unsigned char>(image.cid);
        info.mid = static_cast<unsigned char>(image.mid);
        info.name = image.name.toStdString();
        std::vector<unsigned char> body(std::size_t(image.size - firmwareHeaderSize), 0);
        const QByteArray tag = image.file.toLatin1();
        std::copy(tag.begin(), tag.end(), body.begin());
        const auto bytes = hidusb::buildFirmwareImage(info, body);
        data = QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size()));
    } else {
        data = QByteArray(image.size, '\0');
    }
    QFile f(folder + QLatin1Char('/') + image.file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// Which file a chosen buffer came from ("" when nothing was chosen).
QString chosenFile(const QList<QByteArray> &images)
{
    if (images.isEmpty())
        return QString();
    if (images.size() != 1)
        return QStringLiteral("<several>");
    return QString::fromLatin1(images.first().mid(firmwareHeaderSize).constData());
}

ImageFile mouseImage(const QString &file, quint32 version, const QByteArray &name = "MOUSE")
{
    return {file, firmwareTargetMouse, 86, 29, name, version};
}

} // namespace

Q_DECLARE_METATYPE(QList<ImageFile>)

class TestFirmwareCheck : public QObject
{
    Q_OBJECT

private slots:
    void versionText_data();
    void versionText();
    void search_data();
    void search();
    void missingFolderChoosesNothing();
    void checkFirmwareUpdate_data();
    void checkFirmwareUpdate();
    void cleanup() { setFirmwareImageFolder(QString()); }
};

void TestFirmwareCheck::versionText_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("0x0105") << 0x0105u << "v1.05";
    QTest::newRow("0x0A1F") << 0x0A1Fu << "v10.1F";
    QTest::newRow("0x0200") << 0x0200u << "v2.00";
    QTest::newRow("0x010A") << 0x010Au << "v1.0A";
    QTest::newRow("0x0100") << 0x0100u << "v1.00";
}

void TestFirmwareCheck::versionText()
{
    QFETCH(quint32, version);
    QFETCH(QString, text);
    QCOMPARE(firmwareVersionText(version), text);
}

void TestFirmwareCheck::search_data()
{
    QTest::addColumn<QList<ImageFile>>("files");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("probed");
    QTest::addColumn<bool>("repairFound");
    QTest::addColumn<QString>("repairChosen");

    QTest::newRow("equal text passed over, newer chosen")
        << QList<ImageFile>{mouseImage("a.bin", 0x0105), mouseImage("b.bin", 0x0106)} << "v1.05" << true << "b.bin"
        << true << true << "b.bin";
    QTest::newRow("newer first, equal second")
        << QList<ImageFile>{mouseImage("a.bin", 0x0106), mouseImage("b.bin", 0x0105)} << "v1.05" << true << "a.bin"
        << true << true << "a.bin";
    QTest::newRow("two newer: the highest wins, not the last")
        << QList<ImageFile>{mouseImage("a.bin", 0x0107), mouseImage("b.bin", 0x0106)} << "v1.05" << true << "a.bin"
        << true << true << "a.bin";
    QTest::newRow("hex minors compared as numbers")
        << QList<ImageFile>{mouseImage("a.bin", 0x010B)} << "v1.0A" << true << "a.bin" << true << true << "a.bin";
    QTest::newRow("older image is no update, but repairs")
        << QList<ImageFile>{mouseImage("a.bin", 0x0104)} << "v1.05" << false << "" << false << true << "a.bin";
    QTest::newRow("search goes past an equal version")
        << QList<ImageFile>{mouseImage("a.bin", 0x010A), mouseImage("b.bin", 0x0110)} << "v1.0A" << true << "b.bin"
        << true << true << "b.bin";
    QTest::newRow("empty version takes the highest match")
        << QList<ImageFile>{mouseImage("a.bin", 0x0106), mouseImage("b.bin", 0x0101)} << "" << true << "a.bin" << false
        << true << "a.bin";
    QTest::newRow("name is case-sensitive")
        << QList<ImageFile>{mouseImage("a.bin", 0x0106, "mouse")} << "v1.05" << false << "" << false << false << "";
    QTest::newRow("short file passed over, search goes on")
        << QList<ImageFile>{ImageFile{"a.bin", firmwareTargetMouse, 86, 29, "MOUSE", 0x0106, 500},
                            mouseImage("b.bin", 0x0107)}
        << "v1.05" << true << "b.bin" << true << true << "b.bin";
    QTest::newRow("oversized file passed over") << QList<ImageFile>{ImageFile{
        "a.bin", firmwareTargetMouse, 86, 29, "MOUSE", 0x0106, int(firmwareMaxImageSize) + 1}}
                                                << "v1.05" << false << "" << false << false << "";
    QTest::newRow("other target, cid or mid ignored")
        << QList<ImageFile>{ImageFile{"a.bin", firmwareTargetReceiver, 86, 29, "MOUSE", 0x0106},
                            ImageFile{"b.bin", firmwareTargetMouse, 87, 29, "MOUSE", 0x0106},
                            ImageFile{"c.bin", firmwareTargetMouse, 86, 30, "MOUSE", 0x0106}}
        << "v1.05" << false << "" << false << false << "";
    QTest::newRow("names compared in case-insensitive file order")
        << QList<ImageFile>{mouseImage("B.bin", 0x0107), mouseImage("a.bin", 0x0106)} << "v1.05" << true << "B.bin"
        << true << true << "B.bin";
    QTest::newRow("only *.bin files are candidates")
        << QList<ImageFile>{mouseImage("a.img", 0x0107)} << "v1.05" << false << "" << false << false << "";
}

void TestFirmwareCheck::search()
{
    QFETCH(QList<ImageFile>, files);
    QFETCH(QString, version);
    QFETCH(bool, found);
    QFETCH(QString, chosen);
    QFETCH(bool, probed);
    QFETCH(bool, repairFound);
    QFETCH(QString, repairChosen);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const ImageFile &f : files)
        writeImage(dir.path(), f);
    setFirmwareImageFolder(dir.path());

    firmwareImages = {QByteArray("stale")};
    QCOMPARE(findFirmwareImage(firmwareTargetMouse, version, QStringLiteral("MOUSE"), 86, 29), found);
    QCOMPARE(chosenFile(firmwareImages), chosen);

    const QList<QByteArray> kept = firmwareImages;
    QCOMPARE(probeFirmwareImage(firmwareTargetMouse, version, QStringLiteral("MOUSE"), 86, 29), probed);
    QCOMPARE(firmwareImages, kept); // a probe keeps nothing

    QCOMPARE(findRepairImage(firmwareTargetMouse, version, QStringLiteral("MOUSE"), 86, 29), repairFound);
    QCOMPARE(chosenFile(repairImages), repairChosen);
}

void TestFirmwareCheck::missingFolderChoosesNothing()
{
    QTemporaryDir dir;
    setFirmwareImageFolder(dir.path() + QStringLiteral("/missing"));
    firmwareImages = {QByteArray("stale")};
    QVERIFY(!findFirmwareImage(firmwareTargetMouse, QString(), QStringLiteral("MOUSE"), 86, 29));
    QVERIFY(firmwareImages.isEmpty());
}

void TestFirmwareCheck::checkFirmwareUpdate_data()
{
    // Catalogue model 1: CID 86, MID 29, mouse image "VMX29_MOUSE",
    // receiver images "VMX29_RX1K", "VMX29_RX2K", "VMX29_RX4K", "VMX29_RX8K".
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("newer");
    QTest::newRow("mouse newer") << 210 << "v1.05" << 0 << true;
    QTest::newRow("mouse same") << 210 << "v1.08" << 8 << false;
    QTest::newRow("mouse version unknown") << 210 << "" << 0 << false;
    QTest::newRow("8K receiver newer") << 211 << "v2.00" << 8 << true;
    QTest::newRow("1K receiver has no image") << 211 << "v2.00" << 1 << false;
    QTest::newRow("kind 3 names no image") << 211 << "v2.00" << 3 << false;
}

void TestFirmwareCheck::checkFirmwareUpdate()
{
    QFETCH(int, target);
    QFETCH(QString, version);
    QFETCH(int, kind);
    QFETCH(bool, newer);

    QTemporaryDir dir;
    writeImage(dir.path(), {"m.bin", firmwareTargetMouse, 86, 29, "VMX29_MOUSE", 0x0108});
    writeImage(dir.path(), {"r.bin", firmwareTargetReceiver, 86, 29, "VMX29_RX8K", 0x0201});
    setFirmwareImageFolder(dir.path());
    DeviceAllInfo device;
    device.modelIndex = 0;
    currentDevice = device;
    upgradeCid = 0;

    QCOMPARE(::checkFirmwareUpdate(target, version, kind), newer);
    if (kind != 3)
        QCOMPARE(upgradeCid.load(), 86);
}

VELMORAX_TEST_GUILESS_MAIN(TestFirmwareCheck)
#include "tst_firmwarecheck.moc"
