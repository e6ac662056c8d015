#include "app/textcatalogue.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QXmlStreamReader>

int languageIndex = 0;
LanguageTables languageTables;
QList<QStringList> companyInfo;

QStringList languageFileNames()
{
    return {QStringLiteral("en.json"), QStringLiteral("zh-CN.json"), QStringLiteral("ru.json")};
}

QStringList mouseSectionNames()
{
    return {QStringLiteral("AdvancedSettings"),
            QStringLiteral("Settings"),
            QStringLiteral("common"),
            QStringLiteral("home"),
            QStringLiteral("infoTips"),
            QStringLiteral("key"),
            QStringLiteral("light"),
            QStringLiteral("macro"),
            QStringLiteral("pair"),
            QStringLiteral("sensor"),
            QStringLiteral("update")};
}

QStringList keyboardSectionNames()
{
    return {QStringLiteral("Settings"), QStringLiteral("common"), QStringLiteral("key"),   QStringLiteral("light"),
            QStringLiteral("macro"),    QStringLiteral("pair"),   QStringLiteral("update")};
}

// Every mouse-side option list but "KeyOptions" and "receiverStatusList",
// which have tables of their own shape.
QStringList mouseOptionListNames()
{
    return {QStringLiteral("LightOffTimeOptions"),
            QStringLiteral("ReportRates"),
            QStringLiteral("InsertEventOptions"),
            QStringLiteral("dpiModeOptions"),
            QStringLiteral("tabsList"),
            QStringLiteral("ProfileOptions"),
            QStringLiteral("DPIEffectOptions"),
            QStringLiteral("LightModeOptions"),
            QStringLiteral("StatusDescriptionList"),
            QStringLiteral("receiverList"),
            QStringLiteral("LODOptions"),
            QStringLiteral("PerformanceOptions"),
            QStringLiteral("SensorModeOptions"),
            QStringLiteral("randomDelayList")};
}

namespace {

const QStringList &keyfunctionTypes()
{
    static const QStringList types = {QStringLiteral("0x00"), QStringLiteral("0x01"), QStringLiteral("0x02"),
                                      QStringLiteral("0x03"), QStringLiteral("0x05"), QStringLiteral("0x06"),
                                      QStringLiteral("0x09"), QStringLiteral("0x0A")};
    return types;
}

const QString kKeyfunctions = QStringLiteral("keyboardKeyfunctions");

} // namespace

QStringList keyboardOptionListNames()
{
    QStringList names = {QStringLiteral("LightOffTimeOptions"), QStringLiteral("ReportRates"),
                         QStringLiteral("keyboardTabList"),     QStringLiteral("DisableList"),
                         QStringLiteral("FunctionList"),        QStringLiteral("modeList"),
                         QStringLiteral("InsertEventOptions")};
    for (const QString &type : keyfunctionTypes())
        names << kKeyfunctions + QLatin1Char('/') + type;
    return names;
}

void LanguageTables::clear()
{
    mouseSections.clear();
    keyboardSections.clear();
    mouseOptions.clear();
    keyboardOptions.clear();
    keyOptions.clear();
    receiverStatus.clear();
}

void appendLanguage(LanguageTables &tables)
{
    for (const QString &name : mouseSectionNames())
        tables.mouseSections[name].append(TextTable());
    for (const QString &name : keyboardSectionNames())
        tables.keyboardSections[name].append(TextTable());
    for (const QString &name : mouseOptionListNames())
        tables.mouseOptions[name].append(TextTable());
    for (const QString &name : keyboardOptionListNames())
        tables.keyboardOptions[name].append(TextTable());
    tables.keyOptions.append(QMultiMap<QString, QString>());
    tables.receiverStatus.append(ReceiverStatusList());
}

// ---------------------------------------------------------------------------

CatalogueReader::CatalogueReader(LanguageTables &tables, int language) : m_tables(tables), m_language(language) {}

