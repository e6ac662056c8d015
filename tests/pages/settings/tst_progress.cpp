// The two progress displays of a firmware upgrade: the progress notice driven
// by the upgrade's reports (status line, end texts, what closing it tells the
// program, and that nothing but its confirm button ends it while an upgrade
// runs), and the stepping bar that creeps between checkpoints.

#include "support/testmain.h"

#include "app/appglobals.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/firmwarecheck.h"
#include "pages/settings/myprogressbar.h"
#include "pages/settings/progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

class TestProgress : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { loadTextCatalogue(); }
    void cleanup()
    {
        upgradeRunning = false;
        languageIndex = 0;
    }

    void reportsShowOnBarAndLine_data();
    void reportsShowOnBarAndLine();
    void closingTellsWhatFollows_data();
    void closingTellsWhatFollows();
    void onlyConfirmEndsARunningUpgrade();
    void returnConfirmsOnlyOnceTheButtonShows();

    void checkpoints_data();
    void checkpoints();
    void barCreepsAndCatchesUp();

private:
    static QString line(int percent, int language = 0)
    {
        return catalogueText("update", "DialogUpgradeUpgrading", language) + QStringLiteral(": ")
               + QString::number(percent) + QLatin1Char('%');
    }
};

void TestProgress::reportsShowOnBarAndLine_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("bar");
    QTest::addColumn<QString>("text"); // "line" for the status line of `bar`, else an "update" key
    QTest::addColumn<bool>("button");
    QTest::newRow("progress") << 0 << 37 << 0 << 37 << "line" << false;
    QTest::newRow("progress, Chinese") << 1 << 37 << 0 << 37 << "line" << false;
    QTest::newRow("success") << 0 << 100 << 2 << 100 << "DialogUpgradeSuccess" << true;
    QTest::newRow("success reported at 0") << 2 << 0 << 2 << 100 << "DialogUpgradeSuccess" << true;
    QTest::newRow("failure") << 2 << 42 << 1 << 42 << "DialogUpgradeFail" << true;
    QTest::newRow("back to zero") << 0 << 60 << 4 << 0 << "line" << false;
}

void TestProgress::reportsShowOnBarAndLine()
{
    QFETCH(int, language);
    QFETCH(int, percent);
    QFETCH(int, status);
    QFETCH(int, bar);
    QFETCH(QString, text);
    QFETCH(bool, button);
    languageIndex = language;
    Progress dialog(nullptr);
    auto *label = dialog.findChild<QLabel *>("label");
    auto *confirm = dialog.findChild<QToolButton *>("NewHong");
    QCOMPARE(label->text(), line(1, language));
    QVERIFY(confirm->isHidden());
    QCOMPARE(confirm->text(), catalogueText("Settings", "OK", language));

    dialog.SlotProgress(percent, status);
    QCOMPARE(dialog.findChild<QProgressBar *>("progressBar_2")->value(), bar);
    QCOMPARE(label->text(),
             text == QLatin1String("line") ? line(bar, language) : catalogueText("update", text, language));
    QCOMPARE(!confirm->isHidden(), button);
    if (button) {
        dialog.SlotProgress(0, 3);
        QVERIFY(confirm->isHidden());
    }
}

void TestProgress::closingTellsWhatFollows_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("mainDialog"); // -1: not emitted
    QTest::addColumn<int>("continues");
    QTest::newRow("after a failure, confirm") << 1 << "NewHong" << 0 << 0;
    QTest::newRow("after a failure, close") << 1 << "CloseButton" << 0 << 0;
    QTest::newRow("after success, confirm") << 2 << "NewHong" << -1 << 1;
    QTest::newRow("during progress, close") << 0 << "CloseButton" << -1 << 1;
}

