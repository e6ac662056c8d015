#include "pages/macro/macro.h"
#include "ui_macro.h"

#include "app/exeisrun.h"
#include "app/look.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/setters.h"
#include "pages/macro/adddelaytime.h"
#include "pages/macro/addkey.h"
#include "pages/macro/macrofileops.h"
#include "pages/macro/macroflags.h"
#include "pages/macro/macrokeynames.h"
#include "pages/macro/macronotices.h"
#include "pages/macro/macrorecorder.h"

#include <QAction>
#include <QButtonGroup>
#include <QCursor>
#include <QKeyEvent>
#include <QListView>
#include <QListWidgetItem>
#include <QMenu>
#include <QMouseEvent>

#include <cmath>

namespace {

// Item data of an event item.
constexpr int kindRole = Qt::UserRole;
constexpr int codeRole = Qt::UserRole + 1;
constexpr int delayRole = Qt::UserRole + 2;
constexpr int isDelayRole = Qt::UserRole + 3;
// Item type of a release item; press and delay items keep the default 0.
constexpr int releaseType = 1;

// Placement of the page's notices and name dialog relative to the page.
constexpr int noticeDx = -100;
constexpr int noticeDy = -50;
// ... and of the delay and key dialogs.
constexpr int editDialogDx = -50;
constexpr int editDialogDy = -70;

QString macroText(const char *key, int index = languageIndex)
{
    return catalogueText(QStringLiteral("macro"), QLatin1String(key), index);
}

quint32 delayFromMs(double ms)
{
    if (!(ms > 0))
        return 0;
    return ms >= MacroStore::pauseMaxMs ? MacroStore::pauseMaxMs : static_cast<quint32>(std::llround(ms));
}

} // namespace

Macro::Macro(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::Macro>())
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Macro"));
    macroFolder = MacroStore::defaultFolder();

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigButtonToMacro, this, &Macro::SlotButtonToMacro);
    connect(hub, &PostMsg::SigMacroDownLoadData, this, &Macro::SlotMacroDownLoadData);
    connect(hub, &PostMsg::SigSetMacroPage, this, &Macro::SlotSetMacroPage);

    styleStaticWidgets();
    listMacroFiles();

    delayModeGroup = new QButtonGroup(this);
    delayModeGroup->setExclusive(true);
    delayModeGroup->addButton(ui->AutoInsertDelay);
    delayModeGroup->addButton(ui->DefaultDelay);
    repeatModeGroup = new QButtonGroup(this);
    repeatModeGroup->setExclusive(true);
    repeatModeGroup->addButton(ui->ReUntilLoose);
    repeatModeGroup->addButton(ui->ReUntilClick);
    repeatModeGroup->addButton(ui->ReNumber);
    repeatModeGroup->addButton(ui->ReUntil);

    keyboardHook = std::make_unique<KeyboardHook>(KeyboardHook::User::MacroRecording);
    m_recorder = std::make_unique<MacroRecorder>(*this);
    m_fileOps = std::make_unique<MacroFileOps>(*this);
    ui->StartRecord->setFocusPolicy(Qt::NoFocus);
    ui->StopRecord->setFocusPolicy(Qt::NoFocus);
    ui->StopRecord->hide();
    ui->AutoInsertDelay->setChecked(true);
    connect(
        repeatModeGroup, &QButtonGroup::idToggled, this, [this](int, bool) { repeatModeChanged(); },
        Qt::DirectConnection);
    setSaveEnabled(false);

    connect(hub, &PostMsg::SigAllLanguage, this, &Macro::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
}

Macro::~Macro()
{
    if (keyboardHook->isInstalled()) {
        keyboardHook->remove();
        macroRecording = false;
    }
    // The callback is kept between recordings; it must not outlive the page.
    keyboardHook->setCallback({});
}

