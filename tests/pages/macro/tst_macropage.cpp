// The macro page against a temporary user folder: listing, selecting and
// loading, saving, a language switch before a save, creating, renaming and
// deleting with their notices, unsaved changes, the context menu and the
// event list's insertion rules.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "pages/macro/macro.h"
#include "pages/macro/macroflags.h"
#include "pages/macro/macrokeynames.h"
#include "pages/macro/macrostore.h"
#include "support/macrofixture.h"
#include "support/testmain.h"

#include "device/devicestate.h"
#include "support/modalhandler.h"
#include "support/pagefixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

using namespace macrotest;

QStringList itemTexts(QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// Clicks the macro list's item of that name as the user would.
void clickMacro(Macro &page, const QString &name)
{
    QListWidget *list = child<QListWidget>(page, "listWidgetHong");
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(name));
    const QRect r = list->visualItemRect(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

// The click is queued: a button that opens a dialog of its own must not
// run it inside the handler's timer, which would not fire again meanwhile.
void clickLater(QDialog *d, const char *name)
{
    QToolButton *button = d->findChild<QToolButton *>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    QMetaObject::invokeMethod(button, &QToolButton::click, Qt::QueuedConnection);
}

// Puts a name into the name dialog's field (as a paste would) and confirms it.
ModalHandler::Action enterName(const QString &name)
{
    return [name](QDialog *d) {
        d->findChild<QLineEdit *>("lineEdit")->setText(name);
        clickLater(d, "NewHong");
    };
}

ModalHandler::Action clickButton(const char *name)
{
    return [name](QDialog *d) { clickLater(d, name); };
}

} // namespace

class MacroPageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listsTheFolder();
    void selectLoadsFile_data();
    void selectLoadsFile();
    void emptyFileKeepsRepeatBoxesAndTheyStillCount();
    void saveWritesExactText_data();
    void saveWritesExactText();
    void languageSwitchThenSaveKeepsFile();
    void createMakesEmptyMacro();
    void createRefusesUnsafeNames_data();
    void createRefusesUnsafeNames();
    void createRefusesTakenNames();
    void renameMovesFileAndTellsButtons();
    void renameRefusedChangesNothing();
    void deleteAsksAndTellsButtons();
    void deleteFailureIsReported();
    void switchingWithUnsavedChangesAsks();
    void contextMenuEntries();
    void insertionRules();
    void escapeAndF12StayOnPage();
    void macroFromMouseJoinsListAndFile();
    void savedMacroGoesToBoundButton();

private:
    std::unique_ptr<Macro> makePage();
    std::unique_ptr<Macro> page;
};

void MacroPageTest::initTestCase()
{
    loadTextCatalogue();
    languageIndex = 0;
}

void MacroPageTest::init()
{
    QVERIFY(emptyFolder());
}

void MacroPageTest::cleanup()
{
    page.reset();
    languageIndex = 0;
}

std::unique_ptr<Macro> MacroPageTest::makePage()
{
    auto p = std::make_unique<Macro>(nullptr);
    p->show();
    if (!QTest::qWaitForWindowExposed(p.get()))
        qWarning("page not exposed");
    return p;
}

void MacroPageTest::listsTheFolder()
{
    for (const char *name : {"b", "A", "x.ini", "myxml"})
        writeMacro(name, "1\n");
    QFile(folder() + "/c.xml").open(QIODevice::WriteOnly);
    QFile(folder() + "/notes.txt").open(QIODevice::WriteOnly);
    writeMacro("x.ini", "7\n0x04 1 0\n");

    page = makePage();
    QListWidget *list = child<QListWidget>(*page, "listWidgetHong");
    QCOMPARE(itemTexts(list), (QStringList{"A", "b", "myxml", "x.ini"}));
    QCOMPARE(list->currentRow(), -1);

    clickMacro(*page, "x.ini");
    QCOMPARE(itemTexts(child<QListWidget>(*page, "listWidgetKey")), QStringList{"A"});
    QCOMPARE(child<QSpinBox>(*page, "NumberEdit")->value(), 7);
}