void TestProgress::closingTellsWhatFollows()
{
    QFETCH(int, status);
    QFETCH(QString, button);
    QFETCH(int, mainDialog);
    QFETCH(int, continues);
    Progress dialog(nullptr);
    dialog.show();
    dialog.SlotProgress(70, status);
    QSignalSpy main(PostMsg::instance(), &PostMsg::SigChangeMainDialog);
    QSignalSpy next(PostMsg::instance(), &PostMsg::SigContinue);

    QTest::mouseClick(dialog.findChild<QToolButton *>(button), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(main.count(), mainDialog < 0 ? 0 : 1);
    if (mainDialog >= 0)
        QCOMPARE(main.first().at(0).toInt(), mainDialog);
    QCOMPARE(next.count(), continues);
    if (continues) {
        // Ready for the next upgrade.
        QCOMPARE(dialog.findChild<QLabel *>("label")->text(), line(0));
        QCOMPARE(dialog.findChild<QProgressBar *>("progressBar_2")->value(), 0);
    }
}

void TestProgress::onlyConfirmEndsARunningUpgrade()
{
    Progress dialog(nullptr);
    dialog.show();
    dialog.SlotProgress(30, 0);
    upgradeRunning = true;
    QSignalSpy next(PostMsg::instance(), &PostMsg::SigContinue);

    emit PostMsg::instance()->SigCloseProgress();
    QTest::mouseClick(dialog.findChild<QToolButton *>("CloseButton"), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.findChild<QProgressBar *>("progressBar_2")->value(), 30);
    QCOMPARE(next.count(), 0);

    dialog.SlotProgress(100, 2);
    QTest::mouseClick(dialog.findChild<QToolButton *>("NewHong"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(next.count(), 1);

    // Once the upgrade has ended the hub may close it.
    upgradeRunning = false;
    dialog.show();
    dialog.SlotProgress(55, 0);
    emit PostMsg::instance()->SigCloseProgress();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.findChild<QProgressBar *>("progressBar_2")->value(), 0);
    QCOMPARE(next.count(), 1);
}

void TestProgress::returnConfirmsOnlyOnceTheButtonShows()
{
    upgradeRunning = true;
    Progress dialog(nullptr);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy next(PostMsg::instance(), &PostMsg::SigContinue);
    dialog.SlotProgress(20, 0);
    QTest::keyClick(&dialog, Qt::Key_Return);
    // A shortcut clicks its button a moment later; give it that moment.
    QTest::qWait(300);
    QVERIFY(dialog.isVisible());
    QCOMPARE(next.count(), 0);

    emit PostMsg::instance()->SigAllLanguage(1); // new texts keep the key
    dialog.SlotProgress(100, 2);
    QTest::keyClick(&dialog, Qt::Key_Return);
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(next.count(), 1);
}

void TestProgress::checkpoints_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<int>>("expected");
    QTest::newRow("4 steps") << 4 << QVector<int>{0, 25, 50, 75, 100};
    QTest::newRow("3 steps") << 3 << QVector<int>{0, 33, 66, 100};
    QTest::newRow("1 step") << 1 << QVector<int>{0, 100};
    QTest::newRow("no steps") << 0 << QVector<int>{0, 100};
}

void TestProgress::checkpoints()
{
    QFETCH(int, count);
    QFETCH(QVector<int>, expected);
    MyProgressBar bar;
    bar.setProgressValue(37);
    QCOMPARE(bar.format(), QStringLiteral("37.0%"));
    bar.startSteps(count, 1000);
    QCOMPARE(bar.checkpointList(), expected);
    QCOMPARE(bar.value(), 0);
    QCOMPARE(bar.stepReached(), 0);
}

void TestProgress::barCreepsAndCatchesUp()
{
    MyProgressBar bar;
    bar.startSteps(4, 1);
    // It creeps to one short of the first checkpoint and waits there.
    QTRY_COMPARE(bar.value(), 24);
    QTest::qWait(30);
    QCOMPARE(bar.value(), 24);
    QCOMPARE(bar.format(), QStringLiteral("24.0%"));

    bar.mUpdate();
    QTRY_COMPARE(bar.value(), 49);
    bar.mUpdate();
    bar.mUpdate();
    QTRY_COMPARE(bar.value(), 99);
    QCOMPARE(bar.stepReached(), 3);
    // The last notice stops the creeping and fills the bar.
    bar.mUpdate();
    QTRY_COMPARE(bar.value(), 100);
    QCOMPARE(bar.stepReached(), 4);
    bar.mUpdate();
    QCOMPARE(bar.stepReached(), 4);
    QTest::qWait(30);
    QCOMPARE(bar.value(), 100);
}

VELMORAX_TEST_MAIN(TestProgress)
#include "tst_progress.moc"
