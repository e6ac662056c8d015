// Editing the selected macro's events on the macro page: changing an event
// through the key and delay dialogs, inserting from the event chooser,
// deleting an event with its partner, and a recorded and edited macro saved
// and sent to a button of the simulated mouse.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "pages/macro/macro.h"
#include "pages/macro/macroflags.h"
#include "pages/macro/macrokeynames.h"
#include "pages/macro/macrostore.h"
#include "platform/keyhook/keyhook.h"
#include "support/macrofixture.h"
#include "support/testmain.h"

#include "support/modalhandler.h"
#include "support/pagefixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <memory>

using namespace keyhook;

namespace {

using namespace macrotest;

void tapIn(QWidget *window, DWORD vk)
{
    for (WPARAM message : {WM_KEYDOWN, WM_KEYUP}) {
        KeyMessage m;
        m.message = message;
        m.info.vkCode = vk;
        dispatchKeyMessage(m, toHwnd(window));
    }
}

// The clicks are queued: the handler's timer must not run them itself.
void clickLater(QDialog *d, const char *name)
{
    QToolButton *button = d->findChild<QToolButton *>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    QMetaObject::invokeMethod(button, &QToolButton::click, Qt::QueuedConnection);
}

// Answers the key dialog: the key pressed, then OK.
ModalHandler::Action pressKey(DWORD vk)
{
    return [vk](QDialog *d) {
        tapIn(d, vk);
        clickLater(d, "NewHong");
    };
}

// Answers the delay dialog: the number entered, then OK.
ModalHandler::Action enterDelay(int ms)
{
    return [ms](QDialog *d) {
        d->findChild<QSpinBox *>("spinBox")->setValue(ms);
        clickLater(d, "NewHong");
    };
}

ModalHandler::Action cancel()
{
    return [](QDialog *d) { clickLater(d, "NewHong_2"); };
}

} // namespace

class MacroEditTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void amendChangesTheSelectedEvent();
    void amendRefusedOrWithoutSelection();
    void chooserInserts();
    void chooserInsertsRightAfterASelectedPause_data();
    void chooserInsertsRightAfterASelectedPause();
    void chooserDeclinedChangesNothing();
    void insertsStopAtTheEventLimit_data();
    void insertsStopAtTheEventLimit();
    void deleteTakesThePartner_data();
    void deleteTakesThePartner();
    void deleteWhileRecordingIsRefused();
    void recordedEditedSavedAndSent();

private:
    void choose(int index);
    std::unique_ptr<Macro> page;
};

void MacroEditTest::initTestCase()
{
    useEnglish();
}

void MacroEditTest::init()
{
    // Press A, 10 ms, release A, 20 ms, press B.
    page = showPageWith("m", "1\n0x04 1 0\n10ms\n0x04 1 1\n20ms\n0x05 1 0\n");
    QVERIFY(page);
}

void MacroEditTest::cleanup()
{
    page.reset();
    macroRecording = false;
}

void MacroEditTest::choose(int index)
{
    QComboBox *chooser = child<QComboBox>(*page, "ChooseEvent");
    chooser->setCurrentIndex(index);
    emit chooser->activated(index);
}

void MacroEditTest::amendChangesTheSelectedEvent()
{
    selectMacro(*page, "m");
    QListWidget *list = child<QListWidget>(*page, "listWidgetKey");
    QToolButton *save = child<QToolButton>(*page, "Save");
    ModalHandler modal;

    list->setCurrentRow(1);
    modal.queue(enterDelay(250));
    QTest::mouseClick(child<QToolButton>(*page, "Amend"), Qt::LeftButton);
    QCOMPARE(modal.seen, QStringList{"AddDelayTime"});
    QCOMPARE(eventTexts(*page), (QStringList{"+A", "250ms", "-A", "20ms", "+B"}));
    QVERIFY(page->eventsModified);
    QVERIFY(save->isEnabled());

    // A release stays a release with the other key.
    list->setCurrentRow(2);
    modal.queue(pressKey(0x43));
    QTest::mouseClick(child<QToolButton>(*page, "Amend"), Qt::LeftButton);
    QCOMPARE(modal.seen.last(), QString("addKey"));
    QCOMPARE(eventTexts(*page), (QStringList{"+A", "250ms", "-C", "20ms", "+B"}));
    QCOMPARE(list->item(2)->type(), 1);

    // Cancel changes nothing.
    modal.queue(cancel());
    QTest::mouseClick(child<QToolButton>(*page, "Amend"), Qt::LeftButton);
    QCOMPARE(eventTexts(*page), (QStringList{"+A", "250ms", "-C", "20ms", "+B"}));

    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(readMacro("m"), QByteArray("1\n0x04 1 0\n250ms\n0x06 1 1\n20ms\n0x05 1 0\n"));
}

