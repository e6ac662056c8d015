// The simulated devices' thread ends when the application object goes: that
// thread writes flash files through Qt, and left running while the process
// ended it met Qt's own clean-up and crashed now and then.

#include "platform/hidusb/hidusb.h"
#include "platform/hidusb/simcontrol.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

int threadCount()
{
    return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
}

} // namespace

class HidusbExitTest : public QObject
{
    Q_OBJECT

private slots:
    void transportEndsWithTheApplication();
};

void HidusbExitTest::transportEndsWithTheApplication()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    qputenv("VELMORAX_DEVICES", QByteArray());

    int argc = 1;
    char name[] = "tst_hidusb_exit";
    char *argv[] = {name, nullptr};
    int bare = 0;
    int started = 0;
    {
        QCoreApplication app(argc, argv);
        bare = threadCount();
        QVERIFY(hidusb::sim::deviceIds().contains(QStringLiteral("mouse")));
        started = threadCount() - bare;
        // The library's three threads and the devices' one.
        QCOMPARE(started, 4);
        QVERIFY(hidusb::sim::pressSlotButton(QStringLiteral("mouse")));
    }
    // Only the devices' thread ends; the library's own threads wait on
    // their queues, where a report handler may still be waiting for the
    // GUI thread.
    // A joined thread may stay listed for a moment while the kernel lets
    // it go.
    QElapsedTimer waited;
    waited.start();
    const int expected = bare + started - 1;
    while (threadCount() != expected && waited.elapsed() < 2000)
        QThread::msleep(2);
    QCOMPARE(threadCount(), expected);
}

QTEST_APPLESS_MAIN(HidusbExitTest)
#include "tst_hidusb_exit.moc"
