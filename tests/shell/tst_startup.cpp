#include "app/look.h"
#include "app/singleinstance.h"
#include "shell/startup.h"
#include "support/filetouch.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Child mode: take the lock, report, then wait to be killed or end on its own.
int holdLock(const QString &path, const QByteArray &how)
{
    if (how == "readonly" && geteuid() == 0) {
        // The folder's missing write permission binds only a plain user.
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            printf("no plain user\n");
            return 2;
        }
    }
    SingleInstance instance(path);
    const bool got = instance.acquire();
    printf("%s\n", got ? "acquired" : "refused");
    fflush(stdout);
    if (how == "crash") {
        // Dies without any clean-up, as in a crash.
        std::raise(SIGKILL);
    }
    if (how == "hold") {
        char line[8];
        if (!fgets(line, sizeof line, stdin)) { /* parent closed the pipe */
        }
    }
    return got ? 0 : 1;
}

QString runChild(QProcess &child, const QString &lock, const char *how)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LOCK_CHILD"), QString::fromLatin1(how));
    env.insert(QStringLiteral("LOCK_PATH"), lock);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    if (!child.waitForStarted(30000) || !child.waitForReadyRead(30000))
        return QString();
    return QString::fromLatin1(child.readLine()).trimmed();
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void purgeAges_data()
    {
        QTest::addColumn<qint64>("ageSecs");
        QTest::addColumn<bool>("removed");
        const qint64 day = 86400;
        QTest::newRow("fresh") << qint64(0) << false;
        QTest::newRow("exactly 7 days") << 7 * day << false;
        QTest::newRow("7 days 23 hours") << 7 * day + 23 * 3600 << false;
        QTest::newRow("7 days 23:59:59") << 8 * day - 1 << false;
        QTest::newRow("8 days") << 8 * day << true;
        QTest::newRow("a year") << 365 * day << true;
        // A clock set back must not wipe the diagnostics.
        QTest::newRow("dated in the future") << -30 * day << false;
        QTest::newRow("one second ahead") << qint64(-1) << false;
    }

    void purgeAges()
    {
        QFETCH(qint64, ageSecs);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        const QDateTime now = QDateTime::currentDateTime().addMSecs(-QDateTime::currentDateTime().time().msec());
        touch(dir.path() + "/file.log", now.addSecs(-ageSecs));
        QCOMPARE(purgeOldFiles(dir.path(), now), removed ? 1 : 0);
        QCOMPARE(QFile::exists(dir.path() + "/file.log"), !removed);
    }

    void purgeLeavesFoldersAndTakesEveryOldFile()
    {
        QTemporaryDir dir;
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime old = now.addDays(-20);
        for (int i = 0; i < 5; ++i)
            touch(dir.path() + QStringLiteral("/old%1.dmp").arg(i), old);
        touch(dir.path() + "/UpDateLog.txt", old);
        touch(dir.path() + "/new.dmp", now);
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        touch(dir.path() + "/sub/old-inside.dmp", old);

        QCOMPARE(purgeOldFiles(dir.path(), now), 6);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"new.dmp"});
        QVERIFY(QFile::exists(dir.path() + "/sub/old-inside.dmp"));
        QCOMPARE(purgeOldFiles(dir.path() + "/missing", now), 0);
    }

    void scalePolicySetsTheEnvironment_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("unknown") << 0 << QByteArray();
        QTest::newRow("1920") << 1920 << QByteArray();
        QTest::newRow("2560") << 2560 << QByteArray("1");
        QTest::newRow("3840") << 3840 << QByteArray("2");
    }

    void scalePolicySetsTheEnvironment()
    {
        QFETCH(int, width);
        QFETCH(QByteArray, value);
        qunsetenv("QT_SCALE_FACTOR");
        applyScalePolicy(width);
        QCOMPARE(qgetenv("QT_SCALE_FACTOR"), value);
        qunsetenv("QT_SCALE_FACTOR");
    }

    void fontScaling_data()
    {
        QTest::addColumn<float>("factor");
        QTest::addColumn<qreal>("expected");
        QTest::newRow("144 dpi") << 96.0f / 144.0f << qreal(6);
        QTest::newRow("120 dpi") << 0.8f << qreal(7.2);
        QTest::newRow("96 dpi") << 1.0f << qreal(9);
    }

    void fontScaling()
    {
        QFETCH(float, factor);
        QFETCH(qreal, expected);
        QWidget top;
        QFont nine = top.font();
        nine.setPointSizeF(9);
        top.setFont(nine);
        auto *inherits = new QLabel(&top);       // inherits 9 pt
        auto *grandChild = new QLabel(inherits); // inherits too
        auto *own = new QLabel(&top);
        QFont eleven = own->font();
        eleven.setPointSizeF(11);
        own->setFont(eleven);
        auto *keeps = new QWidget(&top);
        keeps->setObjectName("Receive_2");
        keeps->setFont(eleven);
        auto *insideKeeps = new QLabel(keeps); // inherits 11 pt

        look::scaleFonts(&top, factor);
        const auto near = [](qreal a, qreal b) { return qAbs(a - b) < 0.001; };
        QVERIFY(near(top.font().pointSizeF(), expected));
        // Each widget is scaled once, however deep.
        QVERIFY(near(inherits->font().pointSizeF(), expected));
        QVERIFY(near(grandChild->font().pointSizeF(), expected));
        QVERIFY(qAbs(own->font().pointSizeF() - 11 * factor) < 0.01);
        QCOMPARE(keeps->font().pointSizeF(), qreal(11));
        QVERIFY(qAbs(insideKeeps->font().pointSizeF() - 11 * factor) < 0.01);
    }

    void tooltipFontFollowsTheNamedButton()
    {
        QWidget top;
        auto *button = new QWidget(&top);
        button->setObjectName("NoApear");
        QFont font = button->font();
        font.setPointSizeF(10);
        button->setFont(font);
        look::scaleFonts(&top, 0.5f);
        QCOMPARE(QToolTip::font().pointSizeF(), qreal(5));

        // The dialogs' variant knows no names.
        QWidget other;
        auto *named = new QWidget(&other);
        named->setObjectName("Receive_2");
        named->setFont(font);
        look::scaleChildren(&other, 0.5f);
        QCOMPARE(named->font().pointSizeF(), qreal(5));
        look::scaleFonts(nullptr, 2.0f); // a null widget ends the call
    }

    void secondInstanceIsRefusedWhileTheFirstRuns()
    {
        QTemporaryDir dir;
        const QString lock = dir.path() + "/VELMORAX.lock";
        QProcess first;
        QCOMPARE(runChild(first, lock, "hold"), QStringLiteral("acquired"));

        SingleInstance second(lock);
        QVERIFY(!second.acquire());

        first.closeWriteChannel();
        QVERIFY(first.waitForFinished(30000));
        QVERIFY(second.acquire());
    }

    void lockOfACrashedInstanceIsTakenOver()
    {
        QTemporaryDir dir;
        const QString lock = dir.path() + "/VELMORAX.lock";
        QProcess crashed;
        QCOMPARE(runChild(crashed, lock, "crash"), QStringLiteral("acquired"));
        QVERIFY(crashed.waitForFinished(30000));
        QCOMPARE(crashed.exitStatus(), QProcess::CrashExit);
        QVERIFY(QFile::exists(lock)); // left behind by the crash

        SingleInstance next(lock);
        QVERIFY(next.acquire());
        QProcess after;
        QCOMPARE(runChild(after, lock, "once"), QStringLiteral("refused"));
        QVERIFY(after.waitForFinished(30000));
    }

    // A kill leaves the lock file behind; in a folder that has become
    // read-only it can be neither removed nor replaced. Only a running
    // holder means another instance.
    void readOnlyLockFolder_data()
    {
        QTest::addColumn<bool>("holderRuns");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lock of a killed run") << false << "acquired";
        QTest::newRow("lock of a running instance") << true << "refused";
    }

    void readOnlyLockFolder()
    {
        QFETCH(bool, holderRuns);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString lock = dir.path() + "/VELMORAX.lock";
        QProcess holder;
        QCOMPARE(runChild(holder, lock, holderRuns ? "hold" : "crash"), QStringLiteral("acquired"));
        if (!holderRuns)
            QVERIFY(holder.waitForFinished(30000));
        QVERIFY(QFile::exists(lock));
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);

        QProcess second;
        const QString got = runChild(second, lock, "readonly");
        QVERIFY(second.waitForFinished(30000));
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        QVERIFY(QFile::exists(lock)); // nothing could be removed
        if (holderRuns) {
            holder.closeWriteChannel();
            QVERIFY(holder.waitForFinished(30000));
        }
        QCOMPARE(got, expected);
    }

    void unwritableLockFolderStillStarts()
    {
        SingleInstance instance(QStringLiteral("/proc/velmorax-no-such/VELMORAX.lock"));
        QVERIFY(instance.acquire());
    }
};

int main(int argc, char *argv[])
{
    const QByteArray how = qgetenv("LOCK_CHILD");
    if (!how.isEmpty())
        return holdLock(QString::fromLocal8Bit(qgetenv("LOCK_PATH")), how);
    QApplication app(argc, argv);
    TestStartup test;
    return velmoraxtest::exec(&test, argc, argv);
}
#include "tst_startup.moc"
