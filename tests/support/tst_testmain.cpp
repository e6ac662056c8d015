// The test main's check for lost connections: it must recognise the
// warnings Qt really prints when a connection or queued call fails, and
// nothing else.
#include "support/testmain.h"

#include <QObject>
#include <QThread>

class TestMain : public QObject
{
    Q_OBJECT

private slots:
    void recognisesQtsOwnWarnings_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("lost");
        QTest::newRow("no such signal")
            << "QObject::connect: No such signal PostMsg::SigNone(int) in shell/dialogmain.cpp:80" << true;
        QTest::newRow("no such slot") << "QObject::connect: No such slot Dialog::SlotNone(int)" << true;
        QTest::newRow("queued record") << "QObject::connect: Cannot queue arguments of type 'FlashDataMap'\n"
                                          "(Make sure 'FlashDataMap' is registered using qRegisterMetaType().)"
                                       << true;
        QTest::newRow("blocking call on its own thread")
            << "Qt: Dead lock detected while activating a BlockingQueuedConnection: Sender is PostMsg(0x1), "
               "receiver is Sensor(0x2)"
            << true;
        QTest::newRow("invoke") << "QMetaObject::invokeMethod: No such method Dispatcher::drainAll()" << true;
        QTest::newRow("null sender") << "QObject::connect(QTimer, Unknown): invalid nullptr parameter" << true;
        QTest::newRow("ordinary warning") << "QStandardPaths: XDG_RUNTIME_DIR not set" << false;
        QTest::newRow("font warning") << "QFont::setPointSizeF: Point size <= 0 (0.000000)" << false;
    }
    void recognisesQtsOwnWarnings()
    {
        QFETCH(QString, message);
        QFETCH(bool, lost);
        QCOMPARE(velmoraxtest::isConnectionWarning(message), lost);
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestMain)
#include "tst_testmain.moc"
