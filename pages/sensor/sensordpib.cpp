#include "pages/sensor/sensordpib.h"
#include "ui_sensordpib.h"

#include "app/look.h"
#include "device/devicestate.h"
#include "device/dpicodec.h"
#include "device/dpistage.h"

#include <QButtonGroup>
#include <QColor>
#include <QColorDialog>
#include <QListView>

namespace {

constexpr int kStages = dpistages::kStageCount;

// What showFixedButtonColors() paints, stage 0..7.
const char *const kFixedColors[kStages] = {"#ff0000", "#00ffff", "#00ff00", "#ffffff",
                                           "#00ffff", "#ff557d", "#ff00ff", "#00ffff"};
// The stages' colours until a host gives theirs.
const char *const kStartColors[kStages] = {"#ff0000", "#ffff00", "#ffaa00", "#00ff00",
                                           "#aaffff", "#aa55ff", "#9f0000", "#00d4d4"};

// Sets a control's value with its signals blocked: what the widget shows by
// itself never goes back to the mouse.
template <typename Control>
void showQuietly(Control *control, int value)
{
    const bool was = control->blockSignals(true);
    control->setValue(value);
    control->blockSignals(was);
}

} // namespace

SensorDPIB::SensorDPIB(QWidget *parent) : QFrame(parent), ui(new Ui::SensorDPIB)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));

    QCheckBox *const toggles[kStages] = {ui->MA, ui->MB, ui->MC, ui->MD, ui->ME, ui->MF, ui->MG, ui->MH};
    QSlider *const sliders[kStages] = {ui->horizontalSliderA, ui->horizontalSliderB, ui->horizontalSliderC,
                                       ui->horizontalSliderD, ui->horizontalSliderE, ui->horizontalSliderF,
                                       ui->horizontalSliderG, ui->horizontalSliderH};
    QSpinBox *const boxes[kStages] = {ui->spinBoxA, ui->spinBoxB, ui->spinBoxC, ui->spinBoxD,
                                      ui->spinBoxE, ui->spinBoxF, ui->spinBoxG, ui->spinBoxH};
    QToolButton *const colorButtons[kStages] = {ui->BlueButtonA,      ui->BrightRedButtonA,  ui->RedButtonA,
                                                ui->YellowButtonA,    ui->GreenButtonA,      ui->PurpleButtonA,
                                                ui->LightBlueButtonA, ui->LightYellowButtonA};
    stageGroup = new QButtonGroup(this);
    stageGroup->setExclusive(true);
    for (int k = 0; k < kStages; ++k) {
        m_toggles[k] = toggles[k];
        m_sliders[k] = sliders[k];
        m_boxes[k] = boxes[k];
        m_colorButtons[k] = colorButtons[k];
        stageColors[k] = QString::fromLatin1(kStartColors[k]);
        stageGroup->addButton(toggles[k], k);
    }

    m_colorDialog = new QColorDialog(this);
    connect(m_colorDialog, &QColorDialog::colorSelected, this, &SensorDPIB::SetColor);

    look::setSheet(ui->label, look::colorSheet(QStringLiteral("QLabel")));
    const QString toggleSheet =
        look::checkBoxSheet(pictureDir, QStringLiteral("LODCheck.png"), QStringLiteral("LOD.png"));
    const QString sliderSheet = look::sliderSheet(pictureDir, QStringLiteral("HuaKuai.png"));
    const QString boxSheet = look::colorSheet(QStringLiteral("QSpinBox"), look::Role::LineEditSecond,
                                              QStringLiteral("background-color: transparent;border: 1px solid gray;"));
    look::setSheet(ui->ChooseEvent, look::comboSheet(pictureDir));
    auto *countView = new QListView(ui->ChooseEvent);
    ui->ChooseEvent->setView(countView);
    look::setSheet(countView, look::comboListSheet());
    for (int k = 0; k < kStages; ++k) {
        look::setSheet(m_toggles[k], toggleSheet);
        look::setSheet(m_sliders[k], sliderSheet);
        look::setSheet(m_boxes[k], boxSheet);
        // Red until a host says the stage's colour.
        styleColorButton(k, QStringLiteral("#ff0000"));
    }
}

