// The button page's notices, the fire-key dialog and the key-combination
// dialog: texts in every language, the ways out, the values handed back and
// the key capture.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "pages/buttons/buttonnotices.h"
#include "pages/buttons/firekey.h"
#include "pages/buttons/groupkey.h"
#include "platform/keyhook/keyboardhook.h"
#include "support/modalhandler.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

QDialog *makeNotice(const QString &which)
{
    if (which == QLatin1String("LeftButtonOnly"))
        return new LeftButtonOnly;
    if (which == QLatin1String("MakeMacro"))
        return new MakeMacro;
    return new GroupMaxThree;
}

QLineEdit *field(GroupKey &d)
{
    return d.findChild<QLineEdit *>("lineEdit");
}

// A key pressed and released on the dialog's window, as the keyboard
// delivers it (the capture sees the window's key events).
void tap(GroupKey &d, Qt::Key key)
{
    QTest::keyPress(d.windowHandle(), key);
    QTest::keyRelease(d.windowHandle(), key);
}

} // namespace

class ButtonDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void noticeTexts_data();
    void noticeTexts();
    void noticeMissingKeyGivesEmptyText();
    void noticeWaysOut_data();
    void noticeWaysOut();
    void leftButtonOnlyHasNoOk();

    void fireKeyTextsFollowLanguage();
    void captionsFitInEveryLanguage();
    void keyFieldIsReadable();
    void fireKeyResult_data();
    void fireKeyResult();
    void fireKeyTypedValuesStayInRange_data();
    void fireKeyTypedValuesStayInRange();

    void capture_data();
    void capture();
    void entryWindowStartsANewCombination();
    void modifierKeysAddNothing();
    void confirm_data();
    void confirm();
    void tooManyKeysShowTheNoticeAndClearTheField();
    void okNeedsACombination_data();
    void okNeedsACombination();
    void pasteIsUpperCased();
    void escapeIsCapturedNotAWayOut();
    void everyWayOutRemovesTheHook_data();
    void everyWayOutRemovesTheHook();

private:
    void switchLanguage(int index);
};

void ButtonDialogsTest::initTestCase()
{
    loadTextCatalogue();
    QVERIFY(languageTables.languageCount() >= 3);
}

void ButtonDialogsTest::init()
{
    languageIndex = 0;
}

void ButtonDialogsTest::switchLanguage(int index)
{
    languageIndex = index;
    emit PostMsg::instance()->SigAllLanguage(index);
}

// ---------------------------------------------------------------------------
// Notices

void ButtonDialogsTest::noticeTexts_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("language");
    const struct
    {
        const char *which, *section, *key;
    } notices[] = {{"LeftButtonOnly", "key", "DialogKeepLeftKey"},
                   {"MakeMacro", "home", "MakeMaro"},
                   {"GroupMaxThree", "home", "MaxThree"}};
    for (const auto &n : notices)
        for (int language = 0; language < 3; ++language)
            QTest::addRow("%s/%d", n.which, language) << n.which << n.section << n.key << language;
}

void ButtonDialogsTest::noticeTexts()
{
    QFETCH(QString, which);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(int, language);
    std::unique_ptr<QDialog> notice(makeNotice(which));
    QCOMPARE(notice->objectName(), which);
    QCOMPARE(notice->size(), QSize(300, 140));
    switchLanguage(language);
    const QString expected = catalogueText(section, key, language);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(notice->findChild<QLabel *>("label")->text(), expected);
    if (auto *ok = notice->findChild<QToolButton *>("NewHong"))
        QCOMPARE(ok->text(), catalogueText("common", "OK", language));
    // A notice made while another language is current starts in it.
    std::unique_ptr<QDialog> fresh(makeNotice(which));
    QCOMPARE(fresh->findChild<QLabel *>("label")->text(), expected);
    // The three texts differ within a language (no notice shows another's).
    const QStringList all = {catalogueText("key", "DialogKeepLeftKey", language),
                             catalogueText("home", "MakeMaro", language), catalogueText("home", "MaxThree", language)};
    QCOMPARE(all.count(expected), 1);
}

