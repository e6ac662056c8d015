// The autostart entry: how the executable's path is quoted, and which
// entries count as starting this program.

#include "platform/autostart.h"
#include "support/testmain.h"

#include <QFile>
#include <QtTest>

class AutostartTest : public QObject
{
    Q_OBJECT

private slots:
    void execQuoting_data();
    void execQuoting();
    void entryRecognised_data();
    void entryRecognised();
    void disableWithoutEntry();
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

VELMORAX_TEST_GUILESS_MAIN(AutostartTest)
#include "tst_autostart.moc"
