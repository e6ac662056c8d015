#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

// The user settings "Macro.ini" under the per-user root (language, auto
// start, notice flags), in the INI layout QSettings reads. Used on the GUI
// thread.
class MacroIni
{
public:
    static MacroIni *instance();

    explicit MacroIni(const QString &path);
    MacroIni(const MacroIni &) = delete;
    MacroIni &operator=(const MacroIni &) = delete;

    // A missing key gives an empty text.
    QString value(const QString &group, const QString &key);
    // Stored as text and the whole file replaced at once, so a crash loses
    // nothing. When the file cannot be written (full or read-only folder)
    // the old file stays whole, the value holds for this run, the console
    // says so once, and false is returned.
    bool setValue(const QString &group, const QString &key, const QString &value);

    QString filePath() const { return m_path; }

private:
    QString m_path;
    // "group/key" -> value, as read at start and changed since.
    QMap<QString, QVariant> m_values;
};

// "Language"/"Language" as a language index: 0, 1 or 2; anything else
// (missing, not a number, out of range) is 0.
int storedLanguageIndex();