void MacroEditTest::amendRefusedOrWithoutSelection()
{
    selectMacro(*page, "m");
    ModalHandler modal;
    child<QListWidget>(*page, "listWidgetKey")->setCurrentRow(-1);
    QTest::mouseClick(child<QToolButton>(*page, "Amend"), Qt::LeftButton);
    QCOMPARE(modal.seen, QStringList());

    child<QListWidget>(*page, "listWidgetKey")->setCurrentRow(0);
    macroRecording = true;
    QTest::mouseClick(child<QToolButton>(*page, "Amend"), Qt::LeftButton);
    QCOMPARE(modal.seen, QStringList{"ExeIsRun"});
    QCOMPARE(eventTexts(*page), (QStringList{"+A", "10ms", "-A", "20ms", "+B"}));
    QVERIFY(!page->eventsModified);
}

void MacroEditTest::chooserInserts()
{
    selectMacro(*page, "m");
    QListWidget *list = child<QListWidget>(*page, "listWidgetKey");
    ModalHandler modal;

    // A key press after the selected last key, with its pause before it.
    list->setCurrentRow(4);
    modal.queue(pressKey(0xA0));
    choose(1);
    QCOMPARE(eventTexts(*page), (QStringList{"+A", "10ms", "-A", "20ms", "+B", "10ms", "+LShift"}));
    QVERIFY(page->eventsModified);
    QVERIFY(child<QToolButton>(*page, "Save")->isEnabled());

    // A release after the first key's pause.
    list->setCurrentRow(0);
    modal.queue(pressKey(0x44));
    choose(2);
    QCOMPARE(eventTexts(*page), (QStringList{"+A", "10ms", "-D", "10ms", "-A", "20ms", "+B", "10ms", "+LShift"}));

    // A pause in place of the one before the selected key.
    list->setCurrentRow(2);
    modal.queue(enterDelay(77));
    choose(3);
    QCOMPARE(eventTexts(*page), (QStringList{"+A", "77ms", "-D", "10ms", "-A", "20ms", "+B", "10ms", "+LShift"}));
    QCOMPARE(list->currentRow(), 1);

    // Forward (0x10) and back (0x08) clicks at the end, no dialog.
    const int dialogs = modal.seen.size();
    list->setCurrentRow(list->count() - 1);
    choose(7);
    list->setCurrentRow(list->count() - 1);
    choose(8);
    QCOMPARE(modal.seen.size(), dialogs);
    const QVector<MacroEvent> all = page->events();
    QCOMPARE(all.size(), 17);
    QCOMPARE(all.at(10), MacroEvent::key(4, 0x10, true));
    QCOMPARE(all.at(12), MacroEvent::key(4, 0x10, false));
    QCOMPARE(all.at(14), MacroEvent::key(4, 0x08, true));
    QCOMPARE(all.at(16), MacroEvent::key(4, 0x08, false));
    // Every other item is a pause: the mouse reads the list in pairs.
    for (int i = 0; i < all.size(); ++i)
        QCOMPARE(all.at(i).isDelay(), i % 2 == 1);
}

void MacroEditTest::chooserInsertsRightAfterASelectedPause_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("chooser");
    QTest::addColumn<QStringList>("expected");
    // "+L"/"-L": the left button's press and release.
    QTest::newRow("press after the first pause")
        << 1 << 1 << QStringList{"+A", "10ms", "+D", "10ms", "-A", "20ms", "+B"};
    QTest::newRow("release after the second pause")
        << 3 << 2 << QStringList{"+A", "10ms", "-A", "20ms", "-D", "10ms", "+B"};
    QTest::newRow("left click after the first pause")
        << 1 << 4 << QStringList{"+A", "10ms", "+L", "10ms", "-L", "10ms", "-A", "20ms", "+B"};
}

void MacroEditTest::chooserInsertsRightAfterASelectedPause()
{
    QFETCH(int, row);
    QFETCH(int, chooser);
    QFETCH(QStringList, expected);
    selectMacro(*page, "m");
    child<QListWidget>(*page, "listWidgetKey")->setCurrentRow(row);
    ModalHandler modal;
    if (chooser <= 2)
        modal.queue(pressKey(0x44));
    choose(chooser);
    expected.replaceInStrings(QRegularExpression("^([+-])L$"), "\\1" + mouseButtonNames[0]);
    QCOMPARE(eventTexts(*page), expected);
}

