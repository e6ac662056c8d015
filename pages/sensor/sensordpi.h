#pragma once

#include <QFrame>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>

class QButtonGroup;
class QColor;
class QColorDialog;
class QToolButton;

namespace Ui {
class SensorDPI;
}

// The DPI stage editor of the sensor page: up to eight stages side by side,
// each a value button (its DPI as text) over a colour swatch. The selected
// stage (the mouse's active stage) is drawn enlarged with a marker under it;
// the marker can be dragged to another stage. A stage-count list sets how
// many stages the mouse cycles through; a slider with plus and minus sets the
// selected stage's DPI on the model's DPI grid; a click on a swatch opens a
// colour dialog for that stage.
//
// Every user change is written to the mouse at once through the setters and
// the summary panel is told the selected stage's DPI. While the page refills
// from device data (sensorPageRefreshing) or follows a stage change made on
// the mouse (uiReady clear) the editor only shows, it never writes.
class SensorDPI : public QFrame
{
    Q_OBJECT

public:
    static constexpr int kStages = 8;

    explicit SensorDPI(QWidget *parent = nullptr);
    ~SensorDPI() override;

    // ----- what the sensor page drives -----
    // Colours and DPI values of the open model from the catalogue.
    void loadStageDefaults();
    void clearStageCountChoices();
    void insertStageCountChoice(int index, const QString &text);
    void blockStageCountSignals(bool block);
    void setStageCountIndex(int index);
    // Shows stages 0..lastIndex and hides the others (lastIndex 0..7).
    void showStages(int lastIndex);
    void setActiveStageIndex(int stage);
    // Marker under stage number 1..8 (the stage index + 1).
    void moveMarkerTo(int stageNumber);
    // Shows a stage chosen on the mouse as selected and reports its DPI.
    void applyActiveStage(int stage);
    void restyleSwatchesFor(int stage);
    void setStageValueText(int stage, const QString &text);
    // "#rrggbb" (either letter case) as the stage's colour; nothing is drawn.
    void setStageColourHex(int stage, const QString &hex);
    void setTitleText(const QString &text);

    void blockSliderSignals(bool block);
    void setSliderEnabled(bool enabled);
    void setSliderMinimum(int dpi);
    void setSliderMaximum(int dpi);
    void setSliderValue(int dpi);
    void setValueBoxValue(int dpi);
    // Undoes the freeze a silent mouse put on the slider.
    void unfreezeSlider();

    // ----- read back (the page and tests) -----
    int activeStage() const { return m_activeStage; }
    int countIndex() const { return m_countIndex; }
    int stageDpi(int stage) const;
    QString stageColour(int stage) const; // "r,g,b"
    QColorDialog *colourDialog() const { return m_colourDialog; }

public slots:
    // A colour confirmed in the colour dialog, for the stage whose swatch is checked.
    void SetColor(const QColor &color);

private slots:
    // Four per stage, connected by name to the stage's value button and
    // swatch; each hands its stage to the handler all stages share.
    void on_BlueButton_toggled(bool checked);
    void on_BlueButton_clicked();
    void on_BlueButtonA_toggled(bool checked);
    void on_BlueButtonA_clicked();
    void on_BrightRedButton_toggled(bool checked);
    void on_BrightRedButton_clicked();
    void on_BrightRedButtonA_toggled(bool checked);
    void on_BrightRedButtonA_clicked();
    void on_RedButton_toggled(bool checked);
    void on_RedButton_clicked();
    void on_RedButtonA_toggled(bool checked);
    void on_RedButtonA_clicked();
    void on_YellowButton_toggled(bool checked);
    void on_YellowButton_clicked();
    void on_YellowButtonA_toggled(bool checked);
    void on_YellowButtonA_clicked();
    void on_GreenButton_toggled(bool checked);
    void on_GreenButton_clicked();
    void on_GreenButtonA_toggled(bool checked);
    void on_GreenButtonA_clicked();
    void on_PurpleButton_toggled(bool checked);
    void on_PurpleButton_clicked();
    void on_PurpleButtonA_toggled(bool checked);
    void on_PurpleButtonA_clicked();
    void on_LightBlueButton_toggled(bool checked);
    void on_LightBlueButton_clicked();
    void on_LightBlueButtonA_toggled(bool checked);
    void on_LightBlueButtonA_clicked();
    void on_LightYellowButton_toggled(bool checked);
    void on_LightYellowButton_clicked();
    void on_LightYellowButtonA_toggled(bool checked);
    void on_LightYellowButtonA_clicked();
    void on_ChooseEvent_currentIndexChanged(int index);
    void on_horizontalSliderC_sliderMoved(int position);
    void on_horizontalSliderC_valueChanged(int value);
    void on_AddLevelA_clicked();
    void on_ReduceLevelA_clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QToolButton *valueButton(int stage) const { return m_valueButtons[stage]; }
    QToolButton *swatch(int stage) const { return m_swatches[stage]; }
    static bool validStage(int stage) { return stage >= 0 && stage < kStages; }
    QPoint markerPosition(int stage) const;

    // Look of one stage.
    void drawValueButton(int stage, bool selected);
    void drawSwatch(int stage, bool selected);
    void styleSwatch(int stage, bool selected);
    void restyleSwatch(int stage);
    void restyleOtherSwatches(int stage);

    // Selection.
    void selectStage(int stage);
    void stageToggled(int stage, bool checked);
    void stageClicked();
    void swatchToggled(int stage, bool checked);
    void swatchClicked(int stage);
    bool checkStageFromMarker(int stage);
    void exchangeStages(int a, int b);

    // Slider.
    void setSliderQuietly(int dpi);
    void freezeSlider();
    int firstCheckedStage() const;

    std::unique_ptr<Ui::SensorDPI> ui;
    QString pictureDir;
    QString buttonTextColour;
    QToolButton *m_valueButtons[kStages];
    QToolButton *m_swatches[kStages];
    QRect stageButtonRects[kStages];
    QRect swatchRects[kStages];
    QPoint markerPositions[kStages];
    QRect trackRect;
    QButtonGroup *stageGroup;
    QButtonGroup *swatchGroup;
    QColorDialog *m_colourDialog;
    QString stageColours[kStages];

    int m_activeStage = 1;
    // The stage selected before the last switch; starts as the active one so
    // that a click before any switch redraws what is shown.
    int m_previousStage = 1;
    // All eight stages show until the first refill says how many there are.
    int m_countIndex = kStages - 1;

    bool dragging = false;
    QPoint dragOffset;
    // True while a stage is being selected: the slider follows the stage's
    // DPI without sending it.
    bool m_selecting = false;
};
