#include "support/testmain.h"

// Whole-file replacement: a disk that fills up mid-write, leftovers of a
// killed write, and the one console notice about an unwritable folder.

#include "platform/atomicfile.h"
#include "platform/registry.h"
#include "platform/userpaths.h"
#include "support/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList messages;
void collect(QtMsgType, const QMessageLogContext &, const QString &text)
{
    messages << text;
}

} // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    // First: the notice is given once per process, and the later cases fail
    // writes too.
    void anUnwritableFolderIsReportedOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("cache.bin");
        QVERIFY(atomicfile::write(path, "old"));
        messages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collect);
        {
            FileSizeLimit full(1);
            atomicfile::write(path, QByteArray(100, 'x'));
            atomicfile::write(dir.filePath("other.bin"), QByteArray(100, 'x'));
        }
        qInstallMessageHandler(previous);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(QDir::toNativeSeparators(dir.path())), qPrintable(messages.first()));
        QVERIFY(messages.first().contains("full or read-only"));
        QCOMPARE(contents(path), QByteArray("old"));
    }

    void fullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("size");
        // A small file sits in the write buffer and fails only when flushed;
        // a large one fails while it is written.
        QTest::newRow("buffered") << 3000;
        QTest::newRow("larger than the buffer") << 200 * 1024;
    }

    void fullDiskKeepsTheOldFile()
    {
        QFETCH(int, size);
        QTemporaryDir dir;
        const QString path = dir.filePath("store.bin");
        QVERIFY(atomicfile::write(path, QByteArray(500, 'a')));

        QString error;
        bool written = true;
        {
            FileSizeLimit full(1000);
            QVERIFY(full.active());
            written = atomicfile::write(path, QByteArray(size, 'b'), &error);
        }
        QVERIFY(!written);
        QVERIFY(!error.isEmpty());
        QCOMPARE(contents(path), QByteArray(500, 'a'));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"store.bin"});

        // Space again: the next write goes through.
        QVERIFY(atomicfile::write(path, QByteArray(size, 'c')));
        QCOMPARE(contents(path), QByteArray(size, 'c'));
    }

    void registryKeepsItsValuesOnAFullDisk()
    {
        QFile::remove(registry::filePath());
        QVERIFY(registry::setValue(registry::kDriveTestKey, "MouseVer0A01", "v1.05"));
        QVERIFY(registry::setValue(registry::kProgramKey, "Language", "2"));
        const QByteArray before = contents(registry::filePath());
        bool written = true;
        {
            FileSizeLimit full(16);
            written = registry::setValue(registry::kProgramKey, "AutoStart", "1");
        }
        QVERIFY(!written);
        QCOMPARE(contents(registry::filePath()), before);
        QCOMPARE(registry::value(registry::kDriveTestKey, "MouseVer0A01"), QStringLiteral("v1.05"));
        QCOMPARE(registry::value(registry::kProgramKey, "Language"), QStringLiteral("2"));
    }

    void leftoversOfAKilledWriteAreRemoved()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("registry.ini");
        const QDateTime old = QDateTime::currentDateTime().addSecs(-60);
        const auto make = [&](const QString &name, bool backdate) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("partial");
            f.flush();
            if (backdate)
                QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
        };
        make("registry.ini.aBcD12", true);  // killed before its rename
        make("registry.ini.Zq9xWv", false); // may be another process's write under way
        make("registry.ini.bak", true);     // not ours: not six characters
        make("registry.ini.AbCdEfG", true); // seven characters
        make("other.ini.aBcD12", true);     // another file's

        QVERIFY(atomicfile::write(path, "[x]\n"));
        QStringList left = QDir(dir.path()).entryList(QDir::Files);
        left.sort();
        QCOMPARE(left, QStringList({"other.ini.aBcD12", "registry.ini", "registry.ini.AbCdEfG", "registry.ini.Zq9xWv",
                                    "registry.ini.bak"}));
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
