#include "app/appglobals.h"
#include "app/exeisrun.h"
#include "app/look.h"
#include "app/macroini.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "platform/screen.h"
#include "support/testmain.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

class FakeScreen : public ScreenSource
{
public:
    qreal dpi = 96;
    int desktopWidth() const override { return 1920; }
    qreal logicalDpi() const override { return dpi; }
    QPoint cursorPos() const override { return QPoint(); }
    QColor colorAt(const QPoint &) const override { return QColor(); }
};

// Three languages whose texts carry their language's tag, so a lookup in
// the wrong language shows.
void fillCatalogue()
{
    languageTables.clear();
    const char *tags[] = {"en", "zh", "ru"};
    for (int l = 0; l < 3; ++l) {
        appendLanguage(languageTables);
        const QString tag = QString::fromLatin1(tags[l]);
        auto put = [&](const char *section, const char *key) {
            languageTables.mouseSections[QString::fromLatin1(section)][l].insert(
                QString::fromLatin1(key), QStringLiteral("%1:%2").arg(tag, QString::fromLatin1(key)));
        };
        put("home", "ErrorDevice");
        put("infoTips", "DialogOffline");
        put("infoTips", "TimeOut");
        put("common", "OK");
        put("common", "Cancel");
        put("Settings", "DialogRestore");
        put("key", "DialogDebounceTips");
    }
}

QString labelOf(QWidget *w, const char *name = "label")
{
    if (auto *label = w->findChild<QLabel *>(QString::fromLatin1(name)))
        return label->text();
    if (auto *button = w->findChild<QToolButton *>(QString::fromLatin1(name)))
        return button->text();
    return QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray J(const char *text)
{
    return QByteArray(text).replace('\'', '"');
}

} // namespace

class TestNotices : public QObject
{
    Q_OBJECT

    FakeScreen fakeScreen;

private slots:
    void initTestCase() { screen::setSource(&fakeScreen); }

    void init()
    {
        fillCatalogue();
        fakeScreen.dpi = 96;
        languageIndex = 0;
        offlineNoticeKind = 0;
    }

    void placement_data()
    {
        QTest::addColumn<QPoint>("opener");
        QTest::addColumn<QSize>("openerSize");
        QTest::addColumn<QSize>("dialog");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("settings page restore")
            << QPoint(100, 50) << QSize(800, 600) << QSize(300, 140) << -75 << -65 << QPoint(275, 215);
        QTest::newRow("main window offline")
            << QPoint(0, 0) << QSize(1020, 700) << QSize(300, 140) << 0 << -20 << QPoint(360, 260);
        QTest::newRow("odd sizes truncate")
            << QPoint(0, 0) << QSize(301, 141) << QSize(0, 0) << 0 << 0 << QPoint(150, 70);
        // A notice larger than its opener: the negative half truncates
        // toward zero (-1, not -2).
        QTest::newRow("negative half") << QPoint(10, 10) << QSize(300, 140) << QSize(303, 143) << 0 << 0
                                       << QPoint(9, 9);
        QTest::newRow("debounce notice") << QPoint(200, 100) << QSize(1020, 700) << QSize(300, 140) << -409 << -202
                                         << QPoint(151, 178);
    }

    void placement()
    {
        QFETCH(QPoint, opener);
        QFETCH(QSize, openerSize);
        QFETCH(QSize, dialog);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(QPoint, expected);
        QCOMPARE(look::centredPosition(opener, openerSize, dialog, dx, dy), expected);
    }

