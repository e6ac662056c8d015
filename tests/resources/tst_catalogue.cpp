// Checks the runtime data laid beside the executable: the text catalogue in
// three languages, the product catalogue, the sensor table, the company block
// and the generated images. These files are read by many pages with little
// checking of their own, so a slip here shows up as an empty label, a wrong
// DPI or a missing picture far away from the file that caused it.

#include "imagetable.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTextStream>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QStringList kSections = {
    "AdvancedSettings", "Settings", "common", "home", "infoTips", "key", "light", "macro", "pair", "sensor", "update"};
const QStringList kCodedKeys = {"MM",           "DM",  "D2M",     "D4M",          "D8M",           "Sensor",
                                "CID",          "VID", "USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID",
                                "Wireless8_PID"};

QString dataPath(const QString &relative)
{
    return QCoreApplication::applicationDirPath() + "/" + relative;
}

QJsonObject readJson(const QString &relative, QString *error)
{
    QFile f(dataPath(relative));
    if (!f.open(QIODevice::ReadOnly)) {
        *error = "cannot open " + relative;
        return {};
    }
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = relative + ": " + pe.errorString();
        return {};
    }
    return doc.object();
}

// Every text of a language file as "side/section/key" -> text.
QMap<QString, QString> flattenTexts(const QJsonObject &root, QStringList *problems)
{
    QMap<QString, QString> texts;
    for (const QString &side : root.keys()) {
        if (side != "keyboard" && side != "mouse") {
            *problems << "unknown side " + side;
            continue;
        }
        const QJsonObject sideObj = root.value(side).toObject();
        for (const QString &section : sideObj.keys()) {
            const QJsonValue v = sideObj.value(section);
            if (v.isArray())
                continue; // an option list
            if (!kSections.contains(section)) {
                *problems << side + ": unknown section " + section;
                continue;
            }
            const QJsonObject sec = v.toObject();
            for (const QString &key : sec.keys()) {
                const QJsonValue t = sec.value(key);
                // The catalogue walker takes a key named like a section or a
                // side as a switch of the current section for everything
                // visited after it.
                if (kSections.contains(key) || key == "mouse" || key == "keyboard")
                    *problems << side + "/" + section + ": key named like a section: " + key;
                if (!t.isString() || t.toString().isEmpty())
                    *problems << side + "/" + section + "/" + key + " is not a non-empty text";
                texts.insert(side + "/" + section + "/" + key, t.toString());
            }
        }
    }
    return texts;
}

// Every text of a language file, option lists included, by its path
// ("mouse/KeyOptions/17/label").
void collectTexts(const QJsonValue &value, const QString &path, QMap<QString, QString> *out)
{
    if (value.isString()) {
        out->insert(path, value.toString());
    } else if (value.isArray()) {
        const QJsonArray list = value.toArray();
        for (int i = 0; i < list.size(); ++i)
            collectTexts(list.at(i), path + "/" + QString::number(i), out);
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            collectTexts(it.value(), path.isEmpty() ? it.key() : path + "/" + it.key(), out);
    }
}

// The catalogue's own decoding of a coded value.
QString decode(const QString &coded)
{
    QString s = QString::fromUtf8(QByteArray::fromBase64(coded.toUtf8()));
    s.remove('\n');
    s.remove(' ');
    return s;
}

bool strictBase64(const QString &coded)
{
    const auto r = QByteArray::fromBase64Encoding(coded.toUtf8(), QByteArray::AbortOnBase64DecodingErrors);
    return r.decodingStatus == QByteArray::Base64DecodingStatus::Ok && !r.decoded.isEmpty();
}

bool intInRange(const QString &text, int low, int high, int *out = nullptr)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (out)
        *out = v;
    return ok && v >= low && v <= high;
}

bool hasInk(const QImage &image)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) != 0)
                return true;
    return false;
}

struct SensorTable
{
    QMap<QString, QString> switches;
    QMap<QString, int> codes; // "SENSOR_<sensor>_DPI_<dpi>" -> code
    QStringList problems;
};