void Macro::styleStaticWidgets()
{
    buttonTextColor = look::rgbNumbers(look::Role::Button);
    look::setSheet(ui->listWidgetHong, look::darkListSheet(QStringLiteral("listWidgetHong"), pictureDir));
    look::setSheet(ui->listWidgetKey, look::darkListSheet(QStringLiteral("listWidgetKey"), pictureDir));

    look::setSheet(ui->ChooseEvent, look::comboSheet(pictureDir));
    auto *popup = new QListView(ui->ChooseEvent);
    look::setSheet(popup, look::comboListSheet());
    ui->ChooseEvent->setView(popup);
    ui->ChooseEvent->setMaxVisibleItems(5);

    // The options a recording switches off turn grey meanwhile, so they do
    // not look as if they still took a click.
    for (QLabel *label : {ui->label, ui->label_2, ui->label_3, ui->AutoInsertDelayLabel, ui->ReUntilLabel,
                          ui->ReUntilClickLabel, ui->ReUntilLooseLabel})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel"))
                                  + look::disabledColorSheet(QStringLiteral("QLabel:disabled")));
    for (QCheckBox *box :
         {ui->AutoInsertDelay, ui->DefaultDelay, ui->ReUntilLoose, ui->ReUntilClick, ui->ReUntil, ui->ReNumber})
        look::setSheet(
            box, look::checkBoxSheet(pictureDir, QStringLiteral("CheckBoxCheck.png"), QStringLiteral("CheckBox.png"))
                     + look::disabledColorSheet(QStringLiteral("QCheckBox:disabled")));

    for (QToolButton *button : {ui->NewHong, ui->DeleteHong, ui->Amend, ui->DeleteKey})
        look::setSheet(button, enabledButtonSheet());

    look::setSheet(ui->StopRecord,
                   look::imageSheet(QStringLiteral("QPushButton"), pictureDir,
                                    look::Images(QStringLiteral("Stop.png"), QStringLiteral("StopHover.png")),
                                    look::Fit::Centre, look::rgb(look::Role::Button)));
    look::setSheet(ui->StartRecord,
                   look::imageSheet(QStringLiteral("QPushButton"), pictureDir,
                                    look::Images(QStringLiteral("Record.png"), QStringLiteral("RecordHover.png")),
                                    look::Fit::Centre, look::rgb(look::Role::Button)));

    const QString spinSheet = look::fieldSheet(QStringLiteral("QSpinBox"), look::Role::LineEditSecond)
                              + look::disabledColorSheet(QStringLiteral("QSpinBox:disabled"));
    look::setSheet(ui->DelayTime, spinSheet);
    look::setSheet(ui->NumberEdit, spinSheet);
}

QString Macro::enabledButtonSheet() const
{
    return look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                            look::buttonImages(QStringLiteral("Button"), look::Hover | look::Click), look::Fit::Centre,
                            look::rgb(look::Role::Button));
}

void Macro::setSaveEnabled(bool enabled)
{
    look::setSheet(ui->Save, enabled ? enabledButtonSheet()
                                     : look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                                        look::Images(QStringLiteral("Button.png")), look::Fit::Centre,
                                                        look::disabledButtonTextColor()));
    ui->Save->setEnabled(enabled);
}

void Macro::SlotAllLanguage(int index)
{
    ui->label->setText(macroText("MacroList", index));
    ui->label_2->setText(macroText("KeyList", index));
    ui->NewHong->setText(macroText("NewMacro", index));
    ui->DeleteHong->setText(macroText("Delete", index));
    ui->Amend->setText(macroText("Modify", index));
    ui->DeleteKey->setText(macroText("Delete", index));
    ui->StartRecord->setText(macroText("StartRecord", index));
    ui->StopRecord->setText(macroText("StopRecord", index));
    ui->AutoInsertDelayLabel->setText(macroText("AutoDelay", index));
    ui->DefaultDelay->setText(macroText("DefaultDelay", index));
    ui->ReUntilLooseLabel->setText(macroText("UntilThisReleased", index));
    ui->ReUntilClickLabel->setText(macroText("UntilAnyPressed", index));
    ui->ReUntilLabel->setText(macroText("UntilThisPressed", index));
    ui->ReNumber->setText(macroText("CycleTimes", index));
    ui->label_3->setText(macroText("InsertEvent", index));

    const QString options = QStringLiteral("InsertEventOptions");
    ui->ChooseEvent->setItemText(1, catalogueOption(options, QStringLiteral("0"), index));
    ui->ChooseEvent->setItemText(2, catalogueOption(options, QStringLiteral("1"), index));
    ui->ChooseEvent->setItemText(3, macroText("Delay", index));
    // Items 4..8: left, right, middle, forward, back.
    for (int i = 0; i < 5; ++i)
        ui->ChooseEvent->setItemText(4 + i, catalogueOption(options, QString::number(2 + i), index));
    // The names by bit: left 0x01, right 0x02, middle 0x04, back 0x08, forward 0x10.
    const char *bitKeys[5] = {"2", "3", "4", "6", "5"};
    for (int i = 0; i < 5; ++i)
        mouseButtonNames[i] = catalogueOption(options, QLatin1String(bitKeys[i]), index);

    ui->Save->setText(catalogueText(QStringLiteral("common"), QStringLiteral("Save"), index));
    macroPrefixText = macroText("MacroSeond", index);
    exportText = macroText("MacroExport", index);
    renameText = macroText("Rename", index);
    deleteText = macroText("Delete", index);
    newMacroText = macroText("NewMacro", index);
    importText = macroText("MacroImport", index);

    retextEventItems();
}

