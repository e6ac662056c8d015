#include "pages/macro/macrofileops.h"
#include "ui_macro.h"

#include "app/postmsg.h"
#include "pages/macro/macro.h"
#include "pages/macro/macroexport.h"
#include "pages/macro/macroflags.h"
#include "pages/macro/macronotices.h"
#include "pages/macro/macrostore.h"
#include "pages/macro/questiondialog.h"
#include "platform/atomicfile.h"
#include "platform/userpaths.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidgetItem>
#include <QSignalBlocker>

#include <cstring>

MacroFileOps::MacroFileOps(Macro &page) : m_page(page), m_ui(page.ui.get()) {}

void MacroFileOps::create()
{
    if (m_page.refusedWhileRecording())
        return;
    if (!m_page.mayDropChanges())
        return;
    QuestionDialog dialog;
    dialog.setPrompt(false);
    m_page.runNotice(dialog, dialog.size());
    const QString name = dialog.macroName;
    if (name.isEmpty())
        return;
    if (!MacroStore::isSafeName(name)) {
        m_page.showMessage("DialogInvalidMacroName");
        return;
    }
    // A file of that name that the list does not show yet (added since the
    // start) is a macro all the same: never empty it.
    if (!m_ui->listWidgetHong->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()
        || QFileInfo::exists(MacroStore::filePath(m_page.macroFolder, name))) {
        SameMacro notice;
        m_page.runNotice(notice, dialog.size());
        return;
    }
    if (!MacroStore::createEmpty(m_page.macroFolder, name)) {
        m_page.showMessage("DialogMacroFileFailed");
        return;
    }
    m_ui->listWidgetHong->addItem(name);
    m_ui->listWidgetHong->setCurrentRow(m_ui->listWidgetHong->count() - 1);
    m_page.currentMacroFile = MacroStore::filePath(m_page.macroFolder, name);
    m_page.shownMacro = name;
    m_ui->listWidgetKey->clear();
    {
        const QSignalBlocker group(m_page.repeatModeGroup);
        const QSignalBlocker count(m_ui->NumberEdit);
        m_ui->ReNumber->setChecked(true);
        m_ui->NumberEdit->setValue(1);
    }
    m_page.eventsModified = false;
    m_page.repeatModeModified = false;
    m_page.setSaveEnabled(false);
}

void MacroFileOps::rename()
{
    if (!m_page.hasSelectedMacro())
        return;
    QuestionDialog dialog;
    dialog.setPrompt(true);
    m_page.runNotice(dialog, dialog.size());
    const QString newName = dialog.macroName;
    // The list may have changed while the dialog was open.
    if (newName.isEmpty() || !m_page.hasSelectedMacro())
        return;
    const QString oldName = m_page.selectedMacroName();
    if (!MacroStore::isSafeName(newName)) {
        m_page.showMessage("DialogInvalidMacroName");
        return;
    }
    if (!m_ui->listWidgetHong->findItems(newName, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
        SameMacro notice;
        m_page.runNotice(notice, dialog.size());
        return;
    }
    switch (MacroStore::rename(m_page.macroFolder, oldName, newName)) {
    case MacroStore::FileOpResult::Done:
        break;
    case MacroStore::FileOpResult::TargetExists: {
        SameMacro notice;
        m_page.runNotice(notice, dialog.size());
        return;
    }
    default:
        m_page.showMessage("DialogRenameMacroFailed");
        return;
    }
    m_ui->listWidgetHong->currentItem()->setText(newName);
    // A save's content may still be on its way to the bound buttons, asked
    // for under the old name: it goes out with the new one.
    if (m_page.savedRecords.contains(oldName)) {
        const MacroRecord saved = m_page.savedRecords.take(oldName);
        MacroRecord renamed = MacroStore::toRecord(newName, {});
        renamed.eventCount = saved.eventCount;
        std::memcpy(renamed.events, saved.events, sizeof renamed.events);
        m_page.savedRecords.insert(oldName, renamed);
        m_page.savedRecords.insert(newName, renamed);
    }
    if (m_page.shownMacro == oldName) {
        m_page.shownMacro = newName;
        m_page.currentMacroFile = MacroStore::filePath(m_page.macroFolder, newName);
    }
    emit PostMsg::instance()->SigMacroRename(oldName, newName);
}

void MacroFileOps::remove()
{
    if (m_page.refusedWhileRecording())
        return;
    if (!m_page.hasSelectedMacro())
        return;
    DeleteConfirm confirm;
    m_page.runNotice(confirm, confirm.size());
    if (!confirm.confirmed || !m_page.hasSelectedMacro())
        return;
    const QString name = m_page.selectedMacroName();
    if (MacroStore::remove(m_page.macroFolder, name) != MacroStore::FileOpResult::Done) {
        m_page.showMessage("DialogDeleteMacroFailed");
        return;
    }
    m_page.savedRecords.remove(name);
    emit PostMsg::instance()->SigDeleteMacroButton(m_page.macroPrefixText + name);
    delete m_ui->listWidgetHong->takeItem(m_ui->listWidgetHong->currentRow());
    // Another macro was deleted than the one shown: keep showing it, with
    // whatever it has not saved yet.
    if (name != m_page.shownMacro && m_page.selectShownMacro())
        return;
    m_ui->listWidgetKey->clear();
    m_ui->listWidgetHong->setCurrentRow(-1);
    m_page.shownMacro.clear();
    m_page.currentMacroFile.clear();
    m_page.eventsModified = false;
    m_page.repeatModeModified = false;
    m_page.setSaveEnabled(false);
}

void MacroFileOps::select()
{
    if (!m_page.hasSelectedMacro())
        return;
    if (!m_page.mayDropChanges()) {
        // Keep the macro with its changes on screen.
        m_page.selectShownMacro();
        return;
    }
    m_page.setSaveEnabled(false);
    m_ui->listWidgetKey->clear();
    m_page.repeatModeGroup->blockSignals(true);
    m_ui->NumberEdit->blockSignals(true);
    m_page.loadMacroEvents();
    // The list shows the file now: nothing is left to save.
    m_page.eventsModified = false;
    m_page.repeatModeModified = false;
}

void MacroFileOps::askExport()
{
    if (!m_page.hasSelectedMacro())
        return;
    const QString path = QFileDialog::getSaveFileName(
        &m_page, QStringLiteral("FileSave"), dialogStartFolder(QStringLiteral("G:")), QStringLiteral("File(*.ini)"));
    if (!path.isEmpty())
        exportTo(path);
}

bool MacroFileOps::exportTo(const QString &chosen)
{
    const QString path = withDefaultSuffix(chosen, QStringLiteral("ini"));
    QVector<MacroExport::Item> items;
    for (int row = 0; row < m_ui->listWidgetKey->count(); ++row) {
        const QListWidgetItem *item = m_ui->listWidgetKey->item(row);
        items.append({item->text(), item->icon(), item->type() != QListWidgetItem::Type});
    }
    // The list and the repeat boxes as shown, saved or not. Made in memory
    // and written as a whole: a full disk leaves an earlier export of that
    // name as it was, never an empty file in its place.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!MacroExport::write(&buffer, m_ui->listWidgetHong->currentItem()->text(), m_page.repeatMode(), items)
        || !atomicfile::write(path, bytes)) {
        m_page.showMessage("DialogMacroExportFailed");
        return false;
    }
    return true;
}

