// The button-function records and their conversions: key names, key
// combinations, multimedia records, labels of every function type, DPI-lock
// codes and the factory functions.
#include "device/dpicodec.h"
#include "pages/buttons/buttonfunction.h"
#include "platform/keys/keytable.h"
#include "support/testmain.h"

#include <QtTest>

#include <cstring>

using namespace buttonfn;

namespace {

SensorTable tableOf(const QByteArray &text)
{
    SensorTable t;
    t.readText(text);
    return t;
}

QByteArray bytesOf(const KeyComboRecord &r)
{
    return QByteArray(reinterpret_cast<const char *>(&r), sizeof r);
}

// count, then (action, kind, code) per event with 10 ms each.
KeyComboRecord combo(int count, std::initializer_list<std::array<int, 3>> events)
{
    KeyComboRecord r{};
    r.count = quint8(count);
    int i = 0;
    for (const auto &e : events) {
        r.events[i].action = quint8(e[0]);
        r.events[i].kind = quint8(e[1]);
        r.events[i].code = quint16(e[2]);
        r.events[i].delay = 10;
        ++i;
    }
    return r;
}

int noDpi(int)
{
    return 0;
}

} // namespace

class TestButtonFunction : public QObject
{
    Q_OBJECT
private slots:
    // Key names are the key table's (its own test holds the cases): the
    // button labels name every code and kind as the table does.
    void hidKeyNamesAreTheKeyTables()
    {
        for (int kind = 0; kind <= 4; ++kind)
            for (int code = 0; code <= 0xFF; ++code)
                QCOMPARE(hidKeyName(quint8(code), quint8(kind)), keytable::labelName(quint8(code), quint8(kind)));
    }

    // Every key of the table that a combination may name comes back under
    // the same name from the record it makes.
    void everyKeyRoundTrips()
    {
        int named = 0;
        for (int i = 0; i < keytable::keyCount(); ++i) {
            const keytable::Key &key = keytable::keyAt(i);
            if (!key.hasName() || key.isModifier() || (key.flags & keytable::KeyReadOnlyName))
                continue;
            const std::optional<KeyComboRecord> r = parseKeyCombination(key.text());
            QVERIFY2(r, qPrintable(key.text()));
            QCOMPARE(int(r->count), 2);
            QCOMPARE(int(r->events[0].code), int(key.usage));
            QCOMPARE(comboText(*r), key.text());
            ++named;
        }
        QVERIFY(named > 90);
        for (const char *modifier : {"Ctrl", "Shift", "Alt", "Win"})
            QCOMPARE(comboText(*parseKeyCombination(QLatin1String(modifier))), QLatin1String(modifier));
    }

