#pragma once

// True while the macro page records keys; the main window then ignores
// every key press.
extern bool macroRecording;