void MacroFileOps::askImport()
{
    if (m_page.refusedWhileRecording())
        return;
    const QString path = QFileDialog::getOpenFileName(
        &m_page, QStringLiteral("SelectFile"), dialogStartFolder(QStringLiteral("G:")), QStringLiteral("File(*.ini)"));
    if (!path.isEmpty())
        importFrom(path);
}

bool MacroFileOps::importFrom(const QString &path)
{
    QFile file(path);
    MacroExport::Contents contents;
    const MacroExport::Problem problem =
        file.open(QIODevice::ReadOnly) ? MacroExport::read(&file, &contents) : MacroExport::Problem::Unreadable;
    if (problem == MacroExport::Problem::Unreadable) {
        m_page.showMessage("DialogMacroImportFailed");
        return false;
    }
    // A name the list already has is the first thing the user needs to hear
    // about, whatever else is wrong with the file.
    if (!m_ui->listWidgetHong->findItems(contents.name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()
        || (MacroStore::isSafeName(contents.name)
            && QFileInfo::exists(MacroStore::filePath(m_page.macroFolder, contents.name)))) {
        SameMacro notice;
        m_page.runNotice(notice, QSize(300, 110));
        return false;
    }
    switch (problem) {
    case MacroExport::Problem::None:
        break;
    case MacroExport::Problem::BadName:
        m_page.showMessage("DialogInvalidMacroName");
        return false;
    case MacroExport::Problem::TooManyEvents: {
        KeyNumberLimit notice;
        m_page.runNotice(notice, notice.size());
        return false;
    }
    default:
        m_page.showMessage("DialogMacroImportFailed");
        return false;
    }
    if (!m_page.mayDropChanges())
        return false;
    // The file comes first: a macro the list shows always has one.
    if (!MacroStore::save(m_page.macroFolder, contents.name, contents.repeatMode, contents.events)) {
        m_page.showMessage("DialogMacroFileFailed");
        return false;
    }
    m_ui->listWidgetHong->addItem(contents.name);
    {
        const QSignalBlocker blocker(m_ui->listWidgetHong);
        m_ui->listWidgetHong->setCurrentRow(m_ui->listWidgetHong->count() - 1);
    }
    m_page.currentMacroFile = MacroStore::filePath(m_page.macroFolder, contents.name);
    m_page.shownMacro = contents.name;
    m_ui->listWidgetKey->clear();
    for (const MacroEvent &event : qAsConst(contents.events))
        m_ui->listWidgetKey->addItem(m_page.makeEventItem(event));
    // The repeat boxes keep their state; the imported mode is in the file.
    m_page.eventsModified = false;
    m_page.repeatModeModified = false;
    m_page.setSaveEnabled(false);
    if (contents.pausesShortened)
        m_page.showMessage("DialogPauseShortened");
    return true;
}