    void combinations_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("modifiers first")
            << "Ctrl+Shift+A" << true
            << bytesOf(combo(6, {{0, 0, 0x01}, {0, 0, 0x02}, {0, 1, 0x04}, {1, 1, 0x04}, {1, 0, 0x02}, {1, 0, 0x01}}));
        QTest::newRow("Enter stores the main key")
            << "Enter" << true << bytesOf(combo(2, {{0, 1, 0x28}, {1, 1, 0x28}}));
        QTest::newRow("F") << "F" << true << bytesOf(combo(2, {{0, 1, 0x09}, {1, 1, 0x09}}));
        QTest::newRow("empty text is the empty key") << "" << true << bytesOf(combo(2, {{0, 1, 0}, {1, 1, 0}}));
        QTest::newRow("Num+ keeps its plus")
            << "Ctrl+Num+" << true << bytesOf(combo(4, {{0, 0, 0x01}, {0, 1, 0x57}, {1, 1, 0x57}, {1, 0, 0x01}}));
        QTest::newRow("empty middle name")
            << "A++B" << true
            << bytesOf(combo(6, {{0, 1, 0x04}, {0, 1, 0x00}, {0, 1, 0x05}, {1, 1, 0x05}, {1, 1, 0x00}, {1, 1, 0x04}}));
        QTest::newRow("a fourth key is dropped")
            << "Ctrl+Shift+Alt+A" << true
            << bytesOf(combo(6, {{0, 0, 0x01}, {0, 0, 0x02}, {0, 0, 0x04}, {1, 0, 0x04}, {1, 0, 0x02}, {1, 0, 0x01}}));
        QTest::newRow("side names are not combination words") << "LCtrl+A" << false << QByteArray();
        QTest::newRow("unknown name refused") << "Ctrl+Banana" << false << QByteArray();
    }
    void combinations()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(QByteArray, record);
        const std::optional<KeyComboRecord> r = parseKeyCombination(text);
        QCOMPARE(bool(r), accepted);
        if (r)
            QCOMPARE(bytesOf(*r).toHex(' '), record.toHex(' '));
    }

    void consumerRecord()
    {
        const KeyComboRecord r = makeConsumerKeyRecord(0x0224);
        QByteArray expected = QByteArray::fromHex("02000000 00022402 0A000000 01022402 0A000000");
        expected.append(QByteArray(32, '\0'));
        QCOMPARE(bytesOf(r).toHex(' '), expected.toHex(' '));
        // Every multimedia key of the table is labelled with its own option.
        for (int i = 0; i < keytable::consumerKeyCount(); ++i) {
            const keytable::ConsumerKey &key = keytable::consumerKeyAt(i);
            const FunctionLabel label = keySequenceLabel(makeConsumerKeyRecord(key.usage));
            QCOMPARE(label.kind, FunctionLabel::OptionText);
            QCOMPARE(QLatin1String(label.option), QLatin1String(key.option));
        }
    }

    void keySequenceLabels_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("three keys") << bytesOf(*parseKeyCombination("Shift+Ctrl+A")) << int(FunctionLabel::Text)
                                    << "Shift+Ctrl+A";
        QTest::newRow("count 1 names nothing") << bytesOf(combo(1, {{0, 1, 0x04}})) << int(FunctionLabel::Text) << "";
        QTest::newRow("all zero") << bytesOf(KeyComboRecord{}) << int(FunctionLabel::Text) << "";
        QTest::newRow("unknown consumer low byte")
            << bytesOf(combo(2, {{0, 2, 0x0184}, {1, 2, 0x0184}})) << int(FunctionLabel::Unchanged) << "";
        // A multimedia key is known by its code's low byte alone.
        QTest::newRow("0x0092 is the calculator")
            << bytesOf(combo(2, {{0, 2, 0x0092}, {1, 2, 0x0092}})) << int(FunctionLabel::OptionText) << "VolumeDown_6";
        QTest::newRow("0x01E9 is volume up")
            << bytesOf(combo(2, {{0, 2, 0x01E9}, {1, 2, 0x01E9}})) << int(FunctionLabel::OptionText) << "VolumeDown";
        QTest::newRow("0x0321 is search")
            << bytesOf(combo(2, {{0, 2, 0x0321}, {1, 2, 0x0321}})) << int(FunctionLabel::OptionText) << "VolumeDown_9";
        QTest::newRow("key 4 is no media key")
            << bytesOf(combo(2, {{0, 1, 0x21}, {1, 1, 0x21}})) << int(FunctionLabel::Text) << "4";
        QTest::newRow("a count past the record reads six events")
            << bytesOf(combo(200, {{0, 1, 0x04}, {0, 1, 0x05}, {0, 1, 0x06}})) << int(FunctionLabel::Text) << "A+B+C";
    }
    void keySequenceLabels()
    {
        QFETCH(QByteArray, record);
        QFETCH(int, kind);
        QFETCH(QString, text);
        KeyComboRecord r;
        std::memcpy(&r, record.constData(), sizeof r);
        const FunctionLabel label = keySequenceLabel(r);
        QCOMPARE(int(label.kind), kind);
        // A multimedia key's label is its option's; a combination's its text.
        QCOMPARE(label.kind == FunctionLabel::OptionText ? QLatin1String(label.option) : label.text, text);
    }

    void functionLabels_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("p1");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("option");
        const int opt = FunctionLabel::OptionText, keep = FunctionLabel::Unchanged;
        QTest::newRow("none") << 0 << 7 << opt << "DPI_5";
        QTest::newRow("left") << 1 << 1 << opt << "LeftKey_3";
        QTest::newRow("right") << 1 << 2 << opt << "RightKey_3";
        QTest::newRow("middle") << 1 << 4 << opt << "MidKey";
        QTest::newRow("back") << 1 << 8 << opt << "BackKey_2";
        QTest::newRow("forward") << 1 << 16 << opt << "ForWardKey";
        QTest::newRow("mouse 3") << 1 << 3 << keep << "";
        QTest::newRow("dpi cycle") << 2 << 1 << opt << "VolumeUp_8";
        QTest::newRow("dpi up") << 2 << 2 << opt << "VolumeUp_9";
        QTest::newRow("dpi down") << 2 << 3 << opt << "VolumeUp_10";
        QTest::newRow("dpi 4") << 2 << 4 << keep << "";
        QTest::newRow("tilt left") << 3 << 1 << opt << "VolumeUp_2";
        QTest::newRow("tilt right") << 3 << 2 << opt << "VolumeDown_2";
        QTest::newRow("fire") << 4 << 10 << opt << "DPI_6";
        QTest::newRow("rate") << 7 << 0 << opt << "DPI_2";
        QTest::newRow("all lights") << 8 << 0 << opt << "VolumeUp_4";
        QTest::newRow("dpi leds") << 8 << 1 << opt << "VolumeUp_5";
        QTest::newRow("light 2 keeps") << 8 << 2 << keep << "";
        QTest::newRow("strip") << 8 << 3 << opt << "VolumeUp_6";
        QTest::newRow("strip effect") << 8 << 4 << opt << "VolumeUp_7";
        QTest::newRow("config") << 9 << 0 << opt << "DPI_3";
        QTest::newRow("dpi lock") << 10 << 15 << int(FunctionLabel::DpiLockText) << "DPI_4";
        QTest::newRow("wheel up") << 11 << 1 << opt << "VolumeUp_14";
        QTest::newRow("wheel down") << 11 << 2 << opt << "VolumeDown_14";
        QTest::newRow("wheel 3") << 11 << 3 << keep << "";
        QTest::newRow("type 12") << 12 << 0 << keep << "";
    }
    void functionLabels()
    {
        QFETCH(int, type);
        QFETCH(int, p1);
        QFETCH(int, kind);
        QFETCH(QString, option);
        FlashDataMap record{};
        const ButtonFunction f{quint8(type), quint8(p1), 0};
        const FunctionLabel label = functionLabel(f, record, 15, noDpi);
        QCOMPARE(int(label.kind), kind);
        QCOMPARE(QString::fromLatin1(label.option ? label.option : ""), option);
        QCOMPARE(int(functionLabel(f, record, 16, noDpi).kind), int(FunctionLabel::Unchanged));
    }

    void macroLabelReadsTheRecordName()
    {
        FlashDataMap record{};
        std::memcpy(record.macros[3].name, "Reload", 6);
        record.macros[3].nameLength = 6;
        const FunctionLabel label = functionLabel(ButtonFunction{6, 3, 1}, record, 3, noDpi);
        QCOMPARE(int(label.kind), int(FunctionLabel::MacroName));
        QCOMPARE(label.text, QStringLiteral("Reload"));
    }

    void dpiCodes_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("back");
        QTest::addColumn<bool>("available");
        const QByteArray entries = "#define SENSOR_T1_DPI_800\t33\n#define SENSOR_T1_DPI_1000\t41\n"
                                   "#define SENSOR_T1_DPI_1200\t33\n";
        QTest::newRow("arithmetic 800") << QByteArray() << "3950" << 800 << 15 << 800 << true;
        QTest::newRow("arithmetic 100") << QByteArray() << "3950" << 100 << 1 << 100 << true;
        QTest::newRow("arithmetic 1200") << QByteArray() << "3950" << 1200 << 23 << 1200 << true;
        QTest::newRow("table 800") << entries << "T1" << 800 << 33 << 800 << true;
        QTest::newRow("table 1000") << entries << "T1" << 1000 << 41 << 1000 << true;
        QTest::newRow("first of equal codes wins") << entries << "T1" << 1200 << 33 << 800 << false;
        QTest::newRow("missing DPI not offered") << entries << "T1" << 700 << 14 << 0 << false;
        QTest::newRow("sensor name with I")
            << QByteArray("#define SENSOR_PIX_DPI_400\t9\n") << "PIX" << 400 << 9 << 400 << true;
    }
    void dpiCodes()
    {
        QFETCH(QByteArray, table);
        QFETCH(QString, sensor);
        QFETCH(int, dpi);
        QFETCH(int, code);
        QFETCH(int, back);
        QFETCH(bool, available);
        const SensorTable t = tableOf(table);
        QCOMPARE(dpiToCode(t, sensor, dpi), code);
        QCOMPARE(codeToDpi(t, sensor, code), back);
        QCOMPARE(dpiLockAvailable(t, sensor, dpi), available);
    }

    // Every lock value of every shipped sensor either reads back as itself
    // or is not offered.
    void shippedSensorsLockValues()
    {
        SensorTable t;
        QVERIFY(t.readFile(QCoreApplication::applicationDirPath() + "/driver_sensor.h"));
        for (const QString sensor : {"3950", "3395", "VX26"}) {
            for (int dpi : dpiLockChoices()) {
                if (!dpiLockAvailable(t, sensor, dpi))
                    continue;
                const int code = dpiToCode(t, sensor, dpi);
                QVERIFY(code >= 0 && code <= 0xFF);
                QCOMPARE(codeToDpi(t, sensor, code), dpi);
            }
        }
    }

    void buttonCounts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("5") << "5" << 5;
        QTest::newRow("16") << "16" << 16;
        QTest::newRow("past the record") << "20" << 16;
        QTest::newRow("negative") << "-3" << 0;
        QTest::newRow("no number") << "x" << 0;
        QTest::newRow("missing") << "" << 0;
    }
    void buttonCounts()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(buttonCountFromCatalogue(text), count);
    }

    void selectorsAndFactory()
    {
        for (int b = 0; b < kButtonCount; ++b)
            QCOMPARE(buttonOfSelector(QLatin1String(selectorName(b))), b);
        QCOMPARE(QLatin1String(selectorName(3)), QLatin1String("TopMusic"));
        QCOMPARE(QLatin1String(selectorName(4)), QLatin1String("StartPause"));
        QVERIFY(!selectorName(16));
        const int expected[kButtonCount][2] = {{1, 1}, {1, 2}, {1, 4},  {1, 8}, {1, 16}, {2, 1}, {2, 2}, {2, 3},
                                               {7, 0}, {7, 0}, {4, 10}, {0, 0}, {2, 1},  {2, 1}, {2, 1}, {2, 1}};
        for (int b = 0; b < kButtonCount; ++b) {
            QCOMPARE(int(factoryFunction(b).type), expected[b][0]);
            QCOMPARE(int(factoryFunction(b).p1), expected[b][1]);
        }
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestButtonFunction)
#include "tst_buttonfunction.moc"