void MacroPageTest::selectLoadsFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("checkedBox");
    QTest::addColumn<int>("count");

    const QStringList aPressRelease{"A", "10ms", "A"};
    QTest::newRow("LF") << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1\n") << aPressRelease << "ReNumber" << 3;
    QTest::newRow("CRLF") << QByteArray("3\r\n0x04 1 0\r\n10ms\r\n0x04 1 1\r\n") << aPressRelease << "ReNumber" << 3;
    QTest::newRow("last line without line end")
        << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1") << aPressRelease << "ReNumber" << 3;
    QTest::newRow("malformed lines skipped") << QByteArray("2\n0x04 1\nabc\n0x04 1 0\n10 ms\n5ms\n0x04 1 7\n0x04 1 1\n")
                                             << QStringList{"A", "5ms", "A"} << "ReNumber" << 2;
    QTest::newRow("unknown code kept, shown without name")
        << QByteArray("1\n0x32 1 0\n10ms\n0x01 4 1\n") << QStringList{"", "10ms", "Left button"} << "ReNumber" << 1;
    QTest::newRow("mode 0") << QByteArray("0\n") << QStringList() << "ReNumber" << 1;
    QTest::newRow("mode 251") << QByteArray("251\n") << QStringList() << "ReNumber" << 1;
    QTest::newRow("mode abc") << QByteArray("abc\n") << QStringList() << "ReNumber" << 1;
    QTest::newRow("mode 250") << QByteArray("250\n") << QStringList() << "ReNumber" << 250;
    QTest::newRow("mode 253") << QByteArray("253\n") << QStringList() << "ReUntil" << 1;
    QTest::newRow("mode 254") << QByteArray("254\n") << QStringList() << "ReUntilLoose" << 1;
    QTest::newRow("mode 255") << QByteArray("255\n") << QStringList() << "ReUntilClick" << 1;
}

void MacroPageTest::selectLoadsFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, items);
    QFETCH(QString, checkedBox);
    QFETCH(int, count);
    writeMacro("m", bytes);
    page = makePage();
    QSignalSpy updates(PostMsg::instance(), &PostMsg::SigUpDataMacro);

    clickMacro(*page, "m");
    QListWidget *events = child<QListWidget>(*page, "listWidgetKey");
    QCOMPARE(itemTexts(events), items);
    QVERIFY(child<QCheckBox>(*page, qPrintable(checkedBox))->isChecked());
    if (checkedBox == "ReNumber")
        QCOMPARE(child<QSpinBox>(*page, "NumberEdit")->value(), count);
    // Loading is no change.
    QVERIFY(!child<QToolButton>(*page, "Save")->isEnabled());
    QVERIFY(!page->eventsModified);
    QVERIFY(!page->repeatModeModified);
    QCOMPARE(updates.count(), 0);
}

void MacroPageTest::emptyFileKeepsRepeatBoxesAndTheyStillCount()
{
    writeMacro("until", "253\n0x04 1 0\n");
    writeMacro("fresh", "");
    page = makePage();
    clickMacro(*page, "until");
    clickMacro(*page, "fresh");
    QCOMPARE(child<QListWidget>(*page, "listWidgetKey")->count(), 0);
    QVERIFY(child<QCheckBox>(*page, "ReUntil")->isChecked());

    // The boxes were released although the file had no first line.
    QTest::mouseClick(child<QCheckBox>(*page, "ReNumber"), Qt::LeftButton);
    QVERIFY(child<QCheckBox>(*page, "ReNumber")->isChecked());
    QVERIFY(page->repeatModeModified);
    QVERIFY(child<QToolButton>(*page, "Save")->isEnabled());
}

void MacroPageTest::saveWritesExactText_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("firstLine");
    QTest::newRow("count 7") << "ReNumber" << 7 << QByteArray("7");
    QTest::newRow("until released") << "ReUntilLoose" << 1 << QByteArray("254");
    QTest::newRow("until any pressed") << "ReUntilClick" << 1 << QByteArray("255");
    QTest::newRow("until pressed again") << "ReUntil" << 1 << QByteArray("253");
}

