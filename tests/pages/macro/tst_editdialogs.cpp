// The delay dialog and the key dialog of the macro editor: what each hands
// back after OK, Cancel, close and Escape, the key dialog's capture through
// its own keyboard hook, and the texts of every language.

#include "app/textcatalogue.h"
#include "pages/macro/adddelaytime.h"
#include "pages/macro/addkey.h"
#include "platform/fonts.h"
#include "platform/keyhook/keyboardhook.h"
#include "platform/keyhook/keyhook.h"
#include "support/testmain.h"

#include "support/macrofixture.h"
#include "support/modalhandler.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTextLayout>
#include <QToolButton>
#include <QtTest>

using namespace keyhook;

// Key messages as (message, virtual key).
using KeyMessages = QVector<QPair<int, int>>;

namespace {

using macrotest::child;

void click(QWidget &w, const char *name)
{
    QTest::mouseClick(child<QToolButton>(w, name), Qt::LeftButton);
}

// One key message through the hook chain, sent to `window`.
void sendKey(QWidget *window, WPARAM message, DWORD vk)
{
    KeyMessage m;
    m.message = message;
    m.info.vkCode = vk;
    dispatchKeyMessage(m, toHwnd(window));
}
void tap(QWidget *window, DWORD vk)
{
    sendKey(window, WM_KEYDOWN, vk);
    sendKey(window, WM_KEYUP, vk);
}

bool keyDialogHooked()
{
    return KeyboardHook::state(KeyboardHook::User::KeyDialog).hookHandle != nullptr;
}

} // namespace

class EditDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void delayOkReturnsTheField_data();
    void delayOkReturnsTheField();
    void delayDeclined_data();
    void delayDeclined();
    void delayFieldStepsByOne();

    void keyCapture_data();
    void keyCapture();
    void keyDialogKeepsEscapeAndF12();
    void keyOkNeedsAKey_data();
    void keyOkNeedsAKey();
    void keyDialogEndsItsHook_data();
    void keyDialogEndsItsHook();

    void textsInEveryLanguage();
    void delayPromptFitsItsLabel_data();
    void delayPromptFitsItsLabel();
};

void EditDialogsTest::initTestCase()
{
    loadTextCatalogue();
    languageIndex = 0;
}

void EditDialogsTest::cleanup()
{
    languageIndex = 0;
    QVERIFY(!keyDialogHooked());
}

void EditDialogsTest::delayOkReturnsTheField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");
    QTest::newRow("nothing typed") << QString() << 10;
    QTest::newRow("250") << "250" << 250;
    QTest::newRow("65535") << "65535" << 65535;
    // The field takes no digit that would pass the maximum.
    QTest::newRow("99999") << "99999" << 9999;
    // Below the minimum the number is unfinished: the last value stays.
    QTest::newRow("5") << "5" << 10;
    QTest::newRow("letters") << "ab" << 10;
}

void EditDialogsTest::delayOkReturnsTheField()
{
    QFETCH(QString, typed);
    QFETCH(int, expected);
    AddDelayTime dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSpinBox *field = child<QSpinBox>(dialog, "spinBox");
    QCOMPARE(field->value(), 10);
    if (!typed.isEmpty()) {
        field->selectAll();
        QTest::keyClicks(field, typed);
    }
    click(dialog, "NewHong");
    QVERIFY(dialog.accepted);
    QCOMPARE(dialog.delayMs, expected);
    QVERIFY(!dialog.isVisible());
}

void EditDialogsTest::delayDeclined_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "NewHong_2";
    QTest::newRow("close") << "CloseButton";
    QTest::newRow("Escape") << "Escape";
}

void EditDialogsTest::delayDeclined()
{
    QFETCH(QString, how);
    AddDelayTime dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSpinBox *field = child<QSpinBox>(dialog, "spinBox");
    field->selectAll();
    QTest::keyClicks(field, "300");
    // Enter finishes the number and nothing else.
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    if (how == "Escape")
        QTest::keyClick(field, Qt::Key_Escape);
    else
        click(dialog, qPrintable(how));
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.accepted);
    QCOMPARE(dialog.delayMs, 0);
}

