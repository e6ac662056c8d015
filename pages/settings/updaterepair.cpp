#include "pages/settings/updaterepair.h"

#include "app/postmsg.h"
#include "platform/dialogflags.h"

#include <QLabel>
#include <QVBoxLayout>

UpDateRepair *updateRepairDialog = nullptr;

UpDateRepair::UpDateRepair(QWidget *parent)
    : QDialog(parent), label(new QLabel(this))
{
    setWindowFlags(dialogWindowFlags());
    setFixedSize(400, 250);
    label->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    connect(PostMsg::instance(), SIGNAL(SigRepairCheckUpdate()), this, SLOT(SlotRepairCheckUpdate()));
    connect(PostMsg::instance(), SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
}

void UpDateRepair::resetView()
{
    label->clear();
}

void UpDateRepair::startUpdate(int)
{
}

void UpDateRepair::SlotRepairCheckUpdate()
{
}

void UpDateRepair::SlotAllLanguage(int)
{
}
