// The process-wide DPI tables, the writer of one stage's code and the rules
// of when a stage editor's change reaches the mouse (dpistage.h). Kept apart
// from the codec itself, which needs nothing but QtCore and can be fuzzed on
// its own.

#include "device/dpistage.h"

#include "device/dpicodec.h"

#include "device/devicestate.h"
#include "device/setters.h"

SensorTable sensorTable;
DpiRange dpiRange;
QString currentSensorModel;

void readSensorTable()
{
    // The file is read once per run: a second sensor page (or a button page
    // reading it too) must not append the same lines again.
    static bool read = false;
    if (read)
        return;
    read = true;
    sensorTable.readFile(sensorTablePath());
}

bool sendStageDpi(int stage, int dpi)
{
    if (stage < 0 || stage >= int(sizeof(FlashDataMap::dpiStages) / sizeof(DpiStage)))
        return false;
    const int previousFlags = currentFlashData.dpiStages[stage].codeFlags;
    const DpiCode c = encodeStageDpi(sensorTable, dpiRange, currentSensorModel, dpi, previousFlags);
    return setDpiStageCode(stage, c.code, c.code, c.flags);
}

namespace dpistages {

namespace {

bool validStage(int stage)
{
    return stage >= 0 && stage < kStageCount;
}

bool onlyShowing()
{
    return !uiReady || sensorPageRefreshing;
}

Write result(bool sent)
{
    return sent ? Write::Sent : Write::Refused;
}

} // namespace

Write writeStageDpi(int stage, int dpi)
{
    if (modalOperation || sensorPageRefreshing || !validStage(stage))
        return Write::Shown;
    return result(sendStageDpi(stage, dpi));
}

Write writeActiveStage(int stage)
{
    if (onlyShowing() || !validStage(stage))
        return Write::Shown;
    return result(setActiveDpiStage(stage));
}

Write writeStageColour(int stage, int red, int green, int blue)
{
    if (onlyShowing() || !validStage(stage))
        return Write::Shown;
    return result(setDpiStageColor(stage, red, green, blue));
}

CountWrite writeStageCount(int activeStage, int countIndex)
{
    const bool exchanged = validStage(countIndex) && validStage(activeStage) && activeStage > countIndex;
    if (onlyShowing() || !validStage(countIndex))
        return {Write::Shown, exchanged};
    if (!exchanged)
        return {result(setDpiStageCount(countIndex + 1)), false};
    // The exchange carries the new count and the new active stage in the
    // same record, so the mouse never holds an active stage it does not have.
    const DpiStage newLast = currentFlashData.dpiStages[countIndex];
    const DpiStage moved = currentFlashData.dpiStages[activeStage];
    return {result(swapDpiStages(&newLast, &moved, countIndex, activeStage, countIndex)), true};
}

bool stageChoiceAllowed()
{
    return onlyShowing() || checkDeviceOnline();
}

} // namespace dpistages
