#pragma once

#include <QWidget>

#include "platform/hidusb/hidusb.h"

namespace Ui { class Advanced; }

// Advanced settings page of the device view. This first version holds the
// page and takes the refills it will act on; its controls come later.
class Advanced : public QWidget
{
    Q_OBJECT

public:
    explicit Advanced(QWidget *parent = nullptr);
    ~Advanced() override;

public slots:
    void SlotAllLanguage(int index);
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    void SlotForm();
    void SlotFormB();
    void SlotFormReset();
    void SlotLongRangeMode(bool Select);
    void SetPos(int index);

private:
    Ui::Advanced *ui;
};
