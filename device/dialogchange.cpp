#include "device/dialogchange.h"

#include "app/postmsg.h"
#include "app/appglobals.h"

#include <QLabel>
#include <QVBoxLayout>

DialogChange::DialogChange(QWidget *parent)
    : QWidget(parent), label(new QLabel(this))
{
    setObjectName(QStringLiteral("DialogChange"));
    resize(1020, 700);
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("#DialogChange{background-color:rgb(22,24,30);}"
                                 "QLabel{color:rgb(220,224,232);}"));
    label->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    connect(PostMsg::instance(), SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
}

void DialogChange::SlotAllLanguage(int)
{
    label->setText(productName);
}

// The list page's entries are repainted by the device discovery; the least
// page has no entries.
void refreshDeviceEntry(int)
{
}
