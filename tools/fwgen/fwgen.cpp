// Writes the firmware image files the program finds beside itself and the
// sample images the tests take theirs from:
//
//   velmorax_fwgen <Config.ini> <output folder>
//
//   <output>/bin/               one image per firmware name of every model of
//                               the catalogue, newer than what the simulated
//                               devices run, so an upgrade can be tried out
//   <output>/firmware-samples/  images of the first model: older, equal and
//                               newer than the simulated devices, truncated,
//                               damaged and for another model
//
// Names, CID and MIDs come from the catalogue, so the images always fit the
// models the program knows. The format is the library's own
// (platform/hidusb/firmwareimage.h).

#include "platform/hidusb/firmwareimage.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTextStream>

#include <cstdio>

namespace {

// What the simulated devices run when a scenario names no version.
constexpr std::uint32_t kSimReceiverVersion = 0x0105;
constexpr std::uint32_t kSimMouseVersion = 0x0102;
constexpr std::size_t kBodySize = 8192;

struct Model
{
    int mid = 0;
    QString mouse;
    QString receivers[4]; // DM, D2M, D4M, D8M
};

const char *const kReceiverKeys[4] = {"DM", "D2M", "D4M", "D8M"};
const char *const kReceiverTags[4] = {"rx1k", "rx2k", "rx4k", "rx8k"};

QString decoded(const QSettings &ini, const QString &key)
{
    return QString::fromUtf8(QByteArray::fromBase64(ini.value(key).toString().toUtf8()));
}

std::vector<unsigned char> image(unsigned char target, int cid, int mid, const QString &name, std::uint32_t version)
{
    hidusb::FirmwareImageInfo info;
    info.version = version;
    info.target = target;
    info.cid = static_cast<unsigned char>(cid);
    info.mid = static_cast<unsigned char>(mid);
    info.name = name.toLocal8Bit().toStdString();
    return hidusb::buildFirmwareImage(info, hidusb::firmwareBodyPattern(kBodySize, version * 31u + target + mid));
}

bool write(const QString &fileName, const std::vector<unsigned char> &bytes)
{
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const auto n = static_cast<qint64>(bytes.size());
    return f.write(reinterpret_cast<const char *>(bytes.data()), n) == n;
}

QString versionTag(std::uint32_t v)
{
    return QStringLiteral("v%1.%2").arg(v >> 8).arg(
        QString::number(v & 0xFF, 16).toUpper().rightJustified(2, QLatin1Char('0')));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: velmorax_fwgen <Config.ini> <output folder>\n");
        return 2;
    }
    QSettings ini(QString::fromLocal8Bit(argv[1]), QSettings::IniFormat);
    const int cid = decoded(ini, QStringLiteral("Option/CID")).toInt();
    const int total = ini.value(QStringLiteral("Option/DeviceTotal")).toInt();
    if (cid <= 0 || total <= 0) {
        std::fprintf(stderr, "velmorax_fwgen: %s holds no models\n", argv[1]);
        return 1;
    }
    std::vector<Model> models;
    for (int i = 1; i <= total; ++i) {
        const QString group = QStringLiteral("Drive%1/").arg(i);
        Model m;
        m.mid = ini.value(group + QStringLiteral("MID")).toInt();
        m.mouse = decoded(ini, group + QStringLiteral("MM"));
        for (int k = 0; k < 4; ++k)
            m.receivers[k] = decoded(ini, group + QLatin1String(kReceiverKeys[k]));
        models.push_back(m);
    }

    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString bin = out + QStringLiteral("/bin/");
    const QString samples = out + QStringLiteral("/firmware-samples/");
    QDir().mkpath(bin);
    QDir().mkpath(samples);
    bool ok = true;

    const std::uint32_t newerMouse = kSimMouseVersion + 1;
    const std::uint32_t newerReceiver = kSimReceiverVersion + 1;
    for (const Model &m : models) {
        if (!m.mouse.isEmpty())
            ok &= write(bin + m.mouse + QLatin1Char('_') + versionTag(newerMouse) + QStringLiteral(".bin"),
                        image(hidusb::kTargetMouse, cid, m.mid, m.mouse, newerMouse));
        for (const QString &name : m.receivers)
            if (!name.isEmpty())
                ok &= write(bin + name + QLatin1Char('_') + versionTag(newerReceiver) + QStringLiteral(".bin"),
                            image(hidusb::kTargetReceiver, cid, m.mid, name, newerReceiver));
    }

    // Samples of the first model. File names say what each one is.
    const Model &first = models.front();
    const int otherMid = models.size() > 1 ? models[1].mid : first.mid + 1;
    struct Sample
    {
        const char *file;
        unsigned char target;
        int kind;
        std::uint32_t version;
    };
    const Sample plain[] = {
        {"mouse-older.bin", hidusb::kTargetMouse, -1, kSimMouseVersion - 1},
        {"mouse-equal.bin", hidusb::kTargetMouse, -1, kSimMouseVersion},
        {"mouse-newer.bin", hidusb::kTargetMouse, -1, newerMouse},
        {"mouse-newer-hex.bin", hidusb::kTargetMouse, -1, (kSimMouseVersion & ~0xFFu) | 0x0A},
        {"rx8k-older.bin", hidusb::kTargetReceiver, 3, kSimReceiverVersion - 1},
        {"rx8k-equal.bin", hidusb::kTargetReceiver, 3, kSimReceiverVersion},
        {"rx8k-newer.bin", hidusb::kTargetReceiver, 3, newerReceiver},
        {"rx8k-newer-hex.bin", hidusb::kTargetReceiver, 3, (kSimReceiverVersion & ~0xFFu) | 0x0B},
        {"rx1k-newer.bin", hidusb::kTargetReceiver, 0, newerReceiver},
        {"rx2k-newer.bin", hidusb::kTargetReceiver, 1, newerReceiver},
        {"rx4k-newer.bin", hidusb::kTargetReceiver, 2, newerReceiver},
    };
    for (const Sample &s : plain) {
        const QString name = s.kind < 0 ? first.mouse : first.receivers[s.kind];
        if (!name.isEmpty())
            ok &= write(samples + QLatin1String(s.file), image(s.target, cid, first.mid, name, s.version));
    }
    for (int part = 0; part < 2; ++part) {
        const bool mouse = part == 0;
        const unsigned char target = mouse ? hidusb::kTargetMouse : hidusb::kTargetReceiver;
        const QString name = mouse ? first.mouse : first.receivers[3];
        const QString prefix = QLatin1String(mouse ? "mouse-" : "rx8k-");
        const std::uint32_t version = mouse ? newerMouse : newerReceiver;
        std::vector<unsigned char> truncated = image(target, cid, first.mid, name, version);
        truncated.resize(truncated.size() - 1000);
        ok &= write(samples + prefix + QStringLiteral("truncated.bin"), truncated);
        std::vector<unsigned char> damaged = image(target, cid, first.mid, name, version);
        damaged[hidusb::kFirmwareHeaderSize + 100] ^= 0x5A;
        ok &= write(samples + prefix + QStringLiteral("damaged.bin"), damaged);
        ok &= write(samples + prefix + QStringLiteral("other-model.bin"), image(target, cid, otherMid, name, version));
        ok &=
            write(samples + prefix + QStringLiteral("other-cid.bin"), image(target, cid + 1, first.mid, name, version));
    }
    if (!ok) {
        std::fprintf(stderr, "velmorax_fwgen: could not write the images into %s\n", argv[2]);
        return 1;
    }
    return 0;
}
