// The advanced settings apart from any widget: sleep-time choices and steps
// and their record codes, the trigger-point bits, the 20K byte and the angle.

#include "device/advancedvalues.h"
#include "support/testmain.h"

#include <QtTest>

#include <cstring>

namespace {

FlashDataMap emptyRecord()
{
    FlashDataMap record;
    std::memset(&record, 0, sizeof record);
    return record;
}

} // namespace

class AdvancedValuesTest : public QObject
{
    Q_OBJECT

private slots:
    void sleepChoices();
    void sleepSteps_data();
    void sleepSteps();
    void recordBytes_data();
    void recordBytes();
};

void AdvancedValuesTest::sleepChoices()
{
    // Every choice reads back from the code it writes, so a refill shows what
    // the page wrote.
    for (int i = 0; i < advanced::kSleepChoiceCount; ++i) {
        FlashDataMap record = emptyRecord();
        record.sleepTime = static_cast<unsigned char>(advanced::sleepCodeAt(i));
        QCOMPARE(advanced::sleepIndexOf(record), i);
    }
    QCOMPARE(advanced::sleepCodeAt(advanced::kDefaultSleepIndex), 6);
    // Outside the choices: no code, and a code of none of them leaves the box
    // as it was.
    QCOMPARE(advanced::sleepCodeAt(-1), -1);
    QCOMPARE(advanced::sleepCodeAt(advanced::kSleepChoiceCount), -1);
    QCOMPARE(advanced::sleepIndexOfCode(0), -1);
    QCOMPARE(advanced::sleepIndexOfCode(2), -1);
}

void AdvancedValuesTest::sleepSteps_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("minutes");
    QTest::addColumn<int>("code");

    QTest::newRow("first step") << 1 << 10 << false << 1;
    QTest::newRow("one minute") << 3 << 1 << true << 6;
    QTest::newRow("last step") << 11 << 40 << true << 240;
    QTest::newRow("below the slider") << 0 << 10 << false << 1;
    QTest::newRow("beyond the slider") << 12 << 40 << true << 240;
}

void AdvancedValuesTest::sleepSteps()
{
    QFETCH(int, position);
    QFETCH(int, shown);
    QFETCH(bool, minutes);
    QFETCH(int, code);

    const advanced::SleepStep step = advanced::sleepStepAt(position);
    QCOMPARE(step.shown, shown);
    QCOMPARE(step.minutes, minutes);
    QCOMPARE(step.code, code);
}

void AdvancedValuesTest::recordBytes_data()
{
    QTest::addColumn<int>("triggerBits");
    QTest::addColumn<int>("fps20k");
    QTest::addColumn<int>("angleByte");
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("fpsOn");
    QTest::addColumn<QString>("angle");

    QTest::newRow("all clear") << 0 << 0 << 0 << false << false << false << QString::fromUtf8("0°");
    QTest::newRow("left bit, 20K on") << 1 << 1 << 30 << true << false << true << QString::fromUtf8("30°");
    QTest::newRow("right bit, negative angle") << 2 << 0 << 226 << false << true << false << QString::fromUtf8("-30°");
    // Other bits of the byte belong to no button; only 1 in byte 42 is on.
    QTest::newRow("both bits and others") << 0xFF << 2 << 251 << true << true << false << QString::fromUtf8("-5°");
}

void AdvancedValuesTest::recordBytes()
{
    QFETCH(int, triggerBits);
    QFETCH(int, fps20k);
    QFETCH(int, angleByte);
    QFETCH(bool, left);
    QFETCH(bool, right);
    QFETCH(bool, fpsOn);
    QFETCH(QString, angle);

    FlashDataMap record = emptyRecord();
    record.triggerBits = static_cast<unsigned char>(triggerBits);
    record.fps20k = static_cast<unsigned char>(fps20k);
    record.angle = static_cast<signed char>(angleByte);
    QCOMPARE(advanced::leftTriggersOnPress(record), left);
    QCOMPARE(advanced::rightTriggersOnPress(record), right);
    QCOMPARE(advanced::fps20kOn(record), fpsOn);
    QCOMPARE(advanced::angleText(advanced::recordAngle(record)), angle);
}

VELMORAX_TEST_GUILESS_MAIN(AdvancedValuesTest)
#include "tst_advancedvalues.moc"
