// The road of one device through the whole program, against the simulated
// mouse: list, choose, wait notice, device page; unplug back to the list,
// plug in again, and a cabled mouse taking over from its receiver.

#include "app/look.h"
#include "support/pagefixture.h"
#include "support/testmain.h"

#include "device/discovery.h"
#include "pages/device/dialog.h"
#include "pages/settings/updataparam.h"
#include "shell/dialogmain.h"

#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

using namespace pagetest;

class DeviceRoadTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void chooseOpensDevicePage();
    void unplugReturnsToListAndPlugListsAgain();
    void cableTakesOverFromReceiver();

private:
    QWidget *currentPage() const { return stack->currentWidget(); }
    void chooseFirstDevice();

    DialogMain *window = nullptr;
    QStackedWidget *stack = nullptr;
    Dialog *devicePage = nullptr;
};

void DeviceRoadTest::initTestCase()
{
    hidusb::sim::loadDefaultScenario();
    window = new DialogMain(nullptr);
    window->show();
    stack = window->findChild<QStackedWidget *>(QStringLiteral("stackedWidgetMain"));
    QVERIFY(stack);
    // The device page is built when the first device is chosen, after the
    // device was attached and listed.
    QVERIFY(!window->findChild<Dialog *>());
}

void DeviceRoadTest::cleanupTestCase()
{
    StopUsbChanged();
    UsbServer_Exit();
}

void DeviceRoadTest::chooseFirstDevice()
{
    QTRY_VERIFY_WITH_TIMEOUT(window->findChild<QToolButton *>(QStringLiteral("btn0")) != nullptr, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(listedDevices.size(), 1, 5000);
    window->findChild<QToolButton *>(QStringLiteral("btn0"))->click();
}

void DeviceRoadTest::chooseOpensDevicePage()
{
    bool noticeShown = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (Dialog *page = window->devicePageIfBuilt())
            noticeShown = noticeShown || page->waitNotice()->isVisible();
    });
    watch.start(50);
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);

    chooseFirstDevice();
    devicePage = window->devicePageIfBuilt();
    QVERIFY(devicePage);
    UpDataParam *notice = devicePage->waitNotice();
    QCOMPARE(currentPage(), static_cast<QWidget *>(devicePage));
    // The notice opens, waits for the refills and closes by itself.
    QTRY_VERIFY_WITH_TIMEOUT(noticeShown, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!notice->isVisible(), 15000);
    QCOMPARE(offline.count(), 0);
    QCOMPARE(currentPage(), static_cast<QWidget *>(devicePage));

    // Battery, connection and summary came from the mouse.
    QTRY_VERIFY_WITH_TIMEOUT(
        devicePage->findChild<QLabel *>(QStringLiteral("label_2"))->text() != QLatin1String("100%"), 5000);
    QVERIFY(look::sheetOf(devicePage->findChild<QLabel *>(QStringLiteral("label_4")))
                .contains(QStringLiteral("OnLineWifi.png")));
    QVERIFY(devicePage->findChild<QLabel *>(QStringLiteral("ReportValue"))->text().endsWith(QLatin1String("Hz")));
    QVERIFY(!devicePage->findChild<QLabel *>(QStringLiteral("DongleValue"))->text().isEmpty());
    QVERIFY(currentFlashDataIsOpenDevice());
}

void DeviceRoadTest::unplugReturnsToListAndPlugListsAgain()
{
    QCOMPARE(currentPage(), static_cast<QWidget *>(devicePage));
    QVERIFY(hidusb::sim::unplug(QStringLiteral("receiver")));
    QTRY_VERIFY_WITH_TIMEOUT(currentPage() != static_cast<QWidget *>(devicePage), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(listedDevices.size(), 0, 5000);
    QVERIFY(hidusb::sim::plug(QStringLiteral("receiver")));
    QTRY_COMPARE_WITH_TIMEOUT(listedDevices.size(), 1, 5000);
    QCOMPARE(currentPage(), stack->widget(0));
}

void DeviceRoadTest::cableTakesOverFromReceiver()
{
    chooseFirstDevice();
    QTRY_VERIFY_WITH_TIMEOUT(!devicePage->waitNotice()->isVisible() && currentFlashDataIsOpenDevice(), 15000);
    const QString receiverPath = hidusb::sim::pathOf(QStringLiteral("receiver"));
    QCOMPARE(currentDevice.get().path, receiverPath);

    QVERIFY(hidusb::sim::plug(QStringLiteral("mouse")));
    const QString cablePath = hidusb::sim::pathOf(QStringLiteral("mouse"));
    QTRY_COMPARE_WITH_TIMEOUT(currentDevice.get().path, cablePath, 5000);
    QVERIFY(currentDevice.get().wired);
    QCOMPARE(QString::fromLatin1(currentDevicePath.c_str()), cablePath);
    // Still the device page; the cable shows as the connection once the
    // cabled mouse has sent its configuration.
    QTRY_VERIFY_WITH_TIMEOUT(!devicePage->waitNotice()->isVisible(), 15000);
    QCOMPARE(currentPage(), static_cast<QWidget *>(devicePage));
    QTRY_VERIFY_WITH_TIMEOUT(look::sheetOf(devicePage->findChild<QLabel *>(QStringLiteral("label_4")))
                                 .contains(QStringLiteral("OnLineUsb.png")),
                             10000);
}

VELMORAX_TEST_MAIN(DeviceRoadTest)
#include "tst_deviceroad.moc"
