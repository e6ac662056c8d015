#include "app/textcatalogue.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// JSON fixtures are written with single quotes for readability.
QByteArray J(const char *text)
{
    return QByteArray(text).replace('\'', '"');
}

LanguageTables readJson(const QByteArray &json)
{
    LanguageTables tables;
    appendLanguage(tables);
    CatalogueReader reader(tables, 0);
    reader.parseJson(json);
    return tables;
}

QString text(const LanguageTables &t, const char *section, const char *key, bool mouse = true)
{
    const auto &sections = mouse ? t.mouseSections : t.keyboardSections;
    return sections.value(QString::fromLatin1(section)).value(0).value(QString::fromLatin1(key));
}

int storedTexts(const LanguageTables &t)
{
    int n = 0;
    for (const auto &v : t.mouseSections)
        n += v.value(0).size();
    for (const auto &v : t.keyboardSections)
        n += v.value(0).size();
    return n;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

} // namespace

class TestTextCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void sections_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("stored");

        const QByteArray home = J("{'mouse':{'home':{'OpenMain':'Open','Exit':'Quit'}}}");
        QTest::newRow("home under mouse: first") << home << "home"
                                                 << "OpenMain"
                                                 << "Open" << 2;
        QTest::newRow("home under mouse: second") << home << "home"
                                                  << "Exit"
                                                  << "Quit" << 2;
        QTest::newRow("home under keyboard stores nothing")
            << QByteArray(J("{'keyboard':{'home':{'OpenMain':'Open','Exit':'Quit'}}}")) << "home"
            << "OpenMain"
            << "" << 0;
        // "sensor" < "zzz" in key order: the later string at the mouse level
        // still lands in "sensor", as does the nested one.
        const QByteArray nested = J("{'mouse':{'sensor':{'inner':{'Deep':'deep text'}},'zzz':'late text'}}");
        QTest::newRow("nested string carries the section") << nested << "sensor"
                                                           << "Deep"
                                                           << "deep text" << 2;
        QTest::newRow("later string keeps the section") << nested << "sensor"
                                                        << "zzz"
                                                        << "late text" << 2;
        // Members are visited sorted: "Settings" < "common" (upper case
        // first), whatever the order in the file.
        const QByteArray sorted = J("{'mouse':{'common':{'OK':'Fine'},'Settings':{'DialogRestore':'Restore?'}}}");
        QTest::newRow("sorted visit: common") << sorted << "common"
                                              << "OK"
                                              << "Fine" << 2;
        QTest::newRow("sorted visit: Settings") << sorted << "Settings"
                                                << "DialogRestore"
                                                << "Restore?" << 2;
        QTest::newRow("empty string not stored")
            << QByteArray(J("{'mouse':{'home':{'OnRun':'','Exit':'x'}}}")) << "home"
            << "OnRun"
            << "" << 1;
        QTest::newRow("string before any section is dropped") << QByteArray(J("{'mouse':{'Alone':'x'}}")) << "home"
                                                              << "Alone"
                                                              << "" << 0;
        QTest::newRow("non-string members ignored")
            << QByteArray(J("{'mouse':{'home':{'N':1,'B':true,'Z':null}}}")) << "home"
            << "N"
            << "" << 0;
        QTest::newRow("keyboard update section")
            << QByteArray(J("{'keyboard':{'update':{'Title':'kb'}},'mouse':{'update':{'Title':'ms'}}}")) << "update"
            << "Title"
            << "ms" << 2;
    }

    void sections()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QFETCH(int, stored);
        const LanguageTables t = readJson(json);
        QCOMPARE(text(t, qPrintable(section), qPrintable(key)), expected);
        QCOMPARE(storedTexts(t), stored);
    }

    void keyboardSideKeepsItsOwnTexts()
    {
        const LanguageTables t =
            readJson(J("{'keyboard':{'update':{'Title':'kb'}},'mouse':{'update':{'Title':'ms'}}}"));
        QCOMPARE(text(t, "update", "Title", false), QStringLiteral("kb"));
        QCOMPARE(text(t, "update", "Title", true), QStringLiteral("ms"));
    }

    void optionLists()
    {
        const LanguageTables t =
            readJson(J("{'mouse':{'sensor':{"
                       "'ReportRates':[{'value':1,'option':'125Hz'},"
                       "{'value':2,'option':'250Hz','children':[{'value':4,'option':'500Hz'}]},"
                       "'not an object',"
                       "{'value':'8','option':'string value reads as 0'}],"
                       "'KeyOptions':[{'value':'1','label':'Left'},{'value':'1','label':'Left "
                       "again'},{'value':2,'label':'number'}],"
                       "'StatusDescriptionList':[{'value':'A1','option':'text key'}],"
                       "'InsertEventOptions':[{'command':3,'option':'Delay'}],"
                       "'receiverStatusList':[{'option':'On','info':'lit'},{'option':'Off','info':'dark'}],"
                       "'UnknownList':[{'value':9,'option':'x','children':[{'value':10,'option':'y'}]}]"
                       "}}}"));
        const TextTable rates = t.mouseOptions.value("ReportRates").value(0);
        QCOMPARE(rates.value("1"), QStringLiteral("125Hz"));
        QCOMPARE(rates.value("2"), QStringLiteral("250Hz"));
        QCOMPARE(rates.value("4"), QStringLiteral("500Hz"));
        QCOMPARE(rates.value("0"), QStringLiteral("string value reads as 0"));
        QCOMPARE(rates.size(), 4);

        // Several texts per key, newest first; a numeric "value" reads as "".
        QCOMPARE(t.keyOptions.value(0).values("1"), (QStringList{"Left again", "Left"}));
        QCOMPARE(t.keyOptions.value(0).values(""), QStringList{"number"});

        QCOMPARE(t.mouseOptions.value("StatusDescriptionList").value(0).value("A1"), QStringLiteral("text key"));
        QCOMPARE(t.mouseOptions.value("InsertEventOptions").value(0).value("3"), QStringLiteral("Delay"));
        const ReceiverStatusList status = t.receiverStatus.value(0);
        QCOMPARE(status.size(), 2);
        QCOMPARE(status.at(1), qMakePair(QStringLiteral("Off"), QStringLiteral("dark")));
        // Option texts never land in the text sections.
        QCOMPARE(storedTexts(t), 0);
    }

    void keyboardOptionLists()
    {
        const LanguageTables t = readJson(J("{'keyboard':{'keyboardKeyfunctions':["
                                            "{'type':'0x01','value':'A','label':'Key A'},"
                                            "{'type':'0x0A','value':'B','label':'Key B'},"
                                            "{'type':'0x04','value':'C','label':'not stored'}],"
                                            "'modeList':[{'value':2,'option':'Mode two'}]}}"));
        QCOMPARE(t.keyboardOptions.value("keyboardKeyfunctions/0x01").value(0).value("A"), QStringLiteral("Key A"));
        QCOMPARE(t.keyboardOptions.value("keyboardKeyfunctions/0x0A").value(0).value("B"), QStringLiteral("Key B"));
        int all = 0;
        for (const auto &v : t.keyboardOptions)
            all += v.value(0).size();
        QCOMPARE(all, 3);
        QCOMPARE(t.keyboardOptions.value("modeList").value(0).value("2"), QStringLiteral("Mode two"));
        // The same list name on the mouse side has no table.
        QVERIFY(!t.mouseOptions.contains("modeList"));
    }

    void brokenFilesReadNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated") << QByteArray(J("{'mouse':{'home':{'Exit':'Qu"));
        QTest::newRow("garbage") << QByteArray("\x00\xff\xfe garbage", 12);
        QTest::newRow("scalar root") << QByteArray("\"text\"");
        // Far deeper than any catalogue: refused by the parser, no stack
        // exhaustion in the walker.
        QTest::newRow("deeply nested") << (QByteArray("{\"mouse\":") + QByteArray(100000, '[') + QByteArray(100000, ']')
                                           + "}");
    }

    void brokenFilesReadNothing()
    {
        QFETCH(QByteArray, content);
        const LanguageTables t = readJson(content);
        QCOMPARE(storedTexts(t), 0);
    }

    void largeCatalogueReadsWhole()
    {
        QByteArray json = "{'mouse':{'home':{";
        for (int i = 0; i < 20000; ++i)
            json += "'K" + QByteArray::number(i) + "':'" + QByteArray(100, 'x') + "',";
        json += "'Last':'end'}}}";
        const LanguageTables t = readJson(J(json.constData()));
        QCOMPARE(storedTexts(t), 20001);
        QCOMPARE(text(t, "home", "Last"), QStringLiteral("end"));
    }

    void netProfile_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("first");
        const QByteArray english = "<English><CompanyName>Maker</CompanyName><CompanyNameCn>CN</CompanyNameCn>"
                                   "<CompanyWebcn>https://cn.example</CompanyWebcn>"
                                   "<CompanyWeben>https://www.example</CompanyWeben></English>";
        const QStringList full{"Maker", "CN", "https://cn.example", "https://www.example"};
        QTest::newRow("plain profile") << QByteArray("<Profile>" + english + "<NewVer>x</NewVer></Profile>") << 1
                                       << full;
        QTest::newRow("wrong root is ignored") << QByteArray("<Labels>" + english + "</Labels>") << 0 << QStringList();
        QTest::newRow("unknown elements skipped however deep")
            << QByteArray("<Profile><Other><English><CompanyWeben>no</CompanyWeben></English></Other>"
                          "<InportFail>a<b/></InportFail>"
                          + english + "</Profile>")
            << 1 << full;
        QTest::newRow("unknown child of the record skipped")
            << QByteArray("<Profile><English><Logo>x</Logo><CompanyName>M</CompanyName>"
                          "<CompanyWeben>w</CompanyWeben></English></Profile>")
            << 1 << QStringList{"M", "w"};
        QTest::newRow("record without web address")
            << QByteArray("<Profile><English><CompanyName>M</CompanyName></English></Profile>") << 0 << QStringList();
        QTest::newRow("malformed") << QByteArray("<Profile><English>") << 0 << QStringList();
    }

    void netProfile()
    {
        QFETCH(QByteArray, xml);
        QFETCH(int, records);
        QFETCH(QStringList, first);
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Net.xml");
        writeFile(path, xml);
        const QList<QStringList> info = readNetProfile(path);
        QCOMPARE(info.size(), records);
        if (records > 0)
            QCOMPARE(info.first(), first);
    }

    // Every block is a record of its own, so a long file costs memory in
    // proportion to its size.
    void netProfileBlocksAreSeparateRecords()
    {
        QByteArray xml = "<Profile><English>";
        const int blocks = 3000;
        for (int i = 0; i < blocks; ++i)
            xml += QStringLiteral("<CompanyName>M%1</CompanyName><CompanyNameCn>C</CompanyNameCn>"
                                  "<CompanyWebcn>c</CompanyWebcn><CompanyWeben>w%1</CompanyWeben>")
                       .arg(i)
                       .toUtf8();
        xml += "</English></Profile>";
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Net.xml");
        writeFile(path, xml);
        const QList<QStringList> info = readNetProfile(path);
        QCOMPARE(info.size(), blocks);
        QCOMPARE(info.first(), QStringList({"M0", "C", "c", "w0"}));
        QCOMPARE(info.last(),
                 QStringList({QStringLiteral("M%1").arg(blocks - 1), "C", "c", QStringLiteral("w%1").arg(blocks - 1)}));
    }

    void loadsAllThreeLanguages()
    {
        QTemporaryDir dir;
        writeFile(dir.path() + "/Language/en.json", J("{'mouse':{'home':{'Exit':'Exit','OnlyEn':'en'}}}"));
        writeFile(dir.path() + "/Language/zh-CN.json",
                  QString::fromUtf8(J("{'mouse':{'home':{'Exit':'退出'}}}")).toUtf8());
        // Russian missing: English stands in rather than blank labels.
        writeFile(dir.path() + "/Language/Net.xml",
                  "<Profile><English><CompanyName>M</CompanyName><CompanyWeben>w</CompanyWeben></English></Profile>");
        loadTextCatalogue(dir.path());

        QCOMPARE(languageTables.languageCount(), 3);
        QCOMPARE(catalogueText("home", "Exit", 0), QStringLiteral("Exit"));
        QCOMPARE(catalogueText("home", "Exit", 1), QString::fromUtf8("退出"));
        QCOMPARE(catalogueText("home", "OnlyEn", 1), QString()); // a loaded language keeps its gaps
        QCOMPARE(catalogueText("home", "Exit", 2), QStringLiteral("Exit"));
        // Indexes past the loaded languages read language 0.
        QCOMPARE(catalogueText("home", "Exit", 3), QStringLiteral("Exit"));
        QCOMPARE(catalogueText("home", "Exit", -1), QStringLiteral("Exit"));
        QCOMPARE(catalogueLanguage(7), 0);
        QCOMPARE(catalogueLanguage(2), 2);
        // Missing keys, sections and lists are empty texts.
        QCOMPARE(catalogueText("home", "NoSuchKey", 0), QString());
        QCOMPARE(catalogueText("NoSection", "Exit", 0), QString());
        QCOMPARE(catalogueOption("ReportRates", "1", 0), QString());
        QCOMPARE(catalogueOption("NoList", "1", 2), QString());
        QCOMPARE(catalogueKeyOptions("1", 9), QStringList());
        QCOMPARE(companyInfo.size(), 1);

        // A reload replaces, it does not append.
        loadTextCatalogue(dir.path());
        QCOMPARE(languageTables.languageCount(), 3);
    }

    void lookupsBeforeLoadingAreEmpty()
    {
        languageTables.clear();
        QCOMPARE(catalogueText("home", "Exit", 0), QString());
        QCOMPARE(catalogueText("home", "Exit", 2), QString());
        QCOMPARE(catalogueKeyOptions("1", 1), QStringList());
        QVERIFY(catalogueReceiverStatus(1).isEmpty());
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestTextCatalogue)
#include "tst_textcatalogue.moc"
