// The sensor and macro pages as the device link refills and leaves them: the
// refills they take, the flags they set and what they pass to the summary.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "pages/device/previer.h"
#include "pages/macro/macro.h"
#include "pages/macro/macroflags.h"
#include "pages/sensor/sensor.h"
#include "support/testmain.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <cstring>

class PageRefillsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sensorRefillFromDump_data();
    void sensorRefillFromDump();
    void loadedRecordsSetNoRefillFlag();
    void leavingEndsRecording();
};

namespace {

FlashDataMap recordWith(int reportCode, int lodCode)
{
    FlashDataMap record;
    std::memset(&record, 0, sizeof record);
    record.reportRate = static_cast<unsigned char>(reportCode);
    record.liftOffDistance = static_cast<unsigned char>(lodCode);
    return record;
}

QString labelText(QWidget &w, const char *name)
{
    return w.findChild<QLabel *>(QString::fromLatin1(name))->text();
}

} // namespace

void PageRefillsTest::initTestCase()
{
    loadTextCatalogue();
}

void PageRefillsTest::sensorRefillFromDump_data()
{
    QTest::addColumn<int>("reportCode");
    QTest::addColumn<int>("lodCode");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("lod");

    QTest::newRow("125 Hz, 1 mm") << 8 << 1 << "125Hz"
                                  << "1mm";
    QTest::newRow("250 Hz, 2 mm") << 4 << 2 << "250Hz"
                                  << "2mm";
    QTest::newRow("500 Hz, 0.7 mm") << 2 << 3 << "500Hz"
                                    << "0.7mm";
    QTest::newRow("1000 Hz") << 1 << 1 << "1000Hz"
                             << "1mm";
    QTest::newRow("2000 Hz") << 16 << 1 << "2000Hz"
                             << "1mm";
    QTest::newRow("4000 Hz") << 32 << 1 << "4000Hz"
                             << "1mm";
    QTest::newRow("8000 Hz") << 64 << 2 << "8000Hz"
                             << "2mm";
    // A rate code the mouse does not use leaves the summary as it was; a
    // lift-off byte without an entry shows 1 mm, in the list and the summary.
    QTest::newRow("unknown codes") << 3 << 9 << "1600"
                                   << "1mm";
}

void PageRefillsTest::sensorRefillFromDump()
{
    QFETCH(int, reportCode);
    QFETCH(int, lodCode);
    QFETCH(QString, report);
    QFETCH(QString, lod);

    PreVier summary;
    Sensor sensor;
    sensorPageRefreshed = false;
    sensor.SlotUpDataSenSorUISensor(recordWith(reportCode, lodCode));
    QVERIFY(sensorPageRefreshed);
    QVERIFY(!sensorPageRefreshing);
    QCOMPARE(labelText(summary, "ReportValue"), report);
    QCOMPARE(labelText(summary, "LodValue"), lod);
}

void PageRefillsTest::loadedRecordsSetNoRefillFlag()
{
    // Records loaded from a file or a cache are not a refill from the
    // device: the wait notice must not take them for one.
    Sensor sensor;
    sensorPageRefreshed = false;
    sensor.SlotUpDataSenSorUIB(recordWith(1, 1));
    QVERIFY(!sensorPageRefreshed);
    QVERIFY(!sensorPageRefreshing);
}

void PageRefillsTest::leavingEndsRecording()
{
    Macro macro;
    macroRecording = true;
    QSignalSpy record(PostMsg::instance(), &PostMsg::SigStartRecord);
    emit PostMsg::instance()->SigSetMacroPage();
    QVERIFY(!macroRecording);
    QCOMPARE(record.count(), 1);
    QCOMPARE(record.first().first().toInt(), 1);
}

VELMORAX_TEST_MAIN(PageRefillsTest)
#include "tst_pagerefills.moc"
