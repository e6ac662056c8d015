#include "support/testmain.h"
#include "platform/userpaths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

class TestUserPaths : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QDir(userDataRoot()).removeRecursively();
    }

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
        const QStringList expected = {"/Log", "/Device_Info", "/Exception", "/usersetting",
                                      "/usersetting/MainPage", "/usersetting/MacroPage",
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
};

VELMORAX_TEST_GUILESS_MAIN(TestUserPaths)
#include "tst_userpaths.moc"