// ---------------------------------------------------------------------------
// The event list

QListWidgetItem *Macro::makeEventItem(const MacroEvent &event) const
{
    QListWidgetItem *item;
    if (event.isDelay()) {
        item = new QListWidgetItem(QIcon(pictureDir + QStringLiteral("MacroTime.png")),
                                   QString::number(event.delayMs) + QStringLiteral("ms"));
        item->setData(isDelayRole, true);
        item->setData(delayRole, event.delayMs);
        return item;
    }
    const bool press = event.type == MacroEvent::Press;
    item = new QListWidgetItem(
        QIcon(pictureDir + (press ? QStringLiteral("MacroDown.png") : QStringLiteral("MacroUp.png"))),
        macroEventName(event.kind, event.code), nullptr, press ? QListWidgetItem::Type : releaseType);
    item->setData(isDelayRole, false);
    item->setData(kindRole, event.kind);
    item->setData(codeRole, event.code);
    return item;
}

MacroEvent Macro::eventOf(const QListWidgetItem *item)
{
    const QVariant isDelay = item->data(isDelayRole);
    if (isDelay.isValid()) {
        if (isDelay.toBool())
            return MacroEvent::delay(item->data(delayRole).toUInt());
        return MacroEvent::key(item->data(kindRole).toInt(), item->data(codeRole).toInt(), item->type() != releaseType);
    }
    // An item made from a text alone: a delay by its "ms", a key by its name.
    const QString text = item->text();
    if (text.contains(QLatin1String("ms"))) {
        QString digits = text;
        digits.remove(QStringLiteral("ms"));
        return MacroEvent::delay(digits.trimmed().toUInt());
    }
    int kind = 1;
    int code = 0;
    macroEventFromName(text, &kind, &code);
    return MacroEvent::key(kind, code, item->type() != releaseType);
}

QVector<MacroEvent> Macro::events() const
{
    QVector<MacroEvent> list;
    for (int i = 0; i < ui->listWidgetKey->count(); ++i)
        list << eventOf(ui->listWidgetKey->item(i));
    return list;
}

void Macro::retextEventItems()
{
    // Re-texting is no edit of the macro.
    const QSignalBlocker blocker(ui->listWidgetKey);
    for (int i = 0; i < ui->listWidgetKey->count(); ++i) {
        QListWidgetItem *item = ui->listWidgetKey->item(i);
        const MacroEvent event = eventOf(item);
        if (!event.isDelay())
            item->setText(macroEventName(event.kind, event.code));
    }
}

void Macro::insertItem(int row, const MacroEvent &event)
{
    ui->listWidgetKey->insertItem(row, makeEventItem(event));
}

namespace {

MacroEvent keyEvent(const QString &name, bool press)
{
    int kind = 1;
    int code = 0;
    macroEventFromName(name, &kind, &code);
    return MacroEvent::key(kind, code, press);
}

} // namespace

void Macro::appendKeyItem(const QString &name, bool press)
{
    if (!hasSelectedMacro())
        return;
    insertItem(ui->listWidgetKey->count(), keyEvent(name, press));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 1);
}

void Macro::appendDelayItem(double ms)
{
    if (!hasSelectedMacro())
        return;
    insertItem(ui->listWidgetKey->count(), MacroEvent::delay(delayFromMs(ms)));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 2);
}

