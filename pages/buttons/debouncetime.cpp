#include "pages/buttons/debouncetime.h"

#include "app/look.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "app/widgets/myconmbobox.h"
#include "device/devicestate.h"
#include "device/pagelink.h"

#include <QHBoxLayout>

DebounceTime::DebounceTime(QWidget *parent) : QFrame(parent), combo(new MyConmboBox(this))
{
    combo->setObjectName(QStringLiteral("DebounceCombo"));
    combo->setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i < kItemCount; ++i)
        combo->addItem(QString::number(i));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(combo);
    connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &DebounceTime::onIndexChanged);
}

DebounceTime::~DebounceTime() = default;

void DebounceTime::setIndex(int v)
{
    remembered = v;
    combo->setCurrentIndex(v);
    emit PostMsg::instance()->SigDebunce(combo->currentText());
}

void DebounceTime::setItemText(int i, const QString &suffix)
{
    if (i >= 0 && i < combo->count())
        combo->setItemText(i, QString::number(i) + suffix);
}

void DebounceTime::onIndexChanged(int v)
{
    if (!uiReady || v < 0)
        return;
    // Showing the mouse's own value (a refill) sends nothing back.
    if (PageRefill::running(PageRefill::ButtonPage)) {
        remembered = v;
        emit PostMsg::instance()->SigDebunce(combo->currentText());
        return;
    }
    if (!sendOrRestore(setDebounceTime(v), combo, &QComboBox::setCurrentIndex, remembered))
        return;
    remembered = v;
    emit PostMsg::instance()->SigDebunce(combo->currentText());
    // A very short debounce lets a worn switch double-click: say so when the
    // user picks one, not when the mouse's own value is shown.
    if (v <= 7) {
        LessThree notice;
        look::centreOn(&notice, window());
        notice.exec();
    }
}
