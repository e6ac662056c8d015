#include "app/postmsg.h"
#include "support/testmain.h"

#include <QMetaMethod>
#include <QMutex>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

// Slot order across receivers, appended on the GUI thread.
QStringList callLog;

class Receiver : public QObject
{
    Q_OBJECT

public:
    explicit Receiver(const QString &name) : name(name) {}
    QString name;
    QThread *ranOn = nullptr;
    int lastInt = -1;
    FlashDataMap record{};
    DeviceAllInfo device;
    DongleRGB rgb{};

public slots:
    void SlotFormReset()
    {
        ranOn = QThread::currentThread();
        callLog << name;
    }
    void SlotInt(int value)
    {
        ranOn = QThread::currentThread();
        lastInt = value;
    }
    void SlotRecord(FlashDataMap data)
    {
        ranOn = QThread::currentThread();
        record = data;
    }
    void SlotDevice(DeviceAllInfo info) { device = info; }
    void SlotRgb(DongleRGB *value) { rgb = *value; }
};

// Runs fn on a thread of its own, while the GUI thread keeps serving events.
void runOnThread(const std::function<void()> &fn)
{
    std::atomic<bool> done{false};
    std::thread thread([&] {
        fn();
        done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), 10000);
    thread.join();
}

} // namespace

class TestPostMsg : public QObject
{
    Q_OBJECT

private slots:
    void oneHub()
    {
        PostMsg *hub = PostMsg::instance();
        QVERIFY(hub);
        QCOMPARE(PostMsg::instance(), hub);
        QVERIFY(!hub->parent());
    }

    void signalsInTheirOrder()
    {
        const QStringList expected = {"SigChangeMainDialog(int)",
                                      "SigChangeSize(int)",
                                      "SigUpDataConfigUI(int,int,bool)",
                                      "SigUpDataLightUIButton(FlashDataMap)",
                                      "SigUpDataLightLight(FlashDataMap)",
                                      "SigUpDataLightSensor(FlashDataMap)",
                                      "SigUpDataLightUIA(FlashDataMap)",
                                      "SigUpDataSensorUIB(FlashDataMap)",
                                      "SigUpDataButtonUIC(FlashDataMap)",
                                      "SigButtonToMacro(FlashDataMap,int)",
                                      "SigSelectMouseInfo(DeviceAllInfo)",
                                      "SigMouseOffLineo(int)",
                                      "SigMainPageChange()",
                                      "SigSecondPageChange()",
                                      "SigUpPageLight()",
                                      "SigAddMacroButton()",
                                      "SigDeleteMacroButton(QString)",
                                      "SigMacroDownLoadData(QString,int)",
                                      "SigUpDataMacro(QString,int)",
                                      "SigUpDataParam(int)",
                                      "SigUpDataReportRate(int)",
                                      "SigUpDataDPI(int)",
                                      "SigUpDataDPILed(FlashDataMap)",
                                      "SigTimerStop()",
                                      "SigButtonEnable(int)",
                                      "SigLabelText(int,QString)",
                                      "SigLabelTextB(QString,QString)",
                                      "SigCloseUpdate()",
                                      "SigProgress(int,int)",
                                      "SigBattery(bool,int,bool)",
                                      "SigAutoRepair(int)",
                                      "SigAutoRepairProgress(int)",
                                      "SigChangeLanguage(int)",
                                      "SigLanguageSameA(int)",
                                      "SigLanguageSameB(int)",
                                      "SigCloseOffOnline()",
                                      "SigSetMacroPage()",
                                      "SigStartRecord(int)",
                                      "SigUpDateButton(bool)",
                                      "SigMacroRename(QString,QString)",
                                      "SigSetver(int)",
                                      "SigCloseProgress()",
                                      "SigRGBValue(DongleRGB*)",
                                      "SigLongRangeMode(bool)",
                                      "SigForm()",
                                      "SigFormB()",
                                      "SigEnterKey()",
                                      "SigFormReset()",
                                      "SigHideModel(int)",
                                      "SigContinue(int)",
                                      "SigMouseIndex(int)",
                                      "SigUpdateStart()",
                                      "SigCheckUpdate()",
                                      "SigRepairCheckUpdate()",
                                      "SigSetNewVer()",
                                      "SigLightToFrom(int)",
                                      "SigButtonCheck()",
                                      "SigAllLanguage(int)",
                                      "SigUpdateFrame(bool)",
                                      "SigAddSensor(int)",
                                      "SigAddReport(int)",
                                      "SigAddLOD(QString)",
                                      "SigDebunce(QString)",
                                      "SigAddConfig(QString)",
                                      "SigAddVer(int,QString)",
                                      "SigAddUpdate(int,bool)",
                                      "Sig20KOpen(bool)",
                                      "SigtVis(int)",
                                      "SigIsUsb(bool,bool)"};
        QCOMPARE(expected.size(), 69);
        const QMetaObject &meta = PostMsg::staticMetaObject;
        QCOMPARE(meta.methodCount() - meta.methodOffset(), 69); // signals only, no slots
        for (int i = 0; i < 69; ++i) {
            const QMetaMethod method = meta.method(meta.methodOffset() + i);
            QCOMPARE(QString::fromLatin1(method.methodSignature()), expected.at(i));
            QCOMPARE(method.methodType(), QMetaMethod::Signal);
        }
    }

