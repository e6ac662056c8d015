#pragma once

#include <QVector>

#include <functional>

class Macro;

namespace Ui {
class Macro;
}

// Records a macro from the keyboard for the macro page that owns it: starts
// and stops the page's keyboard hook, turns each key message into a press or
// release with the pause before it, keeps the event limit, and lays the page
// out for a running recording and back. The recording's state that the page
// names (the hook, the last key, the event timer, the count) stays on the
// page; what only the recording needs is kept here.
class MacroRecorder
{
public:
    explicit MacroRecorder(Macro &page);

    // The time since the last recorded event, in ms, that a measured pause
    // takes: the page's event timer, or a clock a test gives.
    std::function<qint64()> pauseClock;

    void start();
    // Keys still held are released; a pause shortened meanwhile is said now.
    void stop();
    // The device page was left: ends a recording as stop() would, and says
    // a shortened pause once the page switch has finished.
    void endOnLeavingPage();
    // One key message while a window of the program is in front.
    void takeKey(int keyCode, bool down);

private:
    void setControlsEnabled(bool enabled);
    // Appends one recorded key event with the pause before it; false when
    // the key has no name (then nothing but that pause is added).
    bool recordKeyEvent(int keyCode, bool press);
    // Appends a release for every named key still held, last pressed first.
    void releaseHeldKeys();
    // Named keys held down now.
    int heldNamedKeys() const;
    // The recording reached the event limit: it stops taking keys and the
    // notice follows once the key callback has returned.
    void haltAtLimit();
    void showLimitNotice();
    // Tells, once, that a recorded pause was shortened to what the mouse holds.
    void reportShortenedPause();

    Macro &m_page;
    Ui::Macro *m_ui;
    // Keys down since the recording started, in the order pressed: a key
    // down that is already here is the key's auto-repeat.
    QVector<int> m_heldKeys;
    // A recorded pause was longer than the mouse holds and was shortened.
    bool m_pauseShortened = false;
};
