// The key table as a table: every row against the codes the program and the
// device agree on, and each per-use lookup on the cases where the uses differ.

#include "platform/keys/keytable.h"
#include "support/testmain.h"

#include <QSet>
#include <QtTest>

using namespace keytable;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {
const QStringList kMouseNames = {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Middle"),
                                 QStringLiteral("Back"), QStringLiteral("Forward")};

QString show(const std::optional<QString> &s)
{
    return s ? QLatin1Char('"') + *s + QLatin1Char('"') : QStringLiteral("<none>");
}
} // namespace

class TstKeyTable : public QObject
{
    Q_OBJECT

private slots:
    // Every named key: name, usage and virtual key agree in every direction,
    // which is what recording a key and saving it as a code relies on.
    void namedKeysRoundTrip_data();
    void namedKeysRoundTrip();
    void rowsAreUnique();
    void virtualKeyTableHas104Keys();

    void labelName_data();
    void labelName();
    void deviceEventName_data();
    void deviceEventName();
    void comboKeyByName_data();
    void comboKeyByName();
    void macroKeyByName_data();
    void macroKeyByName();
    void mouseNameOrder();
    void macroNameByFileCode_data();
    void macroNameByFileCode();
    void captureNames_data();
    void captureNames();
    void splitCombination_data();
    void splitCombination();

    void consumerKeys();
    void keyByQtKeyFollowsNumLock_data();
    void keyByQtKeyFollowsNumLock();
};

void TstKeyTable::namedKeysRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("vk");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");

    auto add = [](const QString &name, int vk, int kind, int code) {
        QTest::addRow("%s", qPrintable(name.isEmpty() ? QStringLiteral("<empty>") : name))
            << name << vk << kind << code;
    };
    for (int i = 0; i < 26; ++i)
        add(QString(QChar('A' + i)), 0x41 + i, 1, 0x04 + i);
    for (int i = 1; i <= 9; ++i)
        add(QString::number(i), 0x30 + i, 1, 0x1D + i);
    add("0", 0x30, 1, 0x27);
    for (int i = 1; i <= 12; ++i)
        add(QStringLiteral("F%1").arg(i), 0x6F + i, 1, 0x39 + i);
    for (int i = 1; i <= 9; ++i)
        add(QStringLiteral("Num%1").arg(i), 0x60 + i, 1, 0x58 + i);
    add("Num0", 0x60, 1, 0x62);
    const struct
    {
        const char *name;
        int vk;
        int usage;
    } others[] = {
        {"Enter", 0x0D, 0x28},    {"Esc", 0x1B, 0x29},    {"BackSpace", 0x08, 0x2A}, {"Tab", 0x09, 0x2B},
        {"Space", 0x20, 0x2C},    {"-", 0xBD, 0x2D},      {"=", 0xBB, 0x2E},         {"[", 0xDB, 0x2F},
        {"]", 0xDD, 0x30},        {"\\", 0xDC, 0x31},     {";", 0xBA, 0x33},         {"'", 0xDE, 0x34},
        {"`", 0xC0, 0x35},        {",", 0xBC, 0x36},      {".", 0xBE, 0x37},         {"/", 0xBF, 0x38},
        {"CapsLock", 0x14, 0x39}, {"Screen", 0x2C, 0x46}, {"Scroll", 0x91, 0x47},    {"Pause", 0x13, 0x48},
        {"Insert", 0x2D, 0x49},   {"Home", 0x24, 0x4A},   {"PgUp", 0x21, 0x4B},      {"Del", 0x2E, 0x4C},
        {"End", 0x23, 0x4D},      {"PgDn", 0x22, 0x4E},   {"\u2192", 0x27, 0x4F},    {"\u2190", 0x25, 0x50},
        {"\u2193", 0x28, 0x51},   {"\u2191", 0x26, 0x52}, {"NumLock", 0x90, 0x53},   {"Num/", 0x6F, 0x54},
        {"Num*", 0x6A, 0x55},     {"Num-", 0x6D, 0x56},   {"Num+", 0x6B, 0x57},      {"Num.", 0x6E, 0x63},
        {"APPs", 0x5D, 0x65},     {"", 0x0C, 0x00},
    };
    for (const auto &o : others)
        add(QString::fromUtf8(o.name), o.vk, 1, o.usage);
    const struct
    {
        const char *name;
        int vk;
        int bit;
    } modifiers[] = {
        {"LCtrl", 0xA2, 0x01}, {"LShift", 0xA0, 0x02}, {"LAlt", 0xA4, 0x04}, {"LWin", 0x5B, 0x08},
        {"RCtrl", 0xA3, 0x10}, {"RShift", 0xA1, 0x20}, {"RAlt", 0xA5, 0x40}, {"RWin", 0x5C, 0x80},
    };
    for (const auto &m : modifiers)
        add(QString::fromLatin1(m.name), m.vk, 0, m.bit);
}