void MacroPageTest::saveWritesExactText()
{
    QFETCH(QString, box);
    QFETCH(int, count);
    QFETCH(QByteArray, firstLine);
    writeMacro("m", "");
    page = makePage();
    clickMacro(*page, "m");

    // A list made by hand: a key, a mouse click and a pause.
    page->insertKeyItem("LShift", true);
    page->insertKeyClick(mouseButtonNames[1]);
    page->insertDelayItem(250);
    page->eventsModified = true;
    QTest::mouseClick(child<QCheckBox>(*page, qPrintable(box)), Qt::LeftButton);
    child<QSpinBox>(*page, "NumberEdit")->setValue(count);

    QSignalSpy updates(PostMsg::instance(), &PostMsg::SigUpDataMacro);
    QToolButton *save = child<QToolButton>(*page, "Save");
    QVERIFY(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton);
    // With no event selected the pause goes to the end, where it takes the
    // place of the pause already there.
    QCOMPARE(readMacro("m"), firstLine + "\n0x02 0 0\n10ms\n0x02 4 0\n10ms\n0x02 4 1\n250ms\n");
    QCOMPARE(updates.count(), 2);
    QCOMPARE(updates.at(0), (QVariantList{"m", 0}));
    QCOMPARE(updates.at(1), (QVariantList{"m", 1}));
    QVERIFY(!save->isEnabled());

    // Nothing changed since: a second save tells nobody.
    save->setEnabled(true);
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(updates.count(), 2);
}

void MacroPageTest::languageSwitchThenSaveKeepsFile()
{
    const QByteArray original = "255\n0x01 4 0\n10ms\n0x01 4 1\n20ms\n0x10 4 0\n30ms\n0x10 4 1\n5ms\n"
                                "0x02 0 0\n5ms\n0x1D 1 0\n5ms\n0x1D 1 1\n5ms\n0x32 1 0\n";
    writeMacro("m", original);
    page = makePage();
    clickMacro(*page, "m");
    QListWidget *events = child<QListWidget>(*page, "listWidgetKey");
    QCOMPARE(events->item(0)->text(), QString("Left button"));

    for (int language : {1, 2}) {
        languageIndex = language;
        emit PostMsg::instance()->SigAllLanguage(language);
        QCOMPARE(events->item(0)->text(), mouseButtonNames[0]);
        QVERIFY(events->item(0)->text() != "Left button");
        QVERIFY(!page->eventsModified);
        // Toggle the repeat mode away and back so Save is offered.
        QTest::mouseClick(child<QCheckBox>(*page, "ReUntil"), Qt::LeftButton);
        QTest::mouseClick(child<QCheckBox>(*page, "ReUntilClick"), Qt::LeftButton);
        QTest::mouseClick(child<QToolButton>(*page, "Save"), Qt::LeftButton);
        QCOMPARE(readMacro("m"), original);
    }
}

void MacroPageTest::createMakesEmptyMacro()
{
    writeMacro("old", "3\n0x04 1 0\n");
    page = makePage();
    clickMacro(*page, "old");
    ModalHandler modal;
    modal.queue(enterName("Old")); // differs only in letter case: a name of its own
    QTest::mouseClick(child<QToolButton>(*page, "NewHong"), Qt::LeftButton);

    QCOMPARE(modal.seen, QStringList{"QuestionDialog"});
    QListWidget *list = child<QListWidget>(*page, "listWidgetHong");
    QCOMPARE(itemTexts(list), (QStringList{"old", "Old"}));
    QCOMPARE(list->currentItem()->text(), QString("Old"));
    QCOMPARE(readMacro("Old"), QByteArray());
    QCOMPARE(readMacro("old"), QByteArray("3\n0x04 1 0\n"));
    QCOMPARE(child<QListWidget>(*page, "listWidgetKey")->count(), 0);
    QVERIFY(child<QCheckBox>(*page, "ReNumber")->isChecked());
    QCOMPARE(child<QSpinBox>(*page, "NumberEdit")->value(), 1);

    // Cancel and an empty name change nothing.
    modal.queue(clickButton("NewHong_2"));
    QTest::mouseClick(child<QToolButton>(*page, "NewHong"), Qt::LeftButton);
    modal.queue(enterName(""));
    QTest::mouseClick(child<QToolButton>(*page, "NewHong"), Qt::LeftButton);
    QCOMPARE(list->count(), 2);
    QCOMPARE(QDir(folder()).entryList(QDir::Files).size(), 2);

    // Creating is refused while a recording runs.
    macroRecording = true;
    QTest::mouseClick(child<QToolButton>(*page, "NewHong"), Qt::LeftButton);
    QCOMPARE(modal.seen.last(), QString("ExeIsRun"));
    QCOMPARE(list->count(), 2);
}

