#include "pages/device/stopclosetime.h"
#include "ui_stopclosetime.h"

#include "app/look.h"
#include "device/advancedvalues.h"
#include "device/devicestate.h"
#include "device/pagelink.h"

#include <QListView>

StopCloseTime::StopCloseTime(QWidget *parent) : QFrame(parent), ui(new Ui::StopCloseTime)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Light"));
    look::setSheet(ui->StopClose, look::comboSheet(pictureDir));
    auto *view = new QListView(ui->StopClose);
    ui->StopClose->setView(view);
    look::setSheet(view, look::comboListSheet());
}

StopCloseTime::~StopCloseTime() = default;

void StopCloseTime::setIndexSilently(int index)
{
    const bool was = ui->StopClose->blockSignals(true);
    ui->StopClose->setCurrentIndex(index);
    ui->StopClose->blockSignals(was);
    lastIndex = index;
}

void StopCloseTime::setItemTextAt(int index, const QString &text)
{
    ui->StopClose->setItemText(index, text);
}

int StopCloseTime::currentIndex() const
{
    return ui->StopClose->currentIndex();
}

void StopCloseTime::on_StopClose_activated(int index)
{
    if (!uiReady)
        return;
    const int code = advanced::sleepCodeAt(index);
    if (code < 0 || buttonPageRefreshing)
        return;
    if (sendOrRestore(setStopCloseTime(code), ui->StopClose, &QComboBox::setCurrentIndex, lastIndex))
        lastIndex = index;
}
