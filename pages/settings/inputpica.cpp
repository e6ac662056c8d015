#include "pages/settings/inputpica.h"
#include "ui_inputpica.h"

#include "app/delays.h"
#include "app/postmsg.h"
#include "device/linkcontrols.h"
#include "device/screensync.h"
#include "pages/settings/screeninfolook.h"

#include <QDateTime>
#include <QDebug>
#include <QTimer>

void MyThread::run()
{
    qDebug() << "Thread is running";
}

InputPicA::InputPicA(QWidget *parent) : QDialog(parent), packetSize(kScreenPacketSize), ui(new Ui::InputPicA)
{
    ui->setupUi(this);
    syncTimer = new QTimer(this);
    connect(syncTimer, &QTimer::timeout, this, &InputPicA::onEraseChipTimeTimer);
    syncTimer->setInterval(delays::ms(delays::Delay::ScreenSyncTick));

    pictureGroup = setUpScreenInfo(this, ui.get());
}

InputPicA::~InputPicA() = default;

void InputPicA::startScreenSync(bool start)
{
    if (!start)
        return;
    syncPaused = false;
    syncTicks = 0;
    syncTimer->start();
    watchDevices(DeviceWatch::Screen);
}

void InputPicA::onEraseChipTimeTimer()
{
    if (syncPaused) {
        syncTicks = 0;
        return;
    }
    if (++syncTicks < kTicksPerPacket)
        return;
    syncTicks = 0;

    const QStringList devices = screenDevices();
    if (devices.isEmpty())
        return;
    const QByteArray path = devices.first().toLatin1();
    if (!openScreenDevice(path))
        return;
    ScreenPacket packet = screenTimePacket(QDateTime::currentDateTime());
    // A packet without an echo is dropped: the next one carries the new time.
    sendWithRetry(packet, nullptr);
}

void InputPicA::SlotAllLanguage(int) {}

void InputPicA::on_Input_clicked() {}

void InputPicA::on_CloseButton_clicked()
{
    emit PostMsg::instance()->SigButtonCheck();
    close();
}