SensorTable readSensorTable()
{
    SensorTable t;
    QFile f(dataPath("driver_sensor.h"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        t.problems << "cannot open driver_sensor.h";
        return t;
    }
    const QStringList switchKeys = {"SUPPORT_SENSOR_MODE_SEL", "SUPPORT_LOD_CAL",     "SUPPORT_RIPPLE",
                                    "SUPPORT_FIXLINE",         "SUPPORT_MOTION_SYNC", "SUPPORT_MOUSEPAD_CAL"};
    int lineNo = 0;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine());
        ++lineNo;
        if (!line.endsWith('\n'))
            t.problems << QString("line %1 has no line end and would be ignored").arg(lineNo);
        const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
        // The program takes lines of two or three blank-separated parts as
        // entries; anything else is a comment to it.
        if (parts.size() != 2 && parts.size() != 3)
            continue;
        if (parts.size() == 3) {
            if (parts.at(2).contains("//") || parts.at(2).contains('\n'))
                t.problems << QString("line %1 would enter the table as a stray entry").arg(lineNo);
            continue;
        }
        const QStringList pieces = QString(parts.at(1)).remove('\n').split('\t', Qt::SkipEmptyParts);
        const auto key = std::find_if(switchKeys.begin(), switchKeys.end(),
                                      [&](const QString &k) { return parts.at(1).contains(k); });
        if (key != switchKeys.end()) {
            if (pieces.size() != 2)
                t.problems << QString("line %1: switch without a value").arg(lineNo);
            else
                t.switches.insert(*key, pieces.at(1));
            continue;
        }
        if (parts.at(0) != "#define")
            continue;
        if (pieces.size() != 2) {
            t.problems << QString("line %1: definition without a tab-separated value").arg(lineNo);
            continue;
        }
        bool ok = false;
        const int code = pieces.at(1).contains("0x") ? pieces.at(1).toInt(&ok, 16) : pieces.at(1).toInt(&ok, 10);
        if (!ok || code < 0 || code > 255)
            t.problems << QString("line %1: code is not one byte").arg(lineNo);
        t.codes.insert(pieces.at(0), code);
    }
    return t;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void languageFilesHoldTheSameTexts_data();
    void languageFilesHoldTheSameTexts();
    void textsAreCleanlyWritten_data();
    void textsAreCleanlyWritten();
    void termsAreUsedConsistently_data();
    void termsAreUsedConsistently();
    void optionGroupDecodes();
    void everyModelGroupIsComplete();
    void modelsFitTheirSensorTable();
    void companyBlockIsReadable();
    void everyTableImageExists();
    void statesLookDifferent();
};

void TestCatalogue::languageFilesHoldTheSameTexts_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("Simplified Chinese") << "Language/zh-CN.json";
    QTest::newRow("Russian") << "Language/ru.json";
}

