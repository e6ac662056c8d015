#pragma once

// The function options of the button page: what each option writes into the
// selected button, and the handlers that write it.
//
// The tables are plain data: the sixteen selectors in the order the
// selected-button search tests them, the options with a fixed function
// triple, and the DPI lock values. The multimedia options come from the key
// table (keytable::consumerKeyAt), their one place.
//
// ButtonFunctionOptions connects the option buttons of the page's form (found
// by object name) to their handlers. Every handler follows the same road:
// find the selected button, write through the device-record setter, and only
// when the mouse took it relabel the selector and update the page's mirror;
// then close the panels. What the page owns (its mirror, how it clears the
// right panel's check marks, how it turns combination text into a record) is
// handed in as PageHooks.

#include "platform/hidusb/hidusb.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

class QAbstractButton;
class QStackedWidget;
class QWidget;

namespace buttonoptions {

// A selector and the device button it stands for.
struct Selector
{
    const char *object;
    int button;
};
// In the order of the selected-button search (the fourth selector is device
// button 4, the fifth device button 3).
const QVector<Selector> &selectors();

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

// A DPI lock value and its option.
struct DpiLockOption
{
    const char *object;
    int dpi;
};
const QVector<DpiLockOption> &dpiLockOptions();

// Function types the handlers write.
enum FunctionType : quint8 {
    TypeFireKey = 4,
    TypeKeyCombination = 5,
    TypeDpiLock = 10,
};

// The device code of a DPI lock value for the open mouse's sensor, when the
// record's one byte can hold it; none otherwise (such a value is not
// offered: the mouse would lock another DPI than the label says).
std::optional<int> dpiLockCode(int dpi);

// The key-sequence record of one multimedia key: press and release of the
// Consumer usage, 10 ms each.
KeyComboRecord consumerKeyRecord(quint16 usage);

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
    };

    // `page` holds the form (selectors, both stacks, the option buttons).
    ButtonFunctionOptions(QWidget *page, PageHooks hooks, QObject *parent = nullptr);

    // The device button of the first checked selector; -1 when none is.
    int selectedButton() const;

    // The values the last confirmed fire-key dialog gave.
    int fireInterval = buttonoptions::kDefaultFireInterval;
    int fireCount = buttonoptions::kDefaultFireCount;

private:
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
    QAbstractButton *selectorOf(int device) const;
    QString captionOf(const char *object) const;

    QWidget *page;
    PageHooks hooks;
};