void TstKeyTable::namedKeysRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(int, vk);
    QFETCH(int, kind);
    QFETCH(int, code);

    QCOMPARE(captureName(quint32(vk)), std::optional<QString>(name));
    const auto byName = keytable::macroKeyByName(name, kMouseNames);
    QVERIFY(byName);
    QCOMPARE(int(byName->kind), kind);
    QCOMPARE(int(byName->code), code);
    const QString codeText = fileCodeText(quint8(code));
    QCOMPARE(keytable::macroNameByFileCode(codeText, kind, kMouseNames), std::optional<QString>(name));
    QCOMPARE(keytable::deviceEventName(code, kind), name);
    const Key *row = keyByName(name);
    QVERIFY(row);
    QCOMPARE(keyByCode(quint8(kind), quint16(code)), row);
    QCOMPARE(keyByVirtualKey(quint32(vk)), row);
}

void TstKeyTable::rowsAreUnique()
{
    QSet<int> usages, nativeCodes, scanCodes, vks;
    QSet<QString> names;
    for (int i = 0; i < keyCount(); ++i) {
        const Key &k = keyAt(i);
        QVERIFY2(!usages.contains(k.usage), qPrintable(QString::number(k.usage, 16)));
        usages << k.usage;
        if (k.nativeScanCode) {
            QVERIFY2(!nativeCodes.contains(k.nativeScanCode), qPrintable(k.text()));
            nativeCodes << k.nativeScanCode;
            QVERIFY2(!scanCodes.contains(k.scanCode), qPrintable(k.text()));
            scanCodes << k.scanCode;
        }
        if (k.hasName() && !(k.flags & KeyReadOnlyName)) {
            QVERIFY2(!names.contains(k.text()), qPrintable(k.text()));
            names << k.text();
            QVERIFY2(!vks.contains(k.vk), qPrintable(k.text()));
            vks << k.vk;
        }
        if (k.isModifier())
            QVERIFY(k.shortName);
    }
    for (int i = 0; i < consumerKeyCount(); ++i) {
        const ConsumerKey &c = consumerKeyAt(i);
        QVERIFY(!vks.contains(c.vk));
        QVERIFY(!nativeCodes.contains(c.nativeScanCode));
    }
}

void TstKeyTable::virtualKeyTableHas104Keys()
{
    int named = 0;
    for (quint32 vk = 0; vk < 0x100; ++vk)
        named += captureName(vk).has_value();
    QCOMPARE(named, 104);
    // Only side-specific modifier codes are named; the generic ones are not.
    for (quint32 vk : {0x10u, 0x11u, 0x12u, 0xFFu, 0x100u})
        QVERIFY(!captureName(vk));
}

void TstKeyTable::labelName_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("0x10 modifier") << 0x10 << 0 << "Ctrl";
    QTest::newRow("0x10 key") << 0x10 << 1 << "M";
    QTest::newRow("0x20 modifier") << 0x20 << 0 << "Shift";
    QTest::newRow("0x20 key") << 0x20 << 1 << "3";
    QTest::newRow("0x40 modifier") << 0x40 << 0 << "Alt";
    QTest::newRow("0x40 key") << 0x40 << 1 << "F7";
    QTest::newRow("0x04 consumer") << 0x04 << 2 << "";
    QTest::newRow("0x05 consumer") << 0x05 << 2 << "B";
    QTest::newRow("0x80 key") << 0x80 << 1 << "Win";
    QTest::newRow("0x01 key") << 0x01 << 1 << "Ctrl";
    QTest::newRow("0x02 consumer") << 0x02 << 2 << "Shift";
    QTest::newRow("keypad enter") << 0x58 << 1 << "Enter";
    QTest::newRow("Num+") << 0x57 << 1 << "Num+";
    QTest::newRow("0x03") << 0x03 << 1 << "";
    QTest::newRow("0x32") << 0x32 << 1 << "";
    QTest::newRow("0x64") << 0x64 << 1 << "";
    QTest::newRow("0x81") << 0x81 << 1 << "";
    QTest::newRow("0xE0 is no key") << 0xE0 << 1 << "";
    QTest::newRow("arrow") << 0x4F << 1 << QString(QChar(0x2192));
}