void MacroPageTest::createRefusesUnsafeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("slash") << "a/b";
    QTest::newRow("parent") << "../up";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("hidden") << ".x";
    QTest::newRow("tab") << "a\tb";
    QTest::newRow("NUL") << QString::fromLatin1("a\0b", 3);
}

void MacroPageTest::createRefusesUnsafeNames()
{
    QFETCH(QString, name);
    page = makePage();
    ModalHandler modal;
    modal.queue(enterName(name));          // pasted into the field, then OK
    modal.queue(clickButton("NewHong"));   // the notice says why
    modal.queue(clickButton("NewHong_2")); // the dialog is still open: cancel
    QTest::mouseClick(child<QToolButton>(*page, "NewHong"), Qt::LeftButton);

    QCOMPARE(modal.seen, (QStringList{"QuestionDialog", "UpDateWarning", "QuestionDialog"}));
    QCOMPARE(child<QListWidget>(*page, "listWidgetHong")->count(), 0);
    QCOMPARE(QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(QDir(folder() + "/..").entryList(QStringList{"*.ini"}, QDir::Files), QStringList());
}

void MacroPageTest::createRefusesTakenNames()
{
    writeMacro("m", "1\n0x04 1 0\n");
    page = makePage();
    // A file that appeared after the page was built is a macro all the same.
    writeMacro("later", "2\n");
    ModalHandler modal;
    for (const char *name : {"m", "later"}) {
        modal.queue(enterName(name));
        QTest::mouseClick(child<QToolButton>(*page, "NewHong"), Qt::LeftButton);
        QCOMPARE(modal.seen.last(), QString("SameMacro"));
    }
    QCOMPARE(itemTexts(child<QListWidget>(*page, "listWidgetHong")), QStringList{"m"});
    QCOMPARE(readMacro("m"), QByteArray("1\n0x04 1 0\n"));
    QCOMPARE(readMacro("later"), QByteArray("2\n"));
}

void MacroPageTest::renameMovesFileAndTellsButtons()
{
    writeMacro("a", "5\n0x04 1 0\n");
    page = makePage();
    clickMacro(*page, "a");
    QSignalSpy renames(PostMsg::instance(), &PostMsg::SigMacroRename);
    ModalHandler modal;
    modal.queue(enterName(QString::fromUtf8("宏一")));
    page->RenameMacro();

    QCOMPARE(itemTexts(child<QListWidget>(*page, "listWidgetHong")), QStringList{QString::fromUtf8("宏一")});
    QCOMPARE(readMacro(QString::fromUtf8("宏一")), QByteArray("5\n0x04 1 0\n"));
    QVERIFY(!QFile::exists(folder() + "/a.ini"));
    QCOMPARE(renames.count(), 1);
    QCOMPARE(renames.at(0), (QVariantList{"a", QString::fromUtf8("宏一")}));

    // The next save goes to the new name's file.
    QTest::mouseClick(child<QCheckBox>(*page, "ReUntil"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>(*page, "Save"), Qt::LeftButton);
    QCOMPARE(readMacro(QString::fromUtf8("宏一")), QByteArray("253\n0x04 1 0\n"));
    QVERIFY(!QFile::exists(folder() + "/a.ini"));
}

void MacroPageTest::renameRefusedChangesNothing()
{
    writeMacro("a", "1\n");
    writeMacro("b", "2\n");
    page = makePage();
    clickMacro(*page, "a");
    QSignalSpy renames(PostMsg::instance(), &PostMsg::SigMacroRename);
    ModalHandler modal;

    modal.queue(enterName("a")); // its own name
    page->RenameMacro();
    QCOMPARE(modal.seen.last(), QString("SameMacro"));
    modal.queue(enterName("b"));
    page->RenameMacro();
    QCOMPARE(modal.seen.last(), QString("SameMacro"));
    // A file of the new name that the list does not show is never replaced.
    writeMacro("c", "3\n");
    modal.queue(enterName("c"));
    page->RenameMacro();
    QCOMPARE(modal.seen.last(), QString("SameMacro"));

    QCOMPARE(renames.count(), 0);
    QCOMPARE(itemTexts(child<QListWidget>(*page, "listWidgetHong")), (QStringList{"a", "b"}));
    QCOMPARE(readMacro("a"), QByteArray("1\n"));
    QCOMPARE(readMacro("c"), QByteArray("3\n"));
}

void MacroPageTest::deleteAsksAndTellsButtons()
{
    writeMacro("a", "1\n0x04 1 0\n");
    writeMacro("b", "1\n");
    page = makePage();
    clickMacro(*page, "a");
    QSignalSpy deletes(PostMsg::instance(), &PostMsg::SigDeleteMacroButton);
    ModalHandler modal;

    modal.queue(clickButton("CloseButton"));
    QTest::mouseClick(child<QToolButton>(*page, "DeleteHong"), Qt::LeftButton);
    QCOMPARE(modal.seen, QStringList{"DeleteConfirm"});
    QCOMPARE(deletes.count(), 0);
    QCOMPARE(readMacro("a"), QByteArray("1\n0x04 1 0\n"));

    modal.queue(clickButton("NewHong"));
    QTest::mouseClick(child<QToolButton>(*page, "DeleteHong"), Qt::LeftButton);
    QVERIFY(!QFile::exists(folder() + "/a.ini"));
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(deletes.at(0).at(0).toString(), catalogueText("macro", "MacroSeond") + "a");
    QListWidget *list = child<QListWidget>(*page, "listWidgetHong");
    QCOMPARE(itemTexts(list), QStringList{"b"});
    QCOMPARE(list->currentRow(), -1);
    QCOMPARE(child<QListWidget>(*page, "listWidgetKey")->count(), 0);

    // A macro whose file is already gone is still taken off the list.
    clickMacro(*page, "b");
    QFile::remove(folder() + "/b.ini");
    modal.queue(clickButton("NewHong"));
    QTest::mouseClick(child<QToolButton>(*page, "DeleteHong"), Qt::LeftButton);
    QCOMPARE(deletes.count(), 2);
    QCOMPARE(list->count(), 0);
}

void MacroPageTest::deleteFailureIsReported()
{
    writeMacro("a", "1\n");
    page = makePage();
    // A folder now stands where the file was: it cannot be removed as a file.
    QFile::remove(folder() + "/a.ini");
    QVERIFY(QDir(folder()).mkdir("a.ini"));
    clickMacro(*page, "a");
    QSignalSpy deletes(PostMsg::instance(), &PostMsg::SigDeleteMacroButton);
    ModalHandler modal;
    modal.queue(clickButton("NewHong"));
    QTest::mouseClick(child<QToolButton>(*page, "DeleteHong"), Qt::LeftButton);
    QCOMPARE(modal.seen, (QStringList{"DeleteConfirm", "UpDateWarning"}));
    QCOMPARE(deletes.count(), 0);
    QCOMPARE(itemTexts(child<QListWidget>(*page, "listWidgetHong")), QStringList{"a"});
}

void MacroPageTest::switchingWithUnsavedChangesAsks()
{
    writeMacro("a", "1\n0x04 1 0\n");
    writeMacro("b", "2\n0x05 1 0\n");
    page = makePage();
    clickMacro(*page, "a");
    QTest::mouseClick(child<QCheckBox>(*page, "ReUntil"), Qt::LeftButton);
    QListWidget *list = child<QListWidget>(*page, "listWidgetHong");
    ModalHandler modal;

    // Keep: the macro and its change stay, ready to be saved.
    modal.queue(clickButton("Cancel"));
    clickMacro(*page, "b");
    QCOMPARE(modal.seen, QStringList{"ContainReset"});
    QCOMPARE(list->currentItem()->text(), QString("a"));
    QCOMPARE(itemTexts(child<QListWidget>(*page, "listWidgetKey")), QStringList{"A"});
    QVERIFY(child<QCheckBox>(*page, "ReUntil")->isChecked());
    QVERIFY(child<QToolButton>(*page, "Save")->isEnabled());

    // Discard: the other macro is shown and nothing is left to save.
    modal.queue(clickButton("OK"));
    clickMacro(*page, "b");
    QCOMPARE(list->currentItem()->text(), QString("b"));
    QCOMPARE(itemTexts(child<QListWidget>(*page, "listWidgetKey")), QStringList{"B"});
    QVERIFY(!page->repeatModeModified);
    QCOMPARE(readMacro("a"), QByteArray("1\n0x04 1 0\n"));

    // Without changes nobody is asked.
    clickMacro(*page, "a");
    QCOMPARE(modal.seen.size(), 2);
}

void MacroPageTest::contextMenuEntries()
{
    writeMacro("a", "1\n");
    page = makePage();
    QListWidget *list = child<QListWidget>(*page, "listWidgetHong");
    auto entriesAt = [&](const QPoint &pos) {
        QStringList texts;
        QTimer::singleShot(50, [&texts] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction *a : menu->actions())
                texts << a->text();
            menu->close();
        });
        emit list->customContextMenuRequested(pos);
        return texts;
    };
    const QPoint onItem = list->visualItemRect(list->item(0)).center();
    QCOMPARE(entriesAt(onItem), (QStringList{catalogueText("macro", "MacroExport"), catalogueText("macro", "Rename"),
                                             catalogueText("macro", "Delete")}));
    QCOMPARE(entriesAt(QPoint(5, list->viewport()->height() - 5)),
             (QStringList{catalogueText("macro", "NewMacro"), catalogueText("macro", "MacroImport")}));
}

