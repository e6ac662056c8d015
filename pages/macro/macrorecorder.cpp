#include "pages/macro/macrorecorder.h"
#include "ui_macro.h"

#include "app/exeisrun.h"
#include "app/postmsg.h"
#include "device/keytable.h"
#include "pages/macro/macro.h"
#include "pages/macro/macroflags.h"
#include "pages/macro/macronotices.h"
#include "pages/macro/macrostore.h"

#include <optional>

MacroRecorder::MacroRecorder(Macro &page) : m_page(page), m_ui(page.ui.get())
{
    pauseClock = [this] { return m_page.eventTimer.elapsed(); };
}

void MacroRecorder::setControlsEnabled(bool enabled)
{
    // The separate labels of four boxes go with their boxes.
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_ui->AutoInsertDelay, m_ui->DefaultDelay, m_ui->ReUntilLoose,
                                          m_ui->ReUntilClick, m_ui->ReUntil, m_ui->ReNumber, m_ui->AutoInsertDelayLabel,
                                          m_ui->ReUntilLooseLabel, m_ui->ReUntilClickLabel, m_ui->ReUntilLabel})
        w->setEnabled(enabled);
}

void MacroRecorder::start()
{
    if (macroRecording || m_page.keyboardHook->isInstalled())
        return;
    if (!m_page.hasSelectedMacro()) {
        ExeIsRun notice;
        notice.showSelectMacroFirst();
        m_page.runNotice(notice, notice.size());
        return;
    }
    setControlsEnabled(false);
    emit PostMsg::instance()->SigStartRecord(0);
    m_page.recordedCount = 0;
    m_ui->ChooseEvent->setEnabled(false);
    m_page.eventsModified = true;
    m_page.keyboardHook->install();
    m_page.keyboardHook->setCallback(
        [page = &m_page](int keyCode, bool down, bool repeat) { page->UpdateCapslockTip(keyCode, down, repeat); });
    m_ui->StartRecord->hide();
    m_ui->StopRecord->show();
    macroRecording = true;
    m_page.firstEventPending = true;
    m_pauseShortened = false;
    m_heldKeys.clear();
    m_ui->listWidgetKey->clear();
    m_ui->DelayTime->setEnabled(false);
    m_ui->NumberEdit->setEnabled(false);
    m_ui->listWidgetHong->setEnabled(false);
    m_page.lastKeyCode = -1;
}

void MacroRecorder::stop()
{
    // Keys still down when the user stops would stay pressed on the mouse
    // after the macro has run.
    if (macroRecording)
        releaseHeldKeys();
    setControlsEnabled(true);
    emit PostMsg::instance()->SigStartRecord(1);
    m_page.keyboardHook->remove();
    m_page.recordedCount = 0;
    m_ui->StopRecord->hide();
    m_ui->StartRecord->show();
    m_ui->DelayTime->setEnabled(true);
    m_ui->NumberEdit->setEnabled(true);
    m_ui->listWidgetHong->setEnabled(true);
    macroRecording = false;
    m_ui->ChooseEvent->setEnabled(true);
    m_page.setSaveEnabled(true);
    m_page.lastKeyCode = -1;
    m_heldKeys.clear();
    reportShortenedPause();
}

void MacroRecorder::reportShortenedPause()
{
    if (!m_pauseShortened)
        return;
    m_pauseShortened = false;
    m_page.showMessage("DialogPauseShortened");
}

int MacroRecorder::heldNamedKeys() const
{
    int named = 0;
    for (int key : m_heldKeys)
        if (keytable::captureName(quint32(key)))
            ++named;
    return named;
}

bool MacroRecorder::recordKeyEvent(int keyCode, bool press)
{
    if (m_page.firstEventPending) {
        m_page.eventTimer.restart();
        m_page.firstEventPending = false;
    } else {
        const double ms = m_ui->AutoInsertDelay->isChecked() ? double(pauseClock()) : m_ui->DelayTime->value();
        // Said once the recording ends: a notice now would take the keys
        // pressed to close it into the macro.
        if (ms > MacroStore::pauseMaxMs)
            m_pauseShortened = true;
        m_page.appendDelayItem(ms);
        m_page.eventTimer.restart();
    }
    const std::optional<QString> name = keytable::captureName(quint32(keyCode));
    if (!name) {
        // The pause stays and stands for the next key's own.
        m_page.firstEventPending = true;
        return false;
    }
    ++m_page.recordedCount;
    m_page.appendKeyItem(*name, press);
    return true;
}

void MacroRecorder::releaseHeldKeys()
{
    while (!m_heldKeys.isEmpty()) {
        const int key = m_heldKeys.takeLast();
        if (keytable::captureName(quint32(key)))
            recordKeyEvent(key, false);
    }
}

void MacroRecorder::takeKey(int keyCode, bool downOrUp)
{
    if (!macroRecording) {
        m_page.eventTimer.restart();
        return;
    }
    m_page.lastKeyCode = keyCode;
    const bool named = keytable::captureName(quint32(keyCode)).has_value();
    if (downOrUp) {
        // A key already down sends its auto-repeat; a key pressed again
        // after its release (also while others are held) is a new press.
        if (m_heldKeys.contains(keyCode))
            return;
        // The press and the releases of every held key must fit.
        if (named && m_page.recordedCount + heldNamedKeys() + 2 > Macro::recordLimit) {
            haltAtLimit();
            return;
        }
        m_heldKeys.append(keyCode);
    } else {
        m_heldKeys.removeOne(keyCode);
    }
    if (!recordKeyEvent(keyCode, downOrUp))
        return;
    if (m_page.recordedCount + heldNamedKeys() >= Macro::recordLimit)
        haltAtLimit();
}

void MacroRecorder::haltAtLimit()
{
    releaseHeldKeys();
    macroRecording = false;
    m_page.recordedCount = 0;
    m_page.keyboardHook->remove();
    // Not from inside the key callback: a modal loop there would run while
    // the key is still being delivered.
    QMetaObject::invokeMethod(
        &m_page, [this] { showLimitNotice(); }, Qt::QueuedConnection);
}

void MacroRecorder::showLimitNotice()
{
    KeyNumberLimit notice;
    m_page.runNotice(notice, notice.size());
}

void MacroRecorder::endOnLeavingPage()
{
    // Leaving the device page ends a recording as Stop would: keys still
    // held are released, every control is usable again, and what was
    // recorded can still be saved.
    const bool recordingShown = !m_ui->StopRecord->isHidden();
    if (macroRecording)
        releaseHeldKeys();
    m_heldKeys.clear();
    emit PostMsg::instance()->SigStartRecord(1);
    m_page.keyboardHook->remove();
    m_page.recordedCount = 0;
    m_ui->StopRecord->hide();
    m_ui->StartRecord->show();
    setControlsEnabled(true);
    m_ui->ChooseEvent->setEnabled(true);
    m_ui->DelayTime->setEnabled(true);
    m_ui->NumberEdit->setEnabled(true);
    m_ui->listWidgetHong->setEnabled(true);
    macroRecording = false;
    m_page.lastKeyCode = -1;
    if (recordingShown)
        m_page.setSaveEnabled(true);
    // After the page switch has finished.
    if (m_pauseShortened)
        QMetaObject::invokeMethod(
            &m_page, [this] { reportShortenedPause(); }, Qt::QueuedConnection);
}