void ButtonDialogsTest::noticeMissingKeyGivesEmptyText()
{
    const TextTable saved = languageTables.mouseSections["home"][1];
    languageTables.mouseSections["home"][1].remove("MaxThree");
    GroupMaxThree notice;
    switchLanguage(1);
    const QString shown = notice.findChild<QLabel *>("label")->text();
    languageTables.mouseSections["home"][1] = saved;
    QCOMPARE(shown, QString());
}

void ButtonDialogsTest::noticeWaysOut_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("how");
    for (const char *which : {"LeftButtonOnly", "MakeMacro", "GroupMaxThree"}) {
        QTest::addRow("%s/close", which) << which << "CloseButton";
        QTest::addRow("%s/Escape", which) << which << "Escape";
    }
    QTest::newRow("MakeMacro/OK") << "MakeMacro"
                                  << "NewHong";
    QTest::newRow("GroupMaxThree/OK") << "GroupMaxThree"
                                      << "NewHong";
}

void ButtonDialogsTest::noticeWaysOut()
{
    QFETCH(QString, which);
    QFETCH(QString, how);
    std::unique_ptr<QDialog> notice(makeNotice(which));
    ModalHandler handler;
    handler.queue([how](QDialog *d) {
        if (how == QLatin1String("Escape"))
            QTest::keyClick(d, Qt::Key_Escape);
        else
            d->findChild<QToolButton *>(how)->click();
    });
    QCOMPARE(notice->exec(), int(QDialog::Rejected));
    QCOMPARE(handler.seen, QStringList{which});
    QVERIFY(!notice->isVisible());
}

void ButtonDialogsTest::leftButtonOnlyHasNoOk()
{
    LeftButtonOnly notice;
    QVERIFY(!notice.findChild<QToolButton *>("NewHong"));
    QCOMPARE(notice.minimumSize(), QSize(300, 140));
    QCOMPARE(notice.maximumSize(), QSize(300, 140));
}

// ---------------------------------------------------------------------------
// Fire key

void ButtonDialogsTest::fireKeyTextsFollowLanguage()
{
    FireKey d;
    for (int language = 0; language < 3; ++language) {
        switchLanguage(language);
        const QList<QPair<const char *, const char *>> texts = {
            {"label", "DialogFireKeyTimes"}, {"label_2", "DialogFireKeyInterval"}, {"label_3", "DialogFireKeyTips"}};
        for (const auto &pair : texts) {
            const QString expected = catalogueText("key", pair.second, language);
            QVERIFY2(!expected.isEmpty(), pair.second);
            QCOMPARE(d.findChild<QLabel *>(pair.first)->text(), expected);
        }
        QCOMPARE(d.findChild<QToolButton *>("NewHong")->text(), catalogueText("common", "OK", language));
        QCOMPARE(d.findChild<QToolButton *>("NewHong_2")->text(), catalogueText("common", "Cancel", language));
    }
}

// A one-line caption that is wider than its label is cut off on screen.
void ButtonDialogsTest::captionsFitInEveryLanguage()
{
    FireKey fire;
    GroupKey group;
    for (int language = 0; language < 3; ++language) {
        switchLanguage(language);
        for (QDialog *d : {static_cast<QDialog *>(&fire), static_cast<QDialog *>(&group)})
            for (QLabel *label : d->findChildren<QLabel *>()) {
                if (label->wordWrap() || label->text().isEmpty())
                    continue;
                const int needed = label->fontMetrics().horizontalAdvance(label->text());
                QVERIFY2(needed <= label->contentsRect().width(),
                         qPrintable(QStringLiteral("%1 %2 in language %3: %4 > %5")
                                        .arg(d->objectName(), label->objectName())
                                        .arg(language)
                                        .arg(needed)
                                        .arg(label->contentsRect().width())));
            }
    }
}

// The captured keys were the theme's light text on a white field.
void ButtonDialogsTest::keyFieldIsReadable()
{
    GroupKey group;
    group.show();
    QVERIFY(QTest::qWaitForWindowExposed(&group));
    QLineEdit *edit = field(group);
    edit->setText(QStringLiteral("WWWW"));
    edit->clearFocus();
    // Inside the frame: the border line is not what carries the text.
    const QImage image = edit->grab(edit->rect().adjusted(3, 3, -3, -3)).toImage();
    // The field's own colour is what most of it shows; the text is the
    // pixel furthest from it.
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(background))
            background = it.key();
    int contrast = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            contrast = qMax(contrast, qAbs(qGray(image.pixel(x, y)) - qGray(background)));
    QVERIFY2(contrast >= 100, qPrintable(QString::number(contrast)));
}