SensorDPIB::~SensorDPIB() = default;

// ---------------------------------------------------------------------------
// Show operations

void SensorDPIB::setTitleText(const QString &text)
{
    ui->label->setText(text);
}

void SensorDPIB::clearStageCountItems()
{
    const bool was = ui->ChooseEvent->blockSignals(true);
    ui->ChooseEvent->clear();
    ui->ChooseEvent->blockSignals(was);
    m_countIndex = -1;
}

void SensorDPIB::insertStageCountItem(int index, const QString &text)
{
    const bool was = ui->ChooseEvent->blockSignals(true);
    ui->ChooseEvent->insertItem(index, text);
    ui->ChooseEvent->blockSignals(was);
    // The first item of an empty list becomes the current one.
    m_countIndex = ui->ChooseEvent->currentIndex();
}

bool SensorDPIB::blockStageCountSignals(bool block)
{
    return ui->ChooseEvent->blockSignals(block);
}

void SensorDPIB::setStageCountIndex(int index)
{
    const bool was = ui->ChooseEvent->blockSignals(true);
    ui->ChooseEvent->setCurrentIndex(index);
    ui->ChooseEvent->blockSignals(was);
    m_countIndex = ui->ChooseEvent->currentIndex();
}

void SensorDPIB::showStages(int lastIndex)
{
    if (!validStage(lastIndex))
        return;
    for (int k = 0; k < kStages; ++k) {
        const bool shown = k <= lastIndex;
        m_colorButtons[k]->setVisible(shown);
        m_sliders[k]->setVisible(shown);
        m_boxes[k]->setVisible(shown);
        m_toggles[k]->setVisible(shown);
    }
}

void SensorDPIB::setSlidersMinimum(int dpi)
{
    for (QSlider *slider : m_sliders) {
        const bool was = slider->blockSignals(true);
        slider->setMinimum(dpi);
        slider->blockSignals(was);
    }
}

void SensorDPIB::setSlidersMaximum(int dpi)
{
    for (QSlider *slider : m_sliders) {
        const bool was = slider->blockSignals(true);
        slider->setMaximum(dpi);
        slider->blockSignals(was);
    }
}

void SensorDPIB::setSlidersEnabled(bool enabled)
{
    for (QSlider *slider : m_sliders)
        slider->setEnabled(enabled);
}

void SensorDPIB::blockSliderSignals(bool block)
{
    for (QSlider *slider : m_sliders)
        slider->blockSignals(block);
}

void SensorDPIB::setStageSlider(int dpi, int stage)
{
    if (validStage(stage))
        showQuietly(m_sliders[stage], dpi);
}

void SensorDPIB::setStageDisplay(int dpi, int stage)
{
    if (validStage(stage))
        m_boxes[stage]->setValue(dpi);
}

void SensorDPIB::setStageValueText(int stage, const QString &text)
{
    if (validStage(stage))
        showStageValue(stage, text.toInt(nullptr, 10));
}

void SensorDPIB::setStageColorText(int stage, const QString &hex)
{
    if (validStage(stage))
        stageColors[stage] = hex;
}

void SensorDPIB::restyleColorButtonA()
{
    styleColorButton(0, stageColors[0]);
}
void SensorDPIB::restyleColorButtonB()
{
    styleColorButton(1, stageColors[1]);
}
void SensorDPIB::restyleColorButtonC()
{
    styleColorButton(2, stageColors[2]);
}
void SensorDPIB::restyleColorButtonD()
{
    styleColorButton(3, stageColors[3]);
}
void SensorDPIB::restyleColorButtonE()
{
    styleColorButton(4, stageColors[4]);
}
void SensorDPIB::restyleColorButtonF()
{
    styleColorButton(5, stageColors[5]);
}
void SensorDPIB::restyleColorButtonG()
{
    styleColorButton(6, stageColors[6]);
}
void SensorDPIB::restyleColorButtonH()
{
    styleColorButton(7, stageColors[7]);
}

