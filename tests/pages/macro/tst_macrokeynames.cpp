// The names of the macro editor's events: file codes to names and back,
// codes read from the mouse, and the mouse-button names of the language.

#include "pages/macro/macrokeynames.h"
#include "support/testmain.h"

#include <QtTest>

class MacroKeyNamesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void codeToName_data();
    void codeToName();
    void nameToCode_data();
    void nameToCode();
    void everyNamedCodeRoundTrips();
    void deviceCodeToName_data();
    void deviceCodeToName();
    void mouseNamesFollowLanguage();
};

void MacroKeyNamesTest::init()
{
    const char *names[] = {"Left", "Right", "Middle", "Back", "Forward"};
    for (int i = 0; i < 5; ++i)
        mouseButtonNames[i] = QString::fromLatin1(names[i]);
}

void MacroKeyNamesTest::codeToName_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("0x20 key") << "0x20" << 1 << "3";
    QTest::newRow("0x20 modifier") << "0x20" << 0 << "RShift";
    QTest::newRow("0x20 mouse") << "0x20" << 4 << "";
    QTest::newRow("0x01 mouse") << "0x01" << 4 << "Left";
    QTest::newRow("0x10 mouse") << "0x10" << 4 << "Forward";
    QTest::newRow("0x08 mouse") << "0x08" << 4 << "Back";
    QTest::newRow("A") << "0x04" << 1 << "A";
    QTest::newRow("Z") << "0x1D" << 1 << "Z";
    QTest::newRow("0") << "0x27" << 1 << "0";
    QTest::newRow("right arrow") << "0x4F" << 1 << QString(QChar(0x2192));
    QTest::newRow("up arrow") << "0x52" << 1 << QString(QChar(0x2191));
    QTest::newRow("backslash") << "0x31" << 1 << "\\";
    QTest::newRow("Num9") << "0x61" << 1 << "Num9";
    QTest::newRow("Num.") << "0x63" << 1 << "Num.";
    QTest::newRow("F12") << "0x45" << 1 << "F12";
    QTest::newRow("APPs") << "0x65" << 1 << "APPs";
    QTest::newRow("LCtrl") << "0x01" << 0 << "LCtrl";
    QTest::newRow("RWin") << "0x80" << 0 << "RWin";
    QTest::newRow("lower-case text") << "0x2b" << 1 << "";
    QTest::newRow("gap 0x32") << "0x32" << 1 << "";
    QTest::newRow("gap 0x58") << "0x58" << 1 << "";
    QTest::newRow("gap 0x64") << "0x64" << 1 << "";
    QTest::newRow("beyond 0x65") << "0x66" << 1 << "";
    QTest::newRow("consumer kind") << "0x04" << 2 << "";
}

void MacroKeyNamesTest::codeToName()
{
    QFETCH(QString, code);
    QFETCH(int, kind);
    QFETCH(QString, name);
    QCOMPARE(macroCodeToKeyName(code, kind), name);
}

void MacroKeyNamesTest::nameToCode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("codeAndKind");
    QTest::newRow("3") << "3" << QStringList{"0x20", "1"};
    QTest::newRow("RShift") << "RShift" << QStringList{"0x20", "0"};
    QTest::newRow("empty name") << "" << QStringList{"0x00", "1"};
    QTest::newRow("Tab") << "Tab" << QStringList{"0x2B", "1"};
    QTest::newRow("Num+ whole") << "Num+" << QStringList{"0x57", "1"};
    QTest::newRow("left arrow") << QString(QChar(0x2190)) << QStringList{"0x50", "1"};
    QTest::newRow("mouse middle") << "Middle" << QStringList{"0x04", "4"};
    QTest::newRow("F1 after mouse names") << "F1" << QStringList{"0x3A", "1"};
    QTest::newRow("no row") << "Nope" << QStringList();
    QTest::newRow("case counts") << "tab" << QStringList();
}

void MacroKeyNamesTest::nameToCode()
{
    QFETCH(QString, name);
    QFETCH(QStringList, codeAndKind);
    QCOMPARE(keyNameToCode(name), codeAndKind);
}

void MacroKeyNamesTest::everyNamedCodeRoundTrips()
{
    // Every code with a name comes back to the same code and kind, so a
    // name on screen never changes what is stored.
    int named = 0;
    for (int kind : {0, 1, 4}) {
        for (int code = 0; code < 256; ++code) {
            const QString name = macroEventName(kind, code);
            if (name.isEmpty() && !(kind == 1 && code == 0))
                continue;
            ++named;
            int k = -1, c = -1;
            QVERIFY2(macroEventFromName(name, &k, &c), qPrintable(name));
            QCOMPARE(k, kind);
            QCOMPARE(c, code);
        }
    }
    // 96 keyboard rows (with the empty name), 8 modifiers, 5 mouse buttons.
    QCOMPARE(named, 96 + 8 + 5);
}

void MacroKeyNamesTest::deviceCodeToName_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("keypad enter") << 0x58 << 1 << "Enter";
    QTest::newRow("0x40 modifier") << 0x40 << 0 << "RAlt";
    QTest::newRow("0x40 key") << 0x40 << 1 << "F7";
    QTest::newRow("0x40 consumer") << 0x40 << 2 << "F7";
    QTest::newRow("0x04 key") << 0x04 << 1 << "A";
    QTest::newRow("0x04 modifier") << 0x04 << 0 << "LAlt";
    QTest::newRow("0x04 other") << 0x04 << 2 << "";
    QTest::newRow("0x08 modifier") << 0x08 << 0 << "LWin";
    QTest::newRow("0x10 key") << 0x10 << 1 << "M";
    QTest::newRow("0x20 modifier") << 0x20 << 0 << "RShift";
    QTest::newRow("0x01 any") << 0x01 << 1 << "LCtrl";
    QTest::newRow("0x02 any") << 0x02 << 5 << "LShift";
    QTest::newRow("0x80 any") << 0x80 << 1 << "RWin";
    QTest::newRow("zero") << 0 << 1 << "";
    QTest::newRow("no row") << 0x64 << 1 << "";
    QTest::newRow("Space") << 0x2C << 1 << "Space";
}

void MacroKeyNamesTest::deviceCodeToName()
{
    QFETCH(int, code);
    QFETCH(int, kind);
    QFETCH(QString, name);
    QCOMPARE(keyCodeToName(code, kind), name);
}

void MacroKeyNamesTest::mouseNamesFollowLanguage()
{
    QCOMPARE(mouseButtonName(0x10), QString("Forward"));
    QCOMPARE(mouseButtonName(3), QString());
    mouseButtonNames[0] = QString::fromUtf8("左键");
    QCOMPARE(macroEventName(4, 0x01), QString::fromUtf8("左键"));
    QCOMPARE(keyNameToCode(QString::fromUtf8("左键")), (QStringList{"0x01", "4"}));
    QCOMPARE(keyNameToCode("Left"), QStringList());
    // Before the first language pass no mouse name matches anything.
    for (QString &n : mouseButtonNames)
        n.clear();
    QCOMPARE(keyNameToCode(""), (QStringList{"0x00", "1"}));
}

VELMORAX_TEST_GUILESS_MAIN(MacroKeyNamesTest)
#include "tst_macrokeynames.moc"
