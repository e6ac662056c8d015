// The DPI stage write rules apart from any page: when a stage editor's change
// reaches the simulated mouse, and what each write reports back.

#include "device/dpicodec.h"
#include "device/dpistage.h"
#include "support/linkfixture.h"
#include "support/testmain.h"

using dpistages::Write;

namespace {

enum class Op { StageDpi, ActiveStage, StageColour, StageCount };

// What keeps a write from reaching the mouse.
enum class Gate { None, Refill, UiNotReady, Import, Silent };

// The stage every row writes to; the active stage of the "count" row stays
// within the new count, so no exchange is needed.
constexpr int kStage = 1;

// Runs `op` with a value the mouse does not hold yet and puts into `expected`
// the record the mouse holds once it took the write.
Write apply(Op op, FlashDataMap &expected)
{
    switch (op) {
    case Op::StageDpi: {
        const int dpi = (expected.dpiStages[kStage].xCode == 31) ? 3200 : 1600;
        const DpiCode c =
            encodeStageDpi(sensorTable, dpiRange, currentSensorModel, dpi, expected.dpiStages[kStage].codeFlags);
        expected.dpiStages[kStage].xCode = quint8(c.code);
        expected.dpiStages[kStage].yCode = quint8(c.code);
        expected.dpiStages[kStage].codeFlags = quint8(c.flags);
        return dpistages::writeStageDpi(kStage, dpi);
    }
    case Op::ActiveStage: {
        const int stage = expected.activeDpiStage == kStage ? 0 : kStage;
        expected.activeDpiStage = quint8(stage);
        return dpistages::writeActiveStage(stage);
    }
    case Op::StageColour:
        expected.dpiStages[kStage].red = 11;
        expected.dpiStages[kStage].green = 22;
        expected.dpiStages[kStage].blue = 33;
        return dpistages::writeStageColour(kStage, 11, 22, 33);
    case Op::StageCount: {
        const int countIndex = expected.dpiStageCount == dpistages::kStageCount ? 6 : 7;
        expected.dpiStageCount = quint8(countIndex + 1);
        const dpistages::CountWrite w = dpistages::writeStageCount(0, countIndex);
        return w.exchanged ? Write::Shown : w.write; // an exchange here is a fault of its own
    }
    }
    return Write::Shown;
}

} // namespace

Q_DECLARE_METATYPE(Op)
Q_DECLARE_METATYPE(Gate)
Q_DECLARE_METATYPE(Write)

class DpiStageTest : public QObject
{
    Q_OBJECT
    LinkFixture f;

    // Opens the mouse and takes its record in this attach, so writes may go.
    bool openMouse()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return false;
        uiReady = true;
        return true;
    }

    bool silenceMouse()
    {
        if (!sim::sleep("mouse"))
            return false;
        QDeadlineTimer deadline(5000);
        while (UsbFinderC_GetDeviceOnLine(currentDevicePath) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return !UsbFinderC_GetDeviceOnLine(currentDevicePath);
    }

private slots:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void writeReachesTheMouseOnlyWhenAllowed_data();
    void writeReachesTheMouseOnlyWhenAllowed();
    void countBelowTheActiveStageExchangesTheStages();
    void stageChoice_data();
    void stageChoice();
};

void DpiStageTest::writeReachesTheMouseOnlyWhenAllowed_data()
{
    QTest::addColumn<Op>("op");
    QTest::addColumn<Gate>("gate");
    QTest::addColumn<Write>("result");

    const struct
    {
        const char *name;
        Op op;
    } ops[] = {{"dpi", Op::StageDpi},
               {"active stage", Op::ActiveStage},
               {"colour", Op::StageColour},
               {"count", Op::StageCount}};
    for (const auto &o : ops) {
        const bool selection = o.op != Op::StageDpi;
        QTest::addRow("%s: sent", o.name) << o.op << Gate::None << Write::Sent;
        QTest::addRow("%s: page refill", o.name) << o.op << Gate::Refill << Write::Shown;
        // A DPI value is no selection: a page switch does not hold it back.
        QTest::addRow("%s: ui not ready", o.name)
            << o.op << Gate::UiNotReady << (selection ? Write::Shown : Write::Sent);
        QTest::addRow("%s: silent mouse", o.name) << o.op << Gate::Silent << Write::Refused;
    }
    QTest::addRow("dpi: import") << Op::StageDpi << Gate::Import << Write::Shown;
}