void SensorDPIB::restyleColorButtons()
{
    for (int k = 0; k < kStages; ++k)
        styleColorButton(k, stageColors[k]);
}

void SensorDPIB::showFixedButtonColors()
{
    for (int k = 0; k < kStages; ++k)
        styleColorButton(k, QString::fromLatin1(kFixedColors[k]));
}

void SensorDPIB::setActiveStage(int stage)
{
    if (validStage(stage))
        m_activeStage = stage;
}

void SensorDPIB::checkStage(int stage)
{
    if (validStage(stage))
        showCheckedToggle(stage);
}

void SensorDPIB::chooseStage(int stage)
{
    if (!dpistages::stageChoiceAllowed() || !validStage(stage))
        return;
    // Fires the toggle's slot, which writes the choice like a click would.
    m_toggles[stage]->setChecked(true);
}

QString SensorDPIB::stageColorText(int stage) const
{
    return validStage(stage) ? stageColors[stage] : QString();
}

// ---------------------------------------------------------------------------
// Look of a row

void SensorDPIB::styleColorButton(int stage, const QString &color)
{
    look::setSheet(m_colorButtons[stage],
                   look::imageSheet(QStringLiteral("QToolButton"), pictureDir, look::Images(), look::Fit::Centre,
                                    QString(),
                                    QStringLiteral("border-radius:3px;background-color:") + color + QLatin1Char(';')));
}

void SensorDPIB::showStageValue(int stage, int dpi)
{
    showQuietly(m_sliders[stage], dpi);
    m_boxes[stage]->setValue(dpi);
}

void SensorDPIB::showCheckedToggle(int stage)
{
    for (QCheckBox *toggle : m_toggles)
        toggle->blockSignals(true);
    if (validStage(stage)) {
        m_toggles[stage]->setChecked(true);
    } else {
        // An exclusive group keeps one button checked; none is shown here.
        stageGroup->setExclusive(false);
        for (QCheckBox *toggle : m_toggles)
            toggle->setChecked(false);
        stageGroup->setExclusive(true);
    }
    for (QCheckBox *toggle : m_toggles)
        toggle->blockSignals(false);
    m_checkedToggle = validStage(stage) ? stage : -1;
}

void SensorDPIB::exchangeRows(int a, int b)
{
    const QString colorA = stageColors[a];
    const int valueA = m_boxes[a]->value();
    stageColors[a] = stageColors[b];
    showStageValue(a, m_boxes[b]->value());
    stageColors[b] = colorA;
    showStageValue(b, valueA);
    styleColorButton(a, stageColors[a]);
    styleColorButton(b, stageColors[b]);
}

// ---------------------------------------------------------------------------
// User changes

void SensorDPIB::sliderChanged(int stage, int value)
{
    const DpiSnap snap = snapDpi(dpiRange, value);
    if (snap.pageStep > 0)
        m_sliders[stage]->setPageStep(snap.pageStep);
    const int before = m_boxes[stage]->value();
    // The slider stands where the value it sends is: on the grid.
    showStageValue(stage, snap.value);
    if (dpistages::writeStageDpi(stage, snap.value) == dpistages::Write::Refused)
        showStageValue(stage, before);
}

void SensorDPIB::toggleChanged(int stage, bool checked)
{
    if (!checked)
        return;
    const int before = m_checkedToggle;
    m_checkedToggle = stage;
    switch (dpistages::writeActiveStage(stage)) {
    case dpistages::Write::Shown:
        break;
    case dpistages::Write::Sent:
        m_activeStage = stage;
        break;
    case dpistages::Write::Refused:
        showCheckedToggle(before);
        break;
    }
}

