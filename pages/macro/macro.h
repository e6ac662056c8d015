#pragma once

#include "pages/macro/macrostore.h"
#include "platform/hidusb/records.h"
#include "platform/keyhook/keyboardhook.h"

#include <QElapsedTimer>
#include <QHash>
#include <QModelIndex>
#include <QString>
#include <QVector>
#include <QWidget>

#include <memory>

class MacroFileOps;
class MacroRecorder;
class QButtonGroup;
class QListWidgetItem;

namespace Ui {
class Macro;
}

// The macro editor page: the list of the user's macros (one file each), the
// selected macro's event list, its repeat mode, and saving. Other pages reach
// it only through the hub.
//
// Every event item carries its event (kind and code, or the pause) in its
// item data; the text is only what the current language shows for it, so a
// language change re-texts the items and saving writes the data.
class Macro : public QWidget
{
    Q_OBJECT

public:
    explicit Macro(QWidget *parent = nullptr);
    ~Macro() override;

    // The macro folder and the file operations on the selected macro.
    QString macroFolder;
    QString currentMacroFile;
    bool eventsModified = false;
    bool repeatModeModified = false;

    void listMacroFiles();
    void loadMacroEvents();
    // Writes the selected macro's whole file from the event list with the
    // repeat mode `modeText`; false when nothing could be written.
    bool writeMacroFile(const QString &modeText);
    // The selected macro gets an empty file (a new macro).
    bool clearCurrentMacroFile();
    // Adds the event list's lines to the existing file of `name`.
    bool appendMacroEvents(const QString &name);

    // The event list.
    void appendKeyItem(const QString &name, bool press);
    void appendDelayItem(double ms);
    void insertKeyItem(const QString &name, bool press);
    void insertKeyClick(const QString &name);
    void insertDelayItem(double ms);

    // The event list as events, in list order.
    QVector<MacroEvent> events() const;
    // The repeat mode of the checked repeat box (1..250, 253, 254, 255).
    int repeatMode() const;

    // Key events a recording takes at most (releases of held keys included).
    static constexpr int recordLimit = MacroStore::recordEventMax;

    // The page's keyboard hook: installed while a recording runs.
    std::unique_ptr<KeyboardHook> keyboardHook;
    // The recording and the file operations of the list (create, rename,
    // delete, select, export, import) are done by these helpers; the slots
    // below hand over to them.
    MacroRecorder &recorder() { return *m_recorder; }

    // An event item, and the event an item holds.
    QListWidgetItem *makeEventItem(const MacroEvent &event) const;
    static MacroEvent eventOf(const QListWidgetItem *item);

    // The two halves of export and import after the file dialog; false when
    // nothing was written or added (the user has been told why).
    bool exportMacroTo(const QString &chosen);
    bool importMacroFrom(const QString &path);

public slots:
    void SlotAllLanguage(int index);
    void SlotSetMacroPage();
    // The button page shows a button that holds a macro on the mouse: the
    // macro's name joins the list and its events are added to its file.
    void SlotButtonToMacro(FlashDataMap DataMap, int KeyNumer);
    // Sends macro `MacroName` as it was last saved to device button `index`
    // (a macro not saved since the page was built is not sent).
    void SlotMacroDownLoadData(QString MacroName, int index);

    void on_NewHong_clicked();
    void CreateMewMacro();
    void RenameMacro();
    void on_DeleteHong_clicked();
    void DeleteMacro();
    void on_listWidgetHong_clicked(const QModelIndex &index);
    void on_listWidgetHong_customContextMenuRequested(const QPoint &pos);
    // Export of the selected macro as shown, and import of an exported one;
    // both ask for the file first.
    void ExPortMacro();
    void InPortMacro();

    void on_StartRecord_clicked();
    void on_StopRecord_clicked();
    // The recording's key callback: every key message while a window of
    // the program is in front (virtual key, key down, repeat flag).
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);

    void on_Amend_clicked();
    void on_ChooseEvent_activated(int index);
    void on_DeleteKey_clicked();
    void on_Save_clicked();
    void on_listWidgetKey_itemChanged(QListWidgetItem *item);
    void on_NumberEdit_valueChanged(int value);
    void on_DelayTime_valueChanged(int value);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool hasSelectedMacro() const;
    QString selectedMacroName() const;
    void setSaveEnabled(bool enabled);
    QString enabledButtonSheet() const;
    void repeatModeChanged();
    void applyRepeatMode(int mode);
    void retextEventItems();
    // Asks before unsaved changes of the shown macro are dropped; true when
    // they may go (or there are none).
    bool mayDropChanges();
    // Shows the stop-recording-first notice while a recording runs.
    bool refusedWhileRecording();
    // Makes the shown macro's item current again; false when it has none.
    bool selectShownMacro();
    void showMessage(const char *key);
    // Puts a notice or dialog where the page's notices go and runs it.
    void placeNotice(QWidget *notice, const QSize &placementSize);
    template <typename Notice>
    void runNotice(Notice &notice, const QSize &placementSize)
    {
        placeNotice(&notice, placementSize);
        notice.exec();
    }
    void styleStaticWidgets();
    void insertItem(int row, const MacroEvent &event);
    // Gives an event item another event of its kind (a pause another
    // length, a key another key), keeping its press or release.
    void setItemEvent(QListWidgetItem *item, const MacroEvent &event);
    template <typename Dialog>
    void runEditDialog(Dialog &dialog);
    // Key events (not pauses) in the event list.
    int keyEventCount() const;
    // Shows the event-limit notice when `adding` more key events would not
    // fit in the mouse's record.
    bool refusedAtLimit(int adding);

    std::unique_ptr<Ui::Macro> ui;
    QButtonGroup *delayModeGroup = nullptr;
    QButtonGroup *repeatModeGroup = nullptr;
    int lastKeyCode = -1;
    QElapsedTimer eventTimer;
    bool firstEventPending = false;
    QString buttonTextColor;
    int recordedCount = 0;
    QString pictureDir;
    QString exportText;
    QString renameText;
    QString deleteText;
    QString newMacroText;
    QString importText;
    QString macroPrefixText;
    // The macro whose events the list shows (empty: none).
    QString shownMacro;
    // Each macro's record as its last save wrote it: the bound buttons get
    // that content, whatever is selected or edited by the time they ask.
    QHash<QString, MacroRecord> savedRecords;

    friend class MacroRecorder;
    friend class MacroFileOps;
    std::unique_ptr<MacroRecorder> m_recorder;
    std::unique_ptr<MacroFileOps> m_fileOps;
};