void MacroPageTest::insertionRules()
{
    writeMacro("m", "");
    page = makePage();
    QListWidget *events = child<QListWidget>(*page, "listWidgetKey");
    const QString left = mouseButtonNames[0];

    // No macro selected: appending does nothing.
    page->appendKeyItem("A", true);
    QCOMPARE(events->count(), 0);
    clickMacro(*page, "m");

    // A click into an empty list: press, pause, release.
    page->insertKeyClick(left);
    QCOMPARE(itemTexts(events), (QStringList{left, "10ms", left}));
    QCOMPARE(events->item(0)->type(), 0);
    QCOMPARE(events->item(2)->type(), 1);

    // A key after the selected last item gets its pause before it.
    events->setCurrentRow(2);
    page->insertKeyItem("B", true);
    QCOMPARE(itemTexts(events), (QStringList{left, "10ms", left, "10ms", "B"}));

    // A delay with the first item selected changes nothing; with a key
    // selected that follows a delay, that delay is replaced and selected.
    events->setCurrentRow(0);
    page->insertDelayItem(99);
    QCOMPARE(events->count(), 5);
    events->setCurrentRow(4);
    page->insertDelayItem(40.4);
    QCOMPARE(itemTexts(events), (QStringList{left, "10ms", left, "40ms", "B"}));
    QCOMPARE(events->currentRow(), 3);

    // With nothing selected a key still keeps the alternation.
    events->setCurrentRow(-1);
    page->insertKeyItem("C", false);
    QCOMPARE(itemTexts(events), (QStringList{left, "10ms", left, "40ms", "B", "10ms", "C"}));

    // Appending a delay leaves the key before it selected.
    page->appendDelayItem(12.6);
    QCOMPARE(events->item(7)->text(), QString("13ms"));
    QCOMPARE(events->currentRow(), 6);

    // What the list holds is what a save writes.
    QCOMPARE(MacroStore::eventLines(page->events()),
             QByteArray("0x01 4 0\n10ms\n0x01 4 1\n40ms\n0x05 1 0\n10ms\n0x06 1 1\n13ms\n"));
}

