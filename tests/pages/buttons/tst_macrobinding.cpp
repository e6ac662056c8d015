// Macros on the simulated mouse, from the button page's side together with
// the macro editor: the button page's macro list, binding a macro to a
// button, what the bound buttons' records hold, refills that relabel without
// touching the files, the bound buttons following a save, a rename and a
// delete, and a silent mouse throughout.
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/setters.h"
#include "pages/buttons/buttoninterface.h"
#include "pages/buttons/buttonnotices.h"
#include "pages/macro/macro.h"
#include "pages/macro/macroflags.h"
#include "platform/hidusb/simcontrol.h"
#include "support/buttonpagefixture.h"
#include "support/macrofixture.h"
#include "support/modalhandler.h"
#include "support/pagefixture.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {

using namespace macrotest;

using buttonpagetest::kMouse;
using buttonpagetest::mouseFlash;

// One expected event slot of a macro record.
struct Slot
{
    int action;
    int kind;
    int code;
    int delay;
};

// An empty macro folder and no recording under way, before the button page
// is made (it lists the folder's macros when made).
struct EmptyMacroFolder
{
    EmptyMacroFolder()
    {
        languageIndex = 0;
        emptyFolder();
    }
};

// The button page over the simulated mouse, its record read in this
// attach, and the macro editor when the test makes it.
struct Pages : EmptyMacroFolder, buttonpagetest::Fixture
{
    std::unique_ptr<Macro> macro;

    explicit Pages(const std::function<void(FlashDataMap &)> &edit = {}) : buttonpagetest::Fixture(edit) {}
    ~Pages() { macro.reset(); }

    void makeMacroPage()
    {
        macro = std::make_unique<Macro>(nullptr);
        macro->show();
    }

    QToolButton *macroButton(const QString &name) const
    {
        for (QToolButton *b : page->macroListButtons())
            if (b->text() == name && b->isEnabled())
                return b;
        return nullptr;
    }

    // Selects device button b and chooses macro `name` from the list, as
    // the user clicks them.
    void bind(int b, const QString &name)
    {
        QToolButton *selector = page->selector(b);
        selector->click();
        w("DPI_10")->click();
        QToolButton *entry = macroButton(name);
        QVERIFY2(entry, qPrintable(name));
        entry->click();
    }

    QString label(int b) const { return page->selector(b)->text(); }
    QString prefix() const { return page->macroLabelPrefix(); }

    // The macro editor shows macro `name`, as when the user clicks it.
    void show(const QString &name)
    {
        QListWidget *list = child<QListWidget>(*macro, "listWidgetHong");
        if (list->currentItem() && list->currentItem()->text() == name)
            return;
        const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(name));
        list->setCurrentItem(found.first());
        emit list->clicked(list->currentIndex());
    }

    // The macro editor shows `name` with these events and saves it.
    void saveFromEditor(const QString &name, const QVector<MacroEvent> &events)
    {
        show(name);
        QListWidget *eventList = child<QListWidget>(*macro, "listWidgetKey");
        eventList->clear();
        for (const MacroEvent &e : events)
            eventList->addItem(macro->makeEventItem(e));
        macro->eventsModified = true;
        macro->on_Save_clicked();
    }
};

void compareSlots(const MacroRecord &record, const QVector<Slot> &expected)
{
    QCOMPARE(int(record.eventCount), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const KeyEvent &e = record.events[i];
        QCOMPARE(int(e.action), expected[i].action);
        QCOMPARE(int(e.kind), expected[i].kind);
        QCOMPARE(int(e.code), expected[i].code);
        QCOMPARE(int(e.delay), expected[i].delay);
    }
    // Nothing after the slots in use.
    const auto *rest = reinterpret_cast<const unsigned char *>(&record.events[expected.size()]);
    const int restBytes = int(sizeof record.events) - int(sizeof(KeyEvent)) * expected.size();
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(rest), restBytes), QByteArray(restBytes, '\0'));
}

} // namespace

Q_DECLARE_METATYPE(QVector<Slot>)
Q_DECLARE_METATYPE(QVector<MacroEvent>)