void MacroEditTest::chooserDeclinedChangesNothing()
{
    selectMacro(*page, "m");
    QListWidget *list = child<QListWidget>(*page, "listWidgetKey");
    ModalHandler modal;
    const QStringList before = eventTexts(*page);

    list->setCurrentRow(2);
    modal.queue(cancel());
    choose(1);
    modal.queue(cancel());
    choose(3);
    // A pause needs a selected event to go to.
    list->setCurrentRow(-1);
    modal.queue(enterDelay(300));
    choose(3);
    QCOMPARE(modal.seen, (QStringList{"addKey", "AddDelayTime", "AddDelayTime"}));
    // The first event has no pause before it.
    list->setCurrentRow(0);
    modal.queue(enterDelay(300));
    choose(3);
    choose(0);

    QCOMPARE(eventTexts(*page), before);
    QVERIFY(!page->eventsModified);
    QVERIFY(!child<QToolButton>(*page, "Save")->isEnabled());
}

void MacroEditTest::insertsStopAtTheEventLimit_data()
{
    QTest::addColumn<int>("keys");
    QTest::addColumn<int>("chooser");
    QTest::addColumn<bool>("fits");
    QTest::newRow("key press as the 70th") << 69 << 1 << true;
    QTest::newRow("key release as the 71st") << 70 << 2 << false;
    QTest::newRow("click as the 69th and 70th") << 68 << 4 << true;
    QTest::newRow("click as the 70th and 71st") << 69 << 8 << false;
    QTest::newRow("file already past the limit") << 75 << 1 << false;
}

void MacroEditTest::insertsStopAtTheEventLimit()
{
    QFETCH(int, keys);
    QFETCH(int, chooser);
    QFETCH(bool, fits);
    QByteArray file("1\n");
    for (int i = 0; i < keys; ++i)
        file += (i ? "10ms\n" : "") + QByteArray(i % 2 ? "0x04 1 1\n" : "0x04 1 0\n");
    page = showPageWith("full", file);
    QVERIFY(page);
    selectMacro(*page, "full");
    QListWidget *list = child<QListWidget>(*page, "listWidgetKey");
    QCOMPARE(list->count(), 2 * keys - 1);
    list->setCurrentRow(list->count() - 1);

    ModalHandler modal;
    if (fits && chooser == 1)
        modal.queue(pressKey(0x44));
    choose(chooser);
    const int added = chooser == 1 || chooser == 2 ? 1 : 2;
    if (fits) {
        QCOMPARE(list->count(), 2 * (keys + added) - 1);
        QVERIFY(!modal.seen.contains("KeyNumberLimit"));
        return;
    }
    // The notice comes before any dialog, and nothing is added.
    QCOMPARE(modal.seen, QStringList{"KeyNumberLimit"});
    QCOMPARE(list->count(), 2 * keys - 1);
    QVERIFY(!page->eventsModified);
}

void MacroEditTest::deleteTakesThePartner_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("currentAfter");

    const QByteArray five = "1\n0x04 1 0\n10ms\n0x04 1 1\n20ms\n0x05 1 0\n";
    QTest::newRow("middle pause takes the key before it") << five << 1 << QStringList{"-A", "20ms", "+B"} << 0;
    QTest::newRow("key takes the pause after it") << five << 2 << QStringList{"+A", "10ms", "+B"} << 2;
    QTest::newRow("last takes the one before it") << five << 4 << QStringList{"+A", "10ms", "-A"} << 2;
    QTest::newRow("first key") << five << 0 << QStringList{"-A", "20ms", "+B"} << 0;
    QTest::newRow("three items go whole") << QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1\n") << 1 << QStringList() << -1;
    QTest::newRow("three items, none selected")
        << QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1\n") << -1 << QStringList() << -1;
    QTest::newRow("nothing selected in a longer list")
        << five << -1 << QStringList{"+A", "10ms", "-A", "20ms", "+B"} << -1;
    // A list that starts with a pause: it goes alone, nothing before row 0.
    QTest::newRow("pause at row 0") << QByteArray("1\n5ms\n0x04 1 0\n10ms\n0x04 1 1\n") << 0
                                    << QStringList{"+A", "10ms", "-A"} << 0;
}