void ButtonDialogsTest::fireKeyResult_data()
{
    QTest::addColumn<int>("presetInterval");
    QTest::addColumn<int>("presetCount");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("count");
    QTest::newRow("OK keeps the preset") << 50 << 0 << "NewHong" << true << 50 << 0;
    QTest::newRow("OK at the low ends") << 10 << 0 << "NewHong" << true << 10 << 0;
    QTest::newRow("OK at the high ends") << 255 << 3 << "NewHong" << true << 255 << 3;
    QTest::newRow("preset held in range") << 1000 << -4 << "NewHong" << true << 255 << 0;
    // The way out without OK leaves the members at their starting values.
    QTest::newRow("Cancel") << 50 << 0 << "NewHong_2" << false << 10 << 3;
    QTest::newRow("close") << 50 << 0 << "CloseButton" << false << 10 << 3;
    QTest::newRow("Escape") << 50 << 0 << "Escape" << false << 10 << 3;
}

void ButtonDialogsTest::fireKeyResult()
{
    QFETCH(int, presetInterval);
    QFETCH(int, presetCount);
    QFETCH(QString, how);
    FireKey d;
    QCOMPARE(d.size(), QSize(406, 170));
    QCOMPARE(d.interval, 10);
    QCOMPARE(d.count, 3);
    QCOMPARE(d.findChild<QSpinBox *>("Time")->value(), 10);
    QCOMPARE(d.findChild<QSpinBox *>("Count")->value(), 3);
    d.setInterval(presetInterval);
    d.setCount(presetCount);
    ModalHandler handler;
    handler.queue([how](QDialog *dialog) {
        if (how == QLatin1String("Escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->findChild<QToolButton *>(how)->click();
    });
    d.exec();
    QCOMPARE(handler.seen, QStringList{"FireKey"});
    QTEST(d.accepted, "accepted");
    QTEST(d.interval, "interval");
    QTEST(d.count, "count");
}

void ButtonDialogsTest::fireKeyTypedValuesStayInRange_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("expectedCount");
    QTest::newRow("typed in range") << "120"
                                    << "2" << 120 << 2;
    // Only the range is certain here: the spin boxes refuse what would leave it.
    QTest::newRow("too many digits") << "9999"
                                     << "77" << -1 << -1;
    QTest::newRow("below the range") << "5"
                                     << "-2" << -1 << -1;
    QTest::newRow("letters") << "ab"
                             << "x" << -1 << -1;
}

void ButtonDialogsTest::fireKeyTypedValuesStayInRange()
{
    QFETCH(QString, time);
    QFETCH(QString, count);
    QFETCH(int, interval);
    QFETCH(int, expectedCount);
    FireKey d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    auto *timeBox = d.findChild<QSpinBox *>("Time");
    auto *countBox = d.findChild<QSpinBox *>("Count");
    timeBox->selectAll();
    QTest::keyClicks(timeBox, time);
    countBox->selectAll();
    QTest::keyClicks(countBox, count);
    d.findChild<QToolButton *>("NewHong")->click();
    QVERIFY(d.accepted);
    QVERIFY(d.interval >= 10 && d.interval <= 255);
    QVERIFY(d.count >= 0 && d.count <= 3);
    if (interval >= 0) {
        QCOMPARE(d.interval, interval);
        QCOMPARE(d.count, expectedCount);
    }
}

// ---------------------------------------------------------------------------
// Key combination

void ButtonDialogsTest::capture_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("shown");
    using K = QList<int>;
    QTest::newRow("three keys") << K{Qt::Key_A, Qt::Key_B, Qt::Key_D} << "A+B+D";
    QTest::newRow("a fourth key starts anew") << K{Qt::Key_A, Qt::Key_B, Qt::Key_D, Qt::Key_G} << "G";
    QTest::newRow("same key again after three") << K{Qt::Key_A, Qt::Key_B, Qt::Key_D, Qt::Key_D} << "D";
    QTest::newRow("second press of a key ignored") << K{Qt::Key_A, Qt::Key_A} << "A";
    QTest::newRow("a key already entered adds nothing") << K{Qt::Key_A, Qt::Key_B, Qt::Key_A} << "A+B";
    // Names are compared whole: "S" is not part of "Space".
    QTest::newRow("S after Space") << K{Qt::Key_Space, Qt::Key_S} << "Space+S";
    QTest::newRow("F10 is a system key") << K{Qt::Key_F10} << "";
    QTest::newRow("Escape is a key") << K{Qt::Key_Escape} << "Esc";
}

