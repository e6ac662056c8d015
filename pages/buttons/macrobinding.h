#pragma once

// The button page's macro binding: the list of macros a button can be bound
// to, binding the chosen macro to the selected button, and keeping bound
// buttons in step when a macro is deleted, renamed or saved.
//
// A button counts as bound to macro M while its type is a macro and its
// selector reads the page's macro prefix + M; there is no other table of
// bindings. The page owns one helper and forwards its macro slots to it.

#include "platform/hidusb/records.h"

#include <QList>
#include <QString>
#include <QVector>

class Buttoninterface;
class QFont;
class QToolButton;
class QVBoxLayout;
class QWidget;

class MacroBinding
{
public:
    explicit MacroBinding(Buttoninterface &page);

    // Puts the list widget into the macro page's scroll area and fills it.
    void build();
    // The macro folder changed: the list is built again.
    void rebuild();
    // The list's buttons, placeholders included (empty: no macro at all).
    const QList<QToolButton *> &buttons() const { return listButtons; }

    // The record and repeat mode of macro `name` from its file; false
    // (record zero) when user changes are not allowed yet or the file cannot
    // be read.
    bool loadRecord(const QString &name, MacroRecord *record, int *repeatMode) const;
    // The device buttons bound to `name`, in the selector list's order.
    QVector<int> boundTo(const QString &name) const;

    // Binds macro `name` to the selected button.
    void bind(const QString &name);
    // The macro labelled `label` (prefix included) was deleted: its buttons
    // get their own default function back, in one send.
    void deleted(QString label);
    // The macro was renamed: its buttons take the new name.
    void renamed(const QString &name, QString newName);
    // The macro was saved: 0 its events changed, 1 its repeat mode.
    void saved(QString name, int what);

private:
    void fill(const QFont &font);
    // The function button b gets back when its macro is deleted.
    ButtonFunction macroFreeDefault(int b) const;

    Buttoninterface &page;
    QVBoxLayout *layout = nullptr;
    QWidget *listWidget = nullptr;
    QList<QToolButton *> listButtons;
};