void Macro::insertKeyItem(const QString &name, bool press)
{
    QListWidget *list = ui->listWidgetKey;
    const int row = list->currentRow();
    const int count = list->count();
    const MacroEvent key = keyEvent(name, press);
    const MacroEvent pause = MacroEvent::delay(10);
    const bool lastIsDelay = count > 0 && eventOf(list->item(count - 1)).isDelay();
    if (count == 0) {
        insertItem(0, key);
        insertItem(1, pause);
    } else if (row == 0 && count > 1) {
        insertItem(2, key);
        insertItem(3, pause);
    } else if (row < 0 || row == count - 1) {
        // At the end: the new key needs a pause before it unless the list
        // already ends with one.
        if (lastIsDelay) {
            insertItem(count, key);
            insertItem(count + 1, pause);
        } else {
            insertItem(count, pause);
            insertItem(count + 1, key);
        }
    } else if (eventOf(list->item(row)).isDelay()) {
        insertItem(row + 1, key);
        insertItem(row + 2, pause);
    } else {
        insertItem(row + 2, key);
        insertItem(row + 3, pause);
    }
}

void Macro::insertKeyClick(const QString &name)
{
    QListWidget *list = ui->listWidgetKey;
    const int row = list->currentRow();
    const int count = list->count();
    const MacroEvent pressEvent = keyEvent(name, true);
    const MacroEvent releaseEvent = keyEvent(name, false);
    const MacroEvent pause = MacroEvent::delay(10);
    auto insertAll = [this](int at, std::initializer_list<MacroEvent> items) {
        for (const MacroEvent &e : items)
            insertItem(at++, e);
    };
    if (count == 0) {
        insertAll(0, {pressEvent, pause, releaseEvent});
    } else if (row == 0 && count > 1) {
        insertAll(2, {pressEvent, pause, releaseEvent, pause});
    } else if (row < 0 || row == count - 1) {
        if (eventOf(list->item(count - 1)).isDelay())
            insertAll(count, {pressEvent, pause, releaseEvent, pause});
        else
            insertAll(count, {pause, pressEvent, pause, releaseEvent});
    } else if (eventOf(list->item(row)).isDelay()) {
        insertAll(row + 1, {pressEvent, pause, releaseEvent, pause});
    } else {
        insertAll(row + 1, {pause, pressEvent, pause, releaseEvent});
    }
}

void Macro::insertDelayItem(double ms)
{
    QListWidget *list = ui->listWidgetKey;
    const int row = list->currentRow();
    const MacroEvent pause = MacroEvent::delay(delayFromMs(ms));
    if (row < 0) {
        // At the end, as the pause after the last key; a list that already
        // ends with a pause gets that pause changed instead of a second one,
        // and an empty list has no key for a pause to follow.
        const int count = list->count();
        if (count == 0)
            return;
        if (eventOf(list->item(count - 1)).isDelay())
            setItemEvent(list->item(count - 1), pause);
        else
            insertItem(count, pause);
        return;
    }
    if (row == 0)
        return; // the first event has no pause before it
    int at = row;
    if (eventOf(list->item(row)).isDelay() || eventOf(list->item(row - 1)).isDelay()) {
        if (!eventOf(list->item(row)).isDelay())
            at = row - 1;
        delete list->takeItem(at);
    }
    insertItem(at, pause);
    list->setCurrentRow(at);
}

// ---------------------------------------------------------------------------
// Macro files

bool Macro::hasSelectedMacro() const
{
    return ui->listWidgetHong->currentItem() != nullptr;
}

QString Macro::selectedMacroName() const
{
    const QListWidgetItem *item = ui->listWidgetHong->currentItem();
    return item ? item->text() : QString();
}

void Macro::listMacroFiles()
{
    for (const QString &name : MacroStore::listNames(macroFolder))
        ui->listWidgetHong->addItem(name);
}

int Macro::repeatMode() const
{
    if (ui->ReUntilLoose->isChecked())
        return MacroStore::untilThisReleased;
    if (ui->ReUntilClick->isChecked())
        return MacroStore::untilAnyPressed;
    if (ui->ReUntil->isChecked())
        return MacroStore::untilThisPressed;
    return ui->NumberEdit->value();
}

void Macro::applyRepeatMode(int mode)
{
    switch (mode) {
    case MacroStore::untilThisReleased:
        ui->ReUntilLoose->setChecked(true);
        break;
    case MacroStore::untilAnyPressed:
        ui->ReUntilClick->setChecked(true);
        break;
    case MacroStore::untilThisPressed:
        ui->ReUntil->setChecked(true);
        break;
    default:
        ui->ReNumber->setChecked(true);
        ui->NumberEdit->setValue(mode >= 1 && mode <= 250 ? mode : 1);
        break;
    }
}

