#include "platform/crashdump.h"
#include "support/testmain.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace {

// What the child process does, chosen by the environment.
[[noreturn]] void crashChild(const QByteArray &how, const QString &folder)
{
    crashdump::install(folder);
    if (how == "segv") {
        // An unmapped low address: a real fault, past the sanitizers' null
        // checks.
        *reinterpret_cast<volatile int *>(std::uintptr_t(64)) = 1;
    } else if (how == "abort") {
        std::abort();
    } else if (how == "terminate") {
        throw std::runtime_error("unhandled in test");
    } else if (how == "thread") {
        std::thread([] { std::raise(SIGFPE); }).join();
    }
    std::_Exit(3);
}

} // namespace

class TestCrashDump : public QObject
{
    Q_OBJECT

private slots:
    void fileName()
    {
        QCOMPARE(crashdump::fileNameFor(2024, 3, 5, 17, 4, 9), QStringLiteral("2024_03_05_17_04_09.dmp"));
        QCOMPARE(crashdump::fileNameFor(1999, 12, 31, 0, 0, 0), QStringLiteral("1999_12_31_00_00_00.dmp"));
    }

    void childCrashWritesOneReport_data()
    {
        QTest::addColumn<QByteArray>("how");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("signalLine");
        QTest::newRow("bad pointer") << QByteArray("segv") << 128 + SIGSEGV << "signal: 11 (SIGSEGV)";
        QTest::newRow("abort") << QByteArray("abort") << 128 + SIGABRT << "signal: 6 (SIGABRT)";
        QTest::newRow("unhandled exception")
            << QByteArray("terminate") << 128 + SIGABRT << "reason: std::terminate: unhandled in test";
        QTest::newRow("other thread") << QByteArray("thread") << 128 + SIGFPE << "signal: 8 (SIGFPE)";
    }

    void childCrashWritesOneReport()
    {
        QFETCH(QByteArray, how);
        QFETCH(int, exitCode);
        QFETCH(QString, signalLine);

        QTemporaryDir root;
        QVERIFY(root.isValid());
        // The folder does not exist yet: the handler creates it.
        const QString folder = root.path() + QStringLiteral("/Exception");

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CRASH_CHILD"), QString::fromLatin1(how));
        env.insert(QStringLiteral("CRASH_FOLDER"), folder);
        // Sanitizer runtimes must not take the signal first.
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   QStringLiteral("handle_segv=0:handle_abort=0:handle_sigfpe=0:detect_leaks=0"));
        env.insert(QStringLiteral("UBSAN_OPTIONS"), QStringLiteral("handle_segv=0:handle_abort=0:handle_sigfpe=0"));
        child.setProcessEnvironment(env);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForStarted(30000));
        const qint64 pid = child.processId();
        QVERIFY(child.waitForFinished(30000));
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);

        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), exitCode);

        const QStringList dumps = QDir(folder).entryList(QDir::Files);
        QCOMPARE(dumps.size(), 1);
        const QString name = dumps.first();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}_\\d\\d_\\d\\d_\\d\\d_\\d\\d_\\d\\d\\.dmp$"))
                     .match(name)
                     .hasMatch(),
                 qPrintable(name));
        const QDateTime stamp = QDateTime::fromString(name.left(19), QStringLiteral("yyyy_MM_dd_hh_mm_ss"));
        QVERIFY(stamp.isValid());
        QVERIFY2(stamp >= before.addMSecs(-before.time().msec()) && stamp <= after, qPrintable(name));

        QFile file(folder + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString report = QString::fromUtf8(file.readAll());
        QVERIFY2(report.contains(signalLine), qPrintable(report));
        QVERIFY2(QRegularExpression(QStringLiteral("thread: \\d+")).match(report).hasMatch(), qPrintable(report));
        QVERIFY2(report.contains(QStringLiteral("process: %1").arg(pid)), qPrintable(report));
        const int trace = report.indexOf(QStringLiteral("backtrace:\n"));
        QVERIFY(trace > 0);
        QVERIFY2(report.mid(trace).count(QLatin1Char('\n')) >= 3, qPrintable(report));
    }
};

int main(int argc, char *argv[])
{
    const QByteArray how = qgetenv("CRASH_CHILD");
    if (!how.isEmpty())
        crashChild(how, QString::fromLocal8Bit(qgetenv("CRASH_FOLDER")));
    QCoreApplication app(argc, argv);
    TestCrashDump test;
    return velmoraxtest::exec(&test, argc, argv);
}
#include "tst_crashdump.moc"
