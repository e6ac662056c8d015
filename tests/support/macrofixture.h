#pragma once

// Shared pieces of the macro page tests: the macro folder of the test's own
// user folder, emptied, its files, and the page's named widgets.

#include "pages/macro/macroflags.h"
#include "pages/macro/macrostore.h"

#include <QByteArray>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <QtTest>

#include <functional>

namespace macrotest {

inline QString folder()
{
    return MacroStore::defaultFolder();
}

// An empty macro folder and no recording under way, where each macro test
// starts. False when the folder cannot be made.
inline bool emptyFolder()
{
    QDir(folder()).removeRecursively();
    macroRecording = false;
    return QDir().mkpath(folder());
}

inline void writeMacro(const QString &name, const QByteArray &bytes)
{
    QFile f(folder() + "/" + name + ".ini");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

inline QByteArray readMacro(const QString &name)
{
    QFile f(folder() + "/" + name + ".ini");
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

template <typename T>
T *child(QWidget &w, const char *name)
{
    T *c = w.findChild<T *>(QString::fromLatin1(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

// A modal-handler action for a notice: keeps its text, then closes it.
inline std::function<void(QDialog *)> keepText(QStringList *texts)
{
    return [texts](QDialog *d) {
        const QLabel *label = d->findChild<QLabel *>(QStringLiteral("label"));
        *texts << (label ? label->text() : QStringLiteral("<no label>"));
        d->reject();
    };
}

} // namespace macrotest