    void emissionBeforeConnectingIsLost()
    {
        Receiver r("r");
        emit PostMsg::instance()->SigHideModel(4);
        QVERIFY(connect(PostMsg::instance(), SIGNAL(SigHideModel(int)), &r, SLOT(SlotInt(int))));
        QCoreApplication::processEvents();
        QCOMPARE(r.lastInt, -1);
        emit PostMsg::instance()->SigHideModel(5);
        QCOMPARE(r.lastInt, 5);
    }

    void autoConnectionQueuesToTheGuiThread()
    {
        Receiver r("r");
        QVERIFY(connect(PostMsg::instance(), SIGNAL(SigUpDataParam(int)), &r, SLOT(SlotInt(int))));
        runOnThread([] { emit PostMsg::instance()->SigUpDataParam(1); });
        QTRY_COMPARE(r.lastInt, 1);
        QCOMPARE(r.ranOn, QThread::currentThread());
    }

    void blockingQueuedRunsEveryReceiverInOrderBeforeReturning()
    {
        callLog.clear();
        const QStringList order = {"Advanced", "Buttoninterface", "LampLight", "Sensor", "FormSetting"};
        QList<Receiver *> receivers;
        for (const QString &name : order) {
            receivers << new Receiver(name);
            QVERIFY(connect(PostMsg::instance(), SIGNAL(SigFormReset()), receivers.last(), SLOT(SlotFormReset()),
                            Qt::BlockingQueuedConnection));
        }
        QStringList seenAfterEmit;
        runOnThread([&] {
            emit PostMsg::instance()->SigFormReset();
            // The GUI thread is spinning in QTRY; reading the log here is
            // ordered by the blocking hand-over.
            seenAfterEmit = callLog;
        });
        QCOMPARE(seenAfterEmit, order);
        for (Receiver *r : receivers) {
            QCOMPARE(r->ranOn, QThread::currentThread());
            delete r;
        }
    }

    void recordsTravelByBlockingQueuedConnections()
    {
        Receiver r("r");
        QVERIFY(connect(PostMsg::instance(), SIGNAL(SigUpDataLightSensor(FlashDataMap)), &r,
                        SLOT(SlotRecord(FlashDataMap)), Qt::BlockingQueuedConnection));
        QVERIFY(connect(PostMsg::instance(), SIGNAL(SigRGBValue(DongleRGB *)), &r, SLOT(SlotRgb(DongleRGB *)),
                        Qt::BlockingQueuedConnection));
        runOnThread([] {
            FlashDataMap record;
            unsigned char *bytes = reinterpret_cast<unsigned char *>(&record);
            for (size_t i = 0; i < sizeof record; ++i)
                bytes[i] = static_cast<unsigned char>(i * 7 + 3);
            emit PostMsg::instance()->SigUpDataLightSensor(record);
            DongleRGB rgb;
            std::memset(&rgb, 0, sizeof rgb);
            reinterpret_cast<unsigned char *>(&rgb)[0] = 2;
            reinterpret_cast<unsigned char *>(&rgb)[9] = 0xAB;
            emit PostMsg::instance()->SigRGBValue(&rgb);
        });
        QCOMPARE(r.ranOn, QThread::currentThread());
        const unsigned char *got = reinterpret_cast<const unsigned char *>(&r.record);
        for (size_t i = 0; i < sizeof r.record; ++i)
            QCOMPARE(got[i], static_cast<unsigned char>(i * 7 + 3));
        QCOMPARE(reinterpret_cast<const unsigned char *>(&r.rgb)[0], 2);
        QCOMPARE(reinterpret_cast<const unsigned char *>(&r.rgb)[9], 0xAB);
    }

    void deviceInfoTravelsDirectly()
    {
        Receiver r("r");
        QVERIFY(connect(PostMsg::instance(), SIGNAL(SigSelectMouseInfo(DeviceAllInfo)), &r,
                        SLOT(SlotDevice(DeviceAllInfo))));
        DeviceAllInfo info;
        QCOMPARE(info.vid, QStringLiteral("0"));
        QCOMPARE(info.pid, QStringLiteral("0"));
        QVERIFY(info.path.isEmpty() && !info.online && !info.wired && info.receiverId.isEmpty());
        info.path = QStringLiteral("/dev/hidraw3");
        info.id = 0x0A05;
        info.linkCode = 4;
        info.receiverId = QByteArray("\x01\x02\x03", 3);
        emit PostMsg::instance()->SigSelectMouseInfo(info);
        QCOMPARE(r.device.path, info.path);
        QCOMPARE(r.device.id, quint16(0x0A05));
        QCOMPARE(r.device.linkCode, quint8(4));
        QCOMPARE(r.device.receiverId, info.receiverId);
    }
};

VELMORAX_TEST_MAIN(TestPostMsg)
#include "tst_postmsg.moc"
