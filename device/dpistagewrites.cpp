#include "device/dpistage.h"

#include "device/devicestate.h"
#include "device/dpicodec.h"
#include "device/setters.h"

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
