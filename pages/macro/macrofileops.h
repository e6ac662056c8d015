#pragma once

#include <QString>

class Macro;

namespace Ui {
class Macro;
}

// The operations of the macro page's list on the macro files, for the page
// that owns it: create, rename, delete and select a macro, export the shown
// one and import an exported one. Each keeps the list, the macro's file and
// the buttons bound to it (through the hub) in step, and tells the user why
// when it changed nothing.
class MacroFileOps
{
public:
    explicit MacroFileOps(Macro &page);

    void create();
    void rename();
    void remove();
    // The user picked a macro in the list: its events are shown, after
    // asking before unsaved changes of the shown one are dropped.
    void select();
    // Export and import ask for the file first.
    void askExport();
    void askImport();
    // The halves after the file dialog; false when nothing was written or
    // added (the user has been told why).
    bool exportTo(const QString &chosen);
    bool importFrom(const QString &path);

private:
    Macro &m_page;
    Ui::Macro *m_ui;
};
