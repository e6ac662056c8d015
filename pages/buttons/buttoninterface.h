#pragma once

// The button page: what each physical button of the mouse does.
//
// The page lists the model's buttons as selectors labelled with their current
// function (decoded from the device record), opens the function list and the
// option panel on the function a selected button holds, writes key
// combinations and multimedia keys, and carries the page-wide controls: the
// configuration slot, the release and wheel debounce, export and import of
// the configuration. It also creates and finally releases the device worker.
//
// The page keeps three mirrors of every button's function triple (type, p1,
// p2), always 16 entries each, refilled from every record it is shown and
// updated after each successful write (setButtonState). The selection is the
// checked selector of selectorGroup; the option handlers write to it.

#include "pages/buttons/buttonfunction.h"
#include "platform/hidusb/records.h"

#include <QString>
#include <QVector>
#include <QWidget>

#include <memory>

namespace Ui {
class Buttoninterface;
}
class QAbstractButton;
class QButtonGroup;
class QFont;
class QScrollArea;
class QToolButton;
class QVBoxLayout;
class ButtonFunctionOptions;
class MacroBinding;
class WorkerOwner;

class Buttoninterface : public QWidget
{
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget *parent = nullptr);
    ~Buttoninterface() override;

    // --- for the function options ------------------------------------------
    // The selector of device button b (nullptr outside 0..15).
    QToolButton *selector(int b) const;
    // The device button of the checked selector, -1 when none is checked.
    int selectedButton() const;
    // Stores a written function in the mirrors (b outside 0..15: nothing).
    void setButtonState(int b, int type, int p1, int p2);
    // Whether writing (type, p1) into button b would leave the mouse without
    // a left click: b is the only button of the model holding it.
    bool wouldLoseLeftClick(int b, int type, int p1) const;
    // Puts the label of device button b's function on its selector, from
    // `record` (a macro-bound button also rebuilds its macro file).
    void showButtonFunction(int b, int type, int p1, int p2, const FlashDataMap &record);
    // DPI-lock codes for the open model's sensor.
    int dpiToCode(int dpi) const;
    int codeToDpi(int code) const;
    // Writes a combination text into button b; false (nothing written) for
    // text outside the key vocabulary, a refused write or a lost left click.
    bool assignKeyCombination(int button, QString text);
    // Writes the multimedia key whose usage has low byte `key` into button b.
    bool assignMultimediaKey(int button, int key);

    // --- macros --------------------------------------------------------------
    // A button counts as bound to macro M while its selector reads
    // macroPrefix + M; the page keeps no other table of bindings.
    //
    // The record and repeat mode of macro `name` from its file; false (record
    // zero) when user changes are not allowed yet or the file cannot be read.
    bool loadMacroRecord(const QString &name, MacroRecord *record, int *repeatMode) const;
    // The device buttons bound to `name`, in the selector list's order.
    QVector<int> buttonsBoundTo(const QString &name) const;
    // Clears the check marks of the option panel and of the macro list.
    void uncheckAllOptions();
    // Back to the rest state: function list closed, debounce page shown.
    void closePanels();
    // Writes a configuration file of `record` for the open model. False, with
    // nothing left behind, when it could not be written.
    static bool exportButtonConfig(const QString &path, const FlashDataMap &record);
    // Exports the open device's record to `path` (".bin" added when the name
    // has no suffix); tells the user when the file could not be written.
    // False, and nothing written, when no record of the open device is held.
    bool exportTo(const QString &chosen);

    const QVector<int> &types() const { return buttonTypes; }
    const QVector<int> &values() const { return buttonValues; }
    const QVector<int> &extras() const { return buttonExtras; }
    QButtonGroup *options() const { return optionGroup; }
    QList<QToolButton *> macroListButtons() const;
    QString macroLabelPrefix() const { return macroPrefix; }
    QString modelSensor() const { return sensorName; }
    // How many buttons the open model has (its selectors are shown).
    int buttonCount() const { return modelButtons; }