void ButtonDialogsTest::capture()
{
    QFETCH(QList<int>, keys);
    GroupKey d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    for (int key : keys)
        tap(d, Qt::Key(key));
    QTEST(field(d)->text(), "shown");
}

void ButtonDialogsTest::entryWindowStartsANewCombination()
{
    GroupKey d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    // Held down: the repeats give the key once.
    QTest::keyPress(d.windowHandle(), Qt::Key_A);
    QTest::keyPress(d.windowHandle(), Qt::Key_A, Qt::NoModifier, -1);
    QTest::keyRelease(d.windowHandle(), Qt::Key_A);
    QCOMPARE(field(d)->text(), QString("A"));
    // The combination must be complete 2000 ms after its first key.
    QTest::qWait(2100);
    tap(d, Qt::Key_B);
    QCOMPARE(field(d)->text(), QString("B"));
    // The window restarted with B: C still joins it.
    tap(d, Qt::Key_C);
    QCOMPARE(field(d)->text(), QString("B+C"));
}

void ButtonDialogsTest::modifierKeysAddNothing()
{
    GroupKey d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    tap(d, Qt::Key_Shift);
    QCOMPARE(field(d)->text(), QString());
    tap(d, Qt::Key_A);
    tap(d, Qt::Key_Control);
    QCOMPARE(field(d)->text(), QString("A"));
    tap(d, Qt::Key_B);
    tap(d, Qt::Key_D);
    // After three names a modifier starts a new, empty combination.
    tap(d, Qt::Key_Shift);
    QCOMPARE(field(d)->text(), QString());
}

void ButtonDialogsTest::confirm_data()
{
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("keyText");
    using K = QList<int>;
    QTest::newRow("Ctrl+Alt+Del") << QStringList{"Ctrl", "Alt"} << K{Qt::Key_Delete} << "Ctrl+Alt+Del";
    QTest::newRow("modifiers in fixed order") << QStringList{"Win", "Shift"} << K{Qt::Key_A} << "Shift+Win+A";
    QTest::newRow("keys only") << QStringList{} << K{Qt::Key_F1, Qt::Key_Home} << "F1+Home";
    QTest::newRow("modifiers only") << QStringList{"Shift", "Ctrl", "Alt"} << K{} << "Shift+Ctrl+Alt";
}

void ButtonDialogsTest::confirm()
{
    QFETCH(QStringList, ticked);
    QFETCH(QList<int>, keys);
    GroupKey d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    for (const QString &name : ticked)
        d.findChild<QCheckBox *>(name)->setChecked(true);
    for (int key : keys)
        tap(d, Qt::Key(key));
    d.findChild<QToolButton *>("NewHong")->click();
    QVERIFY(d.accepted);
    QTEST(d.keyText, "keyText");
    QVERIFY(!d.isVisible());
    QVERIFY(!KeyboardHook::state(KeyboardHook::User::KeyCombination).hookHandle);
}

void ButtonDialogsTest::tooManyKeysShowTheNoticeAndClearTheField()
{
    GroupKey d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    for (const char *name : {"Shift", "Ctrl", "Alt"})
        d.findChild<QCheckBox *>(name)->setChecked(true);
    tap(d, Qt::Key_A);
    ModalHandler handler;
    d.findChild<QToolButton *>("NewHong")->click();
    QCOMPARE(handler.seen, QStringList{"GroupMaxThree"});
    QVERIFY(!d.accepted);
    QVERIFY(d.isVisible());
    QCOMPARE(field(d)->text(), QString());
    QVERIFY(d.findChild<QCheckBox *>("Alt")->isChecked());
    // Still capturing: the user corrects the entry and confirms.
    d.findChild<QCheckBox *>("Alt")->setChecked(false);
    tap(d, Qt::Key_B);
    QCOMPARE(field(d)->text(), QString("B"));
    d.findChild<QToolButton *>("NewHong")->click();
    QVERIFY(d.accepted);
    QCOMPARE(d.keyText, QString("Shift+Ctrl+B"));
}

