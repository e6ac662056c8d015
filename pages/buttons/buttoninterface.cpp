#include "pages/buttons/buttoninterface.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/pagelink.h"
#include "device/worker.h"
#include "ui_buttoninterface.h"
#include "pages/hubconnections.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

Buttoninterface::Buttoninterface(QWidget *parent)
    : QWidget(parent), ui(new Ui::Buttoninterface),
      pictureDir(look::pictureDir(QStringLiteral("Buttoninterface")))
{
    ui->setupUi(this);

    PostMsg *hub = PostMsg::instance();
    connectBlockingHub(this);
    connect(hub, &PostMsg::SigUpDataButtonUIC, this, &Buttoninterface::SlotUpDataButtonUIB);
    connect(hub, &PostMsg::SigMouseIndex, this, &Buttoninterface::SlotMouseIndex);

    // The worker has no parent; this page releases it.
    workerOwner = std::make_unique<WorkerOwner>();
}

Buttoninterface::~Buttoninterface()
{
    // No hub call reaches this page any more, including calls already posted:
    // dropping a posted blocking call releases the thread that waits for it.
    PostMsg::instance()->disconnect(this);
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);

    workerOwner.reset();
    StopUsbChanged();
    delete ui;
}

void Buttoninterface::refillFrom(const FlashDataMap &record)
{
    // Sleep time in seconds for the settings page's light-off choice.
    emit PostMsg::instance()->SigLightToFrom(recordBytes(record)[8] * 10);
}

void Buttoninterface::SlotUpDataButtonUIButton(FlashDataMap DataMap)
{
    PageRefill refill(PageRefill::ButtonPage, PageRefill::WhenDone);
    refillFrom(DataMap);
}

void Buttoninterface::SlotUpDataButtonUIB(FlashDataMap DataMap)
{
    PageRefill refill(PageRefill::ButtonPage);
    refillFrom(DataMap);
}

void Buttoninterface::SlotFormResetButton()
{
    PageRefill refill(PageRefill::ButtonPage);
}

void Buttoninterface::SlotUpDataConfigUI(int, int, bool)
{
}

void Buttoninterface::SlotMouseIndex(int index)
{
    look::setSheet(ui->widget, look::imageSheet(QStringLiteral("#widget"), pictureDir,
                                                {QStringLiteral("mouse%1.png").arg(index)}));
}
