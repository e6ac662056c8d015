#pragma once

#include <QSettings>
#include <QString>

// The user settings "Macro.ini" under the per-user root (language, auto
// start, notice flags). Used on the GUI thread.
class MacroIni
{
public:
    static MacroIni *instance();

    explicit MacroIni(const QString &path);
    MacroIni(const MacroIni &) = delete;
    MacroIni &operator=(const MacroIni &) = delete;

    // A missing key gives an empty text.
    QString value(const QString &group, const QString &key);
    // Stored as text and written to disk at once, so a crash loses nothing.
    void setValue(const QString &group, const QString &key, const QString &value);

    QString filePath() const { return m_path; }

private:
    QSettings m_settings;
    QString m_path;
};

// "Language"/"Language" as a language index: 0, 1 or 2; anything else
// (missing, not a number, out of range) is 0.
int storedLanguageIndex();
