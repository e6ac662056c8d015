// The button page on the simulated mouse: labels from the mouse's record in
// every language, the factory map of a silent mouse, the key-sequence
// writers, the left-click rule, the display of a selected button, the slot
// and debounce boxes, and the configuration export.
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/setters.h"
#include "pages/buttons/buttoninterface.h"
#include "pages/buttons/buttonnotices.h"
#include "pages/settings/configfile.h"
#include "pages/settings/inportfail.h"
#include "platform/keys/keytable.h"

#include "platform/hidusb/simcontrol.h"
#include "support/buttonpagefixture.h"
#include "support/pagefixture.h"
#include "support/testmain.h"
#include <QScrollArea>
#include <QScrollBar>

#include <QComboBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <memory>

using namespace buttonpagetest;

class TestButtonPage : public QObject
{
    Q_OBJECT
private slots:
    // Each function type reads as its option's text in the page's language
    // (composed for combinations and DPI locks).
    void labelsFromTheRecord_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("p1");
        QTest::addColumn<QString>("option");
        for (int language = 0; language < 3; ++language) {
            const QByteArray l = QByteArray::number(language);
            QTest::newRow("none " + l) << language << 0 << 0 << "DPI_5";
            QTest::newRow("middle " + l) << language << 1 << 4 << "MidKey";
            QTest::newRow("dpi down " + l) << language << 2 << 3 << "VolumeUp_10";
            QTest::newRow("tilt right " + l) << language << 3 << 2 << "VolumeDown_2";
            QTest::newRow("fire " + l) << language << 4 << 20 << "DPI_6";
            QTest::newRow("rate " + l) << language << 7 << 0 << "DPI_2";
            QTest::newRow("strip " + l) << language << 8 << 3 << "VolumeUp_6";
            QTest::newRow("wheel down " + l) << language << 11 << 2 << "VolumeDown_14";
        }
    }
    void labelsFromTheRecord()
    {
        QFETCH(int, language);
        QFETCH(int, type);
        QFETCH(int, p1);
        QFETCH(QString, option);
        Fixture f([&](FlashDataMap &r) { r.buttonFunctions[1] = ButtonFunction{quint8(type), quint8(p1), 0}; });
        f.page->SlotAllLanguage(language);
        const QString expected = f.page->findChild<QToolButton *>(option)->text();
        QVERIFY(!expected.isEmpty());
        QCOMPARE(f.text("RightKey"), expected);
        QCOMPARE(f.page->types().size(), 16);
    }

    void composedLabels()
    {
        Fixture f([](FlashDataMap &r) {
            r.buttonFunctions[2] = ButtonFunction{5, 0, 0};
            r.keyCombos[2] = *buttonfn::parseKeyCombination("Ctrl+Shift+A");
            r.buttonFunctions[3] = ButtonFunction{5, 0, 0};
            r.keyCombos[3] = buttonfn::makeConsumerKeyRecord(0x00E9);
            r.buttonFunctions[4] = ButtonFunction{10, 15, 0}; // 800 DPI on the arithmetic code
        });
        for (int language = 0; language < 3; ++language) {
            f.page->SlotAllLanguage(language);
            QCOMPARE(f.text("BackKey"), QStringLiteral("Ctrl+Shift+A"));
            QCOMPARE(f.text("TopMusic"), f.text("VolumeDown"));
            QCOMPARE(f.text("StartPause"), f.text("DPI_4") + "-800");
        }
    }

    // The model has six buttons: the others are hidden and never relabelled.
    void selectorsFollowTheModel()
    {
        Fixture f;
        QVERIFY(f.w("BackMusic")->isVisible());
        QVERIFY(!f.w("Button7")->isVisible());
        QVERIFY(!f.w("Button16")->isVisible());
        QCOMPARE(f.page->buttonCount(), 6);
    }

    // Before any record (a silent mouse with nothing cached, or restore
    // defaults) the page shows the model's buttons only, and nothing is
    // selected or written past them.
    void withoutARecordOnlyTheModelsButtons()
    {
        resetDeviceStateForTests();
        loadTextCatalogue();
        auto page = std::make_unique<Buttoninterface>();
        pagetest::openSimulatedMouse();
        page->show();
        page->SlotFormResetButton();
        QCOMPARE(page->buttonCount(), 6);
        QVERIFY(page->selector(5)->isVisible());
        for (int b = 6; b < buttonfn::kButtonCount; ++b)
            QVERIFY2(page->selector(b)->isHidden(), buttonfn::selectorName(b));
        page.reset();

        Fixture f;
        f.w("Number9")->click();
        QCOMPARE(f.page->selectedButton(), -1);
        QVERIFY(!f.page->assignKeyCombination(8, "A"));
        QVERIFY(!f.page->assignMultimediaKey(15, 0xE9));
        QCOMPARE(sends(), 0);
    }

    // Every selector the mouse has lies inside the list's content, below the
    // one before it, and the list scrolls far enough to show the last one.
    void everyShownSelectorCanBeReached()
    {
        Fixture f;
        auto *list = f.page->findChild<QScrollArea *>(QStringLiteral("scrollArea_11"));
        QVERIFY(list);
        QWidget *content = list->widget();
        int lastBottom = -1;
        int shown = 0;
        for (int row = 0; row < buttonfn::kButtonCount; ++row) {
            QWidget *selector = f.w(buttonfn::selectorName(buttonfn::selectorListOrder()[row]));
            if (selector->isHidden())
                continue;
            ++shown;
            const QRect r = selector->geometry();
            QVERIFY2(content->rect().contains(r), qPrintable(selector->objectName()));
            QVERIFY2(r.top() > lastBottom, qPrintable(selector->objectName()));
            lastBottom = r.bottom();
        }
        QCOMPARE(shown, f.page->buttonCount());
        QVERIFY(list->verticalScrollBar()->maximum() + list->viewport()->height() >= lastBottom);
    }

    // A silent mouse with nothing cached shows the factory functions, and
    // the labels say the same as the mirrors.
    void factoryMapRelabels()
    {
        Fixture f([](FlashDataMap &r) { r.buttonFunctions[5] = ButtonFunction{7, 0, 0}; });
        QCOMPARE(f.text("BackMusic"), f.text("DPI_2"));
        f.page->SlotFormResetButton();
        QCOMPARE(f.page->types().at(5), 2);
        QCOMPARE(f.text("BackMusic"), f.text("VolumeUp_8"));
        QCOMPARE(f.page->extras().size(), 16);
        QCOMPARE(sends(), 0);
    }

    void combinationWriterPutsTheRecord()
    {
        Fixture f;
        QVERIFY(f.page->assignKeyCombination(3, "Ctrl+Tab"));
        const FlashDataMap flash = mouseFlash();
        const KeyComboRecord expected = *buttonfn::parseKeyCombination("Ctrl+Tab");
        QCOMPARE(int(flash.buttonFunctions[3].type), 5);
        QVERIFY(std::memcmp(&flash.keyCombos[3], &expected, sizeof expected) == 0);
        QCOMPARE(int(flash.keyCombos[3].count), 4);
        QCOMPARE(f.text("TopMusic"), QStringLiteral("Ctrl+Tab"));
        QCOMPARE(f.page->types().at(3), 5);
        QCOMPARE(sends(), 1);
        // Only the button's own triple and record changed.
        FlashDataMap rest = flash;
        rest.buttonFunctions[3] = f.start.buttonFunctions[3];
        rest.keyCombos[3] = f.start.keyCombos[3];
        QVERIFY(pagetest::sameRecord(rest, f.start));
    }

    void combinationWriterRefuses()
    {
        Fixture f;
        QVERIFY(!f.page->assignKeyCombination(3, "Ctrl+Banana"));
        QVERIFY(!f.page->assignKeyCombination(16, "Ctrl+A"));
        hidusb::sim::sleep(kMouse);
        QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
        QVERIFY(!f.page->assignKeyCombination(3, "Ctrl+Tab"));
        QCOMPARE(offline.count(), 1);
        QCOMPARE(f.text("TopMusic"), f.text("BackKey_2"));
        QCOMPARE(f.page->types().at(3), 1);
        QCOMPARE(f.w<QStackedWidget>("stackedWidget")->currentIndex(), 1);
        QCOMPARE(f.w<QStackedWidget>("stackedWidget_2")->currentIndex(), 4);
        QVERIFY(pagetest::sameRecord(mouseFlash(), f.start));
    }

    void multimediaWriter_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < keytable::consumerKeyCount(); ++i)
            QTest::newRow(keytable::consumerKeyAt(i).option) << i;
    }
    void multimediaWriter()
    {
        QFETCH(int, index);
        const keytable::ConsumerKey &key = keytable::consumerKeyAt(index);
        Fixture f;
        for (const int b : {1, 5}) {
            QVERIFY(f.page->assignMultimediaKey(b, key.lowByte()));
            const FlashDataMap flash = mouseFlash();
            const KeyComboRecord expected = buttonfn::makeConsumerKeyRecord(key.usage);
            QVERIFY(std::memcmp(&flash.keyCombos[b], &expected, sizeof expected) == 0);
            QCOMPARE(int(flash.buttonFunctions[b].type), 5);
            QCOMPARE(f.page->selector(b)->text(), f.page->findChild<QToolButton *>(key.option)->text());
        }
        QCOMPARE(sends(), 2);
        QVERIFY(!f.page->assignMultimediaKey(1, key.usage | 0x1000));
        QCOMPARE(sends(), 2);
    }

    // The mouse keeps one left click, judged from the record whatever the
    // labels say.
    void leftClickIsKept()
    {
        Fixture f;
        QVERIFY(f.page->wouldLoseLeftClick(0, 5, 0));
        QVERIFY(!f.page->wouldLoseLeftClick(0, 1, 1));
        QVERIFY(!f.page->wouldLoseLeftClick(1, 5, 0));
        QVERIFY(!f.page->assignKeyCombination(0, "A"));
        QVERIFY(!f.page->assignMultimediaKey(0, 0xE9));
        QCOMPARE(sends(), 0);
        // Stale labels do not matter: the record has the only left click.
        f.w("RightKey")->setText(f.text("LeftKey_3"));
        bool noticeShown = false;
        pagetest::whenShown<LeftButtonOnly>([&](LeftButtonOnly *notice) {
            noticeShown = true;
            notice->close();
        });
        f.w("FireKey")->click();
        QVERIFY(noticeShown);
        QVERIFY(!f.w("FireKey")->isChecked());
        QCOMPARE(f.w<QStackedWidget>("stackedWidget")->currentIndex(), 0);

        // With a second left click either one may change.
        Fixture two([](FlashDataMap &r) { r.buttonFunctions[2] = ButtonFunction{1, 1, 0}; });
        QVERIFY(two.page->assignKeyCombination(0, "A"));
        QVERIFY(!two.page->assignKeyCombination(2, "B"));
    }

    void selectionShowsTheFunction_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("p1");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("optionPage");
        QTest::newRow("none") << 0 << 0 << "DPI_5"
                              << "" << 4;
        QTest::newRow("back") << 1 << 8 << "BackKey_2"
                              << "" << 4;
        QTest::newRow("dpi up") << 2 << 2 << "DPI_7"
                                << "VolumeUp_9" << 6;
        QTest::newRow("tilt left") << 3 << 1 << "DPI_11"
                                   << "VolumeUp_2" << 5;
        QTest::newRow("fire") << 4 << 10 << "DPI_6"
                              << "" << 4;
        QTest::newRow("rate") << 7 << 0 << "DPI_2"
                              << "" << 4;
        QTest::newRow("strip effect") << 8 << 4 << "DPI_9"
                                      << "VolumeUp_7" << 2;
        QTest::newRow("dpi lock 500") << 10 << 9 << "DPI_4"
                                      << "VolumeUp_15" << 3;
        QTest::newRow("wheel up") << 11 << 1 << "DPI_13"
                                  << "VolumeUp_14" << 7;
    }
    void selectionShowsTheFunction()
    {
        QFETCH(int, type);
        QFETCH(int, p1);
        QFETCH(QString, function);
        QFETCH(QString, option);
        QFETCH(int, optionPage);
        Fixture f([&](FlashDataMap &r) { r.buttonFunctions[4] = ButtonFunction{quint8(type), quint8(p1), 0}; });
        f.w("StartPause")->click();
        QCOMPARE(f.page->selectedButton(), 4);
        QCOMPARE(f.w<QStackedWidget>("stackedWidget")->currentIndex(), 1);
        QCOMPARE(f.w<QStackedWidget>("stackedWidget_2")->currentIndex(), optionPage);
        QVERIFY(f.page->findChild<QToolButton *>(function)->isChecked());
        if (!option.isEmpty())
            QVERIFY(f.page->findChild<QToolButton *>(option)->isChecked());
        QCOMPARE(sends(), 0);
    }

    void selectionOfKeySequences()
    {
        Fixture f([](FlashDataMap &r) {
            r.buttonFunctions[1] = ButtonFunction{5, 0, 0};
            r.keyCombos[1] = buttonfn::makeConsumerKeyRecord(0x00E9);
            r.buttonFunctions[2] = ButtonFunction{5, 0, 0};
            r.keyCombos[2] = *buttonfn::parseKeyCombination("4");
        });
        f.w("RightKey")->click();
        QVERIFY(f.w("VolumeDown")->isChecked());
        QVERIFY(f.w("DPI_12")->isChecked());
        QCOMPARE(f.w<QStackedWidget>("stackedWidget_2")->currentIndex(), 0);
        f.w("BackKey")->click();
        QVERIFY(f.w("DPI_8")->isChecked());
        QCOMPARE(f.w<QStackedWidget>("stackedWidget_2")->currentIndex(), 4);
    }

    // A multimedia key is known by its code's low byte: whatever the high
    // byte holds, a refill labels it and a selection checks its option; no
    // label of an earlier record stays behind.
    void multimediaKeysByTheirLowByte()
    {
        const quint16 usages[] = {0x0092, 0x01E9, 0x0321};
        const char *const options[] = {"VolumeDown_6", "VolumeDown", "VolumeDown_9"};
        const char *const selectors[] = {"RightKey", "BackKey", "TopMusic"};
        Fixture f;
        FlashDataMap record = f.start;
        for (int i = 0; i < 3; ++i) {
            f.w(selectors[i])->setText(QStringLiteral("Macro: Safe Name"));
            record.buttonFunctions[i + 1] = ButtonFunction{5, 0, 0};
            record.keyCombos[i + 1] = buttonfn::makeConsumerKeyRecord(usages[i]);
        }
        pagetest::giveMouse(record);
        f.page->SlotUpDataButtonUIB(record);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(f.text(selectors[i]), f.text(options[i]));
            f.w(selectors[i])->click();
            QVERIFY2(f.w(options[i])->isChecked(), options[i]);
            QVERIFY(f.w("DPI_12")->isChecked());
            QCOMPARE(f.w<QStackedWidget>("stackedWidget_2")->currentIndex(), 0);
        }
    }

    void numberSelectsWithoutOpening()
    {
        Fixture f;
        f.w("Number5")->click();
        QCOMPARE(f.page->selectedButton(), 3);
        QCOMPARE(f.w<QStackedWidget>("stackedWidget")->currentIndex(), 0);
    }

    void slotChoiceAnnouncedByTheMouse()
    {
        Fixture f;
        QSignalSpy config(PostMsg::instance(), &PostMsg::SigAddConfig);
        f.page->SlotUpDataConfigUI(4, 2, true);
        auto *box = f.w<QComboBox>("ProjectChoose");
        QCOMPARE(box->count(), 4);
        // The slots are numbered from 1, as filled and in every language.
        for (int language : {-1, 1, 2, 0}) {
            if (language >= 0)
                f.page->SlotAllLanguage(language);
            for (int k = 0; k < box->count(); ++k)
                QVERIFY2(box->itemText(k).endsWith(QString::number(k + 1)), qPrintable(box->itemText(k)));
        }
        QCOMPARE(config.last().at(0).toString(), box->itemText(2));
        config.clear();
        emit box->activated(3);
        QCOMPARE(config.count(), 0); // not before the mouse reports it
        hidusb::sim::waitIdle();
        QTRY_COMPARE(hidusb::sim::activeSlot(kMouse), 3);

        hidusb::sim::sleep(kMouse);
        QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
        box->setCurrentIndex(1);
        emit box->activated(1);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(box->currentIndex(), 0); // the index at the last press, 0 before any
    }

    void debounceBoxesWriteAndRevert()
    {
        Fixture f([](FlashDataMap &r) {
            r.wheelDebounce = 30;
            r.releaseDebounce = 5;
        });
        auto *wheel = f.w<QComboBox>("WheelDebunce");
        auto *release = f.w<QComboBox>("DebunceRelease");
        QCOMPARE(wheel->currentIndex(), 2);
        QCOMPARE(release->currentIndex(), 5);
        wheel->setCurrentIndex(4);
        release->setCurrentIndex(9);
        FlashDataMap flash = mouseFlash();
        QCOMPARE(int(flash.wheelDebounce), 50);
        QCOMPARE(int(flash.releaseDebounce), 9);
        QCOMPARE(sends(), 2);

        hidusb::sim::sleep(kMouse);
        wheel->setCurrentIndex(7);
        release->setCurrentIndex(1);
        QCOMPARE(wheel->currentIndex(), 4);
        QCOMPARE(release->currentIndex(), 9);
        QCOMPARE(sends(), 2);
    }

    // A language change re-texts the page without writing to the mouse and
    // keeps the slot and the labels of the mouse's record.
    void languageChangeKeepsStateAndWritesNothing()
    {
        Fixture f([](FlashDataMap &r) {
            r.buttonFunctions[1] = ButtonFunction{5, 0, 0};
            r.keyCombos[1] = *buttonfn::parseKeyCombination("Alt+F4");
        });
        f.page->SlotUpDataConfigUI(4, 2, true);
        for (int language : {1, 2, 7, 0}) {
            f.page->SlotAllLanguage(language);
            QCOMPARE(f.w<QComboBox>("ProjectChoose")->currentIndex(), 2);
            QCOMPARE(f.text("RightKey"), QStringLiteral("Alt+F4"));
            QVERIFY(!f.text("LeftKey_3").isEmpty());
        }
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(f.page.get(), &change);
        QCOMPARE(f.w<QComboBox>("ProjectChoose")->currentIndex(), 2);
        QCOMPARE(sends(), 0);
    }

    void exportImportsBack()
    {
        Fixture f;
        QTemporaryDir dir;
        const QString name = dir.filePath("config");
        QVERIFY(f.page->exportTo(name));
        QFile file(name + ".bin");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.size(), 10496);
        QCOMPARE(bytes.left(20).toHex(' '),
                 QByteArray::fromHex("0000000c 446572657a00000000000000 0000000c").toHex(' '));
        QCOMPARE(bytes.mid(20, 12), QByteArray("3950").append(QByteArray(8, '\0')));
        QVERIFY(bytes.mid(36) == QByteArray(reinterpret_cast<const char *>(&currentFlashData), 10460));
        FlashDataMap back{};
        file.seek(0);
        QCOMPARE(parseConfigFile(&file, QStringLiteral("3950"), 8, &back), 0);
        QVERIFY(pagetest::sameRecord(back, currentFlashData));
    }

    void longSensorNamesImportBack()
    {
        for (const QString sensor : {"ABCDEFGHIJKL", "ABCDEFGHIJKLMNOP"}) {
            QTemporaryDir dir;
            const FlashDataMap record = pagetest::patternRecord(4, 1);
            QVERIFY(writeConfigFile(dir.filePath("a.bin"), sensor, record));
            QFile file(dir.filePath("a.bin"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            FlashDataMap back{};
            QCOMPARE(parseConfigFile(&file, sensor, 8, &back), 0);
            QVERIFY(pagetest::sameRecord(back, record));
        }
    }

    void exportFailuresAreSaid()
    {
        Fixture f;
        bool noticeShown = false;
        pagetest::whenShown<InportFail>([&](InportFail *notice) {
            noticeShown = true;
            notice->close();
        });
        QVERIFY(!f.page->exportTo("/proc/velmorax/none/config.bin"));
        QVERIFY(noticeShown);
        // A record that is not the open device's is not exported.
        QTemporaryDir dir;
        beginAttach(currentDevice.get());
        QVERIFY(!f.page->exportTo(dir.filePath("x.bin")));
        QVERIFY(!QFile::exists(dir.filePath("x.bin")));
    }
};

VELMORAX_TEST_MAIN(TestButtonPage)
#include "tst_buttonpage.moc"
