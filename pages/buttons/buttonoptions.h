#pragma once

// The function options of the button page: what each option writes into the
// selected button, and the handlers that write it.
//
// The tables are plain data: the options with a fixed function triple and
// the DPI lock values. The selectors and their order are the button
// records' (buttonfn::selectorName, buttonfn::selectorListOrder), the
// multimedia options the key table's (keytable::consumerKeyAt).
//
// ButtonFunctionOptions connects the option buttons of the page's form (found
// by object name) to their handlers. Every handler follows the same road:
// find the selected button, write through the device-record setter, and only
// when the mouse took it relabel the selector and update the page's mirror;
// then close the panels. What the page owns (its mirror, how it clears the
// right panel's check marks, how it turns combination text into a record,
// its left-click rule, its model's sensor) is handed in as PageHooks.

#include "pages/buttons/buttonfunction.h"
#include "platform/hidusb/records.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

class QAbstractButton;
class QStackedWidget;
class QWidget;

namespace buttonoptions {

// An option whose function is a fixed triple.
struct PlainOption
{
    const char *object;
    quint8 type;
    quint8 p1;
    quint8 p2;
    // An entry of the function list (rather than an option of a right-hand
    // page): it clears the right panel's check marks first.
    bool listEntry;
};
const QVector<PlainOption> &plainOptions();

// A DPI lock value and its option, top to bottom on the DPI lock page
// (100, 200, ... 1200 DPI).
struct DpiLockOption
{
    const char *object;
    int dpi;
};
const QVector<DpiLockOption> &dpiLockOptions();

// What the panels show for a button's function when its selector is
// chosen: the right-hand page, the function-list entry that is checked and
// the row the function list scrolls to (15 px a row). A key sequence is told
// apart by its record, not by this table.
struct FunctionPanel
{
    int type;
    int p1; // -1: any
    const char *page;
    const char *entry; // nullptr: none
    int listRow;
};
// The panel of (type, p1); nullptr for a type without one.
const FunctionPanel *functionPanel(int type, int p1);
// The option of a right-hand page that writes (type, p1) (DPI switch, tilt,
// wheel, light toggles); nullptr when none does.
const char *panelOption(int type, int p1);

// Object names of every option of the right-hand pages: the multimedia keys,
// the light toggles, the DPI lock values, tilt, DPI switch and wheel (not the
// function list, not the macro list).
QStringList rightPanelOptions();

// The look of every option of the right-hand pages, the macro list's too.
QString optionSheet(const QString &pictureDir);

// The fire key's values before its dialog was ever confirmed.
constexpr int kDefaultFireInterval = 10;
constexpr int kDefaultFireCount = 3;

} // namespace buttonoptions

class ButtonFunctionOptions : public QObject
{
    Q_OBJECT

public:
    struct PageHooks
    {
        // Clears the check marks of every right-hand option and macro-list
        // button (not the function list, not the selectors).
        std::function<void()> uncheckOptions;
        // Records a written triple in the page's mirror.
        std::function<void(int button, int type, int p1, int p2)> setButtonState;
        // The mirror's triple of a button.
        std::function<ButtonFunction(int button)> buttonState;
        // The record of a combination text; none when the text cannot be
        // written (then nothing is sent). Without it the key-combination
        // option is left alone.
        std::function<std::optional<KeyComboRecord>(const QString &text)> keyComboRecord;
        // Whether writing (type, p1) into a button would leave the mouse
        // without a left click. Without it nothing is refused.
        std::function<bool(int button, int type, int p1)> wouldLoseLeftClick;
        // The open model's sensor, whose table turns DPI lock values into
        // codes.
        std::function<QString()> sensorModel;
        // How many buttons the open model has; nothing is written into a
        // button past them. Without it every device button may be written.
        std::function<int()> buttonCount;
    };

    // `page` holds the form (selectors, both stacks, the option buttons).
    ButtonFunctionOptions(QWidget *page, PageHooks hooks, QObject *parent = nullptr);

    // The device button of the first checked selector; -1 when none is.
    int selectedButton() const;

    // The device code of a DPI lock value for the open model's sensor, when
    // the record's one byte holds it and it reads back as the same value;
    // none otherwise (such a value is not offered).
    std::optional<int> dpiLockCode(int dpi) const;

    // Writes a key-sequence function (a combination or a multimedia key)
    // into button b and, when the mouse took it, labels the selector with
    // `label` and mirrors it. False, with nothing written, for a button
    // the model does not have, a lost left click or a refused write. Panels and check
    // marks are the caller's.
    bool writeKeySequence(int b, const KeyComboRecord &record, const QString &label);

    // The values the last confirmed fire-key dialog gave.
    int fireInterval = buttonoptions::kDefaultFireInterval;
    int fireCount = buttonoptions::kDefaultFireCount;

private:
    // Writes `function` (and for a key sequence its record) into button b;
    // relabels and mirrors it when the mouse took it. Refuses silently what
    // would cost the mouse its only left click.
    bool write(int b, const ButtonFunction &function, const KeyComboRecord *keys, const QString &label);
    // True, after showing the left-button notice, when writing (type, p1)
    // into button b would cost the mouse its only left click.
    bool refuseLeftClickLoss(int b, int type, int p1);
    void choosePlain(const buttonoptions::PlainOption &option, QAbstractButton *button, bool checked);
    void chooseDpiLock(const buttonoptions::DpiLockOption &option, QAbstractButton *button, bool checked);
    void chooseConsumerKey(quint16 usage, QAbstractButton *button, bool checked);
    void chooseFireKey();
    void writeFireKey();
    void chooseKeyCombination();
    void showDpiLockValues();
    // Function list closed (or kept open), selector scroll bar back, right
    // panel on its home page.
    void closePanels(bool keepFunctionList = false);
    void relabel(int device, const QString &text);

    template <class T = QWidget>
    T *child(const char *name) const;
    QString captionOf(const char *object) const;

    QWidget *page;
    PageHooks hooks;
};