void MacroPageTest::escapeAndF12StayOnPage()
{
    QWidget parent;
    auto *p = new Macro(&parent);
    int seen = 0;
    struct Counter : QObject
    {
        int *seen;
        explicit Counter(int *s) : seen(s) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::KeyPress)
                ++*seen;
            return false;
        }
    } counter(&seen);
    parent.installEventFilter(&counter);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QTest::keyClick(p, Qt::Key_Escape);
    QTest::keyClick(p, Qt::Key_F12);
    QCOMPARE(seen, 0);
    QTest::keyClick(p, Qt::Key_A);
    QCOMPARE(seen, 1);
}

void MacroPageTest::macroFromMouseJoinsListAndFile()
{
    writeMacro("a", "1\n0x04 1 0\n");
    page = makePage();
    clickMacro(*page, "a");
    QTest::mouseClick(child<QCheckBox>(*page, "ReUntil"), Qt::LeftButton); // unsaved change
    QSignalSpy added(PostMsg::instance(), &PostMsg::SigAddMacroButton);

    FlashDataMap record;
    std::memset(&record, 0, sizeof record);
    record.macros[2] =
        MacroStore::toRecord(QString::fromUtf8("鼠标宏"),
                             {MacroEvent::key(4, 1, true), MacroEvent::delay(40), MacroEvent::key(4, 1, false)});
    // The button page has given the macro its file; the editor only lists
    // the name and leaves the file as it is.
    writeMacro(QString::fromUtf8("鼠标宏"), "255\n");
    emit PostMsg::instance()->SigButtonToMacro(record, 2);

    QCOMPARE(readMacro(QString::fromUtf8("鼠标宏")), QByteArray("255\n"));
    QListWidget *list = child<QListWidget>(*page, "listWidgetHong");
    QCOMPARE(itemTexts(list), (QStringList{"a", QString::fromUtf8("鼠标宏")}));
    QCOMPARE(added.count(), 1);
    // The macro being edited stays on screen with its change.
    QCOMPARE(list->currentItem()->text(), QString("a"));
    QCOMPARE(itemTexts(child<QListWidget>(*page, "listWidgetKey")), QStringList{"A"});
    QVERIFY(page->repeatModeModified);

    // A name from the mouse that would leave the folder is not taken.
    record.macros[3] = MacroStore::toRecord("../x", {MacroEvent::key(1, 4, true)});
    emit PostMsg::instance()->SigButtonToMacro(record, 3);
    QCOMPARE(list->count(), 2);
    QVERIFY(!QFile::exists(folder() + "/../x.ini"));
    QCOMPARE(added.count(), 1);
}

