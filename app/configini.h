#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <mutex>

// The product catalogue "usersetting/Config.ini" beside the executable,
// read-only. Identity, id and firmware values are stored Base64-encoded;
// value() and valueList() hand them out decoded.
class ConfigIni
{
public:
    // The process-wide store, created on first use.
    static ConfigIni *instance();

    // A store over another file (tests, tools).
    explicit ConfigIni(const QString &path);
    ConfigIni(const ConfigIni &) = delete;
    ConfigIni &operator=(const ConfigIni &) = delete;

    // "group/key" as text; a missing key gives an empty text.
    QString value(const QString &group, const QString &key);
    // "group/key" as a list (comma-separated in the file); every item of a
    // coded key is decoded. A missing key gives an empty list.
    QStringList valueList(const QString &group, const QString &key);
    // Item `index` of valueList(); `fallback` when the list is too short.
    QString valueListItem(const QString &group, const QString &key, int index, const QString &fallback = QString());

    QString filePath() const { return m_path; }

    // Whether values of this key are stored Base64-encoded (any group).
    static bool isCodedKey(const QString &key);
    // Base64 -> UTF-8 text, line feeds and spaces removed.
    static QString decode(const QString &coded);

private:
    QSettings m_settings;
    QString m_path;
    bool m_decode = true;
    std::mutex m_mutex; // the store is read from the GUI and the library threads
};
