// The autostart entry: how the executable's path is quoted, and which
// entries count as starting this program.

#include "platform/autostart.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

} // namespace

class AutostartTest : public QObject
{
    Q_OBJECT

private slots:
    void execQuoting_data();
    void execQuoting();
    void entryRecognised_data();
    void entryRecognised();
    void disableWithoutEntry();
    void startsWhereLaunchersStumble_data();
    void startsWhereLaunchersStumble();
    void noEntryWhenNothingCanStart();
};

void AutostartTest::execQuoting_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec");

    QTest::newRow("plain") << "/opt/velmorax/velmorax"
                           << "\"/opt/velmorax/velmorax\"";
    QTest::newRow("space") << "/home/a b/velmorax"
                           << "\"/home/a b/velmorax\"";
    // Inside quotes '"', '`', '$' and '\' take a backslash, which the
    // desktop-entry string then doubles; '%' is doubled.
    QTest::newRow("quote") << "/x/\"q\"/v"
                           << "\"/x/\\\\\"q\\\\\"/v\"";
    QTest::newRow("dollar and backquote") << "/x/$HOME/`v`"
                                          << "\"/x/\\\\$HOME/\\\\`v\\\\`\"";
    QTest::newRow("backslash") << "/x/a\\b"
                               << "\"/x/a\\\\\\\\b\"";
    QTest::newRow("percent") << "/x/100%/v"
                             << "\"/x/100%%/v\"";
}

void AutostartTest::execQuoting()
{
    QFETCH(QString, path);
    QFETCH(QString, exec);
    QCOMPARE(autostart::execValue(path), exec);
}

void AutostartTest::entryRecognised_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("enabled");

    const QByteArray exec = "Exec=" + autostart::execValue(QStringLiteral("/opt/v/velmorax")).toUtf8() + "\n";
    QTest::newRow("ours") << QByteArray("[Desktop Entry]\nType=Application\n" + exec) << true;
    QTest::newRow("hidden") << QByteArray("[Desktop Entry]\n" + exec + "Hidden=true\n") << false;
    QTest::newRow("switched off") << QByteArray("[Desktop Entry]\n" + exec + "X-GNOME-Autostart-enabled=false\n")
                                  << false;
    QTest::newRow("another program") << QByteArray("[Desktop Entry]\nExec=\"/opt/v/other\"\n") << false;
    QTest::newRow("unquoted") << QByteArray("[Desktop Entry]\nExec=/opt/v/velmorax\n") << false;
    QTest::newRow("outside the entry group") << QByteArray("[Desktop Action x]\n" + exec) << false;
    QTest::newRow("garbage") << QByteArray("\x01\x02\xff\n=\n[") << false;
}

void AutostartTest::entryRecognised()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, enabled);
    const QString name = QStringLiteral("velmorax-test");
    QVERIFY(autostart::enable(name, QStringLiteral("/opt/v/velmorax")));
    QVERIFY(autostart::isEnabled(name, QStringLiteral("/opt/v/velmorax")));
    QFile file(autostart::entryPath(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    QCOMPARE(autostart::isEnabled(name, QStringLiteral("/opt/v/velmorax")), enabled);
    QVERIFY(autostart::disable(name));
    QVERIFY(!QFile::exists(autostart::entryPath(name)));
}

void AutostartTest::disableWithoutEntry()
{
    QVERIFY(autostart::disable(QStringLiteral("never-written")));
    QVERIFY(!autostart::isEnabled(QStringLiteral("never-written"), QStringLiteral("/opt/v/velmorax")));
}

void AutostartTest::startsWhereLaunchersStumble_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("throughLink");

    QTest::newRow("plain") << "tools" << false;
    QTest::newRow("percent") << "100%" << true;
    QTest::newRow("field code") << "a%U" << true;
    QTest::newRow("backslash") << "a\\b" << true;
}

// The Exec line is run the way common session launchers run it, without
// undoing the desktop-entry escapes: whatever the install folder's name,
// the program starts, and the entry counts as on only while it does.
void AutostartTest::startsWhereLaunchersStumble()
{
    QFETCH(QString, folder);
    QFETCH(bool, throughLink);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(folder));
    const QString executable = dir.filePath(folder + QStringLiteral("/velmorax"));
    const QString marker = dir.filePath(QStringLiteral("started"));
    {
        QFile script(executable);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    }
    const QString name = QStringLiteral("velmorax-launch-test");
    QVERIFY(autostart::enable(name, executable));
    QVERIFY(autostart::isEnabled(name, executable));
    QCOMPARE(QFileInfo(autostart::launcherPath(name)).isSymLink(), throughLink);

    QFile entry(autostart::entryPath(name));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QString exec;
    for (const QString &line : QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Exec=")))
            exec = line.mid(5);
    QVERIFY2(exec.startsWith(QLatin1Char('"')) && exec.endsWith(QLatin1Char('"')), qPrintable(exec));
    QVERIFY2(!exec.contains(QLatin1Char('%')) && !exec.contains(QLatin1Char('\\')), qPrintable(exec));
    QProcess::execute(exec.mid(1, exec.size() - 2), {});
    QVERIFY(QFile::exists(marker));

    QVERIFY(autostart::disable(name));
    QVERIFY(!QFileInfo(autostart::launcherPath(name)).isSymLink());
    QVERIFY(!autostart::isEnabled(name, executable));

    if (throughLink) {
        // An entry naming the escaped path itself starts nothing: not on.
        QVERIFY(writeFile(autostart::entryPath(name), autostart::entryText(name, executable)));
        QVERIFY(!autostart::isEnabled(name, executable));
        QVERIFY(autostart::disable(name));
    }
}

// When the user's own folder holds those characters too, no entry is
// written and none counts as on.
void AutostartTest::noEntryWhenNothingCanStart()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data%x")).toUtf8());
    const QString name = QStringLiteral("velmorax-launch-test");
    const QString executable = QStringLiteral("/opt/100%/velmorax");
    QVERIFY(!autostart::canStart(name, executable));
    QVERIFY(autostart::canStart(name, QStringLiteral("/opt/v/velmorax")));
    QVERIFY(!autostart::enable(name, executable));
    QVERIFY(!QFile::exists(autostart::entryPath(name)));
    QVERIFY(!autostart::isEnabled(name, executable));
    qputenv("XDG_DATA_HOME", oldData);
    if (oldData.isEmpty())
        qunsetenv("XDG_DATA_HOME");
}

VELMORAX_TEST_GUILESS_MAIN(AutostartTest)
#include "tst_autostart.moc"