void MacroPageTest::savedMacroGoesToBoundButton()
{
    pagetest::openSimulatedMouse();
    FlashDataMap start;
    std::memset(&start, 0, sizeof start);
    start.buttonFunctions[3] = {6, 3, 5};
    // Stray bytes past another macro's events (an old cache) that the mouse
    // could not hold: they are no part of that macro and stop no send.
    start.macros[9].eventCount = 1;
    start.macros[9].events[0] = {0, 1, 0x04, 0};
    start.macros[9].events[40] = {2, 255, 0xFFFF, 0xFFFFFFFF};
    // As if the mouse's dump held it, read in the attach just opened.
    currentFlashData = start;
    markFlashDataRead(currentAttach().number);
    writeMacro("m", "5\n0x04 1 0\n20ms\n0x04 1 1\n");
    page = makePage();
    clickMacro(*page, "m");
    // Asked for before any save: there is no saved content to send.
    emit PostMsg::instance()->SigMacroDownLoadData("m", 3);
    QCOMPARE(int(currentFlashData.macros[3].eventCount), 0);
    page->eventsModified = true;
    page->on_Save_clicked();
    // What is sent is what was saved, not what the list shows by then.
    page->appendDelayItem(5);
    page->appendKeyItem("B", true);

    // Not the saved macro, or user changes not allowed yet: nothing is sent.
    uiReady = false;
    emit PostMsg::instance()->SigMacroDownLoadData("m", 3);
    uiReady = true;
    emit PostMsg::instance()->SigMacroDownLoadData("other", 3);
    QCOMPARE(int(currentFlashData.macros[3].eventCount), 0);

    emit PostMsg::instance()->SigMacroDownLoadData(QString("m") + QChar(0), 3);
    const MacroRecord &sent = currentFlashData.macros[3];
    QCOMPARE(int(sent.eventCount), 2);
    QCOMPARE(int(sent.events[0].code), 0x04);
    QCOMPARE(int(sent.events[0].delay), 20);
    QCOMPARE(int(sent.events[1].action), 1);
    QCOMPARE(MacroStore::recordName(sent), QString("m"));
    // The function goes back unchanged.
    QCOMPARE(int(currentFlashData.buttonFunctions[3].p2), 5);
    uiReady = false;
    UsbServer_Exit();
}

VELMORAX_TEST_MAIN(MacroPageTest)
#include "tst_macropage.moc"