void TestCatalogue::languageFilesHoldTheSameTexts()
{
    QFETCH(QString, file);
    QString error;
    const QJsonObject en = readJson("Language/en.json", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QJsonObject other = readJson(file, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    QStringList problems;
    const auto enTexts = flattenTexts(en, &problems);
    const auto otherTexts = flattenTexts(other, &problems);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    QVERIFY(en.contains("mouse") && en.contains("keyboard"));

    const QSet<QString> enKeys(enTexts.keyBegin(), enTexts.keyEnd());
    const QSet<QString> otherKeys(otherTexts.keyBegin(), otherTexts.keyEnd());
    QStringList missing = (enKeys - otherKeys).values();
    QStringList extra = (otherKeys - enKeys).values();
    QVERIFY2(missing.isEmpty(), qPrintable("missing: " + missing.join(", ")));
    QVERIFY2(extra.isEmpty(), qPrintable("not in en.json: " + extra.join(", ")));

    // A translation that is still the English text was forgotten (product
    // names and "OK"-like short words excepted).
    QStringList untranslated;
    for (auto it = otherTexts.begin(); it != otherTexts.end(); ++it) {
        const QString en = enTexts.value(it.key());
        if (it.value() == en && en.contains(QRegularExpression("[a-z]{3,}")))
            untranslated << it.key();
    }
    QVERIFY2(untranslated.isEmpty(), qPrintable("untranslated: " + untranslated.join(", ")));
}

void TestCatalogue::textsAreCleanlyWritten_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("startButtonQuoted");
    QTest::newRow("English") << "Language/en.json" << QStringLiteral("\"%1\"");
    QTest::newRow("Simplified Chinese") << "Language/zh-CN.json" << QString::fromUtf8("\u201c%1\u201d");
    QTest::newRow("Russian") << "Language/ru.json" << QString::fromUtf8("\u00ab%1\u00bb");
}

// Labels centre their text: a leading or trailing blank pushes it off-line.
// Chinese uses full-width punctuation. The pairing instructions name the
// start button by the text it really shows.
void TestCatalogue::textsAreCleanlyWritten()
{
    QFETCH(QString, file);
    QFETCH(QString, startButtonQuoted);
    QString error;
    QStringList problems;
    const auto texts = flattenTexts(readJson(file, &error), &problems);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!texts.isEmpty());

    const bool chinese = file.contains("zh-CN");
    const QRegularExpression halfWidthNextToHan(QStringLiteral("\\p{Han}[,:;?!()]|[,:;?!()]\\s*\\p{Han}"));
    QStringList bad;
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        const QString &t = it.value();
        // A label followed by a value ("Version: ") keeps its separating blank.
        const bool prefix = t.endsWith(QLatin1String(": "));
        if (t.startsWith(QLatin1Char(' ')) || (t.endsWith(QLatin1Char(' ')) && !prefix) || t.contains("  "))
            bad << it.key() + ": padding blanks";
        if (chinese && halfWidthNextToHan.match(t).hasMatch())
            bad << it.key() + ": half-width punctuation";
    }
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));

    const QString start = texts.value("mouse/pair/StartPair");
    QVERIFY(!start.isEmpty());
    QVERIFY2(texts.value("mouse/pair/DialogPairTips").contains(startButtonQuoted.arg(start)),
             qPrintable(texts.value("mouse/pair/DialogPairTips")));
}

void TestCatalogue::termsAreUsedConsistently_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("unwanted");
    const QString zh = QStringLiteral("Language/zh-CN.json");
    const QString ru = QStringLiteral("Language/ru.json");
    const QString en = QStringLiteral("Language/en.json");
    // Every text whose English names the term uses the one word for it.
    QTest::newRow("zh report rate") << zh << "(?i)report rate" << QString::fromUtf8("回报率")
                                    << QString::fromUtf8("(?<!回)报告率");
    QTest::newRow("zh report rate switch") << zh << "(?i)report rate switch" << QString::fromUtf8("^切换回报率$") << "";
    QTest::newRow("zh delay") << zh << "(?i)\\bdelays?\\b" << QString::fromUtf8("延时") << QString::fromUtf8("延迟");
    QTest::newRow("zh macro") << zh << "(?i)\\bmacros?\\b" << QString::fromUtf8("宏") << QString::fromUtf8("宏定义");
    QTest::newRow("zh milliseconds") << zh << "\\bms\\b" << QString::fromUtf8("毫秒") << "";
    // The switch function is named apart from the setting it switches.
    QTest::newRow("ru report rate") << ru << "(?i)report rate" << QString::fromUtf8("(?i)частот\\w* опроса") << "";
    QTest::newRow("ru report rate switch")
        << ru << "(?i)report rate switch" << QString::fromUtf8("^Смена частоты опроса$") << "";
    QTest::newRow("ru delay") << ru << "(?i)\\bdelays?\\b" << QString::fromUtf8("(?i)пауз")
                              << QString::fromUtf8("(?i)задержк");
    // Russian pages show the program's own "ms" beside these texts.
    QTest::newRow("ru milliseconds") << ru << "\\bms\\b"
                                     << "\\bms\\b" << QString::fromUtf8("(?<!\\p{L})мс(?!\\p{L})");
    // A number range names its unit.
    for (const QString &file : {en, zh, ru})
        QTest::addRow("%s fire-key interval", qPrintable(file))
            << file << "^Interval\\b" << QString::fromUtf8("ms|毫秒") << "";
}

