// Which links leave the program.

#include "platform/shell.h"
#include "support/testmain.h"

#include <QtTest>

class ShellTest : public QObject
{
    Q_OBJECT

private slots:
    void safeLinks_data();
    void safeLinks();
};

void ShellTest::safeLinks_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("safe");

    QTest::newRow("https") << "https://www.example.com/a?b=c" << true;
    QTest::newRow("http, upper-case scheme") << "HTTP://example.com" << true;
    QTest::newRow("mail") << "mailto:help@example.com" << true;
    QTest::newRow("local file") << "file:///usr/bin/xterm" << false;
    QTest::newRow("bare path") << "/usr/bin/xterm" << false;
    QTest::newRow("web link without a host") << "https://" << false;
    QTest::newRow("other handler") << "ssh://host" << false;
    QTest::newRow("empty") << "" << false;
}

void ShellTest::safeLinks()
{
    QFETCH(QString, link);
    QFETCH(bool, safe);
    QCOMPARE(shell::isSafeLink(QUrl(link, QUrl::TolerantMode)), safe);
}

VELMORAX_TEST_MAIN(ShellTest)
#include "tst_shell.moc"
