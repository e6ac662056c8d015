#include "pages/macro/macrostore.h"

#include "pages/macro/macrokeynames.h"
#include "platform/atomicfile.h"
#include "platform/hidusb/records.h"
#include "platform/userpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cctype>
#include <cstring>

namespace MacroStore {

namespace {

const QLatin1String iniSuffix(".ini");

bool isControl(uint ucs4)
{
    return ucs4 < 0x20 || (ucs4 >= 0x7F && ucs4 <= 0x9F) || ucs4 == 0x2028 || ucs4 == 0x2029;
}

// One event line: "0xHH", a decimal kind, "0" or "1".
bool parseEventLine(const QList<QByteArray> &fields, MacroEvent *event)
{
    const QByteArray &codeText = fields.at(0);
    if (codeText.size() != 4 || !codeText.startsWith("0x"))
        return false;
    for (int i = 2; i < 4; ++i)
        if (!isxdigit(static_cast<unsigned char>(codeText.at(i))))
            return false;
    bool ok = false;
    const int code = codeText.mid(2).toInt(&ok, 16);
    const QByteArray &kindText = fields.at(1);
    for (char c : kindText)
        if (c < '0' || c > '9')
            return false;
    const int kind = kindText.toInt(&ok);
    if (!ok || kind > 0xFF)
        return false;
    const QByteArray &action = fields.at(2);
    if (action != "0" && action != "1")
        return false;
    *event = MacroEvent::key(kind, code, action == "0");
    return true;
}

// Exactly "<digits>ms", the number within the mouse's 32-bit delay.
bool parseDelayLine(const QByteArray &field, MacroEvent *event)
{
    if (field.size() < 3 || !field.endsWith("ms"))
        return false;
    const QByteArray digits = field.left(field.size() - 2);
    for (char c : digits)
        if (c < '0' || c > '9')
            return false;
    bool ok = false;
    const qulonglong ms = digits.toULongLong(&ok);
    if (!ok || ms > 0xFFFFFFFFull)
        return false;
    *event = MacroEvent::delay(static_cast<quint32>(ms));
    return true;
}

} // namespace

NameProblem checkName(const QString &name)
{
    if (name.isEmpty())
        return NameProblem::Empty;
    for (const uint c : name.toUcs4()) {
        if (c == '/' || c == '\\')
            return NameProblem::PathSeparator;
        if (isControl(c))
            return NameProblem::ControlCharacter;
    }
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return NameProblem::DotName;
    if (name.startsWith(QLatin1Char('.')))
        return NameProblem::LeadingDot;
    if (name.toUtf8().size() > nameMaxBytes)
        return NameProblem::TooLong;
    return NameProblem::None;
}

QString cutToUtf8Bytes(const QString &text, int maxBytes)
{
    int bytes = 0;
    int i = 0;
    while (i < text.size()) {
        int units = 1;
        uint c = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            units = 2;
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
        }
        const int size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        i += units;
    }
    return text.left(i);
}

QString defaultFolder()
{
    return userDataRoot() + QStringLiteral("/usersetting/MacroPage");
}

QString filePath(const QString &folder, const QString &name)
{
    if (!isSafeName(name))
        return QString();
    return folder + QLatin1Char('/') + name + iniSuffix;
}

QStringList listNames(const QString &folder)
{
    QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QStringList() << QStringLiteral("*.ini"),
                                                    QDir::Files | QDir::NoSymLinks, QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QFileInfo &entry : entries) {
        const QString fileName = entry.fileName();
        // The name filter ignores letter case; the suffix must be exactly ".ini".
        if (!fileName.endsWith(iniSuffix))
            continue;
        const QString name = fileName.left(fileName.size() - iniSuffix.size());
        if (isSafeName(name))
            names << name;
    }
    return names;
}

int repeatModeFromLine(const QByteArray &line)
{
    const QList<QByteArray> fields = line.simplified().split(' ');
    bool ok = false;
    const int value = fields.isEmpty() ? 0 : fields.first().toInt(&ok);
    if (!ok)
        return 1;
    if (value == untilThisPressed || value == untilThisReleased || value == untilAnyPressed)
        return value;
    return value >= 1 && value <= 250 ? value : 1;
}

Contents parse(const QByteArray &bytes)
{
    Contents contents;
    if (bytes.isEmpty())
        return contents;
    QList<QByteArray> lines = bytes.split('\n');
    // A final line end leaves one empty piece behind that is no line.
    if (lines.last().isEmpty())
        lines.removeLast();
    bool first = true;
    for (QByteArray line : lines) {
        const int nul = line.indexOf('\0');
        if (nul >= 0)
            line.truncate(nul);
        if (line.endsWith('\r'))
            line.chop(1);
        if (first) {
            first = false;
            contents.hasModeLine = true;
            contents.repeatMode = repeatModeFromLine(line);
            continue;
        }
        // Any run of blanks (tabs and stray spaces left by an editor too)
        // separates fields: a release whose line ends in a tab must still be
        // a release, or the key would stay down on the mouse.
        const QByteArray fieldsText = line.simplified();
        const QList<QByteArray> fields = fieldsText.isEmpty() ? QList<QByteArray>() : fieldsText.split(' ');
        MacroEvent event;
        const bool ok = (fields.size() == 3 && parseEventLine(fields, &event))
                        || (fields.size() == 1 && parseDelayLine(fields.first(), &event));
        if (ok)
            contents.events << event;
        else
            ++contents.skippedLines;
    }
    return contents;
}

