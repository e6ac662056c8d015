#pragma once

// Shared pieces of the macro page tests: the macro folder of the test's own
// user folder, emptied, its files, the page over it, its named widgets and
// its event list as text.

#include "support/modalhandler.h"

#include "app/textcatalogue.h"
#include "pages/macro/macro.h"
#include "pages/macro/macroflags.h"
#include "pages/macro/macrostore.h"

#include <QByteArray>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QString>
#include <QWidget>
#include <QtTest>

#include <functional>
#include <memory>

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

// The texts in English, where the page tests start.
inline void useEnglish()
{
    loadTextCatalogue();
    languageIndex = 0;
}

// The page over an emptied macro folder that holds the macro `name` with
// the file `bytes`, shown; null when the folder or the window failed.
inline std::unique_ptr<Macro> showPageWith(const QString &name, const QByteArray &bytes)
{
    if (!emptyFolder())
        return nullptr;
    QFile f(folder() + "/" + name + ".ini");
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return nullptr;
    f.close();
    auto page = std::make_unique<Macro>(nullptr);
    page->show();
    if (!QTest::qWaitForWindowExposed(page.get()))
        return nullptr;
    return page;
}

// Clicks the macro's item as the user does, so its file is read.
inline void selectMacro(Macro &page, const QString &name)
{
    QListWidget *list = child<QListWidget>(page, "listWidgetHong");
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    QCOMPARE(list->currentItem(), found.first());
}

// The event list as "+A" (press), "-A" (release) and "50ms" (pause).
inline QStringList eventTexts(Macro &page)
{
    QListWidget *list = child<QListWidget>(page, "listWidgetKey");
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem *item = list->item(i);
        const MacroEvent e = Macro::eventOf(item);
        out << (e.isDelay() ? item->text() : (e.type == MacroEvent::Press ? "+" : "-") + item->text());
    }
    return out;
}

using ::keepText;

} // namespace macrotest