void ButtonDialogsTest::okNeedsACombination_data()
{
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("keyText");
    QTest::newRow("nothing") << QStringList{} << "" << false << "";
    QTest::newRow("pasted modifier words") << QStringList{} << "ctrl+a" << false << "";
    QTest::newRow("pasted unknown name") << QStringList{"Ctrl"} << "banana" << false << "";
    QTest::newRow("pasted empty name") << QStringList{} << "a++b" << false << "";
    QTest::newRow("pasted whole key names") << QStringList{"Alt"} << "f4" << true << "Alt+F4";
    QTest::newRow("pasted two keys") << QStringList{} << "a+b" << true << "A+B";
}

// OK takes a captured combination or whole key names only; anything else
// keeps the dialog open with the notice, and nothing is handed back.
void ButtonDialogsTest::okNeedsACombination()
{
    QFETCH(QStringList, ticked);
    QFETCH(QString, pasted);
    QFETCH(bool, accepted);
    GroupKey d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    for (const QString &name : ticked)
        d.findChild<QCheckBox *>(name)->setChecked(true);
    if (!pasted.isEmpty()) {
        field(d)->insert(pasted);
        emit field(d)->textEdited(field(d)->text());
    }
    ModalHandler handler;
    d.findChild<QToolButton *>("NewHong")->click();
    QCOMPARE(d.accepted, accepted);
    QCOMPARE(d.isVisible(), !accepted);
    QCOMPARE(handler.seen, accepted ? QStringList() : QStringList{"UpDateWarning"});
    if (accepted)
        QTEST(d.keyText, "keyText");
    else
        QVERIFY(KeyboardHook::state(KeyboardHook::User::KeyCombination).hookHandle);
}

void ButtonDialogsTest::pasteIsUpperCased()
{
    GroupKey d;
    d.show();
    QLineEdit *edit = field(d);
    edit->setFocus();
    edit->insert("ctrl+a");
    // insert() is not an edit of the user's: the slot runs for edits only.
    emit edit->textEdited(edit->text());
    QCOMPARE(edit->text(), QString("CTRL+A"));
    // Typing never edits the field.
    QTest::keyClicks(edit, "xyz");
    QCOMPARE(edit->text(), QString("CTRL+A"));
}

void ButtonDialogsTest::escapeIsCapturedNotAWayOut()
{
    GroupKey d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    // With a check box focused the key reaches the dialog itself.
    d.findChild<QCheckBox *>("Ctrl")->setFocus();
    tap(d, Qt::Key_Escape);
    tap(d, Qt::Key_F12);
    QVERIFY(d.isVisible());
    QCOMPARE(field(d)->text(), QString("Esc+F12"));
    // Space toggles the focused box and is captured as a key too.
    tap(d, Qt::Key_Space);
    QVERIFY(d.findChild<QCheckBox *>("Ctrl")->isChecked());
    QCOMPARE(field(d)->text(), QString("Esc+F12+Space"));
}

void ButtonDialogsTest::everyWayOutRemovesTheHook_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "NewHong_2";
    QTest::newRow("close") << "CloseButton";
    QTest::newRow("window closed") << "close()";
    QTest::newRow("destroyed") << "";
}

void ButtonDialogsTest::everyWayOutRemovesTheHook()
{
    QFETCH(QString, how);
    const auto &state = KeyboardHook::state(KeyboardHook::User::KeyCombination);
    {
        GroupKey d;
        d.show();
        QVERIFY(state.hookHandle);
        tap(d, Qt::Key_A);
        if (how == QLatin1String("close()"))
            d.close();
        else if (!how.isEmpty())
            d.findChild<QToolButton *>(how)->click();
        if (!how.isEmpty()) {
            QVERIFY(!state.hookHandle);
            QVERIFY(!d.accepted);
        }
    }
    QVERIFY(!state.hookHandle);
    // A key after the dialog is gone reaches no one.
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QTest::keyClick(other.windowHandle(), Qt::Key_B);
}

VELMORAX_TEST_MAIN(ButtonDialogsTest)
#include "tst_buttondialogs.moc"