void EditDialogsTest::delayFieldStepsByOne()
{
    AddDelayTime dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSpinBox *field = child<QSpinBox>(dialog, "spinBox");
    QCOMPARE(field->buttonSymbols(), QAbstractSpinBox::NoButtons);
    QTest::keyClick(field, Qt::Key_Up);
    QTest::keyClick(field, Qt::Key_Up);
    QTest::keyClick(field, Qt::Key_Down);
    QCOMPARE(field->value(), 11);
    // Never below the minimum.
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Down);
    QCOMPARE(field->value(), 10);
}

void EditDialogsTest::keyCapture_data()
{
    QTest::addColumn<KeyMessages>("keys");
    QTest::addColumn<QString>("name");
    using K = KeyMessages;
    const int D = int(WM_KEYDOWN), U = int(WM_KEYUP), SD = int(WM_SYSKEYDOWN), SU = int(WM_SYSKEYUP);
    QTest::newRow("A") << K{{D, 0x41}, {U, 0x41}} << "A";
    QTest::newRow("left Shift") << K{{D, 0xA0}} << "LShift";
    QTest::newRow("right Ctrl") << K{{D, 0xA3}, {U, 0xA3}} << "RCtrl";
    QTest::newRow("Ctrl held over X") << K{{D, 0xA2}, {D, 0x58}, {U, 0x58}, {U, 0xA2}} << "LCtrl";
    QTest::newRow("Alt+F4 ends on Alt") << K{{SD, 0xA4}, {SD, 0x73}, {SU, 0x73}, {U, 0xA4}} << "LAlt";
    QTest::newRow("keypad plus") << K{{D, 0x6B}, {U, 0x6B}} << "Num+";
    QTest::newRow("auto-repeat") << K{{D, 0x70}, {D, 0x70}, {D, 0x70}} << "F1";
    QTest::newRow("arrow") << K{{D, 0x25}, {U, 0x25}} << QString::fromUtf8("←");
    QTest::newRow("Enter") << K{{D, 0x0D}, {U, 0x0D}} << "Enter";
}

void EditDialogsTest::keyCapture()
{
    QFETCH(KeyMessages, keys);
    QFETCH(QString, name);
    addKey dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(keyDialogHooked());
    for (const auto &k : keys)
        sendKey(&dialog, WPARAM(k.first), DWORD(k.second));
    QCOMPARE(child<QLineEdit>(dialog, "lineEdit")->text(), name);
    QCOMPARE(dialog.keyName, name);
    click(dialog, "NewHong");
    QVERIFY(dialog.accepted);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.keyName, name);
}

void EditDialogsTest::keyDialogKeepsEscapeAndF12()
{
    addKey dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit *field = child<QLineEdit>(dialog, "lineEdit");
    // Keys as the window system delivers them: the key source reports them
    // to the hook before the dialog sees them.
    QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QCOMPARE(field->text(), QString("Esc"));
    QTest::keyClick(dialog.windowHandle(), Qt::Key_F12);
    QVERIFY(dialog.isVisible());
    QCOMPARE(field->text(), QString("F12"));
    // A letter typed into the field is replaced by its name on release.
    QTest::keyClick(dialog.windowHandle(), Qt::Key_B);
    QCOMPARE(field->text(), QString("B"));
    click(dialog, "NewHong");
    QCOMPARE(dialog.keyName, QString("B"));
}

void EditDialogsTest::keyOkNeedsAKey_data()
{
    QTest::addColumn<int>("vk");        // 0: no key pressed
    QTest::addColumn<QString>("typed"); // put into the field afterwards (a paste); null: left alone
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("name");
    QTest::newRow("no key") << 0 << QString() << false << QString();
    QTest::newRow("key without a name") << 0xAF << QString() << false << QString();
    QTest::newRow("keypad 5 without NumLock") << 0x0C << QString() << true << QString("");
    QTest::newRow("pasted key name") << 0 << "Num+" << true << "Num+";
    QTest::newRow("pasted modifier name") << 0x41 << "RShift" << true << "RShift";
    QTest::newRow("pasted part of a name") << 0 << "Spac" << false << QString();
    QTest::newRow("pasted name and more") << 0x41 << "SpaceS" << false << QString();
    QTest::newRow("side-less modifier") << 0 << "Ctrl" << false << QString();
    QTest::newRow("field emptied by hand") << 0x41 << "" << false << QString();
}

