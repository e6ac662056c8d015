// The function options on the real button page with the simulated mouse:
// a selector chosen, an option chosen, and the selected button's bytes in the
// mouse's flash (plain functions, DPI lock, multimedia keys, the fire key
// after its dialog, a key combination captured by its dialog); the only left
// click refused on every road; and the mouse's debounce value shown, never
// written back.

#include "app/postmsg.h"
#include "pages/buttons/buttoninterface.h"
#include "pages/buttons/debouncetime.h"
#include "platform/hidusb/simcontrol.h"
#include "support/buttonpagefixture.h"
#include "support/modalhandler.h"
#include "support/pagefixture.h"
#include "support/testmain.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

using namespace buttonpagetest;

namespace {

constexpr int kTripleOffset = 107;
constexpr int kKeyComboOffset = 156;

enum Dialog { NoDialog, FireKeyDialog, KeyCombinationDialog };

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray bytesOf(const FlashDataMap &record)
{
    return QByteArray(reinterpret_cast<const char *>(&record), int(sizeof record));
}

// Clicks through the function list and the right panel. The fire key and the
// key combination are pressed with the mouse, as their buttons react to the
// press (a plain click() would not reach them as the user does).
void clickPath(const Fixture &f, const QStringList &path)
{
    for (const QString &name : path) {
        QToolButton *button = f.w(qPrintable(name));
        QVERIFY2(button, qPrintable(name));
        if (name == QLatin1String("DPI_6") || name == QLatin1String("DPI_8"))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            button->click();
    }
}

// Answers the dialog a row opens: the fire key with interval 50 and count
// 2, the key combination with Ctrl ticked and A pressed.
void answer(ModalHandler &handler, int dialog)
{
    if (dialog == FireKeyDialog)
        handler.queue([](QDialog *d) {
            d->findChild<QSpinBox *>("Time")->setValue(50);
            d->findChild<QSpinBox *>("Count")->setValue(2);
            d->findChild<QToolButton *>("NewHong")->click();
        });
    if (dialog == KeyCombinationDialog)
        handler.queue([](QDialog *d) {
            d->findChild<QCheckBox *>("Ctrl")->setChecked(true);
            QTest::keyClick(d->windowHandle(), Qt::Key_A);
            d->findChild<QToolButton *>("NewHong")->click();
        });
}

void addPaths()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<int>("dialog");
    QTest::addColumn<QByteArray>("triple");
    QTest::addColumn<QByteArray>("keys"); // the button's key record; empty: unchanged
    QTest::addColumn<QString>("labelOption");
    QTest::addColumn<QString>("labelText");

    QByteArray playPause = bytes({2, 0, 0, 0, 0, 2, 0xCD, 0, 10, 0, 0, 0, 1, 2, 0xCD, 0, 10, 0, 0, 0});
    playPause.append(QByteArray(32, '\0'));
    QByteArray ctrlA = bytes({4, 0, 0, 0, 0,  0, 1, 0, 10, 0, 0, 0,              // press Ctrl
                              0, 1, 4, 0, 10, 0, 0, 0, 1,  1, 4, 0, 10, 0, 0, 0, // press, release A
                              1, 0, 1, 0, 10, 0, 0, 0});                         // release Ctrl
    ctrlA.append(QByteArray(16, '\0'));

    QTest::newRow("middle button") << QStringList{"MidKey"} << int(NoDialog) << bytes({1, 4, 0}) << QByteArray()
                                   << "MidKey"
                                   << "";
    QTest::newRow("report rate") << QStringList{"DPI_2"} << int(NoDialog) << bytes({7, 0, 0}) << QByteArray() << "DPI_2"
                                 << "";
    QTest::newRow("tilt left") << QStringList{"DPI_11", "VolumeUp_2"} << int(NoDialog) << bytes({3, 1, 0})
                               << QByteArray() << "VolumeUp_2"
                               << "";
    QTest::newRow("DPI down") << QStringList{"DPI_7", "VolumeUp_10"} << int(NoDialog) << bytes({2, 3, 0})
                              << QByteArray() << "VolumeUp_10"
                              << "";
    // The light strip's own code is 3 (2 means nothing to the mouse).
    QTest::newRow("light strip on/off") << QStringList{"DPI_9", "VolumeUp_6"} << int(NoDialog) << bytes({8, 3, 0})
                                        << QByteArray() << "VolumeUp_6"
                                        << "";
    // The mouse's sensor has no DPI table: 700 DPI is code 700 / 50 - 1.
    QTest::newRow("DPI lock 700") << QStringList{"DPI_4", "VolumeUp_20"} << int(NoDialog) << bytes({10, 13, 0})
                                  << QByteArray() << "DPI_4"
                                  << "-700";
    QTest::newRow("play/pause") << QStringList{"DPI_12", "StartPause_2"} << int(NoDialog) << bytes({5, 0, 0})
                                << playPause << "StartPause_2"
                                << "";
    QTest::newRow("fire key") << QStringList{"DPI_6"} << int(FireKeyDialog) << bytes({4, 50, 2}) << QByteArray()
                              << "DPI_6"
                              << "";
    QTest::newRow("key combination") << QStringList{"DPI_8"} << int(KeyCombinationDialog) << bytes({5, 0, 0}) << ctrlA
                                     << ""
                                     << "Ctrl+A";
}

} // namespace