void SensorDPIB::on_ChooseEvent_currentIndexChanged(int index)
{
    // A refill shows the list as the mouse has it; the rows follow from the
    // host, not from here.
    if (sensorPageRefreshing || !validStage(index)) {
        m_countIndex = index;
        return;
    }
    const dpistages::CountWrite write = dpistages::writeStageCount(m_activeStage, index);
    if (write.write == dpistages::Write::Refused) {
        const bool was = ui->ChooseEvent->blockSignals(true);
        ui->ChooseEvent->setCurrentIndex(m_countIndex);
        ui->ChooseEvent->blockSignals(was);
        return;
    }
    m_countIndex = index;
    if (write.exchanged) {
        // The active stage moved into the new last row, on the mouse too.
        exchangeRows(m_activeStage, index);
        showCheckedToggle(index);
        m_activeStage = index;
    }
    showStages(index);
}

void SensorDPIB::colorButtonClicked(int stage)
{
    m_colorTarget = stage;
    m_colorDialog->show();
}

void SensorDPIB::SetColor(const QColor &color)
{
    const int stage = m_colorTarget;
    const QString previous = stageColors[stage];
    stageColors[stage] = QString::asprintf("#%02x%02x%02x", color.red(), color.green(), color.blue());
    if (dpistages::writeStageColour(stage, color.red(), color.green(), color.blue()) == dpistages::Write::Refused)
        stageColors[stage] = previous; // the mouse keeps its colour
    styleColorButton(stage, stageColors[stage]);
}

void SensorDPIB::on_horizontalSliderA_valueChanged(int value)
{
    sliderChanged(0, value);
}
void SensorDPIB::on_horizontalSliderB_valueChanged(int value)
{
    sliderChanged(1, value);
}
void SensorDPIB::on_horizontalSliderC_valueChanged(int value)
{
    sliderChanged(2, value);
}
void SensorDPIB::on_horizontalSliderD_valueChanged(int value)
{
    sliderChanged(3, value);
}
void SensorDPIB::on_horizontalSliderE_valueChanged(int value)
{
    sliderChanged(4, value);
}
void SensorDPIB::on_horizontalSliderF_valueChanged(int value)
{
    sliderChanged(5, value);
}
void SensorDPIB::on_horizontalSliderG_valueChanged(int value)
{
    sliderChanged(6, value);
}
void SensorDPIB::on_horizontalSliderH_valueChanged(int value)
{
    sliderChanged(7, value);
}

void SensorDPIB::on_MA_toggled(bool checked)
{
    toggleChanged(0, checked);
}
void SensorDPIB::on_MB_toggled(bool checked)
{
    toggleChanged(1, checked);
}
void SensorDPIB::on_MC_toggled(bool checked)
{
    toggleChanged(2, checked);
}
void SensorDPIB::on_MD_toggled(bool checked)
{
    toggleChanged(3, checked);
}
void SensorDPIB::on_ME_toggled(bool checked)
{
    toggleChanged(4, checked);
}
void SensorDPIB::on_MF_toggled(bool checked)
{
    toggleChanged(5, checked);
}
void SensorDPIB::on_MG_toggled(bool checked)
{
    toggleChanged(6, checked);
}
void SensorDPIB::on_MH_toggled(bool checked)
{
    toggleChanged(7, checked);
}

void SensorDPIB::on_BlueButtonA_clicked()
{
    colorButtonClicked(0);
}
void SensorDPIB::on_BrightRedButtonA_clicked()
{
    colorButtonClicked(1);
}
void SensorDPIB::on_RedButtonA_clicked()
{
    colorButtonClicked(2);
}
void SensorDPIB::on_YellowButtonA_clicked()
{
    colorButtonClicked(3);
}
void SensorDPIB::on_GreenButtonA_clicked()
{
    colorButtonClicked(4);
}
void SensorDPIB::on_PurpleButtonA_clicked()
{
    colorButtonClicked(5);
}
void SensorDPIB::on_LightBlueButtonA_clicked()
{
    colorButtonClicked(6);
}
void SensorDPIB::on_LightYellowButtonA_clicked()
{
    colorButtonClicked(7);
}
