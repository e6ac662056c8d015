#include "platform/hidusb/scenario.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

#include <algorithm>
#include <cstring>

namespace hidusb {
namespace sim {

namespace {

// Hexadecimal id text, with or without "0x".
bool parseHexId(QString text, std::uint16_t *out)
{
    text = text.trimmed();
    if (text.startsWith("0x", Qt::CaseInsensitive))
        text = text.mid(2);
    bool ok = false;
    const uint v = text.toUInt(&ok, 16);
    if (!ok || v > 0xFFFF)
        return false;
    *out = static_cast<std::uint16_t>(v);
    return true;
}

QString decodeCoded(const QString &value)
{
    QString s = QString::fromUtf8(QByteArray::fromBase64(value.toUtf8()));
    s.remove('\n');
    s.remove(' ');
    return s;
}

QStringList codedList(QSettings &ini, const QString &key)
{
    QStringList out;
    for (const QString &item : ini.value(key).toStringList())
        out << decodeCoded(item);
    return out;
}

} // namespace
CatalogueDefaults catalogueDefaults()
{
    CatalogueDefaults d;
    if (!QCoreApplication::instance())
        return d;
    const QString file = QCoreApplication::applicationDirPath() + "/usersetting/Config.ini";
    if (!QFileInfo::exists(file))
        return d;
    QSettings ini(file, QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    const QStringList vids = codedList(ini, "Option/VID");
    std::uint16_t v = 0;
    if (!vids.isEmpty() && parseHexId(vids.first(), &v))
        d.vid = v;
    const QStringList usb = codedList(ini, "Option/USB_PID");
    if (!usb.isEmpty() && parseHexId(usb.first(), &v))
        d.usbPid = v;
    const char *wireless[4] = {"Option/Wireless_PID", "Option/Wireless2_PID", "Option/Wireless4_PID",
                               "Option/Wireless8_PID"};
    for (int i = 0; i < 4; ++i) {
        const QStringList l = codedList(ini, wireless[i]);
        for (const QString &item : l) {
            if (!item.isEmpty() && parseHexId(item, &v)) {
                d.wirelessPid[i] = v;
                break;
            }
        }
    }
    bool ok = false;
    const int cid = decodeCoded(ini.value("Option/CID").toString()).toInt(&ok);
    if (ok && cid >= 0 && cid <= 255)
        d.cid = static_cast<std::uint8_t>(cid);
    const int mid = ini.value("Drive1/MID").toString().trimmed().toInt(&ok);
    if (ok && mid >= 0 && mid <= 255)
        d.mid = static_cast<std::uint8_t>(mid);
    return d;
}

QByteArray defaultScenario()
{
    return QByteArray("{\"devices\": ["
                      "{\"id\": \"receiver\", \"type\": \"receiver\", \"kind\": 8},"
                      "{\"id\": \"mouse\", \"type\": \"mouse\", \"pairedTo\": \"receiver\", \"cable\": false,"
                      " \"online\": true}"
                      "]}");
}

// ---------------------------------------------------------------------------
// Scenario files
// ---------------------------------------------------------------------------
namespace {

struct FieldReader
{
    const QJsonObject &o;
    QString where;
    QString *error;
    bool failed = false;

    bool fail(const QString &what)
    {
        if (!failed && error)
            *error = where + ": " + what;
        failed = true;
        return false;
    }
    // A number given as a JSON number or as a text (decimal or "0x" hex).
    bool number(const char *key, long long lo, long long hi, long long *out, bool hexText = false)
    {
        if (!o.contains(key))
            return false;
        const QJsonValue v = o.value(key);
        long long n = 0;
        if (v.isDouble()) {
            const double d = v.toDouble();
            // Range first: converting a huge value to an integer is undefined.
            if (!(d >= static_cast<double>(lo) && d <= static_cast<double>(hi)))
                return fail(QString("\"%1\" is out of range %2..%3").arg(key).arg(lo).arg(hi));
            if (d != static_cast<double>(static_cast<long long>(d)))
                return fail(QString("\"%1\" is not a whole number").arg(key));
            n = static_cast<long long>(d);
        } else if (v.isString()) {
            QString t = v.toString().trimmed();
            bool ok = false;
            if (t.startsWith("0x", Qt::CaseInsensitive))
                n = t.mid(2).toLongLong(&ok, 16);
            else
                n = t.toLongLong(&ok, hexText ? 16 : 10);
            if (!ok)
                return fail(QString("\"%1\" is not a number").arg(key));
        } else {
            return fail(QString("\"%1\" must be a number").arg(key));
        }
        if (n < lo || n > hi)
            return fail(QString("\"%1\" is out of range %2..%3").arg(key).arg(lo).arg(hi));
        *out = n;
        return true;
    }
    bool flag(const char *key, bool *out)
    {
        if (!o.contains(key))
            return false;
        if (!o.value(key).isBool())
            return fail(QString("\"%1\" must be true or false").arg(key));
        *out = o.value(key).toBool();
        return true;
    }
};

} // namespace

// Reads at most `limit` bytes of a regular file. Anything else is refused
// before it is opened: opening a FIFO blocks until a writer comes, and a
// device such as /dev/zero reports no size and never ends.
bool readRegularFile(const QString &path, qint64 limit, QByteArray *bytes, QString *error)
{
    const auto refuse = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return refuse(QStringLiteral("no such file"));
    if (!info.isFile())
        return refuse(QStringLiteral("not a regular file"));
    if (info.size() > limit)
        return refuse(QStringLiteral("too large (%1 bytes, at most %2)").arg(info.size()).arg(limit));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("cannot be opened: ") + f.errorString());
    // The file may have grown since its size was taken.
    *bytes = f.read(limit + 1);
    if (bytes->size() > limit)
        return refuse(QStringLiteral("too large (more than %1 bytes)").arg(limit));
    return true;
}

bool readScenarioFile(const QString &path, QByteArray *json, QString *error)
{
    return readRegularFile(path, kScenarioFileLimit, json, error);
}

QByteArray environmentScenario(QString *error)
{
    const QByteArray env = qgetenv("VELMORAX_DEVICES");
    if (env.isEmpty())
        return QByteArray();
    QByteArray json;
    if (readScenarioFile(QString::fromLocal8Bit(env), &json, error) && parseScenario(json, nullptr, nullptr, error))
        return json;
    return QByteArray();
}

bool parseScenario(const QByteArray &json, std::vector<SimDevice> *devicesOut, int *flashMsOut, QString *error)
{
    if (json.size() > kScenarioFileLimit) {
        if (error)
            *error = "scenario too large (more than 1 MiB)";
        return false;
    }
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject()) {
        if (error)
            *error = pe.error != QJsonParseError::NoError
                         ? QString("not JSON: %1 at offset %2").arg(pe.errorString()).arg(pe.offset)
                         : QString("the scenario must be a JSON object");
        return false;
    }
    const QJsonObject root = doc.object();
    for (const QString &k : root.keys()) {
        if (k != "devices" && k != "flashMs") {
            if (error)
                *error = QString("unknown field \"%1\"").arg(k);
            return false;
        }
    }
    if (!root.value("devices").isArray()) {
        if (error)
            *error = "\"devices\" must be an array";
        return false;
    }
    const QJsonArray list = root.value("devices").toArray();
    if (list.size() > 32) {
        if (error)
            *error = "more than 32 devices";
        return false;
    }
    int flashMs = 3000;
    {
        FieldReader r{root, "scenario", error};
        long long n = 0;
        if (r.number("flashMs", 0, 600000, &n))
            flashMs = static_cast<int>(n);
        if (r.failed)
            return false;
    }
    const CatalogueDefaults cat = catalogueDefaults();
    static const QStringList receiverKeys = {
        "id",        "type",    "kind",          "vid",          "pid",         "cid",
        "mid",       "version", "receiverId",    "plugged",      "bootMode",    "idAnswersAfter",
        "longRange", "ledInfo", "answerNothing", "rejectWrites", "failFlashAt", "pairing"};
    static const QStringList mouseKeys = {"id",           "type",        "pairedTo",  "cable",          "vid",
                                          "pid",          "cid",         "mid",       "version",        "online",
                                          "battery",      "charging",    "bootMode",  "idAnswersAfter", "answerNothing",
                                          "rejectWrites", "failFlashAt", "receiverId"};
    auto validId = [](const QString &id) {
        if (id.isEmpty() || id.size() > 40)
            return false;
        for (const QChar c : id) {
            const ushort u = c.unicode();
            if (!((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '-'))
                return false;
        }
        return true;
    };

    std::vector<SimDevice> devices;
    for (int i = 0; i < list.size(); ++i) {
        if (!list.at(i).isObject()) {
            if (error)
                *error = QString("device %1 is not an object").arg(i);
            return false;
        }
        const QJsonObject o = list.at(i).toObject();
        SimDevice d;
        const QString type = o.value("type").toString();
        if (type == "receiver")
            d.type = SimDevice::Receiver;
        else if (type == "mouse")
            d.type = SimDevice::Mouse;
        else {
            if (error)
                *error = QString("device %1: \"type\" must be \"receiver\" or \"mouse\"").arg(i);
            return false;
        }
        d.id = o.contains("id") ? o.value("id").toString() : QString("device%1").arg(i + 1);
        if (!validId(d.id)) {
            if (error)
                *error = QString("device %1: \"id\" must be 1 to 40 letters, digits, '_' or '-'").arg(i);
            return false;
        }
        for (const SimDevice &other : devices) {
            if (other.id == d.id) {
                if (error)
                    *error = QString("device %1: id \"%2\" is used twice").arg(i).arg(d.id);
                return false;
            }
        }
        const QStringList &allowed = d.type == SimDevice::Receiver ? receiverKeys : mouseKeys;
        for (const QString &k : o.keys()) {
            if (!allowed.contains(k)) {
                if (error)
                    *error = QString("device \"%1\": unknown field \"%2\"").arg(d.id, k);
                return false;
            }
        }
        FieldReader r{o, QString("device \"%1\"").arg(d.id), error};
        long long n = 0;
        bool b = false;
        d.cid = cat.cid;
        d.mid = cat.mid;
        d.vid = cat.vid;
        if (d.type == SimDevice::Receiver) {
            d.kind = 1;
            if (r.number("kind", 1, 8, &n)) {
                if (n != 1 && n != 2 && n != 4 && n != 8)
                    r.fail("\"kind\" must be 1, 2, 4 or 8");
                d.kind = static_cast<int>(n);
            }
            const int kindIndex = d.kind == 1 ? 0 : d.kind == 2 ? 1 : d.kind == 4 ? 2 : 3;
            d.pid = cat.wirelessPid[kindIndex];
            d.version = 0x0105;
            d.rgb.ledInfoChoice = 1;
            d.bar = LedBarMode{1, 255, 255, 255, 7, 9, 1};
            if (r.number("longRange", 0, 1, &n))
                d.longRange = n != 0;
            if (r.number("ledInfo", 0, 3, &n))
                d.rgb.ledInfoChoice = static_cast<unsigned char>(n);
            if (r.flag("plugged", &b))
                d.plugged = b;
            if (r.flag("pairing", &b))
                d.pairOutcome = b;
        } else {
            d.pid = cat.usbPid;
            d.version = 0x0102;
            d.plugged = false;
            d.pairedTo = o.value("pairedTo").toString();
            if (o.contains("pairedTo") && !o.value("pairedTo").isString())
                r.fail("\"pairedTo\" must be a text");
            if (r.flag("cable", &b))
                d.plugged = b;
            if (r.flag("online", &b))
                d.awake = b;
            if (r.number("battery", 0, 100, &n))
                d.battery = static_cast<int>(n);
            if (r.flag("charging", &b))
                d.charging = b;
            for (int s = 0; s < kConfigSlots; ++s)
                dump::recordToImage(dump::factoryRecord(), d.flash[s].data());
        }
        if (r.number("vid", 0, 0xFFFF, &n, true))
            d.vid = static_cast<std::uint16_t>(n);
        if (r.number("pid", 0, 0xFFFF, &n, true))
            d.pid = static_cast<std::uint16_t>(n);
        if (r.number("cid", 0, 255, &n))
            d.cid = static_cast<std::uint8_t>(n);
        if (r.number("mid", 0, 255, &n))
            d.mid = static_cast<std::uint8_t>(n);
        if (r.number("version", 0, 0xFFFF, &n)) {
            d.version = static_cast<std::uint16_t>(n);
            d.explicitVersion = true;
        }
        if (r.flag("bootMode", &b)) {
            d.bootMode = b;
            d.explicitBoot = true;
        }
        if (r.number("idAnswersAfter", 1, 1000, &n))
            d.idAnswersAfter = static_cast<int>(n);
        if (r.flag("answerNothing", &b))
            d.answerNothing = b;
        if (r.number("rejectWrites", 0, 1000000, &n))
            d.rejectWrites = static_cast<int>(n);
        if (r.number("failFlashAt", -1, 100, &n))
            d.failFlashAt = static_cast<int>(n);
        if (o.contains("receiverId")) {
            const QJsonValue v = o.value("receiverId");
            const QJsonArray a = v.toArray();
            if (!v.isArray() || a.size() != 3)
                r.fail("\"receiverId\" must be an array of three numbers");
            for (int k = 0; k < a.size() && k < 3 && !r.failed; ++k) {
                const double x = a.at(k).toDouble(-1);
                if (!a.at(k).isDouble() || x < 0 || x > 255 || x != static_cast<int>(x))
                    r.fail("\"receiverId\" items must be numbers 0..255");
                else
                    d.receiverId[k] = static_cast<std::uint8_t>(x);
            }
        }
        if (r.failed)
            return false;
        devices.push_back(d);
    }
    // Links between the devices.
    for (SimDevice &d : devices) {
        if (d.type != SimDevice::Mouse || d.pairedTo.isEmpty())
            continue;
        auto it = std::find_if(devices.begin(), devices.end(),
                               [&](const SimDevice &x) { return x.type == SimDevice::Receiver && x.id == d.pairedTo; });
        if (it == devices.end()) {
            if (error)
                *error = QString("device \"%1\": \"pairedTo\" names no receiver").arg(d.id);
            return false;
        }
        d.receiverId = it->receiverId;
    }
    if (devicesOut)
        devicesOut->swap(devices);
    if (flashMsOut)
        *flashMsOut = flashMs;
    return true;
}

} // namespace sim
} // namespace hidusb
