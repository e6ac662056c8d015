#pragma once

#include "device/dpistage.h"

#include <QFrame>
#include <QString>

#include <memory>

class QButtonGroup;
class QCheckBox;
class QColor;
class QColorDialog;
class QSlider;
class QSpinBox;
class QToolButton;

namespace Ui {
class SensorDPIB;
}

// A second face of the DPI stage editor: all eight stages at once, one row
// each (a toggle that makes the stage the active one, a DPI slider, the value
// it stands for and a colour button), under a list that sets how many stages
// the mouse cycles through.
//
// It keeps no copy of the device record and follows no device data by
// itself: a host fills it through the show operations below, which never
// write. Every user change goes to the mouse at once through the stage
// writers the sensor page's editor uses (device/dpistage.h); a change the
// mouse does not take is put back, so the rows always show what it holds.
class SensorDPIB : public QFrame
{
    Q_OBJECT

public:
    explicit SensorDPIB(QWidget *parent = nullptr);
    ~SensorDPIB() override;

    // ----- show operations for a host (nothing is sent) -----
    void setTitleText(const QString &text);
    void clearStageCountItems();
    // Item `index` stands for index + 1 stages.
    void insertStageCountItem(int index, const QString &text);
    // Returns whether the list's signals were blocked before.
    bool blockStageCountSignals(bool block);
    void setStageCountIndex(int index);
    // Rows 0..lastIndex shown, the others hidden; lastIndex outside 0..7
    // changes nothing.
    void showStages(int lastIndex);
    void setSlidersMinimum(int dpi);
    void setSlidersMaximum(int dpi);
    void setSlidersEnabled(bool enabled);
    void blockSliderSignals(bool block);
    void setStageSlider(int dpi, int stage);
    void setStageDisplay(int dpi, int stage);
    // A decimal DPI text to the stage's slider and value box.
    void setStageValueText(int stage, const QString &text);
    // "#rrggbb" as the stage's colour, drawn at the next restyle.
    void setStageColorText(int stage, const QString &hex);
    void restyleColorButtonA();
    void restyleColorButtonB();
    void restyleColorButtonC();
    void restyleColorButtonD();
    void restyleColorButtonE();
    void restyleColorButtonF();
    void restyleColorButtonG();
    void restyleColorButtonH();
    void restyleColorButtons();
    // A fixed set of colours on the buttons; the stages' colours stay.
    void showFixedButtonColors();
    void setActiveStage(int stage);
    // Shows the stage's toggle checked.
    void checkStage(int stage);

    // ----- a host's choice made for the user (sent) -----
    // Makes the stage the mouse's active one; on a silent mouse raises the
    // offline notice and changes nothing.
    void chooseStage(int stage);

    // ----- read back -----
    int activeStage() const { return m_activeStage; }
    int colorTarget() const { return m_colorTarget; }
    QString stageColorText(int stage) const;
    QColorDialog *colorDialog() const { return m_colorDialog; }

public slots:
    // A colour confirmed in the colour dialog, for the stage whose colour
    // button opened it.
    void SetColor(const QColor &color);

private slots:
    void on_ChooseEvent_currentIndexChanged(int index);
    void on_horizontalSliderA_valueChanged(int value);
    void on_horizontalSliderB_valueChanged(int value);
    void on_horizontalSliderC_valueChanged(int value);
    void on_horizontalSliderD_valueChanged(int value);
    void on_horizontalSliderE_valueChanged(int value);
    void on_horizontalSliderF_valueChanged(int value);
    void on_horizontalSliderG_valueChanged(int value);
    void on_horizontalSliderH_valueChanged(int value);
    void on_MA_toggled(bool checked);
    void on_MB_toggled(bool checked);
    void on_MC_toggled(bool checked);
    void on_MD_toggled(bool checked);
    void on_ME_toggled(bool checked);
    void on_MF_toggled(bool checked);
    void on_MG_toggled(bool checked);
    void on_MH_toggled(bool checked);
    void on_BlueButtonA_clicked();
    void on_BrightRedButtonA_clicked();
    void on_RedButtonA_clicked();
    void on_YellowButtonA_clicked();
    void on_GreenButtonA_clicked();
    void on_PurpleButtonA_clicked();
    void on_LightBlueButtonA_clicked();
    void on_LightYellowButtonA_clicked();

private:
    static bool validStage(int stage) { return stage >= 0 && stage < dpistages::kStageCount; }

    void sliderChanged(int stage, int value);
    void toggleChanged(int stage, bool checked);
    void colorButtonClicked(int stage);
    // Slider and value box of a row, without a write.
    void showStageValue(int stage, int dpi);
    // The toggle of `stage` checked (none for -1), without a write.
    void showCheckedToggle(int stage);
    void styleColorButton(int stage, const QString &color);
    void exchangeRows(int a, int b);

    std::unique_ptr<Ui::SensorDPIB> ui;
    QString pictureDir;
    QCheckBox *m_toggles[dpistages::kStageCount];
    QSlider *m_sliders[dpistages::kStageCount];
    QSpinBox *m_boxes[dpistages::kStageCount];
    QToolButton *m_colorButtons[dpistages::kStageCount];
    QButtonGroup *stageGroup;
    QColorDialog *m_colorDialog;
    QString stageColors[dpistages::kStageCount];

    int m_activeStage = 1;
    int m_colorTarget = 0;
    // The toggle shown checked (-1: none), what a refused choice goes back to.
    int m_checkedToggle = -1;
    // The list index shown, what a refused count goes back to.
    int m_countIndex = -1;
};
