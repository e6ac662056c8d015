#pragma once

#include <QHash>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QMultiMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QJsonArray;
class QXmlStreamReader;

// The current language: 0 English, 1 Simplified Chinese, 2 Russian.
extern int languageIndex;

// The language files, by language index, below "<app dir>/Language/".
QStringList languageFileNames(); // "en.json", "zh-CN.json", "ru.json"

using TextTable = QMap<QString, QString>;
using ReceiverStatusList = QList<QPair<QString, QString>>; // (option, info)

// Every text of the program by language. Each table is a vector indexed by
// language; index i holds what the language file of language i gave.
struct LanguageTables
{
    // Text sections by name ("home", "common", ...), one side each.
    QHash<QString, QVector<TextTable>> mouseSections;
    QHash<QString, QVector<TextTable>> keyboardSections;
    // Option lists by list name. The keyboard's "keyboardKeyfunctions" is
    // split by element type: "keyboardKeyfunctions/0x00" and so on.
    QHash<QString, QVector<TextTable>> mouseOptions;
    QHash<QString, QVector<TextTable>> keyboardOptions;
    // "KeyOptions" keeps every element: several texts per key, newest first.
    QVector<QMultiMap<QString, QString>> keyOptions;
    QVector<ReceiverStatusList> receiverStatus;

    int languageCount() const { return receiverStatus.size(); }
    void clear();
};

extern LanguageTables languageTables;

// Company records of "Language/Net.xml" (name, Chinese name, web addresses).
extern QList<QStringList> companyInfo;

// Section names of the catalogue; the keyboard side has tables for only
// the first seven of the mouse side's eleven.
QStringList mouseSectionNames();
QStringList keyboardSectionNames();
QStringList mouseOptionListNames();
QStringList keyboardOptionListNames();

// Loads "<dir>/Language/en.json", "zh-CN.json", "ru.json" into languages
// 0, 1 and 2 and "<dir>/Language/Net.xml" into companyInfo. A language file
// that cannot be read or parsed takes the English texts instead.
void loadTextCatalogue(const QString &appDir);
// loadTextCatalogue(QCoreApplication::applicationDirPath())
void loadTextCatalogue();

// A valid index into the loaded tables: `language` when it is loaded,
// otherwise 0.
int catalogueLanguage(int language);

// Lookups on the mouse side. A missing key (or an unknown section or list)
// yields an empty text.
QString catalogueText(const QString &section, const QString &key, int language = languageIndex);
QString catalogueOption(const QString &list, const QString &key, int language = languageIndex);
// All texts of "KeyOptions" under one key, newest first.
QStringList catalogueKeyOptions(const QString &key, int language = languageIndex);
ReceiverStatusList catalogueReceiverStatus(int language = languageIndex);
// Keyboard side.
QString keyboardText(const QString &section, const QString &key, int language = languageIndex);
QString keyboardOption(const QString &list, const QString &key, int language = languageIndex);

// Where a walk over a language file stands: the side and the section named
// by the nearest "keyboard"/"mouse" and section key visited before. Both
// carry over to every member visited later, at whatever depth.
struct CataloguePosition
{
    bool &mouse;
    QString &section;
};

// Visits the members of the objects in `value` depth first, each object's
// members in ascending key order (the order a JSON object yields them,
// whatever the file's order). For every member the position first takes
// its key, then `onMember(key, value)` runs, then the walk descends into the
// value. Arrays are not descended: `onArray(array, name)` gets them, named
// by the key of the member that holds them (`parentKey` for `value` itself).
using CatalogueMemberVisitor = std::function<void(const QString &key, const QJsonValue &value)>;
using CatalogueArrayVisitor = std::function<void(const QJsonArray &array, const QString &name)>;
void walkCatalogue(const QJsonValue &value, const QString &parentKey, CataloguePosition position,
                   const CatalogueMemberVisitor &onMember, const CatalogueArrayVisitor &onArray = {});

// The reader of one language file; exposed for tests and tools.
class CatalogueReader
{
public:
    // Fills one language of `tables` (which must already have that slot).
    CatalogueReader(LanguageTables &tables, int language);

    // Returns false when the file cannot be opened or is not valid JSON
    // (nothing is read then).
    bool parseFile(const QString &path);
    void parseJson(const QByteArray &json);
    bool parseOk() const { return m_parseOk; }

    void walk(const QJsonValue &value, const QString &parentKey);
    void readOptionList(const QJsonArray &array, const QString &name);

private:
    LanguageTables &m_tables;
    int m_language;
    bool m_mouse = false; // keyboard side until "mouse" is met
    QString m_section;
    bool m_parseOk = false;
};

// Appends one empty language slot to every table.
void appendLanguage(LanguageTables &tables);

// Reads the company records of a Net.xml file; an unknown root element ends
// the reading with the reader error "Not a labels file".
QList<QStringList> readNetProfile(const QString &path);
