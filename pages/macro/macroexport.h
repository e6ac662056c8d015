#pragma once

// The macro export file: one macro carried to another computer as a binary
// Qt data stream (version 17, big-endian): a tag field "Derez", the name, the
// repeat mode as text, then the event list's items with their texts, icons
// and, for key items, a press/release marker. It is not a macro file, though
// the file dialogs offer the same "*.ini" filter.
//
// Reading is strict: everything a file says is checked before a macro is
// made from it, and a file that fails any check makes nothing.

#include "pages/macro/macrostore.h"

#include <QIcon>
#include <QString>
#include <QVector>

class QIODevice;

namespace MacroExport {

// One item of the event list as the file carries it.
struct Item
{
    QString text; // a key name, or a pause such as "10ms"
    QIcon icon;
    bool release = false; // key items only
};

// Writes the stream; false when the device refused the bytes. Icons are
// written with their pictures only, never the files they came from.
bool write(QIODevice *device, const QString &name, int repeatMode, const QVector<Item> &items);

enum class Problem {
    None,
    Unreadable,    // not an export file: no tag "Derez", or cut short before its items
    BadName,       // the name could not be a macro's file name
    BadMode,       // not a repeat mode (1..250, 253, 254, 255)
    BadItem,       // a pause that is not "<digits>ms", a key name nobody knows, or an icon not well-formed
    TooManyEvents, // more key events than the mouse holds
};

struct Contents
{
    QString name;
    int repeatMode = 1;
    QVector<MacroEvent> events;
    // A pause was longer than the mouse holds and was shortened to
    // MacroStore::pauseMaxMs.
    bool pausesShortened = false;
};

// The files this reads are small; anything larger is not an export file.
constexpr qint64 maxFileBytes = 4 * 1024 * 1024;

// Reads and checks the whole stream. Stored icons are passed over without
// decoding their pictures or opening the files they name (the editor draws
// its own from the event kind); an icon that is not well-formed makes the
// item bad. A file whose data ends between two
// items before its count keeps the items read; an item cut in the middle
// makes the file unreadable. The name is reported even when a later check fails,
// so a caller can tell a name clash first.
Problem read(QIODevice *device, Contents *out);

} // namespace MacroExport