void TstKeyTable::labelName()
{
    QFETCH(int, code);
    QFETCH(int, kind);
    QFETCH(QString, name);
    QCOMPARE(keytable::labelName(quint8(code), quint8(kind)), name);
}

void TstKeyTable::deviceEventName_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("0x04 key") << 0x04 << 1 << "A";
    QTest::newRow("0x04 modifier") << 0x04 << 0 << "LAlt";
    QTest::newRow("0x08 consumer") << 0x08 << 2 << "";
    QTest::newRow("0x10 modifier") << 0x10 << 0 << "RCtrl";
    QTest::newRow("0x20 modifier") << 0x20 << 0 << "RShift";
    QTest::newRow("0x40 modifier") << 0x40 << 0 << "RAlt";
    QTest::newRow("0x40 key") << 0x40 << 1 << "F7";
    QTest::newRow("0x40 consumer") << 0x40 << 2 << "F7";
    QTest::newRow("0x01 key") << 0x01 << 1 << "LCtrl";
    QTest::newRow("0x02 modifier") << 0x02 << 0 << "LShift";
    QTest::newRow("0x80 key") << 0x80 << 1 << "RWin";
    QTest::newRow("keypad enter") << 0x58 << 1 << "Enter";
    QTest::newRow("zero") << 0x00 << 1 << "";
    QTest::newRow("no row") << 0x66 << 1 << "";
    QTest::newRow("out of byte") << 0x104 << 1 << "";
    QTest::newRow("negative") << -1 << 1 << "";
}

void TstKeyTable::deviceEventName()
{
    QFETCH(int, code);
    QFETCH(int, kind);
    QFETCH(QString, name);
    QCOMPARE(keytable::deviceEventName(code, kind), name);
    // A keypad Enter read from the mouse is written back as the main Enter.
    if (code == 0x58)
        QCOMPARE(keytable::macroKeyByName(name, kMouseNames), std::optional<KeyCode>(KeyCode{1, 0x28}));
}

void TstKeyTable::comboKeyByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");
    QTest::newRow("Ctrl") << "Ctrl" << true << 0 << 0x01;
    QTest::newRow("Shift") << "Shift" << true << 0 << 0x02;
    QTest::newRow("Alt") << "Alt" << true << 0 << 0x04;
    QTest::newRow("Win") << "Win" << true << 0 << 0x08;
    QTest::newRow("Del") << "Del" << true << 1 << 0x4C;
    QTest::newRow("F") << "F" << true << 1 << 0x09;
    QTest::newRow("Enter") << "Enter" << true << 1 << 0x28;
    QTest::newRow("Num+") << "Num+" << true << 1 << 0x57;
    QTest::newRow("empty") << "" << true << 1 << 0x00;
    QTest::newRow("LCtrl is not combination text") << "LCtrl" << false << 0 << 0;
    QTest::newRow("case matters") << "ctrl" << false << 0 << 0;
    QTest::newRow("part of a name") << "Num" << false << 0 << 0;
}

void TstKeyTable::comboKeyByName()
{
    QFETCH(QString, name);
    QFETCH(bool, found);
    QFETCH(int, kind);
    QFETCH(int, code);
    const auto key = keytable::comboKeyByName(name);
    QCOMPARE(key.has_value(), found);
    if (found)
        QCOMPARE(*key, (KeyCode{quint8(kind), quint16(code)}));
}

void TstKeyTable::macroKeyByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");
    QTest::newRow("3") << "3" << true << 1 << 0x20;
    QTest::newRow("RShift") << "RShift" << true << 0 << 0x20;
    QTest::newRow("empty name") << "" << true << 1 << 0x00;
    QTest::newRow("mouse middle") << "Middle" << true << 4 << 0x04;
    QTest::newRow("mouse forward") << "Forward" << true << 4 << 0x10;
    QTest::newRow("side-less Ctrl") << "Ctrl" << false << 0 << 0;
    QTest::newRow("no row") << "Banana" << false << 0 << 0;
    QTest::newRow("trailing space") << "A " << false << 0 << 0;
}

void TstKeyTable::macroKeyByName()
{
    QFETCH(QString, name);
    QFETCH(bool, found);
    QFETCH(int, kind);
    QFETCH(int, code);
    for (auto order : {MouseNameOrder::BeforeFunctionKeys, MouseNameOrder::AfterAllKeys}) {
        const auto key = keytable::macroKeyByName(name, kMouseNames, order);
        QCOMPARE(key.has_value(), found);
        if (found)
            QCOMPARE(*key, (KeyCode{quint8(kind), quint16(code)}));
    }
}

