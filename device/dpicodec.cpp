#include "device/dpicodec.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstddef>

namespace {

const QString kDefine = QStringLiteral("#define");
const QString kHexPrefix = QStringLiteral("0x");

// A number text as the table file and the catalogue hold it: white space
// around it is ignored, anything that does not read as a number is 0.
int readNumber(const QString &text, int base)
{
    QString t = text.trimmed();
    if (base == 16 && t.startsWith(kHexPrefix))
        t = t.mid(2);
    bool ok = false;
    const int value = t.toInt(&ok, base);
    return ok ? value : 0;
}

int readHexIfPrefixed(const QString &text)
{
    return readNumber(text, text.contains(kHexPrefix) ? 16 : 10);
}

QString withoutLineFeeds(QString text)
{
    return text.remove(QLatin1Char('\n'));
}

QString sensorPrefix(const QString &sensor)
{
    return QStringLiteral("SENSOR_") + sensor + QStringLiteral("_DPI");
}

// The DPI in a table name: the number after "SENSOR_<sensor>_DPI_" (a sensor
// name may itself hold "DPI" or a capital I).
int dpiFromName(const QString &name, const QString &prefix)
{
    const int i = name.indexOf(prefix + QLatin1Char('_'));
    if (i < 0)
        return 0;
    return readNumber(name.mid(i + prefix.size() + 1), 10);
}

// The two sensors whose arithmetic code has ten bits: bits 8 and 9 travel in
// the flags byte, twice (bits 2-3 and 6-7).
bool foldsHighBits(const QString &sensor)
{
    return sensor == QLatin1String("3395") || sensor == QLatin1String("3950");
}

bool hasBitsOf(int flags, int mask)
{
    return (flags & mask) != 0;
}

// Divisor and scale flags of a DPI in the model's segments.
void scaleFor(const DpiRange &range, int dpi, int *divisor, int *flags)
{
    *divisor = 1;
    *flags = 0x00;
    switch (range.scaleCode) {
    case 0x33: {
        int s = 0; // 1-based segment, 0 for none
        for (int i = range.segmentMinimums.size(); i >= 1; --i) {
            if (range.segmentMinimums.at(i - 1) <= dpi) {
                s = i;
                break;
            }
        }
        if (s == 4) {
            *divisor = 4;
            *flags = 0x33;
        } else if (s == 3) {
            *divisor = 2;
            *flags = 0x11;
        } else if (s == 2) {
            *divisor = 2;
            *flags = 0x22;
        }
        break;
    }
    case 0x11:
    case 0x22:
        // Without a first segment there is nothing to be above: no scaling.
        if (!range.segmentMaximums.isEmpty() && dpi > range.segmentMaximums.first()) {
            *divisor = 2;
            *flags = range.scaleCode;
        }
        break;
    default:
        break;
    }
}

} // namespace

bool switchListsSensor(const QString &switchValue, const QString &sensor)
{
    return switchValue.contains(sensor);
}

// ---------------------------------------------------------------------------
// SensorTable

bool SensorTable::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd())
        readLine(QString::fromUtf8(file.readLine()));
    return true;
}

void SensorTable::readText(const QByteArray &text)
{
    QByteArray normalised = text;
    normalised.replace("\r\n", "\n");
    int start = 0;
    while (start < normalised.size()) {
        int end = normalised.indexOf('\n', start);
        end = end < 0 ? normalised.size() : end + 1;
        readLine(QString::fromUtf8(normalised.mid(start, end - start)));
        start = end;
    }
}

void SensorTable::readLine(const QString &line)
{
    static const struct
    {
        const char *key;
        QString SensorSwitches::*value;
    } kSwitches[] = {
        {"SUPPORT_SENSOR_MODE_SEL", &SensorSwitches::sensorModeSel},
        {"SUPPORT_LOD_CAL", &SensorSwitches::lodCal},
        {"SUPPORT_RIPPLE", &SensorSwitches::ripple},
        {"SUPPORT_FIXLINE", &SensorSwitches::fixLine},
        {"SUPPORT_MOTION_SYNC", &SensorSwitches::motionSync},
        {"SUPPORT_MOUSEPAD_CAL", &SensorSwitches::mousepadCal},
    };

    const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() == 2) {
        const QString &second = parts.at(1);
        for (const auto &sw : kSwitches) {
            if (!second.contains(QLatin1String(sw.key)))
                continue;
            // A switch line without its tab and list names no sensor: skip it.
            const QStringList pieces = second.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
            if (pieces.size() >= 2)
                switches.*(sw.value) = withoutLineFeeds(pieces.at(1));
            return;
        }
        if (parts.at(0) != kDefine)
            return;
        // A "#define" without a value (an include guard, a bare name) is no
        // table line.
        const QStringList pieces = second.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (pieces.size() < 2)
            return;
        const QString &valueText = pieces.at(1);
        // Only whole lines count: a last line cut off before its end is left out.
        if (!valueText.contains(QLatin1Char('\n')))
            return;
        append(pieces.at(0), readHexIfPrefixed(withoutLineFeeds(valueText)));
    } else if (parts.size() == 3) {
        const QString &third = parts.at(2);
        if (!third.contains(QLatin1String("//")) && !third.contains(QLatin1Char('\n')))
            return;
        const QStringList pieces = parts.at(1).split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (pieces.size() == 2)
            append(pieces.at(0), readNumber(pieces.at(1), 10));
        else if (pieces.size() == 1)
            append(pieces.at(0), readHexIfPrefixed(third));
    }
}

void SensorTable::append(const QString &name, int code)
{
    names << name;
    codes << code;
}

