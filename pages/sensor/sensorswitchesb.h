#pragma once

#include "pages/sensor/sensorswitches.h"

#include <memory>

namespace Ui {
class RippeControlB;
class StraightLineB;
class MotionSyncB;
} // namespace Ui

// The switches of the sensor page in their second layout: the caption on the
// left, the toggle right of it, the tip over the caption instead of an icon.
// They write the same bytes as the sensor page's switches and put the toggle
// back when the mouse refuses. A host shows the mouse's value with
// setSwitchChecked() and gives the texts.
class SensorSwitchB : public SensorSwitch
{
    Q_OBJECT

public:
    // Shows the state the mouse holds; nothing is sent.
    void setSwitchChecked(bool on) { setOn(on); }
    void setLabelText(const QString &text) { setCaption(text); }
    void setLabelToolTip(const QString &text) { setTipText(text); }

protected:
    using SensorSwitch::SensorSwitch;
};

// Ripple control (record byte 10).
class RippeControlB : public SensorSwitchB
{
    Q_OBJECT
public:
    explicit RippeControlB(QWidget *parent = nullptr);
    ~RippeControlB() override;
private slots:
    void on_RippeControl_2_clicked(bool checked);

private:
    std::unique_ptr<Ui::RippeControlB> ui;
};

// Angle snapping (record byte 9).
class StraightLineB : public SensorSwitchB
{
    Q_OBJECT
public:
    explicit StraightLineB(QWidget *parent = nullptr);
    ~StraightLineB() override;
private slots:
    void on_StraightLine_2_clicked(bool checked);

private:
    std::unique_ptr<Ui::StraightLineB> ui;
};

// Motion sync (record byte 7).
class MotionSyncB : public SensorSwitchB
{
    Q_OBJECT
public:
    explicit MotionSyncB(QWidget *parent = nullptr);
    ~MotionSyncB() override;
private slots:
    void on_MotionSync_2_clicked(bool checked);

private:
    std::unique_ptr<Ui::MotionSyncB> ui;
};
