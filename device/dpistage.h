#pragma once

// The DPI stage changes every stage editor makes (the sensor page's editor
// and the eight-row layout), with the rules of when they reach the mouse:
//  - during a refill of the sensor page (sensorPageRefreshing) an editor only
//    shows device data and writes nothing back;
//  - while uiReady is clear (the main window is switching pages, or a stage
//    report from the mouse is being applied) selections are only shown;
//  - a configuration import (modalOperation) owns the record: DPI values are
//    only shown.
// Each write says whether the mouse took it, so the editor puts its controls
// back to what the mouse holds when it did not. QtCore only; GUI thread.

#include "device/devicestate.h"

namespace dpistages {

// How many DPI stages a record holds.
constexpr int kStageCount = int(sizeof(FlashDataMap::dpiStages) / sizeof(DpiStage));

enum class Write {
    Shown,   // only shown (refill, import, page switch): nothing was sent
    Sent,    // the mouse took it
    Refused, // the mouse is silent or refused it: its record is unchanged
};

// The DPI `dpi` (already on the model's grid) into stage 0..7.
Write writeStageDpi(int stage, int dpi);

// Stage 0..7 as the mouse's active stage.
Write writeActiveStage(int stage);

// The colour of stage 0..7.
Write writeStageColour(int stage, int red, int green, int blue);

// Count index 0..7 (index + 1 stages). When the active stage lies beyond the
// new count it is exchanged with the new last stage, which becomes the active
// one: `exchanged` says so, and the editor shows the two stages exchanged.
// Either way the mouse gets one record.
struct CountWrite
{
    Write write;
    bool exchanged;
};
CountWrite writeStageCount(int activeStage, int countIndex);

// Whether a stage may be chosen for the user from outside the stage's own
// control (the marker drag, a host's choice): not when the mouse is silent,
// which raises the offline notice, unless the choice is only shown anyway.
bool stageChoiceAllowed();

} // namespace dpistages
