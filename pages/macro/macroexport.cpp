#include "pages/macro/macroexport.h"

#include "pages/macro/macrokeynames.h"

#include <QBuffer>
#include <QDataStream>
#include <QIODevice>
#include <QRegularExpression>
#include <QSize>

#include <cstring>

namespace MacroExport {

namespace {

constexpr int streamVersion = 17;
const char tagText[] = "Derez";
constexpr int tagBytes = 12;
constexpr int nameBytes = 48;
constexpr int modeBytes = 12;

// An icon in the stream is its engine's name, then what that engine writes.
// Only the pixmap engine's form is taken: a count of entries, each a
// picture (a marker, then PNG bytes when it is 1), the file the picture
// came from, its size, mode and state.
const char pixmapEngine[] = "QPixmapIconEngine";
// Our exports hold one picture per icon; a few more are still an icon.
constexpr qint32 maxIconEntries = 16;
constexpr quint32 maxIconMode = 3;  // Normal, Disabled, Active, Selected
constexpr quint32 maxIconState = 1; // On, Off

void writeField(QDataStream &stream, const QByteArray &text, int size)
{
    QByteArray field = text.left(size);
    field.append(QByteArray(size - field.size(), '\0'));
    stream.writeBytes(field.constData(), static_cast<uint>(field.size()));
}

// The text of a field: its bytes up to the first zero, as UTF-8.
QString readField(QDataStream &stream)
{
    char *raw = nullptr;
    uint length = 0;
    stream.readBytes(raw, length);
    const QByteArray bytes(raw, static_cast<int>(length));
    delete[] raw;
    const int zero = bytes.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? bytes : bytes.left(zero));
}

// Passes over one PNG picture: the signature, then chunks up to and with
// the end chunk. Nothing is decoded; only the chunk frame is checked.
bool skipPng(QDataStream &stream)
{
    static const char signature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    char head[8];
    if (stream.readRawData(head, 8) != 8 || std::memcmp(head, signature, 8) != 0)
        return false;
    for (;;) {
        quint32 length = 0;
        char type[4];
        stream >> length;
        if (stream.status() != QDataStream::Ok || length > quint32(maxFileBytes) || stream.readRawData(type, 4) != 4)
            return false;
        for (char c : type)
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
                return false;
        // The chunk's data and its checksum.
        const int rest = int(length) + 4;
        if (stream.skipRawData(rest) != rest)
            return false;
        if (std::memcmp(type, "IEND", 4) == 0)
            return true;
    }
}

// Passes over one icon as the stream's icon operators write it, without
// decoding a picture or opening a file an entry names (the editor draws its
// own icons). False when the icon is not well-formed.
bool skipIcon(QDataStream &stream)
{
    QString engine;
    stream >> engine;
    if (stream.status() != QDataStream::Ok)
        return false;
    if (engine.isEmpty())
        return true; // a null icon
    qint32 entries = 0;
    stream >> entries;
    if (engine != QLatin1String(pixmapEngine) || stream.status() != QDataStream::Ok || entries < 0
        || entries > maxIconEntries)
        return false;
    for (qint32 i = 0; i < entries; ++i) {
        qint32 hasPicture = 0;
        stream >> hasPicture;
        if (stream.status() != QDataStream::Ok || (hasPicture != 0 && hasPicture != 1)
            || (hasPicture && !skipPng(stream)))
            return false;
        QString fileName; // where the exporting machine had the picture; not ours to open
        QSize size;
        quint32 mode = 0;
        quint32 state = 0;
        stream >> fileName >> size >> mode >> state;
        if (stream.status() != QDataStream::Ok || mode > maxIconMode || state > maxIconState)
            return false;
    }
    return true;
}

// The icon's pictures without the files they were loaded from: an export
// names no folder of the machine it was made on.
QIcon picturesOnly(const QIcon &icon)
{
    QIcon out;
    for (const QSize &size : icon.availableSizes())
        out.addPixmap(icon.pixmap(size));
    return out;
}

bool isRepeatMode(const QString &text, int *mode)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    if (!digits.match(text).hasMatch())
        return false;
    const int value = text.toInt();
    if (!((value >= 1 && value <= 250) || value == MacroStore::untilThisPressed
          || value == MacroStore::untilThisReleased || value == MacroStore::untilAnyPressed))
        return false;
    *mode = value;
    return true;
}

} // namespace

bool write(QIODevice *device, const QString &name, int repeatMode, const QVector<Item> &items)
{
    QDataStream stream(device);
    stream.setVersion(streamVersion);
    writeField(stream, QByteArray(tagText), tagBytes);
    writeField(stream, name.toUtf8(), nameBytes);
    writeField(stream, QByteArray::number(repeatMode), modeBytes);
    stream << qint32(items.size());
    for (const Item &item : items) {
        stream << item.text << picturesOnly(item.icon);
        if (!item.text.contains(QLatin1String("ms")))
            stream << (item.release ? "1" : "0");
    }
    return stream.status() == QDataStream::Ok;
}

Problem read(QIODevice *device, Contents *out)
{
    *out = Contents();
    if (device->size() > maxFileBytes)
        return Problem::Unreadable;
    // Parsed from memory, so no length the file claims can make a read reach
    // past what it really holds.
    QByteArray bytes = device->read(maxFileBytes + 1);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream stream(&buffer);
    stream.setVersion(streamVersion);

    if (readField(stream) != QLatin1String(tagText) || stream.status() != QDataStream::Ok)
        return Problem::Unreadable;
    out->name = readField(stream);
    const QString modeText = readField(stream);
    qint32 count = 0;
    stream >> count;
    if (stream.status() != QDataStream::Ok)
        return Problem::Unreadable;
    if (!MacroStore::isSafeName(out->name))
        return Problem::BadName;
    if (!isRepeatMode(modeText, &out->repeatMode))
        return Problem::BadMode;

    static const QRegularExpression pause(QStringLiteral("^([0-9]{1,9})ms$"));
    int keyEvents = 0;
    for (qint32 i = 0; i < count && !stream.atEnd(); ++i) {
        QString text;
        stream >> text;
        if (stream.status() != QDataStream::Ok)
            return Problem::Unreadable;
        if (!skipIcon(stream))
            return Problem::BadItem;
        if (text.contains(QLatin1String("ms"))) {
            const QRegularExpressionMatch match = pause.match(text);
            if (!match.hasMatch())
                return Problem::BadItem;
            const quint64 ms = match.captured(1).toULongLong();
            out->pausesShortened = out->pausesShortened || ms > MacroStore::pauseMaxMs;
            out->events.append(MacroEvent::delay(MacroStore::clampPause(ms)));
            continue;
        }
        QString marker;
        stream >> marker;
        if (stream.status() != QDataStream::Ok)
            return Problem::Unreadable;
        int kind = 1;
        int code = 0;
        if (text.isEmpty() || !macroEventFromName(text, &kind, &code))
            return Problem::BadItem;
        if (++keyEvents > MacroStore::recordEventMax)
            return Problem::TooManyEvents;
        // The press marker is the byte '0' and a zero byte, which a string
        // read takes as the one UTF-16 unit 0x3000.
        const bool press = marker == QString(QChar(0x3000));
        out->events.append(MacroEvent::key(kind, code, press));
    }
    return Problem::None;
}

} // namespace MacroExport
