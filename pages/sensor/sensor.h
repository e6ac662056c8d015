#pragma once

#include <QWidget>

#include <memory>

#include "platform/hidusb/records.h"

class QListView;

namespace Ui {
class Sensor;
}

// The sensor page of the device view: DPI stages (SensorDPI), report rate
// (SensorRate), lift-off distance (SensorLOD), ripple control, angle
// snapping and motion sync (the switch frames), and its own sensor-mode list,
// performance-mode check box and performance-time list.
//
// It refills every control from each record the hub brings (a full dump, the
// cache of a silent mouse, an import) and follows the mouse's own rate and
// DPI-stage reports, without writing anything back; the user's changes go to
// the mouse through the setters.
class Sensor : public QWidget
{
    Q_OBJECT

public:
    explicit Sensor(QWidget *parent = nullptr);
    ~Sensor() override;

public slots:
    void on_Performance_toggled(bool checked);
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    void SlotFormReset();
    void SlotUpDataReportRate(int index);
    void SlotUpDataDPI(int index);
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    void on_ModelChoose_currentIndexChanged(int index);
    void on_Performance_clicked(bool checked);
    void on_PerformanceOpen_currentIndexChanged(int index);
    void SlotAllLanguage(int index);
    void SlotHideModel(int index);

protected:
    void changeEvent(QEvent *event) override;

private:
    void refill(const FlashDataMap &record, bool fromDevice);
    bool lists(const QString &switchValue) const;
    // Sensor mode as the record holds it (entry 2 hidden), or "Corded"
    // (shown, disabled) for high rates and cables.
    void showRecordedSensorMode(int mode, bool signalsLive);
    void showCordedSensorMode();

    std::unique_ptr<Ui::Sensor> ui;
    QString sensorPageDir;
    QString dpiMinText;
    QString dpiMaxText;
    QString pictureDir;
    QListView *modelChooseView = nullptr;
    QString supportSensorModeSel, supportLodCal, supportRipple, supportFixLine, supportMotionSync, supportMousepadCal;
    int sensorModeIndex = 0;      // "LP" until the mouse says otherwise
    int performanceTimeIndex = 2; // 60 s, the factory choice
    bool m_built = false;
};
