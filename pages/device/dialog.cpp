#include "pages/device/dialog.h"

#include "app/postmsg.h"
#include "pages/buttons/buttoninterface.h"
#include "pages/settings/updaterepair.h"
#include "platform/crashdump.h"

#include <QLabel>
#include <QVBoxLayout>

Dialog::Dialog(QWidget *parent)
    : QWidget(parent), label(new QLabel(this))
{
    setObjectName(QStringLiteral("Dialog"));
    resize(1020, 700);
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("#Dialog{background-color:rgb(22,24,30);} QLabel{color:rgb(220,224,232);}"));
    label->setAlignment(Qt::AlignCenter);
    label->setText(QStringLiteral("VELMORAX"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    // The button page hosts the device worker.
    auto *buttons = new Buttoninterface(this);
    buttons->hide();
    if (!updateRepairDialog)
        updateRepairDialog = new UpDateRepair(nullptr);
    connect(PostMsg::instance(), SIGNAL(SigSecondPageChange()), this, SLOT(SlotSecondDialog()));
    connect(PostMsg::instance(), SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    crashHandler = new CrashDumpHandler;
    crashHandler->install();
}

void Dialog::SlotAllLanguage(int)
{
}

void Dialog::SlotSecondDialog()
{
}
