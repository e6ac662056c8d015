#include "pages/device/advanced.h"
#include "ui_advanced.h"

#include "app/postmsg.h"
#include "pages/hubconnections.h"

Advanced::Advanced(QWidget *parent)
    : QWidget(parent), ui(new Ui::Advanced)
{
    ui->setupUi(this);
    PostMsg *hub = PostMsg::instance();
    connectBlockingHub(this);
    connect(hub, &PostMsg::SigUpDataSensorUIB, this, &Advanced::SlotUpDataSenSorUIB);
    connect(hub, &PostMsg::SigFormB, this, &Advanced::SlotFormB);
    connect(hub, &PostMsg::SigtVis, this, &Advanced::SetPos);
    connect(hub, &PostMsg::SigAllLanguage, this, &Advanced::SlotAllLanguage);
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
