#include "pages/device/advanced.h"
#include "ui_advanced.h"

#include "app/postmsg.h"

Advanced::Advanced(QWidget *parent)
    : QWidget(parent), ui(new Ui::Advanced)
{
    ui->setupUi(this);
    PostMsg *hub = PostMsg::instance();
    connect(hub, SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(SlotUpDataSenSorUISensor(FlashDataMap)),
            Qt::BlockingQueuedConnection);
    connect(hub, SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
    connect(hub, SIGNAL(SigForm()), this, SLOT(SlotForm()), Qt::BlockingQueuedConnection);
    connect(hub, SIGNAL(SigFormB()), this, SLOT(SlotFormB()));
    connect(hub, SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()), Qt::BlockingQueuedConnection);
    connect(hub, SIGNAL(SigLongRangeMode(bool)), this, SLOT(SlotLongRangeMode(bool)), Qt::BlockingQueuedConnection);
    connect(hub, SIGNAL(SigtVis(int)), this, SLOT(SetPos(int)));
    connect(hub, SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
}

Advanced::~Advanced()
{
    delete ui;
}

void Advanced::SlotAllLanguage(int) {}
void Advanced::SlotUpDataSenSorUISensor(FlashDataMap) {}
void Advanced::SlotUpDataSenSorUIB(FlashDataMap) {}
void Advanced::SlotForm() {}
void Advanced::SlotFormB() {}
void Advanced::SlotFormReset() {}
void Advanced::SlotLongRangeMode(bool) {}
void Advanced::SetPos(int) {}
