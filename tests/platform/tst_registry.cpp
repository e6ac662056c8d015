#include "platform/registry.h"
#include "platform/userpaths.h"
#include "support/testmain.h"
#include <thread>
#include <vector>

#include <QDir>
#include <QFile>
#include <QtTest>

#include <thread>
#include <vector>

class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(registry::filePath()); }

    void fileLivesInTheUsersConfigFolder()
    {
        QCOMPARE(registry::filePath(), userConfigRoot() + QStringLiteral("/registry.ini"));
        QVERIFY(registry::setValue(registry::kDriveTestKey, QStringLiteral("MouseVer0A01"), QStringLiteral("v1.05")));
        QVERIFY(QFile::exists(registry::filePath()));
        // Nothing named after a registry path appears in the working folder.
        const QStringList stray = QDir::current().entryList({QStringLiteral("*HKEY*")}, QDir::AllEntries);
        QVERIFY2(stray.isEmpty(), qPrintable(stray.join(',')));
        QFile file(registry::filePath());
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains(QStringLiteral("[HKEY_CURRENT_USER\\Software\\VELMORAX\\VELMORAX\\Mouse Drive Test]")));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "UpdateFailInfo"
                               << "receiver";
        QTest::newRow("empty value") << "UpdateFailInfo"
                                     << "";
        QTest::newRow("line breaks") << "Info"
                                     << "a\nb\r\nc";
        QTest::newRow("backslashes") << "Path"
                                     << "C:\\bin\\x\\";
        QTest::newRow("equals in name and value") << "a=b"
                                                  << "=c=";
        QTest::newRow("unicode") << "Text" << QString::fromUtf8("鼠标 мышь");
    }

    void roundTrip()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QVERIFY(registry::setValue(registry::kDriveTestKey, name, value));
        QVERIFY(registry::contains(registry::kDriveTestKey, name));
        QCOMPARE(registry::value(registry::kDriveTestKey, name, QStringLiteral("missing")), value);
        // Another key path does not see it.
        QVERIFY(!registry::contains(registry::kProgramKey, name));
    }

    // A name read back as a group header or a comment would lose its value
    // and move the names written after it into another group.
    void namesLikeHeadersOrCommentsKeepTheirGroup_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("comment") << ";note"
                                 << "1";
        QTest::newRow("header") << "[HKEY_CURRENT_USER\\Other]"
                                << "]";
        QTest::newRow("half a header") << "[x"
                                       << "y]";
        QTest::newRow("escaped-looking") << "\\[x"
                                         << "z";
    }

    void namesLikeHeadersOrCommentsKeepTheirGroup()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QVERIFY(registry::setValue(registry::kDriveTestKey, name, value));
        QVERIFY(registry::setValue(registry::kDriveTestKey, QStringLiteral("zLater"), QStringLiteral("after")));
        QVERIFY(registry::setValue(registry::kProgramKey, QStringLiteral("Own"), QStringLiteral("kept")));
        QCOMPARE(registry::value(registry::kDriveTestKey, name, QStringLiteral("lost")), value);
        QCOMPARE(registry::value(registry::kDriveTestKey, QStringLiteral("zLater"), QStringLiteral("lost")),
                 QStringLiteral("after"));
        QCOMPARE(registry::value(registry::kProgramKey, QStringLiteral("Own"), QStringLiteral("lost")),
                 QStringLiteral("kept"));
        QVERIFY(!registry::contains(registry::kProgramKey, QStringLiteral("zLater")));
    }

    void missingValuesAndRemoval()
    {
        QCOMPARE(registry::value(registry::kProgramKey, QStringLiteral("LanguageIndex")), QString());
        QCOMPARE(registry::value(registry::kProgramKey, QStringLiteral("LanguageIndex"), QStringLiteral("0")),
                 QStringLiteral("0"));
        QVERIFY(registry::remove(registry::kProgramKey, QStringLiteral("LanguageIndex"))); // nothing there

        registry::setValue(registry::kProgramKey, QStringLiteral("LanguageIndex"), QStringLiteral("2"));
        registry::setValue(registry::kDriveTestKey, QStringLiteral("LanguageIndex"), QStringLiteral("keep"));
        QVERIFY(registry::remove(registry::kProgramKey, QStringLiteral("LanguageIndex")));
        QVERIFY(!registry::contains(registry::kProgramKey, QStringLiteral("LanguageIndex")));
        QCOMPARE(registry::value(registry::kDriveTestKey, QStringLiteral("LanguageIndex")), QStringLiteral("keep"));
    }

    void damagedFileReadsAsEmptyAndIsRepaired()
    {
        QDir().mkpath(userConfigRoot());
        QFile file(registry::filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("garbage without sections\n=novalue\n[unterminated\nx=y\n\0\xff\xfe", 48);
        file.close();
        QVERIFY(!registry::contains(registry::kProgramKey, QStringLiteral("x")));
        QVERIFY(registry::setValue(registry::kProgramKey, QStringLiteral("x"), QStringLiteral("1")));
        QCOMPARE(registry::value(registry::kProgramKey, QStringLiteral("x")), QStringLiteral("1"));
    }

    void concurrentWritersLoseNothing()
    {
        // Report threads and the GUI thread may write at the same time.
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([t] {
                for (int i = 0; i < 25; ++i)
                    registry::setValue(registry::kDriveTestKey, QStringLiteral("T%1_%2").arg(t).arg(i),
                                       QString::number(i));
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        for (int t = 0; t < 4; ++t)
            for (int i = 0; i < 25; ++i)
                QCOMPARE(registry::value(registry::kDriveTestKey, QStringLiteral("T%1_%2").arg(t).arg(i)),
                         QString::number(i));
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