bool CatalogueReader::parseFile(const QString &path)
{
    m_parseOk = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QByteArray json = file.readAll();
    file.close();
    parseJson(json);
    return m_parseOk;
}

void CatalogueReader::parseJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    m_parseOk = error.error == QJsonParseError::NoError;
    if (!m_parseOk)
        return;
    if (doc.isObject())
        walk(doc.object(), QString());
    else if (doc.isArray())
        walk(doc.array(), QString());
}

void walkCatalogue(const QJsonValue &value, const QString &parentKey, CataloguePosition position,
                   const CatalogueMemberVisitor &onMember, const CatalogueArrayVisitor &onArray)
{
    if (value.isArray()) {
        if (onArray)
            onArray(value.toArray(), parentKey);
        return;
    }
    if (!value.isObject())
        return;
    static const QStringList sections = mouseSectionNames();
    const QJsonObject object = value.toObject();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString key = it.key();
        if (key == QLatin1String("keyboard"))
            position.mouse = false;
        else if (key == QLatin1String("mouse"))
            position.mouse = true;
        else if (sections.contains(key))
            position.section = key;
        onMember(key, it.value());
        walkCatalogue(it.value(), key, position, onMember, onArray);
    }
}

void CatalogueReader::walk(const QJsonValue &value, const QString &parentKey)
{
    walkCatalogue(
        value, parentKey, {m_mouse, m_section},
        [this](const QString &key, const QJsonValue &member) {
            if (!member.isString() || member.toString().isEmpty())
                return;
            auto &bySection = m_mouse ? m_tables.mouseSections : m_tables.keyboardSections;
            auto table = bySection.find(m_section);
            if (table != bySection.end() && m_language < table->size())
                (*table)[m_language].insert(key, member.toString());
        },
        [this](const QJsonArray &array, const QString &name) { readOptionList(array, name); });
}

void CatalogueReader::readOptionList(const QJsonArray &array, const QString &name)
{
    for (const QJsonValue &item : array) {
        if (!item.isObject())
            continue;
        const QJsonObject element = item.toObject();
        const auto asText = [&](const char *field) { return element.value(QLatin1String(field)).toString(); };
        const auto asNumber = [&](const char *field) {
            return QString::number(element.value(QLatin1String(field)).toInt());
        };

        if (m_mouse) {
            if (name == QLatin1String("KeyOptions")) {
                if (m_language < m_tables.keyOptions.size())
                    m_tables.keyOptions[m_language].insert(asText("value"), asText("label"));
            } else if (name == QLatin1String("receiverStatusList")) {
                if (m_language < m_tables.receiverStatus.size())
                    m_tables.receiverStatus[m_language].append(qMakePair(asText("option"), asText("info")));
            } else {
                auto table = m_tables.mouseOptions.find(name);
                if (table != m_tables.mouseOptions.end() && m_language < table->size()) {
                    QString key;
                    if (name == QLatin1String("InsertEventOptions"))
                        key = asNumber("command");
                    else if (name == QLatin1String("StatusDescriptionList"))
                        key = asText("value");
                    else
                        key = asNumber("value");
                    (*table)[m_language].insert(key, asText("option"));
                }
            }
        } else {
            if (name == kKeyfunctions) {
                const QString type = asText("type");
                if (keyfunctionTypes().contains(type)) {
                    auto &table = m_tables.keyboardOptions[kKeyfunctions + QLatin1Char('/') + type];
                    if (m_language < table.size())
                        table[m_language].insert(asText("value"), asText("label"));
                }
            } else if (!name.contains(QLatin1Char('/'))) {
                auto table = m_tables.keyboardOptions.find(name);
                if (table != m_tables.keyboardOptions.end() && m_language < table->size()) {
                    const QString key =
                        name == QLatin1String("InsertEventOptions") ? asNumber("command") : asNumber("value");
                    (*table)[m_language].insert(key, asText("option"));
                }
            }
        }

        const QJsonValue children = element.value(QLatin1String("children"));
        if (children.isArray())
            readOptionList(children.toArray(), name);
    }
}

