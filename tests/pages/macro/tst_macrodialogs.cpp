// The macro name dialog (how a name is shaped while typed and pasted, Shift,
// the keys that must not end it, its result) and the macro page's notices.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "pages/macro/macronotices.h"
#include "pages/macro/questiondialog.h"
#include "support/testmain.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

namespace {

QLineEdit *field(QDialog &d)
{
    return d.findChild<QLineEdit *>("lineEdit");
}

void commit(QLineEdit *edit, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(edit, &event);
}

} // namespace

class MacroDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void typing_data();
    void typing();
    void innerSpaceStaysUntilOneIsTypedAtTheEnd();
    void inputMethodCommits_data();
    void inputMethodCommits();
    void pasteIsShapedButNotFiltered_data();
    void pasteIsShapedButNotFiltered();
    void shiftLocksTheField();
    void escapeAndEnterDoNotEnd();
    void result_data();
    void result();
    void promptsHaveTheirOwnTexts();
    void deleteConfirmAnswers_data();
    void deleteConfirmAnswers();
    void noticeTexts_data();
    void noticeTexts();
};

void MacroDialogsTest::initTestCase()
{
    loadTextCatalogue();
    languageIndex = 0;
}

void MacroDialogsTest::typing_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("space at the end dropped") << "ab "
                                              << "ab";
    QTest::newRow("refused punctuation") << "a;,-/[]*+`=.'\\b"
                                         << "ab";
    QTest::newRow("40 letters keep 30") << QString(40, 'x') << QString(30, 'x');
    QTest::newRow("digits and letters") << "Macro12"
                                        << "Macro12";
}

void MacroDialogsTest::typing()
{
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    QuestionDialog d;
    d.show();
    QTest::keyClicks(field(d), keys);
    QCOMPARE(field(d)->text(), expected);
}

void MacroDialogsTest::innerSpaceStaysUntilOneIsTypedAtTheEnd()
{
    QuestionDialog d;
    d.show();
    QLineEdit *edit = field(d);
    QTest::keyClicks(edit, "ab");
    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_Space);
    QCOMPARE(edit->text(), QString("a b"));
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Space);
    QCOMPARE(edit->text(), QString("ab"));
}

void MacroDialogsTest::inputMethodCommits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("full-width comma") << "m" << QString(QChar(0xFF0C)) << "m";
    QTest::newRow("ideographic full stop") << "m" << QString(QChar(0x3002)) << "m";
    QTest::newRow("corner bracket") << "m" << QString(QChar(0x3010)) << "m";
    QTest::newRow("middle dot") << "m" << QString(QChar(0x00B7)) << "m";
    QTest::newRow("slash") << "m"
                           << "/"
                           << "m";
    QTest::newRow("bracket passes as a commit") << "m"
                                                << "["
                                                << "m[";
    QTest::newRow("a word with a comma passes")
        << "m" << QString::fromUtf8("你好，世界") << QString::fromUtf8("m你好，世界");
    // 29 letters leave room for one byte of UTF-8: a Chinese character takes three.
    QTest::newRow("no half character") << QString(29, 'm') << QString::fromUtf8("中") << QString(29, 'm');
    QTest::newRow("27 letters and one character")
        << QString(27, 'm') << QString::fromUtf8("中") << QString(27, 'm') + QString::fromUtf8("中");
}

void MacroDialogsTest::inputMethodCommits()
{
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QuestionDialog d;
    d.show();
    QTest::keyClicks(field(d), typed);
    commit(field(d), text);
    QCOMPARE(field(d)->text(), expected);
}

void MacroDialogsTest::pasteIsShapedButNotFiltered_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("expected");
    QTest::newRow("semicolon kept") << "a;b"
                                    << "a;b";
    QTest::newRow("40 letters keep 30") << QString(40, 'p') << QString(30, 'p');
    QTest::newRow("11 chinese keep 10") << QString(11, QChar(0x4E2D)) << QString(10, QChar(0x4E2D));
}

void MacroDialogsTest::pasteIsShapedButNotFiltered()
{
    QFETCH(QString, clip);
    QFETCH(QString, expected);
    QuestionDialog d;
    d.show();
    QApplication::clipboard()->setText(clip);
    field(d)->paste();
    QCOMPARE(field(d)->text(), expected);
}