void Macro::loadMacroEvents()
{
    // Whatever the file holds, the repeat boxes speak again afterwards: a
    // later change of them is a change of the macro.
    struct Release
    {
        Macro *page;
        ~Release()
        {
            page->repeatModeGroup->blockSignals(false);
            page->ui->NumberEdit->blockSignals(false);
        }
    } release{this};

    if (!hasSelectedMacro())
        return;
    const QString name = selectedMacroName();
    ui->listWidgetKey->clear();
    currentMacroFile = MacroStore::filePath(macroFolder, name);
    shownMacro = name;

    MacroStore::Contents contents;
    if (MacroStore::load(macroFolder, name, &contents) != MacroStore::LoadResult::Loaded)
        return;
    if (contents.hasModeLine)
        applyRepeatMode(contents.repeatMode);
    const QSignalBlocker blocker(ui->listWidgetKey);
    for (const MacroEvent &event : contents.events)
        ui->listWidgetKey->addItem(makeEventItem(event));
}

bool Macro::writeMacroFile(const QString &modeText)
{
    if (!hasSelectedMacro())
        return false;
    const QString name = selectedMacroName();
    currentMacroFile = MacroStore::filePath(macroFolder, name);
    return MacroStore::writeAtomically(currentMacroFile, modeText.toUtf8() + '\n' + MacroStore::eventLines(events()));
}

bool Macro::clearCurrentMacroFile()
{
    return hasSelectedMacro() && MacroStore::createEmpty(macroFolder, selectedMacroName());
}

bool Macro::appendMacroEvents(const QString &name)
{
    currentMacroFile = MacroStore::filePath(macroFolder, name);
    return MacroStore::appendEvents(macroFolder, name, events());
}

// ---------------------------------------------------------------------------
// Notices

void Macro::placeNotice(QWidget *notice, const QSize &placementSize)
{
    notice->move(look::centredPosition(mapToGlobal(QPoint(0, 0)), size(), placementSize, noticeDx, noticeDy));
}

void Macro::showMessage(const char *key)
{
    UpDateWarning notice;
    notice.setText(macroText(key));
    runNotice(notice, notice.size());
}

