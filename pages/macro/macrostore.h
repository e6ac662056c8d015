#pragma once

// The macro files: one small text file "<name>.ini" per macro in the user's
// macro folder. Line 1 is the repeat mode; every further line is an event
// ("0x04 1 0": code, kind, action) or the pause after the event before it
// ("10ms"). This module reads, writes, lists, renames and removes them and
// guards every file name made from a macro name. QtCore only.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

struct MacroRecord;

// One entry of a macro's event list: a key or mouse-button press or release,
// or a pause. Key entries carry their kind and code, never just a name, so
// what is shown on screen (which depends on the language) never decides what
// is written back.
struct MacroEvent
{
    enum Type { Press = 0, Release = 1, Delay = 2 };

    Type type = Press;
    int kind = 1;        // 0 modifier bit, 1 keyboard usage, 4 mouse-button bit; others kept as read
    int code = 0;        // 0..255
    quint32 delayMs = 0; // Delay only

    static MacroEvent key(int kind, int code, bool press)
    {
        MacroEvent e;
        e.type = press ? Press : Release;
        e.kind = kind;
        e.code = code;
        return e;
    }
    static MacroEvent delay(quint32 ms)
    {
        MacroEvent e;
        e.type = Delay;
        e.kind = 0;
        e.delayMs = ms;
        return e;
    }
    bool isDelay() const { return type == Delay; }
    bool operator==(const MacroEvent &o) const
    {
        return type == o.type && (type == Delay ? delayMs == o.delayMs : kind == o.kind && code == o.code);
    }
    bool operator!=(const MacroEvent &o) const { return !(*this == o); }
};

namespace MacroStore {

// The name field of a macro on the mouse holds 30 bytes; names are kept as
// UTF-8 everywhere (file names and the mouse's record alike).
constexpr int nameMaxBytes = 30;
// A macro holds at most a few hundred short lines; anything much larger is
// not a macro file and is not read.
constexpr qint64 maxFileBytes = 256 * 1024;

// Repeat modes other than a count (1..250).
constexpr int untilThisPressed = 253;
constexpr int untilThisReleased = 254;
constexpr int untilAnyPressed = 255;

enum class NameProblem {
    None,
    Empty,
    PathSeparator,    // "/" or "\"
    ControlCharacter, // NUL, other C0/C1 controls, line or paragraph separators
    DotName,          // "." or ".."
    LeadingDot,       // would be a hidden file
    TooLong,          // more than nameMaxBytes bytes of UTF-8
};

// The one check for every name that becomes a file name: created, renamed,
// imported or read from the mouse.
NameProblem checkName(const QString &name);
inline bool isSafeName(const QString &name)
{
    return checkName(name) == NameProblem::None;
}

// The longest prefix of `text` that takes at most `maxBytes` bytes of UTF-8,
// never splitting a character (surrogate pairs stay whole).
QString cutToUtf8Bytes(const QString &text, int maxBytes = nameMaxBytes);

// userDataRoot() + "/usersetting/MacroPage".
QString defaultFolder();

// folder + "/" + name + ".ini"; empty when the name fails checkName, so no
// caller can build a path that leaves the folder.
QString filePath(const QString &folder, const QString &name);

// The macros in `folder`: regular "*.ini" files (no links, no hidden files),
// by name ignoring letter case, each without its ".ini" suffix. Names that
// fail checkName are left out (their files stay untouched).
QStringList listNames(const QString &folder);

// What a macro file holds.
struct Contents
{
    bool hasModeLine = false; // false for an empty file (created, never saved)
    int repeatMode = 1;       // 1..250, 253, 254 or 255
    QVector<MacroEvent> events;
    int skippedLines = 0; // malformed lines left out
};

// The repeat mode of a first line: 253, 254 and 255 as they are, a count
// 1..250 as it is, anything else (0, 251, -5, "abc", empty) a count of 1.
int repeatModeFromLine(const QByteArray &line);

// Reads a whole file's bytes. Line ends may be LF or CRLF, the last line may
// lack its line end, a NUL ends its line. Event lines are "<0xHH> <kind>
// <0|1>" (fields separated by blanks: spaces or tabs); delay lines are exactly
// "<digits>ms" fitting 32 bits; every other line is skipped.
Contents parse(const QByteArray &bytes);

enum class LoadResult { Loaded, Missing, Unreadable, TooLarge, BadName };
LoadResult load(const QString &folder, const QString &name, Contents *out);

// "0x04 1 0\n", "10ms\n", ... for each event in order.
QByteArray eventLines(const QVector<MacroEvent> &events);
// The repeat-mode line followed by the event lines.
QByteArray format(int repeatMode, const QVector<MacroEvent> &events);

// Replaces `path` with `bytes` in one step: readers see the old file or the
// new one, never a half-written one. False when it could not be written
// (the old file is then unchanged) and when the folder is missing, which is
// never made here.
bool writeAtomically(const QString &path, const QByteArray &bytes);

// Writes the macro's whole file (mode line and events).
bool save(const QString &folder, const QString &name, int repeatMode, const QVector<MacroEvent> &events);
// Leaves the macro with an empty file (a new macro, never saved).
bool createEmpty(const QString &folder, const QString &name);
// Adds event lines to the end of an existing file; nothing is written (and
// false returned) when the file does not exist.
bool appendEvents(const QString &folder, const QString &name, const QVector<MacroEvent> &events);

enum class FileOpResult { Done, BadName, TargetExists, Failed };
// Moves the macro's file to the new name. A missing old file is nothing to
// move (Done); an existing file of the new name is never overwritten.
FileOpResult rename(const QString &folder, const QString &oldName, const QString &newName);
// Removes the macro's file; a file already gone counts as removed.
FileOpResult remove(const QString &folder, const QString &name);

// --- the mouse's macro record ------------------------------------------------

// Key events a record holds at most.
constexpr int recordEventMax = 70;

// The longest pause the mouse's record can hold (21 bits of milliseconds,
// about 35 minutes). A record with a longer one is refused whole, so pauses
// are shortened to this where they enter the editor.
constexpr quint32 pauseMaxMs = 2097151;
inline quint32 clampPause(quint64 ms)
{
    return ms > pauseMaxMs ? pauseMaxMs : static_cast<quint32>(ms);
}

// The record of a macro: the name as UTF-8 (at most nameMaxBytes, cut on a
// character boundary) with its length, one slot per key event in list
// order, each with the pause that follows it (pauses in a row add up, to
// at most pauseMaxMs; a pause before the first key has nothing to follow),
// at most recordEventMax slots; the rest zero.
MacroRecord toRecord(const QString &name, const QVector<MacroEvent> &events);
// The name of a record: its bytes up to the first zero, at most
// nameMaxBytes, read as UTF-8.
QString recordName(const MacroRecord &record);
// The events of a record: key, pause, key, ..., key (no pause after the
// last). A code that has a name is taken as that name stands in the files
// (keypad Enter becomes Enter); codes without a name keep their kind and
// code. At most recordEventMax slots are read, whatever the count byte says.
QVector<MacroEvent> recordEvents(const MacroRecord &record);

} // namespace MacroStore
