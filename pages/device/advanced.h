#pragma once

#include <QString>
#include <QWidget>

#include "platform/hidusb/records.h"

#include <memory>

class QButtonGroup;

namespace Ui {
class Advanced;
}

// The advanced settings page of the device view. Its first tab holds the
// sleep time (StopCloseTime), the 20K frame-rate switch (KFPS20), the
// receiver's long-range switch (LongMode) and angle tuning (AngleMove); the
// page shows the sleep time always and long range for a model that offers it
// on a mouse that is not cabled, and keeps the 20K and angle frames hidden.
// Further tabs, never selected, hold the trigger point (FastClick) and the
// DPI-mode curves (CurvePlotWidget).
//
// The page itself writes nothing: it shows every record the hub brings (a
// dump, a cache, an import, the defaults) on its widgets without sending, and
// the widgets write the user's changes through the setters.
class Advanced : public QWidget
{
    Q_OBJECT

public:
    explicit Advanced(QWidget *parent = nullptr);
    ~Advanced() override;

    // Whether the layout step shows the long-range frame.
    bool longRangeShown = false;

public slots:
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    void SlotAllLanguage(int index);
    void SlotFormReset();
    void SlotForm();
    void SlotFormB();
    void SlotLongRangeMode(bool Select);
    void Slot20KOpen(bool Open);
    void SetPos(int index);
    void on_verticalScrollBar_valueChanged(int value);
    void on_checkBox_3_clicked(bool checked);
    void on_checkBox_4_clicked(bool checked);
    void on_checkBox_5_clicked(bool checked);
    void on_checkBox_6_clicked(bool checked);
    void on_checkBox_2_clicked(bool checked);

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    // Shows a record on every hosted widget; sends nothing.
    void refill(const FlashDataMap &record);
    // Shows the long-range frame when the open device's model offers it and
    // the mouse is not cabled.
    void checkModel();
    void colourModeLabels(bool enabled);

    std::unique_ptr<Ui::Advanced> ui;
    QString pictureDir;
    QButtonGroup *modeGroup = nullptr;
};