class TestMacroBinding : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        UsbServer_Exit();
        uiReady = false;
    }

    // The list offers the macros the editor lists, in its order, padded to
    // seven rows with hidden placeholders.
    void macroListFollowsTheFolder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("placeholders");
        QTest::newRow("case-blind order, other files left out")
            << QStringList{"b.ini", "A.ini", "notes.txt"} << QStringList{"A", "b"} << 5;
        QTest::newRow("names with xml are macros too")
            << QStringList{"Macro.xml", "xml.ini", "x.ini"} << QStringList{"x", "xml"} << 5;
        QTest::newRow("seven or more: no placeholder")
            << QStringList{"1.ini", "2.ini", "3.ini", "4.ini", "5.ini", "6.ini", "7.ini", "8.ini"}
            << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"} << 0;
        QTest::newRow("none") << QStringList{} << QStringList{} << 0;
    }
    void macroListFollowsTheFolder()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, buttons);
        QFETCH(int, placeholders);
        Pages p;
        for (const QString &file : files)
            QVERIFY(pagetest::writeFile(folder() + "/" + file, "1\n"));
        // The list is built again when the macro folder changes.
        emit PostMsg::instance()->SigAddMacroButton();

        QStringList shown;
        int hidden = 0;
        for (QToolButton *b : p.page->macroListButtons()) {
            if (b->isEnabled())
                shown << b->text();
            else if (!b->isVisibleTo(b->parentWidget()) && b->text().isEmpty())
                ++hidden;
        }
        QCOMPARE(shown, buttons);
        QCOMPARE(hidden, placeholders);
        QCOMPARE(p.page->macroListButtons().size(), buttons.size() + placeholders);
    }

    // Without any macro the macro option says so and writes nothing.
    void noMacroShowsTheNotice()
    {
        Pages p;
        p.page->selector(1)->click();
        const FlashDataMap before = mouseFlash();
        ModalHandler modal;
        p.w("DPI_10")->click();
        QCOMPARE(modal.seen, QStringList{"MakeMacro"});
        QCOMPARE(p.page->findChild<QStackedWidget *>("stackedWidget_2")->currentWidget()->objectName(),
                 QString("page_9"));
        QVERIFY(pagetest::sameRecord(mouseFlash(), before));
    }

    // From the editor's save to the mouse: a bound button holds the function
    // {6, b, repeat mode} and the macro's record with its key events in list
    // order, each with the pause after it; a refill shows the binding and
    // leaves the macro file as it was.
    void savedMacroReachesBoundButtons_data()
    {
        QTest::addColumn<QString>("repeatBox");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QVector<MacroEvent>>("events");
        QTest::addColumn<QVector<Slot>>("expected");
        QTest::newRow("keys and a modifier, three times")
            << "ReNumber" << 3 << 3
            << QVector<MacroEvent>{MacroEvent::key(1, 0x04, true), MacroEvent::delay(10),
                                   MacroEvent::key(1, 0x04, false), MacroEvent::delay(50),
                                   MacroEvent::key(0, 0x02, true)}
            << QVector<Slot>{{0, 1, 0x04, 10}, {1, 1, 0x04, 50}, {0, 0, 0x02, 0}};
        QTest::newRow("mouse button until pressed again")
            << "ReUntil" << 1 << 253
            << QVector<MacroEvent>{MacroEvent::key(4, 0x01, true), MacroEvent::delay(40),
                                   MacroEvent::key(4, 0x01, false)}
            << QVector<Slot>{{0, 4, 0x01, 40}, {1, 4, 0x01, 0}};
        QTest::newRow("modifier with key until released")
            << "ReUntilLoose" << 1 << 254 << QVector<MacroEvent>{MacroEvent::key(0, 0x01, true),  MacroEvent::delay(5),
                                                                 MacroEvent::key(1, 0x06, true),  MacroEvent::delay(5),
                                                                 MacroEvent::key(1, 0x06, false), MacroEvent::delay(5),
                                                                 MacroEvent::key(0, 0x01, false)}
            << QVector<Slot>{{0, 0, 0x01, 5}, {0, 1, 0x06, 5}, {1, 1, 0x06, 5}, {1, 0, 0x01, 0}};
        QTest::newRow("forward button until any pressed")
            << "ReUntilClick" << 1 << 255
            << QVector<MacroEvent>{MacroEvent::key(4, 0x10, true), MacroEvent::delay(1000),
                                   MacroEvent::key(4, 0x10, false)}
            << QVector<Slot>{{0, 4, 0x10, 1000}, {1, 4, 0x10, 0}};
        QTest::newRow("empty macro") << "ReNumber" << 250 << 250 << QVector<MacroEvent>{} << QVector<Slot>{};
    }
    void savedMacroReachesBoundButtons()
    {
        QFETCH(QString, repeatBox);
        QFETCH(int, count);
        QFETCH(int, mode);
        QFETCH(QVector<MacroEvent>, events);
        QFETCH(QVector<Slot>, expected);
        Pages p;
        writeMacro("combo", "");
        p.makeMacroPage();
        QListWidget *list = child<QListWidget>(*p.macro, "listWidgetHong");
        p.show("combo");
        child<QCheckBox>(*p.macro, qPrintable(repeatBox))->setChecked(true);
        if (repeatBox == "ReNumber")
            child<QSpinBox>(*p.macro, "NumberEdit")->setValue(count);
        p.saveFromEditor("combo", events);
        emit PostMsg::instance()->SigAddMacroButton();

        p.bind(2, "combo");
        p.bind(5, "combo");
        FlashDataMap flash = mouseFlash();
        for (const int b : {2, 5}) {
            QCOMPARE(int(flash.buttonFunctions[b].type), 6);
            QCOMPARE(int(flash.buttonFunctions[b].p1), b);
            QCOMPARE(int(flash.buttonFunctions[b].p2), mode);
            QCOMPARE(int(flash.macros[b].nameLength), 5);
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(flash.macros[b].name), 6), QByteArray("combo\0", 6));
            compareSlots(flash.macros[b], expected);
            QCOMPARE(p.label(b), p.prefix() + "combo");
            QCOMPARE(p.page->types().at(b), 6);
        }
        // Only the bound buttons changed.
        QCOMPARE(int(flash.buttonFunctions[1].type), 1);

        // The mouse's own data shown again: the labels come back from the
        // records, the editor keeps its macro and the file stays as saved.
        const QByteArray file = readMacro("combo");
        p.page->SlotAllLanguage(1);
        p.page->SlotUpDataButtonUIB(flash);
        QCOMPARE(p.label(2), p.prefix() + "combo");
        QCOMPARE(p.label(5), p.prefix() + "combo");
        QCOMPARE(readMacro("combo"), file);
        QCOMPARE(list->currentItem()->text(), QString("combo"));
        QCOMPARE(list->count(), 1);
    }

    // Binding reads the macro's file; what cannot be bound writes nothing
    // and still closes the panels.
    void bindingRules_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("selectFirst");
        QTest::addColumn<bool>("deleteFile");
        QTest::addColumn<int>("mode"); // -1: nothing written
        QTest::newRow("until any pressed") << QByteArray("255\n0x04 1 0\n10ms\n0x04 1 1\n") << true << false << 255;
        QTest::newRow("out of range: default") << QByteArray("300\n") << true << false << 1;
        QTest::newRow("spaces only: default") << QByteArray("   \n0x04 1 0\n") << true << false << 1;
        QTest::newRow("empty first line: default") << QByteArray("\n") << true << false << 1;
        QTest::newRow("no selected button") << QByteArray("5\n") << false << false << -1;
        QTest::newRow("file deleted meanwhile") << QByteArray("5\n") << true << true << -1;
    }
    void bindingRules()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, selectFirst);
        QFETCH(bool, deleteFile);
        QFETCH(int, mode);
        Pages p;
        writeMacro("m", file);
        emit PostMsg::instance()->SigAddMacroButton();
        const QString before = p.label(2);
        if (selectFirst)
            p.page->selector(2)->click();
        if (deleteFile)
            QFile::remove(folder() + "/m.ini");
        p.macroButton("m")->click();

        const FlashDataMap flash = mouseFlash();
        if (mode < 0) {
            QCOMPARE(int(flash.buttonFunctions[2].type), 1);
            QCOMPARE(p.label(2), before);
        } else {
            QCOMPARE(int(flash.buttonFunctions[2].type), 6);
            QCOMPARE(int(flash.buttonFunctions[2].p2), mode);
            QCOMPARE(p.page->extras().at(2), mode);
            QCOMPARE(p.label(2), p.prefix() + "m");
        }
        QCOMPARE(p.page->findChild<QStackedWidget *>("stackedWidget")->currentWidget()->objectName(), QString("page"));
        QCOMPARE(p.page->findChild<QStackedWidget *>("stackedWidget_2")->currentWidget()->objectName(),
                 QString("page_9"));
    }

    // A silent mouse keeps its functions and the page its labels.
    void bindingOnASilentMouse()
    {
        Pages p;
        writeMacro("m", "5\n");
        emit PostMsg::instance()->SigAddMacroButton();
        p.page->selector(2)->click();
        const QString before = p.label(2);
        hidusb::sim::sleep(kMouse);
        QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
        p.macroButton("m")->click();
        QCOMPARE(offline.count(), 1);
        QCOMPARE(p.label(2), before);
        QCOMPARE(p.page->types().at(2), 1);
        QCOMPARE(int(currentFlashData.buttonFunctions[2].type), 1);
        hidusb::sim::wake(kMouse);
    }

    // A macro found on the mouse gets a file holding what the mouse holds
    // when it has none; an existing file is never touched, and the editor
    // only gains the name: its macro, its list and its changes stay.
    void macroFromTheMouse()
    {
        MacroRecord onMouse = MacroStore::toRecord(
            "fromMouse", {MacroEvent::key(4, 0x02, true), MacroEvent::delay(30), MacroEvent::key(4, 0x02, false)});
        Pages p([&](FlashDataMap &r) {
            r.buttonFunctions[3] = ButtonFunction{6, 3, 254};
            r.macros[3] = onMouse;
            r.buttonFunctions[4] = ButtonFunction{6, 4, 7};
            r.macros[4] = MacroStore::toRecord("mine", {MacroEvent::key(1, 0x05, true)});
        });
        QCOMPARE(readMacro("fromMouse"), QByteArray("254\n0x02 4 0\n30ms\n0x02 4 1\n"));
        QCOMPARE(readMacro("mine"), QByteArray("7\n0x05 1 0\n"));

        // The user's own versions from now on.
        writeMacro("fromMouse", "1\n0x04 1 0\n");
        writeMacro("mine", "2\n");
        writeMacro("edited", "1\n0x04 1 0\n");
        p.makeMacroPage();
        QListWidget *list = child<QListWidget>(*p.macro, "listWidgetHong");
        p.show("edited");
        QListWidget *events = child<QListWidget>(*p.macro, "listWidgetKey");
        events->addItem(p.macro->makeEventItem(MacroEvent::delay(20)));
        p.macro->eventsModified = true;
        const int shownEvents = events->count();

        // Partly the same names as before: a name new to the editor joins it.
        FlashDataMap again = mouseFlash();
        again.buttonFunctions[5] = ButtonFunction{6, 5, 1};
        again.macros[5] = MacroStore::toRecord("third", {});
        p.page->SlotUpDataButtonUIB(again);
        p.page->SlotAllLanguage(2);

        QCOMPARE(readMacro("fromMouse"), QByteArray("1\n0x04 1 0\n"));
        QCOMPARE(readMacro("mine"), QByteArray("2\n"));
        QCOMPARE(readMacro("third"), QByteArray("1\n"));
        QCOMPARE(list->currentItem()->text(), QString("edited"));
        QCOMPARE(events->count(), shownEvents);
        QVERIFY(p.macro->eventsModified);
        QVERIFY(!list->findItems("third", Qt::MatchExactly).isEmpty());
        QCOMPARE(p.label(3), p.prefix() + "fromMouse");
    }

    // The bound buttons get the content of the save, after the pause, even
    // when the editor shows another macro or other events by then.
    void saveUpdatesBoundButtonsLater()
    {
        Pages p;
        writeMacro("m", "1\n0x04 1 0\n");
        writeMacro("other", "1\n0x05 1 0\n");
        p.makeMacroPage();
        emit PostMsg::instance()->SigAddMacroButton();
        p.bind(1, "m");
        p.bind(3, "m");
        QCOMPARE(int(mouseFlash().macros[1].events[0].code), 0x04);

        p.saveFromEditor("m", {MacroEvent::key(1, 0x07, true), MacroEvent::delay(15), MacroEvent::key(1, 0x07, false)});
        QCOMPARE(readMacro("m"), QByteArray("1\n0x07 1 0\n15ms\n0x07 1 1\n"));
        // Nothing yet: the program goes on meanwhile.
        QCOMPARE(int(currentFlashData.macros[1].events[0].code), 0x04);
        // The editor moves on before the pause is over.
        p.show("other");

        QTRY_COMPARE_WITH_TIMEOUT(int(currentFlashData.macros[3].events[0].code), 0x07, 5000);
        const FlashDataMap flash = mouseFlash();
        for (const int b : {1, 3}) {
            compareSlots(flash.macros[b], {{0, 1, 0x07, 15}, {1, 1, 0x07, 0}});
            QCOMPARE(MacroStore::recordName(flash.macros[b]), QString("m"));
            QCOMPARE(int(flash.buttonFunctions[b].p2), 1);
        }

        // A new repeat mode goes to the bound buttons at once.
        p.saveFromEditor("other", {MacroEvent::key(1, 0x05, true)});
        p.show("m");
        child<QCheckBox>(*p.macro, "ReUntilClick")->setChecked(true);
        p.macro->on_Save_clicked();
        QCOMPARE(int(mouseFlash().buttonFunctions[3].p2), 255);
        QCOMPARE(p.page->extras().at(1), 255);
    }

    // A rename relabels a bound button once the mouse holds the new name.
    void renameFollowsTheMouse()
    {
        Pages p;
        writeMacro("abcdefghijklm", "1\n0x04 1 0\n");
        emit PostMsg::instance()->SigAddMacroButton();
        p.bind(2, "abcdefghijklm");
        p.bind(4, "abcdefghijklm");

        hidusb::sim::sleep(kMouse);
        QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
        emit PostMsg::instance()->SigMacroRename("abcdefghijklm", "xy");
        QCOMPARE(offline.count(), 1);
        QCOMPARE(p.label(2), p.prefix() + "abcdefghijklm");
        QCOMPARE(p.label(4), p.prefix() + "abcdefghijklm");
        hidusb::sim::wake(kMouse);

        emit PostMsg::instance()->SigMacroRename("abcdefghijklm", "xy");
        const FlashDataMap flash = mouseFlash();
        for (const int b : {2, 4}) {
            QCOMPARE(p.label(b), p.prefix() + "xy");
            QCOMPARE(int(flash.macros[b].nameLength), 2);
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(flash.macros[b].name), 30),
                     QByteArray("xy") + QByteArray(28, '\0'));
            compareSlots(flash.macros[b], {{0, 1, 0x04, 0}});
        }
        p.page->SlotUpDataButtonUIB(flash);
        QCOMPARE(p.label(2).remove(QChar(0)), p.prefix() + "xy");
    }

    // A delete gives the bound buttons their own defaults back in one send;
    // other buttons keep their key sequences. A silent mouse changes nothing
    // and is reported once.
    void deleteRestoresBoundButtons()
    {
        const KeyComboRecord ctrlC = *buttonfn::parseKeyCombination("Ctrl+C");
        Pages p([&](FlashDataMap &r) {
            r.buttonFunctions[1] = ButtonFunction{5, 0, 0};
            r.keyCombos[1] = ctrlC;
        });
        writeMacro("gone", "1\n0x04 1 0\n");
        emit PostMsg::instance()->SigAddMacroButton();
        for (const int b : {3, 5, 10, 12})
            p.bind(b, "gone");
        // A key sequence left behind in a bound button's record.
        FlashDataMap withKeys = currentFlashData;
        withKeys.keyCombos[5] = ctrlC;
        QCOMPARE(replaceRecord(withKeys), RecordWrite::Sent);

        hidusb::sim::sleep(kMouse);
        QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
        const FlashDataMap held = currentFlashData;
        emit PostMsg::instance()->SigDeleteMacroButton(p.prefix() + "gone");
        QCOMPARE(offline.count(), 1);
        QVERIFY(pagetest::sameRecord(currentFlashData, held));
        for (const int b : {3, 5, 10, 12})
            QCOMPARE(p.label(b), p.prefix() + "gone");
        hidusb::sim::wake(kMouse);

        hidusb::sim::clearJournal();
        emit PostMsg::instance()->SigDeleteMacroButton(p.prefix() + "gone");
        QCOMPARE(buttonpagetest::sends(), 1);

        const FlashDataMap flash = mouseFlash();
        const ButtonFunction expected[] = {{1, 8, 0}, {2, 1, 0}, {4, 10, 3}, {0, 0, 0}};
        int i = 0;
        for (const int b : {3, 5, 10, 12}) {
            QCOMPARE(int(flash.buttonFunctions[b].type), int(expected[i].type));
            QCOMPARE(int(flash.buttonFunctions[b].p1), int(expected[i].p1));
            QCOMPARE(int(flash.buttonFunctions[b].p2), int(expected[i].p2));
            QCOMPARE(p.page->types().at(b), int(expected[i].type));
            const KeyComboRecord none{};
            QVERIFY(std::memcmp(&flash.keyCombos[b], &none, sizeof none) == 0);
            ++i;
        }
        QCOMPARE(p.label(3), p.w("BackKey_2")->text());
        QCOMPARE(p.label(5), p.w("VolumeUp_8")->text());
        QVERIFY(std::memcmp(&flash.keyCombos[1], &ctrlC, sizeof ctrlC) == 0);
        QCOMPARE(int(flash.buttonFunctions[1].type), 5);
        QCOMPARE(p.page->selectedButton(), -1);
    }

    // The debounce box writes the user's choice (warning below 8 ms), goes
    // back when the mouse refuses, and follows the mouse's value without
    // ever writing it back, also a value it does not offer.
    void debounceBox()
    {
        Pages p([](FlashDataMap &r) { r.debounceTime = 4; });
        auto *box = p.page->findChild<QComboBox *>("Debunce");
        QVERIFY(box);
        QCOMPARE(box->currentIndex(), 4);
        QCOMPARE(box->currentText(), QString("4ms"));

        QSignalSpy announced(PostMsg::instance(), &PostMsg::SigDebunce);
        ModalHandler modal;
        box->setCurrentIndex(12);
        QCOMPARE(int(mouseFlash().debounceTime), 12);
        QCOMPARE(announced.last().first().toString(), QString("12ms"));
        box->setCurrentIndex(7);
        QCOMPARE(int(mouseFlash().debounceTime), 7);
        QCOMPARE(modal.seen, QStringList{"LessThree"});

        hidusb::sim::sleep(kMouse);
        box->setCurrentIndex(20);
        QCOMPARE(box->currentIndex(), 7);
        hidusb::sim::wake(kMouse);

        FlashDataMap fromMouse = mouseFlash();
        fromMouse.debounceTime = 0xFF;
        p.page->SlotUpDataButtonUIB(fromMouse);
        QCOMPARE(box->currentIndex(), 30);
        QCOMPARE(announced.last().first().toString(), QString("30ms"));
        QCOMPARE(int(mouseFlash().debounceTime), 7);
        QCOMPARE(modal.seen.size(), 1);
        // A refused write later puts back what is shown.
        hidusb::sim::sleep(kMouse);
        box->setCurrentIndex(3);
        QCOMPARE(box->currentIndex(), 30);
        hidusb::sim::wake(kMouse);
    }
};

VELMORAX_TEST_MAIN(TestMacroBinding)
#include "tst_macrobinding.moc"
