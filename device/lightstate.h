#pragma once

// What the lighting panels remember between writes: the last value the mouse
// or the receiver confirmed for each control that is put back when a write is
// refused. The lighting page sets them when it shows device data or the
// defaults; the panels set them after each accepted write. GUI thread only.

// Mouse light mode index (0 = off).
extern int lastMouseLightMode;
// Receiver light bar: mode index, and brightness and speed as slider
// positions 1..10.
extern int lastReceiverLightMode;
extern int lastReceiverBrightness;
extern int lastReceiverSpeed;
// Function 0..3 of each receiver indicator LED.
extern int confirmedIndicatorLeds[3];

// Back to the start values (tests).
void resetLightStateForTests();