bool SensorTable::isTableSensor(const QString &sensor) const
{
    const QString prefix = sensorPrefix(sensor);
    return std::any_of(names.cbegin(), names.cend(), [&](const QString &n) { return n.contains(prefix); });
}

bool SensorTable::namedCode(const QString &sensor, int dpi, int *code) const
{
    const int i = names.indexOf(sensorPrefix(sensor) + QLatin1Char('_') + QString::number(dpi));
    if (i < 0)
        return false;
    *code = codes.at(i);
    return true;
}

QString sensorTablePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/driver_sensor.h");
}

// ---------------------------------------------------------------------------
// DpiRange

void DpiRange::parse(const QStringList &items)
{
    scaleCode = items.isEmpty() ? 0 : readNumber(items.last(), 16);
    segmentMinimums.clear();
    segmentMaximums.clear();
    segmentCount = items.isEmpty() ? 0 : (items.size() - 1) / 3;
    if (!valid())
        return; // the segment texts stay those of the last valid list
    for (int s = 0; s < segmentCount; ++s) {
        segments[s] = {items.at(3 * s), items.at(3 * s + 1), items.at(3 * s + 2)};
        segmentMinimums << minOf(s);
        segmentMaximums << maxOf(s);
    }
}

int DpiRange::minOf(int s) const
{
    return readNumber(segments[s].min, 10);
}

int DpiRange::maxOf(int s) const
{
    return readNumber(segments[s].max, 10);
}

int DpiRange::stepOf(int s) const
{
    return readNumber(segments[s].step, 10);
}

DpiSnap snapDpi(const DpiRange &range, int dpi)
{
    if (!range.valid())
        return {dpi, 0};
    for (int s = 0; s < range.segmentCount; ++s) {
        const int step = range.stepOf(s);
        const int usable = step > 0 ? step : 0;
        if (s > 0 && range.maxOf(s - 1) < dpi && dpi < range.minOf(s))
            return {range.minOf(s), usable};
        if (range.minOf(s) <= dpi && dpi <= range.maxOf(s))
            return usable ? DpiSnap{dpi - dpi % usable, usable} : DpiSnap{dpi, 0};
    }
    return {dpi, 0};
}

int stepDpiUp(const DpiRange &range, int dpi)
{
    if (!range.valid())
        return dpi;
    const int last = range.segmentCount - 1;
    for (int s = 0; s < last; ++s) {
        if (range.minOf(s) <= dpi && dpi < range.maxOf(s))
            return dpi + range.stepOf(s);
        if (range.maxOf(s) <= dpi && dpi < range.minOf(s + 1))
            return range.minOf(s + 1);
    }
    if (range.minOf(last) <= dpi && dpi <= range.maxOf(last))
        return dpi + range.stepOf(last);
    return dpi;
}

int stepDpiDown(const DpiRange &range, int dpi)
{
    if (!range.valid())
        return dpi;
    for (int s = 0; s < range.segmentCount; ++s) {
        if (range.minOf(s) <= dpi && dpi <= range.maxOf(s))
            return dpi - range.stepOf(s);
        if (s + 1 < range.segmentCount && range.maxOf(s) < dpi && dpi < range.minOf(s + 1))
            return range.minOf(s + 1);
    }
    return dpi;
}

// ---------------------------------------------------------------------------
// Codes

DpiCode encodeStageDpi(const SensorTable &table, const DpiRange &range, const QString &sensor, int dpi,
                       int previousFlags)
{
    int divisor = 1;
    int flags = 0;
    scaleFor(range, dpi, &divisor, &flags);

    if (!table.isTableSensor(sensor)) {
        // Code 0 is the lowest DPI (50 x divisor); nothing below it exists.
        int code = std::max(0, dpi / (50 * divisor) - 1);
        if (foldsHighBits(sensor)) {
            // Ten bits at most: two more would land on the scale bits.
            code = std::min(code, 0x3FF);
            const int high = code >> 8;
            flags |= (high | (high << 4)) << 2;
        }
        return {code, flags};
    }

    int code = 0;
    if (!table.namedCode(sensor, dpi / divisor, &code))
        code = std::max(0, hasBitsOf(previousFlags, 0x22) ? dpi / 100 : dpi / 50);
    return {code, flags};
}

int decodeStageDpi(const SensorTable &table, const QString &sensor, int code, int flags)
{
    const QString prefix = sensorPrefix(sensor);
    bool tableSensor = false;
    int dpi = 0;
    for (int i = 0; i < table.names.size(); ++i) {
        const QString &name = table.names.at(i);
        if (!name.contains(prefix))
            continue;
        tableSensor = true;
        if (table.codes.at(i) == code) {
            dpi = dpiFromName(name, prefix);
            if (hasBitsOf(flags, 0x22))
                dpi *= 2;
            break;
        }
    }
    if (!tableSensor) {
        if (foldsHighBits(sensor))
            code |= (flags & 0xC0) << 2;
        dpi = (code + 1) * (hasBitsOf(flags, 0x22) ? 100 : 50);
    }
    if (hasBitsOf(flags, 0x11))
        dpi *= 2;
    return dpi;
}

int dpiLockCode(const SensorTable &table, const QString &sensor, int dpi)
{
    return encodeStageDpi(table, DpiRange(), sensor, dpi, 0).code;
}

int dpiLockValue(const SensorTable &table, const QString &sensor, int code)
{
    return decodeStageDpi(table, sensor, code, 0);
}

int stageCountFromCatalogue(const QString &text)
{
    return std::clamp(readNumber(text, 10), 1, 8);
}