LoadResult load(const QString &folder, const QString &name, Contents *out)
{
    *out = Contents();
    const QString path = filePath(folder, name);
    if (path.isEmpty())
        return LoadResult::BadName;
    QFile file(path);
    if (!file.exists())
        return LoadResult::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return LoadResult::Unreadable;
    if (file.size() > maxFileBytes)
        return LoadResult::TooLarge;
    // Read one byte past the limit: a file that grew meanwhile is refused too.
    const QByteArray bytes = file.read(maxFileBytes + 1);
    if (bytes.size() > maxFileBytes)
        return LoadResult::TooLarge;
    *out = parse(bytes);
    return LoadResult::Loaded;
}

QByteArray eventLines(const QVector<MacroEvent> &events)
{
    QByteArray text;
    for (const MacroEvent &e : events) {
        if (e.isDelay()) {
            text += QByteArray::number(e.delayMs) + "ms\n";
        } else {
            text += "0x" + QByteArray::number(e.code & 0xFF, 16).toUpper().rightJustified(2, '0') + ' '
                    + QByteArray::number(e.kind) + ' ' + (e.type == MacroEvent::Release ? "1" : "0") + '\n';
        }
    }
    return text;
}

QByteArray format(int repeatMode, const QVector<MacroEvent> &events)
{
    return QByteArray::number(repeatMode) + '\n' + eventLines(events);
}

bool writeAtomically(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    // The macro folder is made at start-up; a folder that has gone since is
    // a failure to report, not one to paper over by making it again.
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return false;
    return atomicfile::write(path, bytes);
}

bool save(const QString &folder, const QString &name, int repeatMode, const QVector<MacroEvent> &events)
{
    return writeAtomically(filePath(folder, name), format(repeatMode, events));
}

bool createEmpty(const QString &folder, const QString &name)
{
    return writeAtomically(filePath(folder, name), QByteArray());
}

bool appendEvents(const QString &folder, const QString &name, const QVector<MacroEvent> &events)
{
    const QString path = filePath(folder, name);
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly) || file.size() > maxFileBytes)
        return false;
    QByteArray bytes = file.read(maxFileBytes + 1);
    file.close();
    if (bytes.size() > maxFileBytes)
        return false;
    // The appended lines must start on a line of their own.
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    return writeAtomically(path, bytes + eventLines(events));
}

FileOpResult rename(const QString &folder, const QString &oldName, const QString &newName)
{
    const QString from = filePath(folder, oldName);
    const QString to = filePath(folder, newName);
    if (from.isEmpty() || to.isEmpty())
        return FileOpResult::BadName;
    if (!QFileInfo::exists(from))
        return QFileInfo::exists(to) ? FileOpResult::TargetExists : FileOpResult::Done;
    if (QFileInfo::exists(to))
        return FileOpResult::TargetExists;
    return QFile::rename(from, to) ? FileOpResult::Done : FileOpResult::Failed;
}

FileOpResult remove(const QString &folder, const QString &name)
{
    const QString path = filePath(folder, name);
    if (path.isEmpty())
        return FileOpResult::BadName;
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return FileOpResult::Done;
    return QFile::remove(path) ? FileOpResult::Done : FileOpResult::Failed;
}

MacroRecord toRecord(const QString &name, const QVector<MacroEvent> &events)
{
    MacroRecord record;
    std::memset(&record, 0, sizeof record);
    const QByteArray bytes = cutToUtf8Bytes(name).toUtf8();
    record.nameLength = static_cast<unsigned char>(bytes.size());
    std::memcpy(record.name, bytes.constData(), static_cast<size_t>(bytes.size()));
    int used = 0;
    for (const MacroEvent &e : events) {
        if (e.isDelay()) {
            if (used > 0) {
                KeyEvent &last = record.events[used - 1];
                last.delay = clampPause(quint64(last.delay) + e.delayMs);
            }
            continue;
        }
        if (used == recordEventMax)
            break;
        KeyEvent &slot = record.events[used++];
        slot.action = e.type == MacroEvent::Release ? 1 : 0;
        slot.kind = static_cast<unsigned char>(e.kind);
        slot.code = static_cast<std::uint16_t>(e.code);
    }
    record.eventCount = static_cast<unsigned char>(used);
    return record;
}

QString recordName(const MacroRecord &record)
{
    const char *bytes = reinterpret_cast<const char *>(record.name);
    return QString::fromUtf8(bytes, static_cast<int>(qstrnlen(bytes, nameMaxBytes)));
}

QVector<MacroEvent> recordEvents(const MacroRecord &record)
{
    QVector<MacroEvent> events;
    const int count = qMin<int>(record.eventCount, recordEventMax);
    quint64 pause = 0; // after the last event taken
    for (int s = 0; s < count; ++s) {
        const KeyEvent &slot = record.events[s];
        int kind = slot.kind;
        int code = slot.code;
        // A macro file holds one-byte codes only; a wider one (a consumer
        // usage) cannot be written and is left out rather than cut, its
        // pause added to the one before it.
        if (code > 0xFF) {
            pause += slot.delay;
            continue;
        }
        const QString name = kind == 4 ? QString() : keyCodeToName(code, kind);
        if (!name.isEmpty())
            macroEventFromName(name, &kind, &code);
        if (!events.isEmpty())
            events << MacroEvent::delay(static_cast<quint32>(qMin<quint64>(pause, 0xFFFFFFFFull)));
        events << MacroEvent::key(kind, code, slot.action == 0);
        pause = slot.delay;
    }
    return events;
}

} // namespace MacroStore