void DpiStageTest::writeReachesTheMouseOnlyWhenAllowed()
{
    QFETCH(Op, op);
    QFETCH(Gate, gate);
    QFETCH(Write, result);

    if (!openMouse())
        return;
    if (gate == Gate::Silent)
        QVERIFY(silenceMouse());
    sensorPageRefreshing = gate == Gate::Refill;
    uiReady = gate != Gate::UiNotReady;
    modalOperation = gate == Gate::Import;

    const FlashDataMap held = currentFlashData;
    const FlashDataMap flash = mouseFlash();
    QVERIFY(sameRecord(held, flash));
    FlashDataMap expected = held;
    sim::clearJournal();
    const Write w = apply(op, expected);
    QVERIFY2(!sameRecord(expected, held), "the row must change the mouse's record");
    const int sends = journalFunctions().count("ProtocolDataUpdate");

    sensorPageRefreshing = false;
    uiReady = true;
    modalOperation = false;

    QCOMPARE(w, result);
    if (result == Write::Sent) {
        QCOMPARE(sends, 1);
        QVERIFY(sameRecord(currentFlashData, expected));
        QTRY_VERIFY(sameRecord(mouseFlash(), expected));
        return;
    }
    QCOMPARE(sends, 0);
    QVERIFY(sameRecord(currentFlashData, held));
    QVERIFY(sameRecord(mouseFlash(), flash));
}

void DpiStageTest::countBelowTheActiveStageExchangesTheStages()
{
    if (!openMouse())
        return;
    // Stages 1 and 4 must differ for the exchange to show.
    QCOMPARE(dpistages::writeStageColour(4, 200, 100, 50), Write::Sent);
    QTRY_VERIFY(sameRecord(mouseFlash(), currentFlashData));
    const FlashDataMap before = currentFlashData;
    QVERIFY(std::memcmp(&before.dpiStages[1], &before.dpiStages[4], sizeof(DpiStage)) != 0);

    sim::clearJournal();
    const dpistages::CountWrite w = dpistages::writeStageCount(4, 1);
    QCOMPARE(w.write, Write::Sent);
    QVERIFY(w.exchanged);
    QCOMPARE(journalFunctions().count("ProtocolDataUpdate"), 1);

    FlashDataMap expected = before;
    expected.dpiStages[1] = before.dpiStages[4];
    expected.dpiStages[4] = before.dpiStages[1];
    expected.dpiStageCount = 2;
    expected.activeDpiStage = 1;
    QVERIFY(sameRecord(currentFlashData, expected));
    QTRY_VERIFY(sameRecord(mouseFlash(), expected));
}

void DpiStageTest::stageChoice_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("refill");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("awake mouse") << false << false << true;
    QTest::newRow("silent mouse") << true << false << false;
    // Only shown anyway: no offline notice for a refill.
    QTest::newRow("silent mouse, page refill") << true << true << true;
}

void DpiStageTest::stageChoice()
{
    QFETCH(bool, silent);
    QFETCH(bool, refill);
    QFETCH(bool, allowed);

    if (!openMouse())
        return;
    if (silent)
        QVERIFY(silenceMouse());
    f.pages->clear();
    sensorPageRefreshing = refill;
    const bool result = dpistages::stageChoiceAllowed();
    sensorPageRefreshing = false;
    QCOMPARE(result, allowed);
    QCOMPARE(f.pages->count("SigMouseOffLineo") > 0, !allowed);
}

VELMORAX_TEST_GUILESS_MAIN(DpiStageTest)
#include "tst_dpistage.moc"
