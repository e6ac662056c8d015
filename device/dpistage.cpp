// The process-wide DPI tables and the writer of one stage's code. Kept apart
// from the codec itself, which needs nothing but QtCore and can be fuzzed on
// its own.

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
