#include "pages/buttons/debouncetime.h"

#include "app/look.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "app/widgets/myconmbobox.h"
#include "device/devicestate.h"
#include "device/pagelink.h"
#include "ui_debouncetime.h"

#include <algorithm>

DebounceTime::DebounceTime(QWidget *parent) : QFrame(parent), ui(std::make_unique<Ui::DebounceTime>())
{
    ui->setupUi(this);
}

DebounceTime::~DebounceTime() = default;

QComboBox *DebounceTime::comboBox() const
{
    return ui->Debunce;
}

void DebounceTime::setIndex(int v)
{
    const int shown = std::clamp(v, 0, kItemCount - 1);
    remembered = shown;
    if (shown != v) {
        // A byte the box does not offer (an unset 0xFF, say) is only shown
        // as the nearest time; the mouse keeps its own until the user picks.
        const QSignalBlocker block(ui->Debunce);
        ui->Debunce->setCurrentIndex(shown);
    } else {
        ui->Debunce->setCurrentIndex(shown);
    }
    emit PostMsg::instance()->SigDebunce(ui->Debunce->currentText());
}

void DebounceTime::setItemText(int i, const QString &suffix)
{
    if (i >= 0 && i < ui->Debunce->count())
        ui->Debunce->setItemText(i, QString::number(i) + suffix);
}

void DebounceTime::on_Debunce_currentIndexChanged(int index)
{
    if (!uiReady || index < 0)
        return;
    // Showing the mouse's own value (a refill) sends nothing back.
    if (PageRefill::running(PageRefill::ButtonPage)) {
        remembered = index;
        emit PostMsg::instance()->SigDebunce(ui->Debunce->currentText());
        return;
    }
    if (!sendOrRestore(setDebounceTime(index), ui->Debunce, &QComboBox::setCurrentIndex, remembered))
        return;
    remembered = index;
    emit PostMsg::instance()->SigDebunce(ui->Debunce->currentText());
    // A very short debounce lets a worn switch double-click: say so when the
    // user picks one, not when the mouse's own value is shown.
    if (index <= 7) {
        LessThree notice;
        look::centreOn(&notice, window());
        notice.exec();
    }
}
