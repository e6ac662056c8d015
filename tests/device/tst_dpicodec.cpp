// DPI codes and the DPI grid: the sensor table file, the model's segments,
// encoding and decoding for every sensor of the shipped catalogue, stepping
// and the DPI-lock codes of the button functions.

#include "app/configini.h"
#include "device/dpicodec.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QtTest>

namespace {

QString names(const SensorTable &t)
{
    QStringList out;
    for (int i = 0; i < t.names.size(); ++i)
        out << t.names.at(i) + "=" + QString::number(t.codes.at(i));
    return out.join(' ');
}

SensorTable tableOf(const QByteArray &text)
{
    SensorTable t;
    t.readText(text);
    return t;
}

DpiRange rangeOf(const QString &items)
{
    DpiRange r;
    r.parse(items.isEmpty() ? QStringList() : items.split(','));
    return r;
}

// A small table sensor: 800 -> 33, 1000 -> 41, nothing else.
const QByteArray kSmallTable = "#define SENSOR_T1_DPI_800\t33\n#define SENSOR_T1_DPI_1000\t41\n";

} // namespace

class TestDpiCodec : public QObject
{
    Q_OBJECT

private slots:
    // ----- the table file ---------------------------------------------------
    void tableLines_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("entries");

        QTest::newRow("hex value") << QByteArray("#define SENSOR_A_DPI_100\t0x1F\n") << "SENSOR_A_DPI_100=31";
        QTest::newRow("decimal value") << QByteArray("#define SENSOR_A_DPI_100\t31\n") << "SENSOR_A_DPI_100=31";
        QTest::newRow("last line without its end is left out") << QByteArray("#define A\t1\n#define B\t2") << "A=1";
        QTest::newRow("CR LF reads as LF") << QByteArray("#define A\t1\r\n#define B\t0x02\r\n") << "A=1 B=2";
        QTest::newRow("three parts, tab: always decimal")
            << QByteArray("#define A\t0x10 //\n#define B\t16 //\n") << "A=0 B=16";
        QTest::newRow("three parts, blank: hex when prefixed")
            << QByteArray("#define A 0x10\n#define B 16\n") << "A=16 B=16";
        QTest::newRow("three parts need a comment or a line end") << QByteArray("#define A 16") << "";
        QTest::newRow("four parts ignored") << QByteArray("#define A 1 // x\n") << "";
        QTest::newRow("comment lines ignored")
            << QByteArray("/* DPI codes of the A sensor. */\n * more text here\n") << "";
        QTest::newRow("bare define skipped") << QByteArray("#define GUARD_H\n#define A\t1\n") << "A=1";
        QTest::newRow("include guard and pragma skipped")
            << QByteArray("#ifndef X\n#define X\n#pragma once\n#endif\n#define A\t5\n") << "A=5";
        QTest::newRow("not a number reads 0") << QByteArray("#define A\tzz\n") << "A=0";
        QTest::newRow("a blank inside the value makes it no table line") << QByteArray("#define A\t 7 \n") << "";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("garbage") << QByteArray("\x01\xff\t\t \n\n \t\n#define\n#define \t\n") << "";
    }
    void tableLines()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, entries);
        QCOMPARE(names(tableOf(text)), entries);
    }

    void switchLines()
    {
        const SensorTable t = tableOf("#define SUPPORT_RIPPLE\t3395,3950\n"
                                      "// SUPPORT_FIXLINE\tVX26\n" // commented out, still counts
                                      "#define SUPPORT_LOD_CAL\n"  // no tab, no list: skipped
                                      "#define SUPPORT_MOUSEPAD_CAL\tA\n"
                                      "#define SUPPORT_MOUSEPAD_CAL\tB\n" // a later line wins
                                      "#define SUPPORT_SENSOR_MODE_SEL\t3950");
        QCOMPARE(t.switches.ripple, QString("3395,3950"));
        QCOMPARE(t.switches.fixLine, QString("VX26"));
        QCOMPARE(t.switches.lodCal, QString());
        QCOMPARE(t.switches.mousepadCal, QString("B"));
        QCOMPARE(t.switches.sensorModeSel, QString("3950")); // switch lines need no line end
        QCOMPARE(t.switches.motionSync, QString());
        QVERIFY(t.names.isEmpty());

        QVERIFY(switchListsSensor("3395,3950", "3950"));
        QVERIFY(!switchListsSensor("3395,3950", "VX26"));
        QVERIFY(switchListsSensor("", ""));
        QVERIFY(!switchListsSensor("", "3950"));
    }

    void shippedTableAndCutOffCopies()
    {
        QFile file(sensorTablePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();

        SensorTable full;
        QVERIFY(full.readFile(sensorTablePath()));
        QCOMPARE(full.names.size(), 128);
        QVERIFY(full.isTableSensor("VX26"));
        QVERIFY(!full.isTableSensor("3950") && !full.isTableSensor("3395"));
        QCOMPARE(full.switches.sensorModeSel, QString("3395,3950"));
        QCOMPARE(full.switches.ripple, QString("3395,3950"));
        QCOMPARE(full.switches.fixLine, QString("3395,3950,VX26"));

        // A file cut off anywhere reads as the whole lines before the cut.
        for (int cut = 0; cut <= text.size(); cut += 7) {
            const SensorTable part = tableOf(text.left(cut));
            QVERIFY(part.names.size() <= full.names.size());
            for (int i = 0; i < part.names.size(); ++i) {
                QCOMPARE(part.names.at(i), full.names.at(i));
                QCOMPARE(part.codes.at(i), full.codes.at(i));
            }
        }

        SensorTable missing;
        QVERIFY(!missing.readFile(sensorTablePath() + ".missing"));
        QVERIFY(missing.names.isEmpty());
    }

    // ----- the DPI range ----------------------------------------------------
    void rangeParse_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("segments");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("minimums");
        QTest::addColumn<QString>("maximums");

        QTest::newRow("one") << "100,1000,50,22" << 1 << 0x22 << "100"
                             << "1000";
        QTest::newRow("two") << "100,1000,50,1200,5000,100,22" << 2 << 0x22 << "100,1200"
                             << "1000,5000";
        QTest::newRow("surplus item ignored") << "100,1000,50,1200,5000,100,9,22" << 2 << 0x22 << "100,1200"
                                              << "1000,5000";
        QTest::newRow("four") << "100,1000,50,1200,5000,100,6000,8000,100,9000,26000,200,33" << 4 << 0x33
                              << "100,1200,6000,9000"
                              << "1000,5000,8000,26000";
        QTest::newRow("empty") << "" << 0 << 0 << ""
                               << "";
        QTest::newRow("code only") << "33" << 0 << 0x33 << ""
                                   << "";
        QTest::newRow("five segments") << "1,2,1,3,4,1,5,6,1,7,8,1,9,10,1,11" << 5 << 0x11 << ""
                                       << "";
        QTest::newRow("garbage code") << "100,1000,50,zz" << 1 << 0 << "100"
                                      << "1000";
    }
    void rangeParse()
    {
        QFETCH(QString, items);
        QFETCH(int, segments);
        QFETCH(int, scale);
        QFETCH(QString, minimums);
        QFETCH(QString, maximums);
        const DpiRange r = rangeOf(items);
        QCOMPARE(r.segmentCount, segments);
        QCOMPARE(r.scaleCode, scale);
        QStringList mins, maxs;
        for (int v : r.segmentMinimums)
            mins << QString::number(v);
        for (int v : r.segmentMaximums)
            maxs << QString::number(v);
        QCOMPARE(mins.join(','), minimums);
        QCOMPARE(maxs.join(','), maximums);
    }

    void invalidRangeKeepsLastSegments()
    {
        DpiRange r = rangeOf("100,1000,50,1200,5000,100,22");
        r.parse({"33"});
        QCOMPARE(r.segmentCount, 0);
        QVERIFY(!r.valid());
        QCOMPARE(r.segments[1].max, QString("5000")); // texts of the last valid list
        QVERIFY(r.segmentMinimums.isEmpty());
        QCOMPARE(r.lowest(), 0);
        QCOMPARE(r.highest(), 0);
    }

    // ----- encoding and decoding ----------------------------------------------
    void encode_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("previousFlags");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("decoded");

        const QByteArray none;
        QTest::newRow("3950 high bits folded") << none << "3950"
                                               << "50,26000,50,00" << 26000 << 0 << 519 << 0x88 << 26000;
        QTest::newRow("other sensor keeps its flags")
            << none << "PAW"
            << "50,26000,50,00" << 26000 << 0 << 519 << 0x00 << (519 % 256 + 1) * 50;
        QTest::newRow("cut down to 50") << none << "PAW"
                                        << "50,26000,50,00" << 125 << 0 << 1 << 0 << 100;
        QTest::newRow("0x33 last segment") << none << "PAW"
                                           << "100,1000,50,1200,5000,100,6000,8000,100,9000,26000,200,33" << 9100 << 0
                                           << 9100 / 200 - 1 << 0x33 << 9000;
        QTest::newRow("0x33 third segment")
            << none << "PAW"
            << "100,1000,50,1200,5000,100,6000,8000,100,9000,26000,200,33" << 6100 << 0 << 60 << 0x11 << 6100;
        QTest::newRow("0x33 two segments, second") << none << "PAW"
                                                   << "100,1000,50,1200,5000,100,33" << 2000 << 0 << 19 << 0x22 << 2000;
        QTest::newRow("0x33 below every segment") << none << "PAW"
                                                  << "100,1000,50,1200,5000,100,33" << 60 << 0 << 0 << 0x00 << 50;
        QTest::newRow("0x11 at first maximum") << none << "PAW"
                                               << "100,1000,50,1200,5000,100,11" << 1000 << 0 << 19 << 0x00 << 1000;
        QTest::newRow("0x11 above first maximum") << none << "PAW"
                                                  << "100,1000,50,1200,5000,100,11" << 1200 << 0 << 11 << 0x11 << 1200;
        QTest::newRow("0x22 above, 3950 folds over the scale")
            << none << "3950"
            << "50,10000,50,10100,30000,100,22" << 30000 << 0 << 299 << 0x66 << 30000;
        // An empty or broken list scales nothing, even with a scale code.
        QTest::newRow("no range") << none << "PAW"
                                  << "" << 12000 << 0 << 239 << 0 << 12000;
        QTest::newRow("code without segments") << none << "PAW"
                                               << "22" << 12000 << 0 << 239 << 0 << 12000;
        QTest::newRow("0x33 without segments") << none << "PAW"
                                               << "33" << 12000 << 0 << 239 << 0 << 12000;
        // Below the lowest DPI: code 0, never a negative code (0xFF on the wire).
        QTest::newRow("below lowest") << none << "PAW"
                                      << "50,26000,50,00" << 30 << 0 << 0 << 0 << 50;
        QTest::newRow("zero") << none << "3950"
                              << "" << 0 << 0 << 0 << 0 << 50;
        QTest::newRow("negative") << none << "3395"
                                  << "" << -400 << 0 << 0 << 0 << 50;
        QTest::newRow("beyond ten bits stays off the scale bits") << none << "3950"
                                                                  << "" << 60000 << 0 << 0x3FF << 0xCC << 51200;

        QTest::newRow("table hit") << kSmallTable << "T1"
                                   << "" << 800 << 0 << 33 << 0 << 800;
        QTest::newRow("table miss: dpi / 50") << kSmallTable << "T1"
                                              << "" << 700 << 0 << 14 << 0 << 0;
        QTest::newRow("table miss after 0x22: dpi / 100") << kSmallTable << "T1"
                                                          << "" << 700 << 0x22 << 7 << 0 << 0;
        QTest::newRow("table, divided by the scale")
            << kSmallTable << "T1"
            << "100,1000,50,1200,5000,100,11" << 1600 << 0 << 33 << 0x11 << 1600;
        QTest::newRow("table, 0x22 doubles") << kSmallTable << "T1"
                                             << "100,1000,50,1200,5000,100,22" << 2000 << 0 << 41 << 0x22 << 2000;
    }
    void encode()
    {
        QFETCH(QByteArray, table);
        QFETCH(QString, sensor);
        QFETCH(QString, range);
        QFETCH(int, dpi);
        QFETCH(int, previousFlags);
        QFETCH(int, code);
        QFETCH(int, flags);
        QFETCH(int, decoded);

        const SensorTable t = tableOf(table);
        const DpiCode c = encodeStageDpi(t, rangeOf(range), sensor, dpi, previousFlags);
        QCOMPARE(c.code, code);
        QCOMPARE(c.flags, flags);
        // What the mouse stores: the code's low byte and the flags byte.
        QCOMPARE(decodeStageDpi(t, sensor, c.code & 0xFF, c.flags & 0xFF), decoded);
    }

    void decodeTableNames()
    {
        const SensorTable t = tableOf(kSmallTable + "#define SENSOR_T1_DPI_1200\t33\n");
        QCOMPARE(decodeStageDpi(t, "T1", 33, 0), 800);     // the first name with the code wins
        QCOMPARE(decodeStageDpi(t, "T1", 99, 0), 0);       // no name has it
        QCOMPARE(decodeStageDpi(t, "T1", 33, 0x33), 3200); // 0x22 and 0x11 double once each
        // The DPI follows the sensor's own prefix, so a sensor name holding
        // a capital I (or "DPI") reads its number.
        const SensorTable pix = tableOf("#define SENSOR_PIX_DPI_800\t5\n#define SENSOR_DPIX_DPI_1600\t7\n");
        QCOMPARE(decodeStageDpi(pix, "PIX", 5, 0), 800);
        QCOMPARE(decodeStageDpi(pix, "DPIX", 7, 0), 1600);
    }

    // Every value of every shipped model's grid comes back as itself, and a
    // value between grid points comes back cut down, never above it.
    void shippedModelsRoundTrip_data()
    {
        QTest::addColumn<QString>("group");
        ConfigIni catalogue(QCoreApplication::applicationDirPath() + "/usersetting/Config.ini");
        const int total = catalogue.value("Option", "DeviceTotal").toInt();
        QVERIFY(total >= 3);
        for (int n = 1; n <= total; ++n) {
            const QString group = "Drive" + QString::number(n);
            QTest::newRow(qPrintable(group + " " + catalogue.value(group, "Sensor"))) << group;
        }
    }
    void shippedModelsRoundTrip()
    {
        QFETCH(QString, group);
        ConfigIni catalogue(QCoreApplication::applicationDirPath() + "/usersetting/Config.ini");
        const QString sensor = catalogue.value(group, "Sensor");
        DpiRange range;
        range.parse(catalogue.valueList(group, "DPIRange"));
        QVERIFY(range.valid());
        SensorTable table;
        QVERIFY(table.readFile(sensorTablePath()));

        int checked = 0;
        for (int s = 0; s < range.segmentCount; ++s) {
            QVERIFY(range.stepOf(s) > 0);
            for (int dpi = range.minOf(s); dpi <= range.maxOf(s); dpi += range.stepOf(s)) {
                const int flags0 = checked % 2 ? 0x22 : 0x00; // the stage's flags before the write
                const DpiCode c = encodeStageDpi(table, range, sensor, dpi, flags0);
                QVERIFY2(c.code >= 0 && c.flags >= 0 && c.flags <= 0xFF, qPrintable(QString::number(dpi)));
                if (sensor != "3395" && sensor != "3950")
                    QVERIFY2(c.code <= 0xFF, qPrintable(QString::number(dpi)));
                QCOMPARE(decodeStageDpi(table, sensor, c.code & 0xFF, c.flags), dpi);
                QCOMPARE(snapDpi(range, dpi).value, dpi);
                ++checked;
            }
        }
        QVERIFY(checked > 100);

        // Off-grid values of arithmetic sensors: cut down to 50 x divisor.
        if (!table.isTableSensor(sensor)) {
            for (int dpi = range.lowest(); dpi <= range.highest(); dpi += 37) {
                const DpiCode c = encodeStageDpi(table, range, sensor, dpi, 0);
                const int back = decodeStageDpi(table, sensor, c.code & 0xFF, c.flags);
                QVERIFY2(back <= dpi && dpi - back < 200, qPrintable(QString::number(dpi)));
            }
        }
        // The edges of the range and just outside it.
        const int low = decodeStageDpi(table, sensor, encodeStageDpi(table, range, sensor, range.lowest(), 0).code,
                                       encodeStageDpi(table, range, sensor, range.lowest(), 0).flags);
        QCOMPARE(low, range.lowest());
        const DpiCode below = encodeStageDpi(table, range, sensor, range.lowest() - 50, 0);
        QVERIFY(below.code >= 0);
    }

    // ----- stepping ------------------------------------------------------------
    void snap_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("in");
        QTest::addColumn<int>("out");
        QTest::addColumn<int>("pageStep");

        const QString two = "100,1000,50,1200,5000,100,22";
        QTest::newRow("second segment") << two << 1234 << 1200 << 100;
        QTest::newRow("gap goes up") << two << 1100 << 1200 << 100;
        QTest::newRow("first segment") << two << 987 << 950 << 50;
        QTest::newRow("first maximum") << two << 1000 << 1000 << 50;
        QTest::newRow("below grid") << two << 60 << 60 << 0;
        QTest::newRow("above grid") << two << 5100 << 5100 << 0;
        QTest::newRow("rounds from 0, not from the minimum") << "75,1000,50,11" << 180 << 150 << 50;
        QTest::newRow("no grid") << "" << 1234 << 1234 << 0;
        QTest::newRow("five segments") << "1,2,1,3,4,1,5,6,1,7,8,1,9,10,1,11" << 3 << 3 << 0;
        QTest::newRow("step 0") << "100,1000,0,11" << 555 << 555 << 0;
        QTest::newRow("step not a number") << "100,1000,abc,11" << 555 << 555 << 0;
        QTest::newRow("step 0, gap still goes up") << "100,1000,50,1200,5000,0,22" << 1100 << 1200 << 0;
        QTest::newRow("negative step") << "100,1000,-50,11" << 555 << 555 << 0;
    }
    void snap()
    {
        QFETCH(QString, range);
        QFETCH(int, in);
        QFETCH(int, out);
        QFETCH(int, pageStep);
        const DpiSnap s = snapDpi(rangeOf(range), in);
        QCOMPARE(s.value, out);
        QCOMPARE(s.pageStep, pageStep);
    }

    void plusMinus_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("up");
        QTest::addColumn<int>("down");

        const QString two = "100,1000,50,1200,5000,100,22";
        QTest::newRow("inside first") << two << 950 << 1000 << 900;
        QTest::newRow("first maximum") << two << 1000 << 1200 << 950;
        QTest::newRow("second minimum") << two << 1200 << 1300 << 1100;
        QTest::newRow("last maximum") << two << 5000 << 5100 << 4900;
        QTest::newRow("first minimum") << two << 100 << 150 << 50;
        QTest::newRow("in the gap") << two << 1100 << 1200 << 1200;
        QTest::newRow("outside") << two << 6000 << 6000 << 6000;
        QTest::newRow("one segment") << "100,1000,50,22" << 1000 << 1050 << 950;
        QTest::newRow("no grid") << "" << 800 << 800 << 800;
        QTest::newRow("five segments") << "1,2,1,3,4,1,5,6,1,7,8,1,9,10,1,11" << 3 << 3 << 3;
        QTest::newRow("step 0") << "100,1000,0,11" << 500 << 500 << 500;
    }
    void plusMinus()
    {
        QFETCH(QString, range);
        QFETCH(int, value);
        QFETCH(int, up);
        QFETCH(int, down);
        QCOMPARE(stepDpiUp(rangeOf(range), value), up);
        QCOMPARE(stepDpiDown(rangeOf(range), value), down);
    }

    // ----- DPI lock and stage count -------------------------------------------------
    void dpiLock()
    {
        const SensorTable empty;
        QCOMPARE(dpiLockCode(empty, "3395", 800), 15);
        QCOMPARE(dpiLockValue(empty, "3395", 15), 800);
        QCOMPARE(dpiLockCode(empty, "3395", 125), 1);
        for (int dpi = 100; dpi <= 1200; dpi += 100)
            QCOMPARE(dpiLockValue(empty, "3950", dpiLockCode(empty, "3950", dpi)), dpi);

        const SensorTable small = tableOf(kSmallTable);
        QCOMPARE(dpiLockCode(small, "T1", 800), 33);
        QCOMPARE(dpiLockCode(small, "T1", 1000), 41);
        QCOMPARE(dpiLockCode(small, "T1", 700), 14);
        QCOMPARE(dpiLockValue(small, "T1", 33), 800);
        QCOMPARE(dpiLockValue(small, "T1", 14), 0);

        SensorTable shipped;
        QVERIFY(shipped.readFile(sensorTablePath()));
        for (int dpi = 100; dpi <= 1200; dpi += 100)
            QCOMPARE(dpiLockValue(shipped, "VX26", dpiLockCode(shipped, "VX26", dpi)), dpi);
    }

    void stageCount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("6") << "6" << 6;
        QTest::newRow("8") << "8" << 8;
        QTest::newRow("above 8") << "12" << 8;
        QTest::newRow("missing") << "" << 1;
        QTest::newRow("zero") << "0" << 1;
        QTest::newRow("negative") << "-3" << 1;
        QTest::newRow("not a number") << "eight" << 1;
    }
    void stageCount()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(stageCountFromCatalogue(text), count);
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestDpiCodec)
#include "tst_dpicodec.moc"