bool Macro::selectShownMacro()
{
    const QList<QListWidgetItem *> shown =
        ui->listWidgetHong->findItems(shownMacro, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (shownMacro.isEmpty() || shown.isEmpty())
        return false;
    const QSignalBlocker blocker(ui->listWidgetHong);
    ui->listWidgetHong->setCurrentItem(shown.first());
    return true;
}

bool Macro::refusedWhileRecording()
{
    if (!macroRecording)
        return false;
    ExeIsRun notice;
    notice.showStopRecordFirst();
    runNotice(notice, notice.size());
    return true;
}

bool Macro::mayDropChanges()
{
    if (shownMacro.isEmpty() || !(eventsModified || repeatModeModified))
        return true;
    ContainReset question;
    question.setText(macroText("DialogUnsavedMacro"));
    runNotice(question, question.size());
    return question.accepted;
}

// ---------------------------------------------------------------------------
// List management, export and import (MacroFileOps does the work)

void Macro::on_NewHong_clicked()
{
    m_fileOps->create();
}

void Macro::CreateMewMacro()
{
    m_fileOps->create();
}

void Macro::RenameMacro()
{
    m_fileOps->rename();
}

void Macro::on_DeleteHong_clicked()
{
    m_fileOps->remove();
}

void Macro::DeleteMacro()
{
    m_fileOps->remove();
}

void Macro::on_listWidgetHong_clicked(const QModelIndex &)
{
    m_fileOps->select();
}

void Macro::on_listWidgetHong_customContextMenuRequested(const QPoint &pos)
{
    QListWidgetItem *item = ui->listWidgetHong->itemAt(pos);
    QMenu menu(this);
    look::setSheet(&menu, look::menuSheet());
    if (item) {
        menu.addAction(exportText, this, &Macro::ExPortMacro);
        menu.addAction(renameText, this, &Macro::RenameMacro);
        menu.addAction(deleteText, this, &Macro::DeleteMacro);
    } else {
        menu.addAction(newMacroText, this, &Macro::CreateMewMacro);
        menu.addAction(importText, this, &Macro::InPortMacro);
    }
    for (QAction *action : menu.actions())
        action->setFont(ui->listWidgetHong->font());
    menu.exec(QCursor::pos());
}

void Macro::ExPortMacro()
{
    m_fileOps->askExport();
}

bool Macro::exportMacroTo(const QString &chosen)
{
    return m_fileOps->exportTo(chosen);
}

void Macro::InPortMacro()
{
    m_fileOps->askImport();
}

bool Macro::importMacroFrom(const QString &path)
{
    return m_fileOps->importFrom(path);
}

// ---------------------------------------------------------------------------
// Recording (MacroRecorder does the work)

void Macro::on_StartRecord_clicked()
{
    m_recorder->start();
}

void Macro::on_StopRecord_clicked()
{
    m_recorder->stop();
}

void Macro::UpdateCapslockTip(int keyCode, bool downOrUp, bool)
{
    m_recorder->takeKey(keyCode, downOrUp);
}

// ---------------------------------------------------------------------------
// Editing the events

template <typename Dialog>
void Macro::runEditDialog(Dialog &dialog)
{
    dialog.move(look::centredPosition(mapToGlobal(QPoint(0, 0)), size(), dialog.size(), editDialogDx, editDialogDy));
    dialog.exec();
}

void Macro::setItemEvent(QListWidgetItem *item, const MacroEvent &event)
{
    if (event.isDelay()) {
        item->setData(delayRole, event.delayMs);
        item->setText(QString::number(event.delayMs) + QStringLiteral("ms"));
    } else {
        item->setData(kindRole, event.kind);
        item->setData(codeRole, event.code);
        item->setText(macroEventName(event.kind, event.code));
    }
}

void Macro::on_Amend_clicked()
{
    if (refusedWhileRecording())
        return;
    QListWidgetItem *item = ui->listWidgetKey->currentItem();
    if (!item)
        return;
    const MacroEvent current = eventOf(item);
    if (current.isDelay()) {
        AddDelayTime dialog;
        runEditDialog(dialog);
        // The list may have changed under the dialog (a macro from the mouse).
        if (!dialog.accepted || ui->listWidgetKey->currentItem() != item)
            return;
        setItemEvent(item, MacroEvent::delay(quint32(dialog.delayMs)));
    } else {
        addKey dialog;
        runEditDialog(dialog);
        if (dialog.result() != QDialog::Accepted || !dialog.accepted || ui->listWidgetKey->currentItem() != item)
            return;
        setItemEvent(item, keyEvent(dialog.keyName, current.type == MacroEvent::Press));
    }
    setSaveEnabled(true);
}

void Macro::on_ChooseEvent_activated(int index)
{
    // The chooser is off while a recording runs; the check keeps a call
    // from elsewhere just as harmless.
    if (macroRecording)
        return;
    if (index == 1 || index == 2) {
        if (refusedAtLimit(1))
            return;
        addKey dialog;
        runEditDialog(dialog);
        if (dialog.result() != QDialog::Accepted || !dialog.accepted || !hasSelectedMacro())
            return;
        eventsModified = true;
        insertKeyItem(dialog.keyName, index == 1);
        setSaveEnabled(true);
    } else if (index == 3) {
        AddDelayTime dialog;
        runEditDialog(dialog);
        if (!dialog.accepted || !hasSelectedMacro() || ui->listWidgetKey->currentRow() < 0)
            return;
        const QVector<MacroEvent> before = events();
        insertDelayItem(dialog.delayMs);
        // The first event has no pause before it: nothing changed there.
        if (events() == before)
            return;
        eventsModified = true;
        setSaveEnabled(true);
    } else if (index >= 4 && index <= 8) {
        if (!hasSelectedMacro() || refusedAtLimit(2))
            return;
        // Left, right, middle, forward, back.
        static const int bits[5] = {0x01, 0x02, 0x04, 0x10, 0x08};
        eventsModified = true;
        insertKeyClick(mouseButtonName(bits[index - 4]));
        setSaveEnabled(true);
    }
}

int Macro::keyEventCount() const
{
    int keys = 0;
    for (int i = 0; i < ui->listWidgetKey->count(); ++i)
        if (!eventOf(ui->listWidgetKey->item(i)).isDelay())
            ++keys;
    return keys;
}

bool Macro::refusedAtLimit(int adding)
{
    // The mouse holds no more key events than a recording may take; an
    // insertion past that would be cut off silently when the macro is sent.
    if (!hasSelectedMacro() || keyEventCount() + adding <= recordLimit)
        return false;
    KeyNumberLimit notice;
    runNotice(notice, notice.size());
    return true;
}

void Macro::on_DeleteKey_clicked()
{
    if (refusedWhileRecording())
        return;
    if (!hasSelectedMacro())
        return;
    QListWidget *list = ui->listWidgetKey;
    const int count = list->count();
    if (count <= 3) {
        // One key's press, pause and release go as a whole.
        list->clear();
        eventsModified = true;
        setSaveEnabled(true);
        return;
    }
    const int row = list->currentRow();
    if (row < 0)
        return;
    // An event goes with its partner: a pause with the key before it, a key
    // with the pause after it, the last item with the one before it.
    int first = row;
    int removed = 2;
    const bool isDelay = eventOf(list->item(row)).isDelay();
    if (row == count - 1) {
        first = row - 1;
    } else if (isDelay) {
        if (row == 0)
            removed = 1; // a pause with no key before it goes alone
        else
            first = row - 1;
    } else if (!eventOf(list->item(row + 1)).isDelay()) {
        removed = 1; // a key followed by another key has no pause to take
    }
    for (int i = 0; i < removed; ++i)
        delete list->takeItem(first);
    list->setCurrentRow(qMin(first, list->count() - 1));
    eventsModified = true;
    setSaveEnabled(true);
}

// ---------------------------------------------------------------------------
// Saving and the repeat mode

void Macro::on_Save_clicked()
{
    if (refusedWhileRecording())
        return;
    setSaveEnabled(false);
    if (!hasSelectedMacro())
        return;
    const QString name = selectedMacroName();
    // One write that replaces the file whole: a failed save leaves the
    // last saved macro, and the changes stay on screen to be saved again.
    if (!writeMacroFile(QString::number(repeatMode()))) {
        showMessage("DialogMacroFileFailed");
        setSaveEnabled(true);
        return;
    }
    if (eventsModified) {
        eventsModified = false;
        savedRecords.insert(name, MacroStore::toRecord(name, events()));
        emit PostMsg::instance()->SigUpDataMacro(name, 0);
    }
    if (repeatModeModified) {
        repeatModeModified = false;
        emit PostMsg::instance()->SigUpDataMacro(name, 1);
    }
}

void Macro::repeatModeChanged()
{
    repeatModeModified = true;
    setSaveEnabled(true);
}

void Macro::on_listWidgetKey_itemChanged(QListWidgetItem *)
{
    eventsModified = true;
}

void Macro::on_NumberEdit_valueChanged(int)
{
    repeatModeChanged();
}

void Macro::on_DelayTime_valueChanged(int value)
{
    if (value >= 65535)
        ui->DelayTime->setValue(65535);
}

void Macro::SlotMacroDownLoadData(QString MacroName, int index)
{
    MacroName.remove(QChar(0));
    if (index < 0 || index >= 16 || !uiReady)
        return;
    const auto saved = savedRecords.constFind(MacroName);
    if (saved == savedRecords.constEnd())
        return;
    // The function goes back as the mouse holds it: a changed repeat mode
    // travels its own way.
    const ButtonFunction function = currentFlashData.buttonFunctions[index];
    const MacroRecord record = *saved;
    setButtonMacro(index, &function, &record);
}

void Macro::SlotButtonToMacro(FlashDataMap DataMap, int KeyNumer)
{
    if (KeyNumer < 0 || KeyNumer >= 16)
        return;
    const MacroRecord &record = DataMap.macros[KeyNumer];
    const QString name = MacroStore::recordName(record);
    // A name from the mouse makes a file name like a typed one.
    if (!MacroStore::isSafeName(name))
        return;
    // The button page has given the macro its file when it had none. This
    // runs while the pages refill: the list only gains the name, and the
    // macro being edited or recorded stays as it is.
    QListWidget *list = ui->listWidgetHong;
    if (list->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
        const int row = list->currentRow();
        const QSignalBlocker blocker(list);
        list->insertItem(row < 0 ? list->count() : row + 1, name);
    }
    emit PostMsg::instance()->SigAddMacroButton();
}

void Macro::SlotSetMacroPage()
{
    m_recorder->endOnLeavingPage();
}

// ---------------------------------------------------------------------------
// Page events

void Macro::mousePressEvent(QMouseEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return;
    const QPoint pos = event->pos();
    if (ui->DelayTime->geometry().contains(pos) || ui->NumberEdit->geometry().contains(pos))
        return;
    ui->DelayTime->clearFocus();
    ui->NumberEdit->clearFocus();
    setFocus(Qt::OtherFocusReason);
}

void Macro::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QWidget::keyPressEvent(event);
}

void Macro::changeEvent(QEvent *) {}