// ---------------------------------------------------------------------------

namespace {

void readCompanyRecord(QXmlStreamReader &xml, QList<QStringList> &out)
{
    QStringList record;
    while (xml.readNextStartElement()) {
        const QStringRef name = xml.name();
        if (name == QLatin1String("CompanyName") || name == QLatin1String("CompanyNameCn")
            || name == QLatin1String("CompanyWebcn") || name == QLatin1String("CompanyWeben")) {
            const bool closes = name == QLatin1String("CompanyWeben");
            record << xml.readElementText(QXmlStreamReader::IncludeChildElements);
            // Each block is a record of its own; carrying the texts of the
            // blocks before it into the next one would make a long file cost
            // memory with the square of its size.
            if (closes) {
                out << record;
                record.clear();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
}

void readProfile(QXmlStreamReader &xml, QList<QStringList> &out)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("English"))
            readCompanyRecord(xml, out);
        else
            xml.skipCurrentElement(); // "InportFail", "NewVer", ... and unknown ones
    }
}

} // namespace

QList<QStringList> readNetProfile(const QString &path)
{
    QList<QStringList> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("Profile"))
            readProfile(xml, out);
        else
            xml.raiseError(QObject::tr("Not a labels file"));
    }
    return out;
}

// ---------------------------------------------------------------------------

void loadTextCatalogue(const QString &appDir)
{
    languageTables.clear();
    const QString folder = appDir + QStringLiteral("/Language/");
    const QStringList files = languageFileNames();
    for (int language = 0; language < files.size(); ++language) {
        appendLanguage(languageTables);
        CatalogueReader reader(languageTables, language);
        if (!reader.parseFile(folder + files.at(language)) && language > 0) {
            // A missing or broken translation shows English rather than
            // blank labels.
            LanguageTables &t = languageTables;
            for (auto &v : t.mouseSections)
                v[language] = v[0];
            for (auto &v : t.keyboardSections)
                v[language] = v[0];
            for (auto &v : t.mouseOptions)
                v[language] = v[0];
            for (auto &v : t.keyboardOptions)
                v[language] = v[0];
            t.keyOptions[language] = t.keyOptions[0];
            t.receiverStatus[language] = t.receiverStatus[0];
        }
    }
    companyInfo = readNetProfile(folder + QStringLiteral("Net.xml"));
}

void loadTextCatalogue()
{
    loadTextCatalogue(QCoreApplication::applicationDirPath());
}

int catalogueLanguage(int language)
{
    return language >= 0 && language < languageTables.languageCount() ? language : 0;
}

namespace {

QString lookup(const QHash<QString, QVector<TextTable>> &tables, const QString &name, const QString &key, int language)
{
    const auto it = tables.constFind(name);
    if (it == tables.cend() || it->isEmpty())
        return QString();
    const int index = language >= 0 && language < it->size() ? language : 0;
    return it->at(index).value(key);
}

} // namespace

QString catalogueText(const QString &section, const QString &key, int language)
{
    return lookup(languageTables.mouseSections, section, key, language);
}

QString catalogueOption(const QString &list, const QString &key, int language)
{
    return lookup(languageTables.mouseOptions, list, key, language);
}

QStringList catalogueKeyOptions(const QString &key, int language)
{
    if (languageTables.keyOptions.isEmpty())
        return {};
    return languageTables.keyOptions.at(catalogueLanguage(language)).values(key);
}

ReceiverStatusList catalogueReceiverStatus(int language)
{
    if (languageTables.receiverStatus.isEmpty())
        return {};
    return languageTables.receiverStatus.at(catalogueLanguage(language));
}

QString keyboardText(const QString &section, const QString &key, int language)
{
    return lookup(languageTables.keyboardSections, section, key, language);
}

QString keyboardOption(const QString &list, const QString &key, int language)
{
    return lookup(languageTables.keyboardOptions, list, key, language);
}
