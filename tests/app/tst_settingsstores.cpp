#include "app/configini.h"
#include "app/macroini.h"
#include "platform/userpaths.h"
#include "support/filesizelimit.h"
#include "support/testmain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

namespace {
QString b64(const char *text)
{
    return QString::fromLatin1(QByteArray(text).toBase64());
}
} // namespace

class TestSettingsStores : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString writeCatalogue(const QByteArray &content)
    {
        const QString path = dir.path() + QStringLiteral("/Config.ini");
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        file.close();
        return path;
    }

private slots:
    // First, while the catalogue store does not exist yet: the library's
    // threads that ask at the same moment must all get the one store.
    void firstUseFromManyThreadsMakesOneStore()
    {
        std::vector<ConfigIni *> catalogues(8, nullptr);
        std::vector<std::thread> threads;
        std::atomic<bool> go{false};
        for (size_t t = 0; t < catalogues.size(); ++t) {
            threads.emplace_back([&, t] {
                while (!go)
                    std::this_thread::yield();
                catalogues[t] = ConfigIni::instance();
            });
        }
        go = true;
        for (std::thread &thread : threads)
            thread.join();
        for (ConfigIni *store : catalogues)
            QCOMPARE(store, ConfigIni::instance());
        QVERIFY(ConfigIni::instance()->filePath().endsWith(QStringLiteral("/usersetting/Config.ini")));
    }

    void codedValues_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("coded sensor") << "Drive1"
                                      << "Sensor" << b64("3395") << "3395";
        QTest::newRow("MID is plain") << "Drive1"
                                      << "MID" << b64("3395") << b64("3395");
        QTest::newRow("DeviceTotal is plain") << "Option"
                                              << "DeviceTotal"
                                              << "3"
                                              << "3";
        QTest::newRow("space inside decoded text") << "Drive1"
                                                   << "Sensor" << b64("33 95") << "3395";
        QTest::newRow("line break inside decoded text") << "Drive1"
                                                        << "Sensor" << b64("33\n95\n") << "3395";
        QTest::newRow("coded CID in Option") << "Option"
                                             << "CID" << b64("10") << "10";
        QTest::newRow("firmware name") << "Drive2"
                                       << "D4M" << b64("RX4K_A") << "RX4K_A";
        QTest::newRow("UTF-8 text") << "Drive1"
                                    << "MM" << QString::fromLatin1(QString::fromUtf8("鼠标").toUtf8().toBase64())
                                    << QString::fromUtf8("鼠标");
        QTest::newRow("case matters for coded keys") << "Drive1"
                                                     << "sensor" << b64("3395") << b64("3395");
        QTest::newRow("garbage decodes leniently") << "Drive1"
                                                   << "Sensor"
                                                   << "!!!!"
                                                   << "";
    }

    void codedValues()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        const QString path = writeCatalogue(QStringLiteral("[%1]\n%2=%3\n").arg(group, key, stored).toUtf8());
        ConfigIni store(path);
        QCOMPARE(store.value(group, key), expected);
    }

    void lists()
    {
        const QString path = writeCatalogue(QStringLiteral("[Option]\nVID=%1,%2\nLabelColor=200,210,220\n"
                                                           "ButtonColor=1,2\nUSB_PID=%3\n")
                                                .arg(b64("248A"), b64("3554"), b64("5D03"))
                                                .toUtf8());
        ConfigIni store(path);
        QCOMPARE(store.valueList(QStringLiteral("Option"), QStringLiteral("VID")), (QStringList{"248A", "3554"}));
        QCOMPARE(store.valueList(QStringLiteral("Option"), QStringLiteral("USB_PID")), QStringList{"5D03"});
        QCOMPARE(store.valueList(QStringLiteral("Option"), QStringLiteral("LabelColor")),
                 (QStringList{"200", "210", "220"}));
        QCOMPARE(store.valueList(QStringLiteral("Option"), QStringLiteral("Missing")), QStringList());
        QCOMPARE(store.valueListItem(QStringLiteral("Option"), QStringLiteral("VID"), 1), QStringLiteral("3554"));
        QCOMPARE(store.valueListItem(QStringLiteral("Option"), QStringLiteral("VID"), 2, QStringLiteral("-1")),
                 QStringLiteral("-1"));
        QCOMPARE(store.valueListItem(QStringLiteral("Option"), QStringLiteral("VID"), -1, QStringLiteral("x")),
                 QStringLiteral("x"));
    }

    void absentCatalogueIsEmpty()
    {
        ConfigIni store(dir.path() + QStringLiteral("/does-not-exist.ini"));
        QCOMPARE(store.value(QStringLiteral("Option"), QStringLiteral("CID")), QString());
        QCOMPARE(store.value(QStringLiteral("Option"), QStringLiteral("CID")).toInt(), 0);
        QCOMPARE(store.value(QStringLiteral("Option"), QStringLiteral("DeviceTotal")), QString());
        QVERIFY(store.valueList(QStringLiteral("Option"), QStringLiteral("VID")).isEmpty());
    }

    void concurrentReadersSeeTheSameValues()
    {
        const QString path = writeCatalogue(
            QStringLiteral("[Option]\nCID=%1\nVID=%2,%3\n").arg(b64("10"), b64("248A"), b64("3554")).toUtf8());
        ConfigIni store(path);
        QAtomicInt wrong = 0;
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < 200; ++i) {
                    if (store.value("Option", "CID") != QLatin1String("10")
                        || store.valueList("Option", "VID").size() != 2)
                        wrong.fetchAndAddRelaxed(1);
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(int(wrong), 0);
    }

    void userSettingsSurviveARestart()
    {
        const QString path = dir.path() + QStringLiteral("/Macro.ini");
        {
            MacroIni store(path);
            QCOMPARE(store.value(QStringLiteral("Language"), QStringLiteral("Language")), QString());
            store.setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("2"));
            store.setValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"), QStringLiteral("true"));
        }
        // A fresh store over the same file, as after a restart.
        MacroIni again(path);
        QCOMPARE(again.value(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("2"));
        QCOMPARE(again.value(QStringLiteral("AutoStart"), QStringLiteral("Enable")), QStringLiteral("true"));
        QCOMPARE(again.value(QStringLiteral("FindNew"), QStringLiteral("IsShow")), QString());
    }

    void userSettingsAreWrittenAtOnce()
    {
        const QString path = dir.path() + QStringLiteral("/Now.ini");
        MacroIni store(path);
        store.setValue(QStringLiteral("FindNew"), QStringLiteral("IsShow"), QStringLiteral("1"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("IsShow=1"));
    }

    // The file stays readable by QSettings, whatever the texts hold.
    void userSettingsKeepAnyText_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "Device"
                               << "Last"
                               << "2";
        QTest::newRow("plain with blanks") << "Device"
                                           << "Name"
                                           << "Mouse 1.0 / x+y:z";
        QTest::newRow("empty") << "FindNew"
                               << "IsShow"
                               << "";
        QTest::newRow("commas stay one text") << "Recent"
                                              << "File"
                                              << "a,b, c";
        QTest::newRow("blanks at the ends") << "Name"
                                            << "Last"
                                            << "  padded  ";
        QTest::newRow("quotes and backslashes") << "Path"
                                                << "Dir"
                                                << "C:\\x\\\"y\"";
        QTest::newRow("line breaks and tab") << "Note"
                                             << "Text"
                                             << "one\ntwo\r\tthree";
        QTest::newRow("typed-value marker") << "Note"
                                            << "At"
                                            << "@Variant(abc)";
        QTest::newRow("comment and group marks") << "Note"
                                                 << "Marks"
                                                 << ";[x]=y #z";
        QTest::newRow("UTF-8") << "Note"
                               << "Name" << QString::fromUtf8("鼠标 Мышь");
        QTest::newRow("odd names") << "My Group;[1]"
                                   << "key=%\u00e9"
                                   << "v";
        QTest::newRow("group General") << "General"
                                       << "Key"
                                       << "g";
    }

    void userSettingsKeepAnyText()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Macro.ini");
        {
            MacroIni store(path);
            QVERIFY(store.setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("1")));
            QVERIFY(store.setValue(group, key, text));
        }
        MacroIni again(path);
        QCOMPARE(again.value(group, key), text);
        QCOMPARE(again.value(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("1"));
        QSettings plain(path, QSettings::IniFormat);
        plain.setIniCodec("UTF-8");
        QCOMPARE(plain.value(group + QLatin1Char('/') + key).toString(), text);
        QCOMPARE(plain.allKeys().size(), 2);
    }

    // A full disk: the file keeps what was stored before, whole; the new
    // value holds for the rest of the run and is written once there is room.
    void userSettingsSurviveAFullDisk()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Macro.ini");
        MacroIni store(path);
        QVERIFY(store.setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("2")));
        QVERIFY(store.setValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"), QStringLiteral("true")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        bool written = true;
        {
            FileSizeLimit full(8);
            QVERIFY(full.active());
            written = store.setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("1"));
        }
        QVERIFY(!written);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Macro.ini"});
        QCOMPARE(store.value(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("1"));
        QCOMPARE(MacroIni(path).value(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("2"));

        QVERIFY(store.setValue(QStringLiteral("FindNew"), QStringLiteral("IsShow"), QStringLiteral("0")));
        MacroIni again(path);
        QCOMPARE(again.value(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("1"));
        QCOMPARE(again.value(QStringLiteral("AutoStart"), QStringLiteral("Enable")), QStringLiteral("true"));
    }

    // A lock file left by a killed run, cut short or whole, must not hold
    // the GUI thread while the store writes.
    void aLeftOverLockDoesNotHoldTheWriter_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::newRow("cut short") << QByteArray("12");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("of a process that is gone") << QByteArray("999999999\nvelmorax\nhost\n");
    }

    void aLeftOverLockDoesNotHoldTheWriter()
    {
        QFETCH(QByteArray, lock);
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Macro.ini");
        QFile stale(path + QStringLiteral(".lock"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(lock);
        stale.close();
        MacroIni store(path);
        QElapsedTimer timer;
        timer.start();
        store.setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("1"));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(MacroIni(path).value(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("1"));
    }

    void storedLanguage_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("missing") << QString() << 0;
        QTest::newRow("English") << "0" << 0;
        QTest::newRow("Chinese") << "1" << 1;
        QTest::newRow("Russian") << "2" << 2;
        QTest::newRow("past the languages") << "3" << 0;
        QTest::newRow("negative") << "-1" << 0;
        QTest::newRow("not a number") << "ru" << 0;
    }

    void storedLanguage()
    {
        QFETCH(QString, stored);
        QFETCH(int, index);
        MacroIni *store = MacroIni::instance();
        QCOMPARE(store->filePath(), userDataRoot() + QStringLiteral("/Macro.ini"));
        store->setValue(QStringLiteral("Language"), QStringLiteral("Language"), stored);
        QCOMPARE(storedLanguageIndex(), index);
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestSettingsStores)
#include "tst_settingsstores.moc"