    void textsFollowTheLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("tag");
        QTest::newRow("English") << 0 << "en";
        QTest::newRow("Chinese") << 1 << "zh";
        QTest::newRow("Russian") << 2 << "ru";
    }

    void textsFollowTheLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, tag);
        languageIndex = language;
        const auto t = [&](const char *key) { return tag + QLatin1Char(':') + QLatin1String(key); };

        QuestiondialogB duplicate;
        QCOMPARE(labelOf(&duplicate), t("ErrorDevice"));
        QCOMPARE(duplicate.size(), QSize(300, 130));
        QCOMPARE(duplicate.minimumSize(), duplicate.maximumSize());
        QVERIFY(!duplicate.findChild<QToolButton *>("NewHong"));

        MouseOffLine offline;
        QCOMPARE(labelOf(&offline), t("DialogOffline"));
        QCOMPARE(labelOf(&offline, "NewHong"), t("OK"));

        ContainReset reset;
        QCOMPARE(labelOf(&reset), t("DialogRestore"));
        QCOMPARE(labelOf(&reset, "OK"), t("OK"));
        QCOMPARE(labelOf(&reset, "Cancel"), t("Cancel"));

        UpDateWarning warning;
        QCOMPARE(labelOf(&warning), QStringLiteral("Confirm Delete")); // the opener's text goes here
        QCOMPARE(labelOf(&warning, "NewHong"), t("OK"));

        LessThree debounce;
        QCOMPARE(labelOf(&debounce), t("DialogDebounceTips"));
        QCOMPARE(labelOf(&debounce, "NewHong"), t("OK"));
    }

    void languageChangeRetextsOpenNotices()
    {
        UpDateWarning warning;
        warning.setText(QStringLiteral("Only the mouse has an update"));
        ContainReset reset;
        reset.setText(QStringLiteral("New firmware?"));
        emit PostMsg::instance()->SigAllLanguage(2);
        QCOMPARE(labelOf(&warning), QStringLiteral("Only the mouse has an update"));
        QCOMPARE(labelOf(&warning, "NewHong"), QStringLiteral("ru:OK"));
        QCOMPARE(labelOf(&reset, "Cancel"), QStringLiteral("ru:Cancel"));
        // New button texts keep the Return key on the confirmation buttons.
        QCOMPARE(warning.findChild<QToolButton *>("NewHong")->shortcut(), QKeySequence(Qt::Key_Return));
        QCOMPARE(reset.findChild<QToolButton *>("OK")->shortcut(), QKeySequence(Qt::Key_Return));
    }

    void offlineTextByKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("label");
        QTest::newRow("device silent") << 0 << "en:DialogOffline";
        QTest::newRow("refill timed out") << 1 << "en:TimeOut";
        QTest::newRow("other kinds keep the form text") << 7 << "   The mouse is offline. Please move first";
    }

    void offlineTextByKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, label);
        offlineNoticeKind = kind;
        MouseOffLine offline;
        QCOMPARE(labelOf(&offline), label);
    }

    void missingKeysGiveEmptyTexts()
    {
        languageTables.clear();
        appendLanguage(languageTables);
        languageIndex = 2; // past the loaded languages: language 0 is read
        LessThree debounce;
        QCOMPARE(labelOf(&debounce), QString());
        QCOMPARE(labelOf(&debounce, "NewHong"), QString());
    }

    void offlineNoticeClosesWhenTheMouseAnswers()
    {
        MouseOffLine offline;
        bool timedOut = false;
        QTimer::singleShot(0, [] { emit PostMsg::instance()->SigCloseOffOnline(); });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &offline, [&] {
            timedOut = true;
            offline.reject();
        });
        guard.start(10000);
        offline.exec();
        QVERIFY(!timedOut);
        QVERIFY(!offline.isVisible());
        // With no notice open the signal does nothing.
        emit PostMsg::instance()->SigCloseOffOnline();
    }

    void resetAnswerKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("languageChange");
        QTest::newRow("Return is OK") << int(Qt::Key_Return) << int(Qt::NoModifier) << true << true << false;
        QTest::newRow("keypad Enter does nothing")
            << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << false << false;
        QTest::newRow("Escape cancels") << int(Qt::Key_Escape) << int(Qt::NoModifier) << true << false << false;
        QTest::newRow("Return after a language change")
            << int(Qt::Key_Return) << int(Qt::NoModifier) << true << true << true;
    }

    void resetAnswerKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        QFETCH(bool, accepted);
        QFETCH(bool, languageChange);
        ContainReset reset;
        if (languageChange)
            emit PostMsg::instance()->SigAllLanguage(1);
        reset.show();
        reset.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&reset));
        QTest::keyClick(&reset, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        if (closes) {
            QTRY_VERIFY(!reset.isVisible());
        } else {
            QTest::qWait(300); // longer than the button's animated click
            QVERIFY(reset.isVisible());
        }
        QCOMPARE(reset.accepted, accepted);
    }

    void resetButtons()
    {
        ContainReset ok;
        ok.show();
        QTest::mouseClick(ok.findChild<QToolButton *>("OK"), Qt::LeftButton);
        QVERIFY(ok.accepted);
        QVERIFY(!ok.isVisible());

        ContainReset cancel;
        cancel.accepted = true;
        cancel.show();
        QTest::mouseClick(cancel.findChild<QToolButton *>("Cancel"), Qt::LeftButton);
        QVERIFY(!cancel.accepted);

        ContainReset closed;
        closed.accepted = true;
        closed.show();
        QTest::mouseClick(closed.findChild<QToolButton *>("CloseButton"), Qt::LeftButton);
        QVERIFY(!closed.accepted);
        QVERIFY(!closed.isVisible());
    }

    void fontsFollowTheScreen_data()
    {
        QTest::addColumn<qreal>("dpi");
        QTest::addColumn<qreal>("label");
        QTest::addColumn<qreal>("lessThreeLabel");
        QTest::newRow("96 dpi") << qreal(96) << qreal(11) << qreal(9);
        QTest::newRow("120 dpi") << qreal(120) << qreal(8.8) << qreal(7.2);
        QTest::newRow("144 dpi") << qreal(144) << qreal(11 * 96.0 / 144) << qreal(6);
    }

    void fontsFollowTheScreen()
    {
        QFETCH(qreal, dpi);
        QFETCH(qreal, label);
        QFETCH(qreal, lessThreeLabel);
        fakeScreen.dpi = dpi;
        const auto near = [](qreal a, qreal b) { return qAbs(a - b) < 0.01; };
        UpDateWarning warning;
        QVERIFY(near(warning.findChild<QLabel *>("label")->font().pointSizeF(), label));
        QVERIFY(near(warning.findChild<QToolButton *>("NewHong")->font().pointSizeF(), label));
        LessThree debounce;
        QVERIFY(near(debounce.findChild<QLabel *>("label")->font().pointSizeF(), lessThreeLabel));
    }

    void noticesAreFramelessDialogs()
    {
        MouseOffLine offline;
        QVERIFY(offline.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(offline.isWindow());
        QCOMPARE(offline.windowTitle(), QStringLiteral("Dialog"));
    }

    // ---- the already-running notice reads its own language file ----

    void alreadyRunningReadsTheStoredLanguage_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("label");
        QTest::newRow("absent") << QString() << "en running";
        QTest::newRow("Chinese") << "1"
                                 << "zh running";
        QTest::newRow("Russian") << "2"
                                 << "ru running";
        QTest::newRow("past the languages shows English") << "3"
                                                          << "en running";
    }

    void alreadyRunningReadsTheStoredLanguage()
    {
        QFETCH(QString, stored);
        QFETCH(QString, label);
        QTemporaryDir dir;
        writeFile(dir.path() + "/en.json", J("{'mouse':{'home':{'OnRun':'en running'},'common':{'OK':'en ok'}}}"));
        writeFile(dir.path() + "/zh-CN.json", J("{'mouse':{'home':{'OnRun':'zh running'}}}"));
        writeFile(dir.path() + "/ru.json", J("{'mouse':{'home':{'OnRun':'ru running'}}}"));
        ExeIsRun::setLanguageFolder(dir.path());
        MacroIni::instance()->setValue("Language", "Language", stored);
        languageIndex = 1; // the notice does not use the process-wide index
        ExeIsRun notice;
        ExeIsRun::setLanguageFolder(QString());
        QCOMPARE(notice.labelText(), label);
        QCOMPARE(notice.buttonText(),
                 stored.isEmpty() || stored == "3" ? QStringLiteral("en ok") : QString::fromUtf8("确定"));
    }

    void alreadyRunningWalker_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("label");
        QTest::newRow("used") << J("{'mouse':{'home':{'OnRun':'running'}}}") << "running";
        QTest::newRow("keyboard part ignored") << J("{'keyboard':{'home':{'OnRun':'kb'}}}") << "Confirm Delete";
        QTest::newRow("other section ignored") << J("{'mouse':{'common':{'OnRun':'x'}}}") << "Confirm Delete";
        QTest::newRow("empty text ignored") << J("{'mouse':{'home':{'OnRun':''}}}") << "Confirm Delete";
        // "keyboard" sorts before "mouse", so a later mouse part wins.
        QTest::newRow("sorted parts") << J("{'mouse':{'home':{'OnRun':'m'}},'keyboard':{'home':{'OnRun':'k'}}}") << "m";
        QTest::newRow("invalid JSON") << QByteArray("{'mouse':") << "Confirm Delete";
    }

    void alreadyRunningWalker()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, label);
        QTemporaryDir dir;
        ExeIsRun::setLanguageFolder(dir.path() + "/none"); // the constructor reads nothing
        ExeIsRun notice;
        ExeIsRun::setLanguageFolder(QString());
        QCOMPARE(notice.labelText(), QStringLiteral("Confirm Delete"));
        QCOMPARE(notice.buttonText(), QString::fromUtf8("确定"));
        writeFile(dir.path() + "/fixture.json", json);
        notice.readLanguageFile(dir.path() + "/fixture.json");
        QCOMPARE(notice.labelText(), label);
    }

    void macroPageMessages()
    {
        QTemporaryDir dir;
        ExeIsRun::setLanguageFolder(dir.path() + "/none");
        ExeIsRun empty;
        ExeIsRun::setLanguageFolder(QString());
        empty.showSelectMacroFirst();
        QCOMPARE(empty.labelText(), QString()); // no text in the file empties the label

        writeFile(dir.path() + "/m.json",
                  J("{'mouse':{'macro':{'DialogSelectMacroFirst':'select','DialogStopRecordFirst':'stop'}}}"));
        empty.readLanguageFile(dir.path() + "/m.json");
        empty.showSelectMacroFirst();
        QCOMPARE(empty.labelText(), QStringLiteral("select"));
        empty.showStopRecordFirst();
        QCOMPARE(empty.labelText(), QStringLiteral("stop"));
        QCOMPARE(ExeIsRun::languageFilePath(3), QString());
        QVERIFY(ExeIsRun::languageFilePath(1).endsWith("/Language/zh-CN.json"));
    }
};

VELMORAX_TEST_MAIN(TestNotices)
#include "tst_notices.moc"
