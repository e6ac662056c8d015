#pragma once

#include <QFrame>

#include <memory>

class QLabel;
class QToolButton;

namespace Ui {
class RippeControl;
class StraightLine;
class MotionSync;
} // namespace Ui

// One on/off switch: a toggle and a caption, on the sensor page with a tip
// icon beside it. A click writes one record byte (1 on, 0 off) through the
// frame's setter; a refused write puts the toggle back. The switches differ
// only in their form, their setter and where their tip icon sits per
// language; a face without a tip icon shows the tip over its caption.
class SensorSwitch : public QFrame
{
    Q_OBJECT

public:
    // Shows the state the mouse holds; nothing is sent.
    void setOn(bool on);
    bool isOn() const;
    void setCaption(const QString &text);
    void setTipText(const QString &text);
    // Moves the tip icon behind the caption of a language (indexes 0..5, 7);
    // nothing without a tip icon.
    void moveTip(int language);

protected:
    using Setter = bool (*)(int);
    // x of the tip icon for the language indexes 0, 1, 2, 3, 4, 5 and 7.
    using TipPlaces = int[7];

    explicit SensorSwitch(QWidget *parent);
    void setUp(QToolButton *toggle, QLabel *caption, QLabel *tip, Setter setter, const TipPlaces &tipX);
    // A face without a tip icon.
    void setUp(QToolButton *toggle, QLabel *caption, Setter setter);
    void clicked(bool checked);

private:
    QToolButton *m_toggle = nullptr;
    QLabel *m_caption = nullptr;
    QLabel *m_tip = nullptr;
    Setter m_setter = nullptr;
    const int *m_tipX = nullptr;
};

// Ripple control (record byte 10).
class RippeControl : public SensorSwitch
{
    Q_OBJECT
public:
    explicit RippeControl(QWidget *parent = nullptr);
    ~RippeControl() override;
private slots:
    void on_RippeControl_2_clicked(bool checked);

private:
    std::unique_ptr<Ui::RippeControl> ui;
};

// Angle snapping (record byte 9).
class StraightLine : public SensorSwitch
{
    Q_OBJECT
public:
    explicit StraightLine(QWidget *parent = nullptr);
    ~StraightLine() override;
private slots:
    void on_StraightLine_2_clicked(bool checked);

private:
    std::unique_ptr<Ui::StraightLine> ui;
};

// Motion sync (record byte 7).
class MotionSync : public SensorSwitch
{
    Q_OBJECT
public:
    explicit MotionSync(QWidget *parent = nullptr);
    ~MotionSync() override;
private slots:
    void on_MotionSync_2_clicked(bool checked);

private:
    std::unique_ptr<Ui::MotionSync> ui;
};
