#pragma once

// For test programs whose cases run the program's real-time waits (the wait
// dialog's polls, the firmware upgrade's steps): every delay of the table in
// app/delays.h shrinks by one factor, keeping their order. Call it in
// initTestCase, before the objects that read a delay are made; a child
// program started from the same test program calls it there too.

#include "app/delays.h"

namespace testdelays {

// A twentieth: the upgrade's one-second steps take 50 ms, the wait dialog's
// eight and a half seconds less than half a second.
constexpr double kShrunk = 0.05;

inline void shrink(double factor = kShrunk)
{
    delays::setScale(factor);
}

// The delay as the program now uses it.
inline int ms(delays::Delay delay)
{
    return delays::ms(delay);
}

} // namespace testdelays
