// Start-up as a whole, in child processes that run the program's own entry.
#include "app/appglobals.h"
#include "app/postmsg.h"
#include "app/singleinstance.h"
#include "platform/hidusb/simcontrol.h"
#include "platform/userpaths.h"
#include "shell/startup.h"
#include "support/filetouch.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// Child mode: run the program; once its event loop runs, note which windows
// it shows and end it the way a user would.
int runProgram()
{
    std::thread closer([] {
        while (!QCoreApplication::instance())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                for (QWidget *w : QApplication::topLevelWidgets()) {
                    if (!w->isVisible())
                        continue;
                    const QString name = QString::fromLatin1(w->metaObject()->className());
                    if (name == QLatin1String("ExeIsRun")) {
                        printf("notice: %s\n", qPrintable(w->findChild<QLabel *>("label")->text()));
                        w->close();
                    } else if (name == QLatin1String("DialogMain")) {
                        printf("window: %s\n", qPrintable(w->windowTitle()));
                        // The list page has talked to the library by now.
                        printf("journal: %d\n", int(hidusb::sim::journal().size()));
                        emit PostMsg::instance()->SigChangeSize(3);
                    }
                }
                fflush(stdout);
            },
            Qt::QueuedConnection);
    });
    closer.detach();
    char arg0[] = "velmorax";
    char *argv[] = {arg0, nullptr};
    const int rc = runVelmorax(1, argv);
    printf("rc: %d\n", rc);
    fflush(stdout);
    return rc;
}

QStringList runChild(int &exitCode, const QMap<QString, QString> &extraEnv = {})
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("STARTUP_CHILD"), QStringLiteral("1"));
    for (auto it = extraEnv.begin(); it != extraEnv.end(); ++it)
        env.insert(it.key(), it.value());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
    }
    exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    const QStringList lines = QString::fromLocal8Bit(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return lines;
}

} // namespace

class TestStartupFlow : public QObject
{
    Q_OBJECT

private slots:
    void init() { QDir(userDataRoot()).removeRecursively(); }

    void firstStartPreparesTheUserFolderAndShowsTheWindow()
    {
        QDir().mkpath(userDataRoot() + "/Log");
        QDir().mkpath(userDataRoot() + "/Exception");
        const QDateTime now = QDateTime::currentDateTime();
        touch(userDataRoot() + "/Log/old.log", now.addDays(-9));
        touch(userDataRoot() + "/Log/future.log", now.addDays(3));
        touch(userDataRoot() + "/Exception/2020_01_01_00_00_00.dmp", now.addDays(-30));
        touch(userDataRoot() + "/Exception/new.dmp", now.addDays(-1));

        int exitCode = -2;
        const QStringList out = runChild(exitCode);
        QCOMPARE(exitCode, 0);
        QVERIFY2(out.contains(QStringLiteral("window: VELMORAX")), qPrintable(out.join('|')));
        QVERIFY2(out.contains(QStringLiteral("rc: 0")), qPrintable(out.join('|')));
        // The library's call journal is for tests that ask for it; the
        // program as shipped keeps none.
        QVERIFY2(out.contains(QStringLiteral("journal: 0")), qPrintable(out.join('|')));

        for (const QString &sub : userSubFolders())
            QVERIFY2(QDir(userDataRoot() + sub).exists(), qPrintable(sub));
        QVERIFY(QFile::exists(userDataRoot() + "/Macro.ini"));
        QCOMPARE(QDir(userDataRoot() + "/Log").entryList(QDir::Files), QStringList{"future.log"});
        QCOMPARE(QDir(userDataRoot() + "/Exception").entryList(QDir::Files), QStringList{"new.dmp"});
    }

    void startsOnADisplayWithNoOtherClient()
    {
        // A display server ends with its last client (as a fresh server
        // resets). The program reads the desktop width before the
        // application connects; that read must not be the last client
        // leaving, or the application finds no display.
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            QSKIP("Xvfb is not installed");
        QProcess server;
        QString display;
        for (int n = 150 + QCoreApplication::applicationPid() % 300, tries = 0; tries < 20; ++n, ++tries) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))
                || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                continue;
            display = QStringLiteral(":%1").arg(n);
            break;
        }
        QVERIFY(!display.isEmpty());
        server.start(xvfb, {display, QStringLiteral("-terminate"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                            QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x800x24")});
        QVERIFY(server.waitForStarted());
        const QString socket = QStringLiteral("/tmp/.X11-unix/X") + display.mid(1);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);

        int exitCode = -2;
        const QStringList out = runChild(exitCode, {{QStringLiteral("DISPLAY"), display},
                                                    {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb")}});
        server.kill();
        server.waitForFinished();
        QCOMPARE(exitCode, 0);
        QVERIFY2(out.contains(QStringLiteral("window: VELMORAX")), qPrintable(out.join('|')));
    }

    void secondStartShowsOnlyTheNotice()
    {
        SingleInstance running; // this test process plays the first instance
        QVERIFY(running.acquire());
        int exitCode = -2;
        const QStringList out = runChild(exitCode);
        QCOMPARE(exitCode, 0);
        QVERIFY2(out.size() == 2 && out.at(0).startsWith(QStringLiteral("notice: "))
                     && out.at(1) == QStringLiteral("rc: 0"),
                 qPrintable(out.join('|')));
        QVERIFY(out.at(0).size() > int(strlen("notice: ")));
    }
};

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("STARTUP_CHILD"))
        return runProgram();
    QCoreApplication app(argc, argv);
    TestStartupFlow test;
    return velmoraxtest::exec(&test, argc, argv);
}
#include "tst_startupflow.moc"