void TstKeyTable::mouseNameOrder()
{
    // A language whose mouse-button text equals a key name: the file writer
    // tries the mouse names before F1..F12, the record loader after all keys.
    const QStringList names = {"F1", "Enter", "Middle", "Back", "Forward"};
    QCOMPARE(keytable::macroKeyByName("F1", names, MouseNameOrder::BeforeFunctionKeys),
             std::optional<KeyCode>(KeyCode{4, 0x01}));
    QCOMPARE(keytable::macroKeyByName("F1", names, MouseNameOrder::AfterAllKeys),
             std::optional<KeyCode>(KeyCode{1, 0x3A}));
    QCOMPARE(keytable::macroKeyByName("Enter", names, MouseNameOrder::BeforeFunctionKeys),
             std::optional<KeyCode>(KeyCode{1, 0x28}));
    QCOMPARE(mouseButtonName(0x02, names), QStringLiteral("Enter"));
    QCOMPARE(mouseButtonName(0x03, names), QString());
    QCOMPARE(mouseButtonName(0x10, names.mid(0, 2)), QString());
}

void TstKeyTable::macroNameByFileCode_data()
{
    QTest::addColumn<QString>("codeText");
    QTest::addColumn<int>("kind");
    QTest::addColumn<std::optional<QString>>("name");
    QTest::newRow("0x20 key") << "0x20" << 1 << std::optional<QString>("3");
    QTest::newRow("0x20 modifier") << "0x20" << 0 << std::optional<QString>("RShift");
    QTest::newRow("0x20 mouse") << "0x20" << 4 << std::optional<QString>();
    QTest::newRow("0x01 mouse") << "0x01" << 4 << std::optional<QString>("Left");
    QTest::newRow("0x10 mouse") << "0x10" << 4 << std::optional<QString>("Forward");
    QTest::newRow("zero is the empty name") << "0x00" << 1 << std::optional<QString>("");
    QTest::newRow("0x2C") << "0x2C" << 1 << std::optional<QString>("Space");
    QTest::newRow("lower case") << "0x2c" << 1 << std::optional<QString>();
    QTest::newRow("one digit") << "0x4" << 1 << std::optional<QString>();
    QTest::newRow("three digits") << "0x004" << 1 << std::optional<QString>();
    QTest::newRow("no prefix") << "04" << 1 << std::optional<QString>();
    QTest::newRow("keypad enter is not written") << "0x58" << 1 << std::optional<QString>();
    QTest::newRow("0x03 modifier is two bits") << "0x03" << 0 << std::optional<QString>();
    QTest::newRow("consumer kind") << "0x04" << 2 << std::optional<QString>();
    QTest::newRow("garbage") << "0xZZ" << 1 << std::optional<QString>();
}

void TstKeyTable::macroNameByFileCode()
{
    QFETCH(QString, codeText);
    QFETCH(int, kind);
    QFETCH(std::optional<QString>, name);
    const auto got = keytable::macroNameByFileCode(codeText, kind, kMouseNames);
    QVERIFY2(got == name, qPrintable(show(got) + " != " + show(name)));
}

void TstKeyTable::captureNames_data()
{
    QTest::addColumn<int>("vk");
    QTest::addColumn<std::optional<QString>>("recording");
    QTest::addColumn<std::optional<QString>>("combination");
    QTest::newRow("A") << 0x41 << std::optional<QString>("A") << std::optional<QString>("A");
    QTest::newRow("Esc") << 0x1B << std::optional<QString>("Esc") << std::optional<QString>("Esc");
    QTest::newRow("keypad 5 without NumLock") << 0x0C << std::optional<QString>("") << std::optional<QString>("");
    QTest::newRow("left shift") << 0xA0 << std::optional<QString>("LShift") << std::optional<QString>();
    QTest::newRow("right ctrl") << 0xA3 << std::optional<QString>("RCtrl") << std::optional<QString>();
    QTest::newRow("left win") << 0x5B << std::optional<QString>("LWin") << std::optional<QString>();
    QTest::newRow("generic shift") << 0x10 << std::optional<QString>() << std::optional<QString>();
    QTest::newRow("volume mute") << 0xAD << std::optional<QString>() << std::optional<QString>();
    QTest::newRow("102nd key") << 0xE2 << std::optional<QString>() << std::optional<QString>();
}

