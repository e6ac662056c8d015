// The summary panel: what each announcement shows, and what it leaves alone.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "pages/device/previer.h"
#include "support/testmain.h"

#include <QLabel>
#include <QtTest>

class PreVierTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void placeholdersBeforeAnyValue();
    void valueFormats_data();
    void valueFormats();
    void updateMarkers_data();
    void updateMarkers();
    void titlesFollowLanguage_data();
    void titlesFollowLanguage();
    void longValuesFitTheirBoxes();
};

namespace {

QString text(PreVier &panel, const char *name)
{
    return panel.findChild<QLabel *>(QString::fromLatin1(name))->text();
}

} // namespace

void PreVierTest::initTestCase()
{
    loadTextCatalogue();
}

void PreVierTest::placeholdersBeforeAnyValue()
{
    PreVier panel;
    for (const char *name : {"DpiValue", "ReportValue", "LodValue", "DebunceValue", "ConfigValue"})
        QCOMPARE(text(panel, name), QStringLiteral("1600"));
    QCOMPARE(text(panel, "MouseValue"), QStringLiteral("v2.21"));
    QCOMPARE(text(panel, "DongleValue"), QStringLiteral("v1.0"));
    QVERIFY(panel.findChild<QLabel *>(QStringLiteral("MouseUp"))->isHidden());
    QVERIFY(panel.findChild<QLabel *>(QStringLiteral("DongleUp"))->isHidden());
}

void PreVierTest::valueFormats_data()
{
    QTest::addColumn<QString>("signal");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("shown");

    QTest::newRow("dpi") << "SigAddSensor" << QVariant(1200) << "DpiValue"
                         << "1200";
    QTest::newRow("report rate 8000") << "SigAddReport" << QVariant(8000) << "ReportValue"
                                      << "8000Hz";
    QTest::newRow("report rate 125") << "SigAddReport" << QVariant(125) << "ReportValue"
                                     << "125Hz";
    QTest::newRow("lift-off") << "SigAddLOD" << QVariant("0.7mm") << "LodValue"
                              << "0.7mm";
    QTest::newRow("debounce") << "SigDebunce" << QVariant("8ms") << "DebunceValue"
                              << "8ms";
    QTest::newRow("configuration") << "SigAddConfig" << QVariant("Config 2") << "ConfigValue"
                                   << "Config 2";
    QTest::newRow("mouse version") << "SigAddVer0" << QVariant("v1.05") << "MouseValue"
                                   << "v1.05";
    QTest::newRow("receiver version") << "SigAddVer1" << QVariant("v2.1A") << "DongleValue"
                                      << "v2.1A";
    QTest::newRow("version of unknown part") << "SigAddVer2" << QVariant("v9.99") << "MouseValue"
                                             << "v2.21";
    QTest::newRow("empty version") << "SigAddVer0" << QVariant("") << "MouseValue"
                                   << "";
}

void PreVierTest::valueFormats()
{
    QFETCH(QString, signal);
    QFETCH(QVariant, value);
    QFETCH(QString, label);
    QFETCH(QString, shown);

    PreVier panel;
    PostMsg *hub = PostMsg::instance();
    if (signal == "SigAddSensor")
        emit hub->SigAddSensor(value.toInt());
    else if (signal == "SigAddReport")
        emit hub->SigAddReport(value.toInt());
    else if (signal == "SigAddLOD")
        emit hub->SigAddLOD(value.toString());
    else if (signal == "SigDebunce")
        emit hub->SigDebunce(value.toString());
    else if (signal == "SigAddConfig")
        emit hub->SigAddConfig(value.toString());
    else if (signal.startsWith("SigAddVer"))
        emit hub->SigAddVer(signal.right(1).toInt(), value.toString());
    QCOMPARE(text(panel, label.toLatin1().constData()), shown);
    // Nothing else moved.
    if (label != "DongleValue")
        QCOMPARE(text(panel, "DongleValue"), QStringLiteral("v1.0"));
    if (label != "DpiValue")
        QCOMPARE(text(panel, "DpiValue"), QStringLiteral("1600"));
}

void PreVierTest::updateMarkers_data()
{
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QList<bool>>("values");
    QTest::addColumn<bool>("mouseShown");
    QTest::addColumn<bool>("dongleShown");

    QTest::newRow("mouse update") << QList<int>{0} << QList<bool>{true} << true << false;
    QTest::newRow("receiver update") << QList<int>{1} << QList<bool>{true} << false << true;
    QTest::newRow("mouse shown then hidden") << QList<int>{0, 0} << QList<bool>{true, false} << false << false;
    QTest::newRow("receiver stays while mouse hides") << QList<int>{1, 0} << QList<bool>{true, false} << false << true;
    QTest::newRow("unknown part") << QList<int>{2} << QList<bool>{true} << false << false;
}

void PreVierTest::updateMarkers()
{
    QFETCH(QList<int>, types);
    QFETCH(QList<bool>, values);
    QFETCH(bool, mouseShown);
    QFETCH(bool, dongleShown);

    PreVier panel;
    for (int i = 0; i < types.size(); ++i)
        emit PostMsg::instance()->SigAddUpdate(types[i], values[i]);
    QCOMPARE(!panel.findChild<QLabel *>(QStringLiteral("MouseUp"))->isHidden(), mouseShown);
    QCOMPARE(!panel.findChild<QLabel *>(QStringLiteral("DongleUp"))->isHidden(), dongleShown);
}

void PreVierTest::titlesFollowLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 0;
    QTest::newRow("Chinese") << 1;
    QTest::newRow("Russian") << 2;
}

void PreVierTest::titlesFollowLanguage()
{
    QFETCH(int, language);

    PreVier panel;
    emit PostMsg::instance()->SigAllLanguage(language);
    QCOMPARE(text(panel, "ReportName"), catalogueText("sensor", "ReportRate", language));
    QCOMPARE(text(panel, "MotionName"), catalogueText("key", "DebounceTime", language));
    QCOMPARE(text(panel, "ConfigName"), catalogueText("key", "configName", language));
    QCOMPARE(text(panel, "MouseVer"), catalogueText("Settings", "MouseVersion", language));
    QCOMPARE(text(panel, "DongleVer"), catalogueText("Settings", "DongleVersion", language));
    QVERIFY(!text(panel, "ReportName").isEmpty());
    QCOMPARE(text(panel, "DpiName"), QStringLiteral("DPI"));
    QCOMPARE(text(panel, "LodName"), QStringLiteral("LOD"));
    if (language != 0)
        QVERIFY(text(panel, "MouseVer") != catalogueText("Settings", "MouseVersion", 0));
}

// The value boxes are drawn a fixed width: the Russian slot name ran past
// its box at the form's size.
void PreVierTest::longValuesFitTheirBoxes()
{
    PreVier panel;
    PostMsg *hub = PostMsg::instance();
    emit hub->SigAddConfig(QStringLiteral("Профиль 1"));
    emit hub->SigAddReport(8000);
    emit hub->SigAddVer(0, QStringLiteral("v1.02"));
    for (const char *name : {"ConfigValue", "ReportValue", "MouseValue"}) {
        auto *label = panel.findChild<QLabel *>(QString::fromLatin1(name));
        const int width = QFontMetrics(label->font()).horizontalAdvance(label->text());
        QVERIFY2(width <= label->contentsRect().width(), name);
    }
}

VELMORAX_TEST_MAIN(PreVierTest)
#include "tst_previer.moc"
