#pragma once

#include <QWidget>

#include "platform/hidusb/hidusb.h"

namespace Ui { class Sensor; }

// Sensor page of the device view. This first version holds the page, takes
// its refills (marking the refill from a device dump as done) and announces
// the report rate and lift-off distance to the summary panel.
class Sensor : public QWidget
{
    Q_OBJECT

public:
    explicit Sensor(QWidget *parent = nullptr);
    ~Sensor() override;

    // Summary texts of record byte 0 (report-rate code) and byte 5 (lift-off
    // code); 0 and an empty text for codes the mouse does not use.
    static int reportRateHz(int code);
    static QString lodText(int code);

public slots:
    void SlotAllLanguage(int index);
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    void SlotFormReset();
    void SlotUpDataReportRate(int index);
    void SlotUpDataDPI(int index);
    void SlotHideModel(int index);

private:
    void showRecord(const FlashDataMap &record);

    Ui::Sensor *ui;
};