void TstKeyTable::captureNames()
{
    QFETCH(int, vk);
    QFETCH(std::optional<QString>, recording);
    QFETCH(std::optional<QString>, combination);
    QVERIFY2(captureName(quint32(vk)) == recording, qPrintable(show(captureName(quint32(vk)))));
    QVERIFY2(combinationCaptureName(quint32(vk)) == combination, qPrintable(show(combinationCaptureName(quint32(vk)))));
}

void TstKeyTable::splitCombination_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("three keys") << "Ctrl+Shift+A" << QStringList{"Ctrl", "Shift", "A"};
    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("empty middle") << "A++B" << QStringList{"A", "", "B"};
    QTest::newRow("Num+ alone") << "Num+" << QStringList{"Num+"};
    QTest::newRow("Num+ last") << "Ctrl+Num+" << QStringList{"Ctrl", "Num+"};
    QTest::newRow("Num+ first") << "Num++A" << QStringList{"Num+", "A"};
    QTest::newRow("Num+ middle") << "Alt+Num++Del" << QStringList{"Alt", "Num+", "Del"};
    QTest::newRow("Num- is plain") << "Num-+A" << QStringList{"Num-", "A"};
    QTest::newRow("trailing join") << "A+" << QStringList{"A", ""};
    QTest::newRow("NumLock stays") << "NumLock+A" << QStringList{"NumLock", "A"};
}

void TstKeyTable::splitCombination()
{
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    QCOMPARE(keytable::splitCombination(text), names);
    if (!text.isEmpty())
        QCOMPARE(joinCombination(names), text);
}

void TstKeyTable::consumerKeys()
{
    QCOMPARE(consumerKeyCount(), 18);
    QSet<int> lowBytes;
    for (int i = 0; i < consumerKeyCount(); ++i) {
        const ConsumerKey &c = consumerKeyAt(i);
        lowBytes << c.lowByte();
        QCOMPARE(consumerKeyByLowByte(c.lowByte()), &c);
        QCOMPARE(consumerKeyByOption(QString::fromLatin1(c.option)), &c);
        QCOMPARE(QString::fromLatin1(c.textKey),
                 QStringLiteral("0x%1").arg(c.usage, 4, 16, QLatin1Char('0')).toUpper().replace("0X", "0x"));
    }
    QCOMPARE(lowBytes.size(), 18);
    // Option names do not describe the key: "Mute" is Stop, "VolumeUp" is Mute.
    QCOMPARE(consumerKeyByOption("Mute")->usage, quint16(0x00B7));
    QCOMPARE(consumerKeyByOption("VolumeUp")->usage, quint16(0x00E2));
    QCOMPARE(consumerKeyByLowByte(0x24)->usage, quint16(0x0224));
    QVERIFY(!consumerKeyByLowByte(0x84));
    QVERIFY(!consumerKeyByUsage(0x0021));
    QVERIFY(!consumerKeyByOption("DPI_8"));
}

void TstKeyTable::keyByQtKeyFollowsNumLock_data()
{
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("numLockOn");
    QTest::newRow("7") << int(Qt::Key_7) << false << "7" << true;
    QTest::newRow("keypad 7") << int(Qt::Key_7) << true << "Num7" << true;
    QTest::newRow("keypad Home") << int(Qt::Key_Home) << true << "Num7" << false;
    QTest::newRow("Home") << int(Qt::Key_Home) << false << "Home" << true;
    QTest::newRow("keypad Clear") << int(Qt::Key_Clear) << true << "Num5" << false;
    QTest::newRow("keypad minus") << int(Qt::Key_Minus) << true << "Num-" << true;
    QTest::newRow("minus") << int(Qt::Key_Minus) << false << "-" << true;
    QTest::newRow("keypad Delete") << int(Qt::Key_Delete) << true << "Num." << false;
    QTest::newRow("Control is the left one") << int(Qt::Key_Control) << false << "LCtrl" << true;
}

void TstKeyTable::keyByQtKeyFollowsNumLock()
{
    QFETCH(int, qtKey);
    QFETCH(bool, keypad);
    QFETCH(QString, name);
    QFETCH(bool, numLockOn);
    bool on = !numLockOn;
    const Key *k = keyByQtKey(qtKey, keypad, &on);
    QVERIFY(k);
    QCOMPARE(k->text(), name);
    QCOMPARE(on, numLockOn);
    QVERIFY(!keyByQtKey(0, false));
    QVERIFY(!keyByQtKey(Qt::Key_VolumeMute, false));
}

VELMORAX_TEST_GUILESS_MAIN(TstKeyTable)
#include "tst_keytable.moc"