class TestButtonPageOptions : public QObject
{
    Q_OBJECT
private slots:
    // The fourth selector stands for device button 4: its triple (and key
    // record) change, nothing else of the record does, in one send.
    void optionWritesTheSelectedButton_data() { addPaths(); }
    void optionWritesTheSelectedButton()
    {
        QFETCH(QStringList, path);
        QFETCH(int, dialog);
        QFETCH(QByteArray, triple);
        QFETCH(QByteArray, keys);
        QFETCH(QString, labelOption);
        QFETCH(QString, labelText);
        Fixture f;
        ModalHandler handler;
        answer(handler, dialog);
        f.w("StartPause")->click();
        QCOMPARE(f.page->selectedButton(), 4);
        QCOMPARE(f.w<QStackedWidget>("stackedWidget")->currentIndex(), 1);
        clickPath(f, path);
        QCOMPARE(handler.seen.size(), dialog == NoDialog ? 0 : 1);

        const FlashDataMap flash = mouseFlash();
        QByteArray expected = bytesOf(f.start);
        expected.replace(kTripleOffset + 3 * 4, 3, triple);
        if (!keys.isEmpty())
            expected.replace(kKeyComboOffset + 52 * 4, 52, keys);
        QCOMPARE(bytesOf(flash).mid(kTripleOffset + 3 * 4, 3), triple);
        if (!keys.isEmpty())
            QCOMPARE(bytesOf(flash).mid(kKeyComboOffset + 52 * 4, 52).toHex(' '), keys.toHex(' '));
        // Nothing else of the record changed.
        QVERIFY(bytesOf(flash) == expected);
        QCOMPARE(sends(), 1);

        const QString label = (labelOption.isEmpty() ? QString() : f.text(qPrintable(labelOption))) + labelText;
        QCOMPARE(f.text("StartPause"), label);
        QCOMPARE(f.page->types().at(4), int(quint8(triple[0])));
        QCOMPARE(f.page->values().at(4), int(quint8(triple[1])));
        QCOMPARE(f.page->extras().at(4), int(quint8(triple[2])));
        // Closed again; after a combination the function list stays open.
        QCOMPARE(f.w<QStackedWidget>("stackedWidget")->currentIndex(), dialog == KeyCombinationDialog ? 1 : 0);
        QCOMPARE(f.w<QStackedWidget>("stackedWidget_2")->currentIndex(), 4);
    }

    // A function-list entry clears every option of the right-hand pages: no
    // stale check mark tells of a function the button no longer has.
    void functionListEntryClearsTheRightPanel()
    {
        Fixture f;
        f.w("StartPause")->click();
        clickPath(f, {"DPI_11", "VolumeUp_2"});
        QVERIFY(f.w("VolumeUp_2")->isChecked());
        f.w("RightKey")->click();
        clickPath(f, {"MidKey"});
        QVERIFY(!f.page->options()->checkedButton());
        QCOMPARE(mouseFlash().buttonFunctions[4].type, quint8(3));
        QCOMPARE(mouseFlash().buttonFunctions[1].p1, quint8(4));
    }

    // The selector of the only left click can still be checked through its
    // number marker while the function list is open for another button:
    // every option then gives the left-button notice, opens no dialog of its
    // own and writes nothing.
    void onlyLeftClickIsKept_data() { addPaths(); }
    void onlyLeftClickIsKept()
    {
        QFETCH(QStringList, path);
        Fixture f;
        ModalHandler handler;
        handler.queue([](QDialog *d) { d->findChild<QToolButton *>("CloseButton")->click(); });
        f.w("RightKey")->click();
        f.w("Number1")->click();
        QCOMPARE(f.page->selectedButton(), 0);
        const QString leftLabel = f.text("FireKey");
        clickPath(f, path);
        QCOMPARE(handler.seen, QStringList{"LeftButtonOnly"});
        QCOMPARE(sends(), 0);
        QVERIFY(pagetest::sameRecord(mouseFlash(), f.start));
        QVERIFY(pagetest::sameRecord(currentFlashData, f.start));
        QCOMPARE(f.text("FireKey"), leftLabel);
        QCOMPARE(f.page->types().at(0), 1);
        QCOMPARE(f.page->values().at(0), 1);
    }

    // The mouse's debounce is shown and announced for the summary panel
    // whenever the page shows the mouse's data; it is never sent back, and
    // a short one raises no warning (that is for the user's own choice).
    void debounceFromTheMouseIsShownNotSent_data()
    {
        QTest::addColumn<int>("fill");
        QTest::addColumn<int>("shown");
        QTest::newRow("refill") << 0 << 4;
        QTest::newRow("first fill after attach") << 1 << 23;
        QTest::newRow("factory settings") << 2 << 8;
    }
    void debounceFromTheMouseIsShownNotSent()
    {
        QFETCH(int, fill);
        QFETCH(int, shown);
        Fixture f([](FlashDataMap &r) { r.debounceTime = 12; });
        auto *box = f.w<DebounceTime>("DebunceButton");
        QCOMPARE(box->comboBox()->currentIndex(), 12);

        ModalHandler handler;
        QSignalSpy announced(PostMsg::instance(), &PostMsg::SigDebunce);
        FlashDataMap next = f.start;
        next.debounceTime = quint8(shown);
        if (fill == 0)
            f.page->SlotUpDataButtonUIB(next);
        else if (fill == 1)
            f.page->SlotUpDataButtonUIButton(next);
        else
            f.page->SlotFormResetButton();
        QApplication::processEvents();

        QCOMPARE(box->comboBox()->currentIndex(), shown);
        QVERIFY(!announced.isEmpty());
        QCOMPARE(announced.last().at(0).toString(), QStringLiteral("%1ms").arg(shown));
        QCOMPARE(sends(), 0);
        QCOMPARE(int(mouseFlash().debounceTime), 12);
        QVERIFY(handler.seen.isEmpty());
    }
};

VELMORAX_TEST_MAIN(TestButtonPageOptions)
#include "tst_buttonpageoptions.moc"