void MacroDialogsTest::shiftLocksTheField()
{
    QuestionDialog d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QLineEdit *edit = field(d);
    QTest::keyPress(edit, Qt::Key_Shift);
    QVERIFY(!edit->isEnabled());
    QTest::keyClicks(edit, "a");
    QCOMPARE(edit->text(), QString());
    QTest::keyRelease(&d, Qt::Key_Shift);
    QVERIFY(edit->isEnabled());
    QTest::keyClicks(edit, "a");
    QCOMPARE(edit->text(), QString("a"));
}

void MacroDialogsTest::escapeAndEnterDoNotEnd()
{
    QuestionDialog d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::keyClicks(field(d), "name");
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(field(d), key);
        QVERIFY(d.isVisible());
    }
    QCOMPARE(d.macroName, QString());
}

void MacroDialogsTest::result_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");
    QTest::newRow("OK") << "Macro1"
                        << "NewHong"
                        << "Macro1";
    QTest::newRow("OK with nothing typed") << ""
                                           << "NewHong"
                                           << "";
    QTest::newRow("Cancel") << "Macro1"
                            << "NewHong_2"
                            << "";
    QTest::newRow("close") << "Macro1"
                           << "CloseButton"
                           << "";
}

void MacroDialogsTest::result()
{
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(QString, name);
    QuestionDialog d;
    d.show();
    QTest::keyClicks(field(d), typed);
    d.findChild<QToolButton *>(button)->click();
    QVERIFY(!d.isVisible());
    QCOMPARE(d.macroName, name);
}

void MacroDialogsTest::promptsHaveTheirOwnTexts()
{
    QuestionDialog d;
    QLabel *label = d.findChild<QLabel *>("label");
    d.setPrompt(false);
    const QString create = label->text();
    d.setPrompt(true);
    const QString rename = label->text();
    QCOMPARE(create, catalogueText("macro", "DialogNewMacroName"));
    QCOMPARE(rename, catalogueText("macro", "DialogInputMacroName"));
    QVERIFY(!create.isEmpty());
    QVERIFY(create != rename);
    QVERIFY(create != catalogueText("macro", "DialogSelectMacroFirst"));
}

void MacroDialogsTest::deleteConfirmAnswers_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("OK") << "NewHong" << true;
    QTest::newRow("close") << "CloseButton" << false;
    QTest::newRow("Escape") << "Escape" << false;
}

void MacroDialogsTest::deleteConfirmAnswers()
{
    QFETCH(QString, how);
    QFETCH(bool, confirmed);
    DeleteConfirm d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    if (how == "Escape")
        QTest::keyClick(&d, Qt::Key_Escape);
    else
        d.findChild<QToolButton *>(how)->click();
    QVERIFY(!d.isVisible());
    QCOMPARE(d.confirmed, confirmed);
}

void MacroDialogsTest::noticeTexts_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("key");
    QTest::newRow("SameMacro") << 0 << "DialogSameMacroName";
    QTest::newRow("KeyNumberLimit") << 1 << "DialogMaxMacroKey";
    QTest::newRow("DeleteConfirm") << 2 << "DialogDeleteMacro";
}

void MacroDialogsTest::noticeTexts()
{
    QFETCH(int, which);
    QFETCH(QString, key);
    auto make = [which]() -> QDialog * {
        switch (which) {
        case 0:
            return new SameMacro;
        case 1:
            return new KeyNumberLimit;
        default:
            return new DeleteConfirm;
        }
    };
    for (int language = 0; language < 3; ++language) {
        languageIndex = language;
        std::unique_ptr<QDialog> d(make());
        const QString expected = catalogueText("macro", key, language);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(d->findChild<QLabel *>("label")->text(), expected);
        QCOMPARE(d->findChild<QToolButton *>("NewHong")->text(), catalogueText("common", "OK", language));
        // A language change while it is open re-texts it.
        emit PostMsg::instance()->SigAllLanguage((language + 1) % 3);
        QCOMPARE(d->findChild<QLabel *>("label")->text(), catalogueText("macro", key, (language + 1) % 3));
    }
    languageIndex = 0;
    // A key the catalogue lacks leaves the label empty, not the form's text.
    TextTable saved = languageTables.mouseSections["macro"][0];
    languageTables.mouseSections["macro"][0].remove(key);
    std::unique_ptr<QDialog> d(make());
    QCOMPARE(d->findChild<QLabel *>("label")->text(), QString());
    languageTables.mouseSections["macro"][0] = saved;
}

VELMORAX_TEST_MAIN(MacroDialogsTest)
#include "tst_macrodialogs.moc"
