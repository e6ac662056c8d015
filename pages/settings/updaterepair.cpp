#include "pages/settings/updaterepair.h"

#include "app/postmsg.h"
#include "device/firmwarecheck.h"
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
    connect(PostMsg::instance(), &PostMsg::SigRepairCheckUpdate, this, &UpDateRepair::SlotRepairCheckUpdate);
    connect(PostMsg::instance(), &PostMsg::SigAllLanguage, this, &UpDateRepair::SlotAllLanguage);
}

UpDateRepair::~UpDateRepair()
{
    if (updateRepairDialog == this) {
        updateRepairDialog = nullptr;
        updateRepairDialogShown = false;
    }
}

void UpDateRepair::showEvent(QShowEvent *event)
{
    if (updateRepairDialog == this)
        updateRepairDialogShown = true;
    QDialog::showEvent(event);
}

void UpDateRepair::hideEvent(QHideEvent *event)
{
    if (updateRepairDialog == this)
        updateRepairDialogShown = false;
    QDialog::hideEvent(event);
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