void EditDialogsTest::keyOkNeedsAKey()
{
    QFETCH(int, vk);
    QFETCH(QString, typed);
    QFETCH(bool, taken);
    QFETCH(QString, name);
    addKey dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (vk)
        tap(&dialog, DWORD(vk));
    if (!typed.isNull())
        child<QLineEdit>(dialog, "lineEdit")->setText(typed);
    ModalHandler modal;
    click(dialog, "NewHong");
    if (taken) {
        QCOMPARE(modal.seen, QStringList());
        QVERIFY(dialog.accepted);
        QCOMPARE(dialog.keyName, name);
        QVERIFY(!dialog.isVisible());
    } else {
        // The user is told, and may still press a key.
        QCOMPARE(modal.seen, QStringList{"UpDateWarning"});
        QVERIFY(!dialog.accepted);
        QVERIFY(dialog.isVisible());
        tap(&dialog, 0x42);
        click(dialog, "NewHong");
        QVERIFY(dialog.accepted);
        QCOMPARE(dialog.keyName, QString("B"));
    }
}

void EditDialogsTest::keyDialogEndsItsHook_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << "NewHong";
    QTest::newRow("Cancel") << "NewHong_2";
    QTest::newRow("close button") << "CloseButton";
    QTest::newRow("closed by the window system") << "close";
}

void EditDialogsTest::keyDialogEndsItsHook()
{
    QFETCH(QString, how);
    addKey dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    tap(&dialog, 0x41);
    if (how == "close")
        dialog.close();
    else
        click(dialog, qPrintable(how));
    QVERIFY(!keyDialogHooked());
    QCOMPARE(dialog.accepted, how == "NewHong");
    // Keys after the end no longer reach the dialog.
    tap(&dialog, 0x42);
    QCOMPARE(dialog.keyName, QString("A"));
    QCOMPARE(child<QLineEdit>(dialog, "lineEdit")->text(), QString("A"));
}

void EditDialogsTest::textsInEveryLanguage()
{
    for (int language : {0, 1, 2}) {
        languageIndex = language;
        AddDelayTime delay;
        addKey key;
        QCOMPARE(child<QLabel>(delay, "label")->text(), catalogueText("home", "EnterDelay", language));
        QCOMPARE(child<QLabel>(key, "label")->text(), catalogueText("home", "EnterKey", language));
        for (QWidget *w : {static_cast<QWidget *>(&delay), static_cast<QWidget *>(&key)}) {
            QCOMPARE(child<QToolButton>(*w, "NewHong")->text(), catalogueText("common", "OK", language));
            QCOMPARE(child<QToolButton>(*w, "NewHong_2")->text(), catalogueText("common", "Cancel", language));
        }
        QVERIFY(!catalogueText("home", "EnterDelay", language).isEmpty());
        QVERIFY(!catalogueText("home", "EnterKey", language).isEmpty());
        QVERIFY(!catalogueText("macro", "DialogPressKey", language).isEmpty());
    }
    QVERIFY(catalogueText("home", "EnterKey", 1) != catalogueText("home", "EnterKey", 0));
}

void EditDialogsTest::delayPromptFitsItsLabel_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("unit");
    QTest::newRow("English") << 0 << "ms";
    QTest::newRow("Chinese") << 1 << QString::fromUtf8("毫秒");
    QTest::newRow("Russian") << 2 << "ms";
}

void EditDialogsTest::delayPromptFitsItsLabel()
{
    // The prompt is shown whole, and a line never ends inside its unit.
    QFETCH(int, language);
    QFETCH(QString, unit);
    fonts::installSubstitutions(); // the stand-in fonts the program uses
    languageIndex = language;
    AddDelayTime delay;
    auto *label = child<QLabel>(delay, "label");
    const QString text = label->text();
    const QRect room = label->contentsRect();
    const QRect needed = label->fontMetrics().boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, text);
    QVERIFY2(needed.height() <= room.height() && needed.width() <= room.width(),
             qPrintable(QStringLiteral("%1: needs %2x%3, has %4x%5")
                            .arg(text)
                            .arg(needed.width())
                            .arg(needed.height())
                            .arg(room.width())
                            .arg(room.height())));

    const int at = text.indexOf(unit);
    QVERIFY(at >= 0);
    QTextLayout layout(text, label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(room.width());
        const int end = line.textStart() + line.textLength();
        QVERIFY2(end <= at || end >= at + unit.size(), qPrintable(text.left(end) + " | " + text.mid(end)));
    }
    layout.endLayout();
}

VELMORAX_TEST_MAIN(EditDialogsTest)
#include "tst_editdialogs.moc"
