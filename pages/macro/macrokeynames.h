#pragma once

// The names that stand for key and mouse-button codes in the macro editor,
// and back. Kinds: 0 modifier bit, 1 keyboard usage, 4 mouse-button bit.
// QtCore only.

#include <QString>
#include <QStringList>

// The current language's names of the mouse buttons with the bits 0x01
// (left), 0x02 (right), 0x04 (middle), 0x08 (back) and 0x10 (forward), in
// that order; empty until the macro page's first language pass.
extern QString mouseButtonNames[5];

// Name of a mouse-button bit (1, 2, 4, 8 or 16); empty for any other value.
QString mouseButtonName(int bit);

// The file direction: the name of a code text ("0x" and two upper-case hex
// digits) of the given kind; empty when no name has that code and kind.
QString macroCodeToKeyName(const QString &codeText, int kind);

// The name shown for an event of `kind` with `code`; empty when there is none.
QString macroEventName(int kind, int code);

// The inverse: {code text, kind text} of a name, empty when no name matches.
// The empty name is the keyboard code 0x00.
QStringList keyNameToCode(const QString &name);

// The same as numbers; false when the name has no row.
bool macroEventFromName(const QString &name, int *kind, int *code);

// The device direction, for an event of a macro read from the mouse (not for
// mouse buttons): codes that are both a key and a modifier bit follow the
// kind; keypad Enter reads as Enter.
QString keyCodeToName(int code, int kind);