void MacroEditTest::deleteTakesThePartner()
{
    QFETCH(QByteArray, file);
    QFETCH(int, row);
    QFETCH(QStringList, expected);
    QFETCH(int, currentAfter);
    page = showPageWith("d", file);
    QVERIFY(page);
    selectMacro(*page, "d");
    QListWidget *list = child<QListWidget>(*page, "listWidgetKey");
    list->setCurrentRow(row);
    QTest::mouseClick(child<QToolButton>(*page, "DeleteKey"), Qt::LeftButton);
    QCOMPARE(eventTexts(*page), expected);
    QCOMPARE(list->currentRow(), currentAfter);
    const bool changed = row >= 0 || list->count() == 0;
    QCOMPARE(page->eventsModified, changed);
    QCOMPARE(child<QToolButton>(*page, "Save")->isEnabled(), changed);
}

void MacroEditTest::deleteWhileRecordingIsRefused()
{
    selectMacro(*page, "m");
    child<QListWidget>(*page, "listWidgetKey")->setCurrentRow(1);
    macroRecording = true;
    ModalHandler modal;
    QTest::mouseClick(child<QToolButton>(*page, "DeleteKey"), Qt::LeftButton);
    QCOMPARE(modal.seen, QStringList{"ExeIsRun"});
    QCOMPARE(eventTexts(*page).size(), 5);
}

void MacroEditTest::recordedEditedSavedAndSent()
{
    pagetest::openSimulatedMouse();
    FlashDataMap start;
    std::memset(&start, 0, sizeof start);
    start.buttonFunctions[4] = {6, 3, 1};
    currentFlashData = start;
    markFlashDataRead(currentAttach().number);
    uiReady = true;

    selectMacro(*page, "m");
    child<QAbstractButton>(*page, "DefaultDelay")->click();
    child<QSpinBox>(*page, "DelayTime")->setValue(40);
    QTest::mouseClick(child<QPushButton>(*page, "StartRecord"), Qt::LeftButton);
    for (DWORD vk : {DWORD(0x51), DWORD(0x57)}) // Q, W
        tapIn(page.get(), vk);
    QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    QCOMPARE(eventTexts(*page), (QStringList{"+Q", "40ms", "-Q", "40ms", "+W", "40ms", "-W"}));

    // Change W's press to E, put a 300 ms pause before it, drop Q.
    QListWidget *list = child<QListWidget>(*page, "listWidgetKey");
    ModalHandler modal;
    list->setCurrentRow(4);
    modal.queue(pressKey(0x45));
    QTest::mouseClick(child<QToolButton>(*page, "Amend"), Qt::LeftButton);
    list->setCurrentRow(4);
    modal.queue(enterDelay(300));
    choose(3);
    list->setCurrentRow(1);
    QTest::mouseClick(child<QToolButton>(*page, "DeleteKey"), Qt::LeftButton);
    QCOMPARE(eventTexts(*page), (QStringList{"-Q", "300ms", "+E", "40ms", "-W"}));

    // Saving tells the button page, which asks for the macro per button.
    QSignalSpy updates(PostMsg::instance(), &PostMsg::SigUpDataMacro);
    connect(PostMsg::instance(), &PostMsg::SigUpDataMacro, page.get(), [](const QString &name, int index) {
        if (index == 0)
            emit PostMsg::instance()->SigMacroDownLoadData(name, 4);
    });
    QTest::mouseClick(child<QToolButton>(*page, "Save"), Qt::LeftButton);
    QCOMPARE(readMacro("m"), QByteArray("1\n0x14 1 1\n300ms\n0x08 1 0\n40ms\n0x1A 1 1\n"));
    QCOMPARE(updates.count(), 1);
    QCOMPARE(updates.at(0), (QVariantList{"m", 0}));

    const MacroRecord &sent = currentFlashData.macros[4];
    QCOMPARE(int(sent.eventCount), 3);
    QCOMPARE(int(sent.events[0].code), 0x14);
    QCOMPARE(int(sent.events[0].action), 1);
    QCOMPARE(int(sent.events[0].delay), 300);
    QCOMPARE(int(sent.events[1].code), 0x08);
    QCOMPARE(int(sent.events[1].action), 0);
    QCOMPARE(int(sent.events[1].delay), 40);
    QCOMPARE(int(sent.events[2].code), 0x1A);
    QCOMPARE(int(sent.events[2].delay), 0);
    uiReady = false;
    UsbServer_Exit();
}

VELMORAX_TEST_MAIN(MacroEditTest)
#include "tst_macroedit.moc"
