#include "platform/userpaths.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

class TestUserPaths : public QObject
{
    Q_OBJECT

private slots:
    void init() { QDir(userDataRoot()).removeRecursively(); }

    void rootIsBelowTheDataLocation()
    {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        QCOMPARE(userDataRoot(), data + QStringLiteral("/VELMORAX"));
        // The test helper points the data location into the build tree.
        QVERIFY(!userDataRoot().startsWith(QDir::homePath() + QStringLiteral("/AppData")));
    }

    void createsEveryFolderAndAnEmptySettingsFile()
    {
        createUserFolders();
        const QStringList expected = {"/Log",
                                      "/Device_Info",
                                      "/Exception",
                                      "/usersetting",
                                      "/usersetting/MainPage",
                                      "/usersetting/MacroPage",
                                      "/usersetting/SensorPage"};
        QCOMPARE(userSubFolders(), expected);
        for (const QString &sub : expected)
            QVERIFY2(QDir(userDataRoot() + sub).exists(), qPrintable(sub));
        QFile macro(userDataRoot() + QStringLiteral("/Macro.ini"));
        QVERIFY(macro.exists());
        QCOMPARE(macro.size(), 0);
    }

    void keepsAnExistingSettingsFile()
    {
        QDir().mkpath(userDataRoot());
        QFile macro(userDataRoot() + QStringLiteral("/Macro.ini"));
        QVERIFY(macro.open(QIODevice::WriteOnly));
        macro.write("[Language]\nLanguage=2\n");
        macro.close();
        createUserFolders();
        QVERIFY(macro.open(QIODevice::ReadOnly));
        QCOMPARE(macro.readAll(), QByteArray("[Language]\nLanguage=2\n"));
    }

    void defaultSuffix_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no suffix") << "/home/u/keys"
                                   << "/home/u/keys.ini";
        QTest::newRow("own suffix kept") << "/home/u/keys.macro"
                                         << "/home/u/keys.macro";
        QTest::newRow("same suffix kept") << "/home/u/keys.ini"
                                          << "/home/u/keys.ini";
        QTest::newRow("dot in a folder name only") << "/home/u.v/keys"
                                                   << "/home/u.v/keys.ini";
    }

    void defaultSuffix()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(withDefaultSuffix(path, QStringLiteral("ini")), expected);
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestUserPaths)
#include "tst_userpaths.moc"
