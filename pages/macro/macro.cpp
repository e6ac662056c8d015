#include "pages/macro/macro.h"
#include "ui_macro.h"

#include "app/postmsg.h"
#include "pages/macro/macroflags.h"

Macro::Macro(QWidget *parent)
    : QWidget(parent), ui(new Ui::Macro)
{
    ui->setupUi(this);
    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigSetMacroPage, this, &Macro::SlotSetMacroPage);
    connect(hub, &PostMsg::SigAllLanguage, this, &Macro::SlotAllLanguage);
}

Macro::~Macro()
{
    delete ui;
}

void Macro::SlotAllLanguage(int) {}

void Macro::SlotSetMacroPage()
{
    emit PostMsg::instance()->SigStartRecord(1);
    macroRecording = false;
}