void TestCatalogue::termsAreUsedConsistently()
{
    QFETCH(QString, file);
    QFETCH(QString, english);
    QFETCH(QString, wanted);
    QFETCH(QString, unwanted);
    QString error;
    QMap<QString, QString> enTexts, texts;
    collectTexts(readJson("Language/en.json", &error), QString(), &enTexts);
    collectTexts(readJson(file, &error), QString(), &texts);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const auto options = QRegularExpression::UseUnicodePropertiesOption;
    const QRegularExpression term(english, options), want(wanted, options), avoid(unwanted, options);
    QVERIFY(term.isValid() && want.isValid() && avoid.isValid());
    int named = 0;
    QStringList bad;
    for (auto it = enTexts.begin(); it != enTexts.end(); ++it) {
        if (!term.match(it.value()).hasMatch())
            continue;
        ++named;
        const QString text = texts.value(it.key());
        if (!want.match(text).hasMatch() || (!unwanted.isEmpty() && avoid.match(text).hasMatch()))
            bad << it.key() + ": " + text;
    }
    QVERIFY2(named > 0, "no English text names the term");
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
}

void TestCatalogue::optionGroupDecodes()
{
    QVERIFY(QFile::exists(dataPath("usersetting/Config.ini")));
    QSettings ini(dataPath("usersetting/Config.ini"), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    QCOMPARE(ini.status(), QSettings::NoError);

    int total = 0;
    QVERIFY(intInRange(ini.value("Option/DeviceTotal").toString(), 1, 14, &total));
    const QString cid = ini.value("Option/CID").toString();
    QVERIFY2(strictBase64(cid), "CID is not Base64");
    QVERIFY(intInRange(decode(cid), 0, 255));

    // Id lists: every item Base64 of a 16-bit hexadecimal id; no id twice.
    QSet<QString> pids;
    for (const QString key : {"VID", "USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"}) {
        const QStringList items = ini.value("Option/" + key).toStringList();
        QVERIFY2(!items.isEmpty(), qPrintable(key + " is empty"));
        for (const QString &item : items) {
            QVERIFY2(strictBase64(item), qPrintable(key + ": " + item));
            bool ok = false;
            const uint id = decode(item).toUInt(&ok, 16);
            QVERIFY2(ok && id > 0 && id <= 0xFFFF, qPrintable(key + ": " + decode(item)));
            if (key != "VID") {
                QVERIFY2(!pids.contains(decode(item)), qPrintable("product id listed twice: " + decode(item)));
                pids.insert(decode(item));
            }
        }
    }
    for (const QString key : {"InterfaceId", "DeviceId", "ShowBatteryValue", "Transition"})
        QVERIFY2(intInRange(ini.value("Option/" + key).toString(), 0, 255), qPrintable(key));

    // Theme colours: pages join items 0..2 unchecked.
    for (const QString key : {"LabelColor", "ButtonColor", "ComboxBackGroundColor", "ComboxSelectColor",
                              "ComboxTextColor", "SliderColor", "LinEditColor", "LinEditColorSecond"}) {
        const QStringList rgb = ini.value("Option/" + key).toStringList();
        QCOMPARE(rgb.size(), 3);
        for (const QString &c : rgb)
            QVERIFY2(intInRange(c, 0, 255), qPrintable(key));
    }
}

void TestCatalogue::everyModelGroupIsComplete()
{
    QSettings ini(dataPath("usersetting/Config.ini"), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    const int total = ini.value("Option/DeviceTotal").toInt();
    QVERIFY(total >= 1);
    QSet<int> mids;
    for (int n = 1; n <= total; ++n) {
        const QString g = QString("Drive%1/").arg(n);
        const auto text = [&](const char *key) { return ini.value(g + key).toString(); };
        const auto list = [&](const char *key) { return ini.value(g + key).toStringList(); };
        QVERIFY2(ini.childGroups().contains(QString("Drive%1").arg(n)), qPrintable(g));

        int mid = -1;
        QVERIFY2(intInRange(text("MID"), 0, 255, &mid), qPrintable(g + "MID"));
        QVERIFY2(!mids.contains(mid), qPrintable(g + "MID used twice"));
        mids.insert(mid);

        // Single coded values must not hold a comma (they would read as a
        // list and come back empty); the firmware names may be empty.
        for (const char *key : {"Sensor", "MM", "DM", "D2M", "D4M", "D8M"}) {
            QVERIFY2(ini.contains(g + key), qPrintable(g + key));
            const QString v = text(key);
            QVERIFY2(v.isEmpty() || strictBase64(v), qPrintable(g + key));
        }
        QVERIFY(!decode(text("Sensor")).isEmpty());
        QVERIFY(!decode(text("MM")).isEmpty());
        QVERIFY(!decode(text("DM")).isEmpty());

        int maxGrade = 0;
        QVERIFY2(intInRange(text("DPIMaxGrade"), 1, 8, &maxGrade), qPrintable(g + "DPIMaxGrade"));
        QCOMPARE(list("DPIGrade").size(), 8);
        QCOMPARE(list("DPIColor").size(), 24);
        for (const QString &c : list("DPIColor"))
            QVERIFY(intInRange(c, 0, 255));
        const QStringList range = list("DPIRange");
        const int segments = (range.size() - 1) / 3;
        QVERIFY2(segments >= 1 && segments <= 4 && range.size() == 3 * segments + 1, qPrintable(g + "DPIRange"));
        QVERIFY2(QStringList({"11", "22", "33"}).contains(range.last()), qPrintable(g + "DPIRange scale code"));
        int previousMax = 0;
        for (int s = 0; s < segments; ++s) {
            int lo = 0, hi = 0, step = 0;
            QVERIFY(intInRange(range.at(3 * s), 50, 100000, &lo));
            QVERIFY(intInRange(range.at(3 * s + 1), lo, 100000, &hi));
            QVERIFY(intInRange(range.at(3 * s + 2), 1, hi, &step));
            QVERIFY2(lo > previousMax && (hi - lo) % step == 0, qPrintable(g + "DPIRange segments"));
            previousMax = hi;
        }
        QVERIFY(intInRange(text("XIn1"), 0, 255));
        QVERIFY2(intInRange(text("KeyNumber"), 1, 16), qPrintable(g + "KeyNumber"));
        for (int i = 1; i <= 16; ++i) {
            const QStringList p = ini.value(g + QString("KeyParam%1").arg(i)).toStringList();
            QVERIFY2(!p.isEmpty(), qPrintable(g + QString("KeyParam%1").arg(i)));
            if (p.first() == "0x05")
                QVERIFY2(p.size() == 3 || p.size() == 4, qPrintable(g + QString("KeyParam%1").arg(i)));
        }
        const QStringList adv = list("Adveanced");
        QCOMPARE(adv.size(), 2);
        QVERIFY(intInRange(adv.at(0), -1, 1));
        QVERIFY(intInRange(adv.at(1), -1, 3) && adv.at(1) != "0");
    }
    QVERIFY2(!ini.childGroups().contains(QString("Drive%1").arg(total + 1)), "a model past DeviceTotal");
}

// Every stage default lies on the model's DPI grid, and a sensor with named
// codes has a code for every DPI the editor can reach.
void TestCatalogue::modelsFitTheirSensorTable()
{
    const SensorTable table = readSensorTable();
    QVERIFY2(table.problems.isEmpty(), qPrintable(table.problems.join('\n')));
    QCOMPARE(table.switches.size(), 6);

    QSettings ini(dataPath("usersetting/Config.ini"), QSettings::IniFormat);
    const int total = ini.value("Option/DeviceTotal").toInt();
    QSet<QString> sensors;
    for (int n = 1; n <= total; ++n) {
        const QString g = QString("Drive%1/").arg(n);
        const QString sensor = decode(ini.value(g + "Sensor").toString());
        sensors.insert(sensor);
        const QStringList range = ini.value(g + "DPIRange").toStringList();
        QVector<int> grid;
        for (int s = 0; s + 2 < range.size(); s += 3)
            for (int dpi = range.at(s).toInt(); dpi <= range.at(s + 1).toInt(); dpi += range.at(s + 2).toInt())
                grid << dpi;
        for (const QString &dpi : ini.value(g + "DPIGrade").toStringList())
            QVERIFY2(grid.contains(dpi.toInt()), qPrintable(g + "DPIGrade " + dpi + " is off the grid"));

        const QString prefix = "SENSOR_" + sensor + "_DPI";
        const bool tableSensor = std::any_of(table.codes.keyBegin(), table.codes.keyEnd(),
                                             [&](const QString &name) { return name.contains(prefix); });
        if (!tableSensor)
            continue;
        QVERIFY2(!sensor.contains('I'), "a table sensor's DPI is read after the first capital I");
        for (int dpi : grid)
            QVERIFY2(table.codes.contains(prefix + "_" + QString::number(dpi)),
                     qPrintable(QString("%1: no code for %2").arg(sensor).arg(dpi)));
    }
    QVERIFY2(sensors.contains("3395") && sensors.contains("3950"), "both arithmetic sensors have a model");
}

void TestCatalogue::companyBlockIsReadable()
{
    QFile f(dataPath("Language/Net.xml"));
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QXmlStreamReader xml(&f);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name().toString(), QString("Profile"));
    QStringList record;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("English")) {
            while (xml.readNextStartElement())
                record << xml.name().toString() + "=" + xml.readElementText();
        } else {
            xml.readElementText(); // the reader passes these through as text
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(record.size(), 4);
    QVERIFY(record.at(0).startsWith("CompanyName=") && record.at(3).startsWith("CompanyWeben="));
    for (const QString &r : record)
        QVERIFY2(!r.endsWith('='), qPrintable(r));
}

void TestCatalogue::everyTableImageExists()
{
    QSet<QString> seen;
    QStringList problems;
    for (const imagegen::ImageSpec &spec : imagegen::kImages) {
        const QString rel = QString("Picture/%1/%2").arg(spec.folder, spec.name);
        if (seen.contains(rel))
            problems << rel + " is in the table twice";
        seen.insert(rel);
        const QImage img(dataPath(rel));
        if (img.isNull())
            problems << rel + " is missing or not an image";
        else if (img.size() != QSize(spec.width, spec.height))
            problems << QString("%1 is %2x%3, not %4x%5")
                            .arg(rel)
                            .arg(img.width())
                            .arg(img.height())
                            .arg(spec.width)
                            .arg(spec.height);
        else if (!hasInk(img))
            problems << rel + " is blank";
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
}

// A checkable control shows whether it is checked: an unchecked and a
// checked picture of one folder, shape and size are never drawn alike.
void TestCatalogue::statesLookDifferent()
{
    QStringList alike;
    for (int i = 0; i < imagegen::kImageCount; ++i) {
        const imagegen::ImageSpec &a = imagegen::kImages[i];
        for (int j = i + 1; j < imagegen::kImageCount; ++j) {
            const imagegen::ImageSpec &b = imagegen::kImages[j];
            if (qstrcmp(a.folder, b.folder) != 0 || a.shape != b.shape || a.width != b.width || a.height != b.height)
                continue;
            const bool pair = (a.state == imagegen::State::Normal && b.state == imagegen::State::Checked)
                              || (a.state == imagegen::State::Checked && b.state == imagegen::State::Normal);
            if (!pair)
                continue;
            const QImage ia(dataPath(QString("Picture/%1/%2").arg(a.folder, a.name)));
            const QImage ib(dataPath(QString("Picture/%1/%2").arg(b.folder, b.name)));
            if (!ia.isNull() && ia == ib)
                alike << QString("%1/%2 = %3").arg(a.folder, a.name, b.name);
        }
    }
    QVERIFY2(alike.isEmpty(), qPrintable(alike.join('\n')));
}

VELMORAX_TEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