public slots:
    void SlotMouseIndex(int index);
    void SlotUpDataButtonUIButton(FlashDataMap DataMap);
    void SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void SlotUpDataButtonUIB(FlashDataMap DataMap);
    void SlotFormResetButton();
    void SlotAllLanguage(int index);
    // The macro folder changed: the macro list is built again.
    void SlotAddMacroButton();
    // The macro whose label is `MacroName` (prefix included) was deleted: its
    // buttons get their own default function back.
    void SlotDeleteMacroButton(QString MacroName);
    // The macro was renamed: its buttons take the new name.
    void SlotMacroRename(QString MacroName, QString NewName);
    // The macro was saved: 0 its events changed, 1 its repeat mode.
    void SlotUpDataMacro(QString MacroName, int index);
    // A macro of the macro list was chosen for the selected button.
    void slotButtonClicked(bool checked);

    // Form slots (connected by name).
    void on_FireKey_clicked();
    void on_RightKey_clicked();
    void on_BackKey_clicked();
    void on_StartPause_clicked();
    void on_TopMusic_clicked();
    void on_BackMusic_clicked();
    void on_Button7_clicked();
    void on_Button8_clicked();
    void on_Button9_clicked();
    void on_Button10_clicked();
    void on_Button11_clicked();
    void on_Button12_clicked();
    void on_Button13_clicked();
    void on_Button14_clicked();
    void on_Button15_clicked();
    void on_Button16_clicked();
    void on_Number1_clicked();
    void on_Number2_clicked();
    void on_Number3_clicked();
    void on_Number4_clicked();
    void on_Number5_clicked();
    void on_Number6_clicked();
    void on_Number7_clicked();
    void on_Number8_clicked();
    void on_Number9_clicked();
    void on_Number10_clicked();
    void on_Number11_clicked();
    void on_Number12_clicked();
    void on_Number13_clicked();
    void on_Number14_clicked();
    void on_Number15_clicked();
    void on_Number16_clicked();
    void on_stackedWidget_currentChanged(int index);
    void on_DPI_10_clicked();
    void on_OutputData_clicked();
    void on_ImportData_clicked();
    void on_ProjectChoose_activated(int index);
    void on_ProjectChoose_currentIndexChanged(int index);
    void on_DebunceRelease_currentIndexChanged(int index);
    void on_WheelDebunce_currentIndexChanged(int index);

protected:
    friend class MacroBinding;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void selectPhysicalButton(int b);
    void showExportFailed();
    void selectByNumber(int row);
    void refillFrom(const FlashDataMap &record);
    void fillMirrors(const FlashDataMap &record);
    void labelAll(const FlashDataMap &record);
    void showModelButtons(int count);
    void stackSelectorRows();
    void writeMacroFile(const QString &name, int repeatMode, const MacroRecord &macro);
    void buildMacroList();
    void showMakeMacroNotice();
    void clearGroup(QButtonGroup *group);
    void setScroll(QScrollArea *area, int position);
    void applyStyleSheets();
    QString modelGroup() const;
    // The open model's button count from the catalogue.
    int modelButtonCount() const;
    QAbstractButton *formButton(const char *name) const;

    std::unique_ptr<Ui::Buttoninterface> ui;
    // The macro list and the binding of macros to buttons.
    std::unique_ptr<MacroBinding> macroBinding;
    QButtonGroup *selectorGroup = nullptr;
    QButtonGroup *functionGroup = nullptr;
    QButtonGroup *optionGroup = nullptr;
    QButtonGroup *numberGroup = nullptr;
    // The option handlers; they write into the selected button.
    ButtonFunctionOptions *functionOptions = nullptr;
    QString mainPageDir;
    QVector<int> buttonTypes;
    QVector<int> buttonValues;
    QVector<int> buttonExtras;
    QString sensorName;
    QString pictureDir;
    QString macroPrefix;
    QString configPrefix;
    int languageApplied = 0;
    int releaseDebounceIndex = 0;
    int wheelDebounceIndex = 0;
    int modelButtons = buttonfn::kButtonCount;
    // The one Worker lives as long as this page.
    std::unique_ptr<WorkerOwner> workerOwner;
};
