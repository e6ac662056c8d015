#pragma once

// The report callback of the open device. The library calls it on its own
// thread for every report: battery, the full configuration dump, single
// changed fields, status-change notices, the configuration slot, the firmware
// version and receiver events. It keeps currentFlashData, currentDevice and
// the receiver record up to date (through the GUI thread) and tells the pages
// through hub signals.

#include <QtGlobal>

// Header byte 1 is the kind, byte 3 the error code, byte 4 the sub-kind; a
// header too short for a byte reads it as 0.
void onDeviceReport(const unsigned char *header, int headerLength, const unsigned char *payload, int payloadLength);

// The full re-read that a configuration-change report asks for happens at most
// once per Delay::ReReadLimit (app/delays.h).

// Restarts the re-read interval (the worker does this when it is created).
void restartReReadTimer();
// Clock the re-read interval is measured with, in milliseconds; tests put in a
// clock of their own, nullptr restores the monotonic one.
void setReReadClock(qint64 (*nowMs)());

// Clears the decoder's pending settings-reset state (tests).
void resetReportDecoderForTests();
