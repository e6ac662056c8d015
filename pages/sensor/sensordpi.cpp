#include "pages/sensor/sensordpi.h"
#include "ui_sensordpi.h"

#include "app/configini.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/dpicodec.h"
#include "device/dpistage.h"
#include "device/linkcontrols.h"
#include "device/pagelink.h"

#include <QButtonGroup>
#include <QColor>
#include <QColorDialog>
#include <QListView>
#include <QMouseEvent>

namespace {

// Where the marker stands under each stage. Fixed places, not computed:
// stage 5's is one pixel right of the 91-pixel rhythm.
constexpr int kMarkerX[SensorDPI::kStages] = {27, 118, 209, 300, 391, 483, 573, 664};
constexpr int kMarkerY = 154;
constexpr int kStagePitch = 91;

// Colours of the stages until the catalogue or the mouse gives theirs.
const char *const kStartColours[SensorDPI::kStages] = {"255,0,0",   "0,0,255",   "0,255,0", "255,255,0",
                                                       "0,255,255", "255,0,255", "159,0,0", "0,212,252"};

// Largest drop x accepted per stage-count index 0..6 (eight stages: no limit).
constexpr int kRightLimit[7] = {69, 160, 251, 342, 433, 524, 612};

// Drop windows: distance from the marker's place to the drop x, and how many
// stages that moves. The windows leave dead zones between them on purpose: a
// drop there selects nothing.
struct DropWindow
{
    int from, to, stages;
};
constexpr DropWindow kDropWindows[] = {
    {78, 129, 1},     {-102, -51, -1},  {168, 214, 2},    {-192, -144, -2}, {264, 317, 3},
    {-284, -236, -3}, {361, 389, 4},    {-369, -327, -4}, {443, 495, 5},    {-465, -411, -5},
    {538, 591, 6},    {-556, -504, -6}, {623, 669, 7},    {-646, -599, -7},
};

QString joinedRgb(int r, int g, int b)
{
    return QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b);
}

// Sets a flag for the life of a scope and puts back what it was.
class FlagScope
{
public:
    explicit FlagScope(bool &flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_was; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
    bool m_was;
};

} // namespace

SensorDPI::SensorDPI(QWidget *parent) : QFrame(parent), ui(new Ui::SensorDPI)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));

    QToolButton *const values[kStages] = {ui->BlueButton,      ui->BrightRedButton,  ui->RedButton,
                                          ui->YellowButton,    ui->GreenButton,      ui->PurpleButton,
                                          ui->LightBlueButton, ui->LightYellowButton};
    QToolButton *const swatches[kStages] = {ui->BlueButtonA,      ui->BrightRedButtonA,  ui->RedButtonA,
                                            ui->YellowButtonA,    ui->GreenButtonA,      ui->PurpleButtonA,
                                            ui->LightBlueButtonA, ui->LightYellowButtonA};
    for (int k = 0; k < kStages; ++k) {
        m_valueButtons[k] = values[k];
        m_swatches[k] = swatches[k];
        markerPositions[k] = QPoint(kMarkerX[k], kMarkerY);
        stageColours[k] = QString::fromLatin1(kStartColours[k]);
    }
    buttonTextColour = look::rgbNumbers(look::Role::Button);

    stageGroup = new QButtonGroup(this);
    swatchGroup = new QButtonGroup(this);
    stageGroup->setExclusive(true);
    swatchGroup->setExclusive(true);
    m_colourDialog = new QColorDialog(this);
    connect(m_colourDialog, &QColorDialog::colorSelected, this, &SensorDPI::SetColor);

    look::setSheet(ui->label, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(ui->label_8,
                   look::imageSheet(QStringLiteral("#label_8"), pictureDir,
                                    look::Images(QStringLiteral("Level.png"), QStringLiteral("LevelHover.png"))));
    look::setSheet(ui->ChooseEvent, look::comboSheet(pictureDir));
    auto *countView = new QListView(ui->ChooseEvent);
    ui->ChooseEvent->setView(countView);
    ui->ChooseEvent->setMaxVisibleItems(5);
    look::setSheet(countView, look::comboListSheet());

    for (QWidget *w : {static_cast<QWidget *>(ui->horizontalSliderC), static_cast<QWidget *>(ui->spinBoxA),
                       static_cast<QWidget *>(ui->ReduceLevelA), static_cast<QWidget *>(ui->AddLevelA)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    for (int k = 0; k < kStages; ++k) {
        QSizePolicy policy = valueButton(k)->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        valueButton(k)->setSizePolicy(policy);
        stageButtonRects[k] = valueButton(k)->geometry();
        swatchRects[k] = swatch(k)->geometry();
    }

    look::setSheet(ui->horizontalSliderC, look::sliderSheet(pictureDir, QStringLiteral("HuaKuai.png")));
    look::setSheet(ui->spinBoxA, look::framedNumberSheet());
    look::setSheet(ui->ReduceLevelA, look::imageSheet(QStringLiteral("#ReduceLevelA"), pictureDir,
                                                      look::Images(QStringLiteral("Reduce.png"))));
    look::setSheet(ui->AddLevelA,
                   look::imageSheet(QStringLiteral("#AddLevelA"), pictureDir, look::Images(QStringLiteral("Add.png"))));

    for (int k = 0; k < kStages; ++k) {
        drawValueButton(k, false);
        // Red until the first refill says the stage's colour.
        look::setSheet(swatch(k), look::stageSwatchSheet(QLatin1Char('#') + swatch(k)->objectName(), pictureDir,
                                                         QStringLiteral("MinB.png")));
        stageGroup->addButton(valueButton(k), k);
        swatchGroup->addButton(swatch(k), k);
    }
    trackRect = QRect(0, 0, 728, 194);
}

SensorDPI::~SensorDPI() = default;

// ---------------------------------------------------------------------------
// Read back

int SensorDPI::stageDpi(int stage) const
{
    return validStage(stage) ? valueButton(stage)->text().toInt() : 0;
}

QString SensorDPI::stageColour(int stage) const
{
    return validStage(stage) ? stageColours[stage] : QString();
}

QPoint SensorDPI::markerPosition(int stage) const
{
    return validStage(stage) ? markerPositions[stage] : QPoint(0, 0);
}

// ---------------------------------------------------------------------------
// Look of a stage

void SensorDPI::drawValueButton(int stage, bool selected)
{
    const QRect r = stageButtonRects[stage];
    QToolButton *b = valueButton(stage);
    if (selected)
        b->setGeometry(r.x() - 7, r.y() - 7, 68, 70);
    else
        b->setGeometry(r.x(), r.y(), 54, 56);
    look::setSheet(
        b, look::stageButtonSheet(pictureDir, selected ? QStringLiteral("MaxA.png") : QStringLiteral("MinA.png")));
}

void SensorDPI::styleSwatch(int stage, bool selected)
{
    look::setSheet(swatch(stage),
                   look::stageSwatchSheet(QStringLiteral("QToolButton"), pictureDir,
                                          selected ? QStringLiteral("MaxB.png") : QStringLiteral("MinB.png"),
                                          stageColours[stage]));
}

void SensorDPI::drawSwatch(int stage, bool selected)
{
    const QRect r = swatchRects[stage];
    if (selected)
        swatch(stage)->setGeometry(r.x() - 8, r.y() + 6, 66, 14);
    else
        swatch(stage)->setGeometry(r.x(), r.y(), 50, 12);
    styleSwatch(stage, selected);
}

void SensorDPI::restyleSwatch(int stage)
{
    styleSwatch(stage, swatch(stage)->isChecked());
}

void SensorDPI::restyleOtherSwatches(int stage)
{
    for (int i = 0; i < kStages; ++i)
        if (i != stage)
            drawSwatch(i, false);
}

void SensorDPI::restyleSwatchesFor(int stage)
{
    restyleOtherSwatches(stage);
    if (validStage(stage))
        styleSwatch(stage, true);
}

// ---------------------------------------------------------------------------
// Operations of the page

void SensorDPI::loadStageDefaults()
{
    const QString group = QStringLiteral("Drive") + QString::number(currentDevice.get().modelIndex + 1);
    const QStringList colours = ConfigIni::instance()->valueList(group, QStringLiteral("DPIColor"));
    for (int k = 0; k < kStages && 3 * k + 2 < colours.size(); ++k)
        stageColours[k] =
            colours.at(3 * k) + QLatin1Char(',') + colours.at(3 * k + 1) + QLatin1Char(',') + colours.at(3 * k + 2);
    const QStringList grades = ConfigIni::instance()->valueList(group, QStringLiteral("DPIGrade"));
    if (grades.size() < kStages)
        return;
    for (int k = 0; k < kStages; ++k) {
        drawSwatch(k, false);
        valueButton(k)->setText(grades.at(k));
    }
}

void SensorDPI::clearStageCountChoices()
{
    const bool was = ui->ChooseEvent->blockSignals(true);
    ui->ChooseEvent->clear();
    ui->ChooseEvent->blockSignals(was);
}

void SensorDPI::insertStageCountChoice(int index, const QString &text)
{
    ui->ChooseEvent->insertItem(index, text);
}

void SensorDPI::blockStageCountSignals(bool block)
{
    ui->ChooseEvent->blockSignals(block);
}

void SensorDPI::setStageCountIndex(int index)
{
    m_countIndex = index;
    ui->ChooseEvent->setCurrentIndex(index);
}

void SensorDPI::showStages(int lastIndex)
{
    if (lastIndex < 0 || lastIndex >= kStages)
        return;
    for (int k = 0; k < kStages; ++k) {
        valueButton(k)->setVisible(k <= lastIndex);
        swatch(k)->setVisible(k <= lastIndex);
    }
}

void SensorDPI::setActiveStageIndex(int stage)
{
    m_activeStage = stage;
}

void SensorDPI::moveMarkerTo(int stageNumber)
{
    m_activeStage = stageNumber - 1;
    if (validStage(m_activeStage))
        ui->label_8->move(markerPositions[m_activeStage]);
}

void SensorDPI::applyActiveStage(int stage)
{
    if (!validStage(stage))
        return;
    valueButton(stage)->setChecked(true);
    for (int k = 0; k < kStages; ++k)
        swatchToggled(k, k == stage);
    emit PostMsg::instance()->SigAddSensor(stageDpi(stage));
}

void SensorDPI::setStageValueText(int stage, const QString &text)
{
    if (validStage(stage))
        valueButton(stage)->setText(text);
}

void SensorDPI::setStageColourHex(int stage, const QString &hex)
{
    if (!validStage(stage))
        return;
    bool okR = false, okG = false, okB = false;
    const int r = hex.mid(1, 2).toInt(&okR, 16);
    const int g = hex.mid(3, 2).toInt(&okG, 16);
    const int b = hex.mid(5, 2).toInt(&okB, 16);
    stageColours[stage] = joinedRgb(okR ? r : 0, okG ? g : 0, okB ? b : 0);
}

void SensorDPI::setTitleText(const QString &text)
{
    ui->label->setText(text);
}

void SensorDPI::blockSliderSignals(bool block)
{
    ui->horizontalSliderC->blockSignals(block);
}

void SensorDPI::setSliderEnabled(bool enabled)
{
    ui->horizontalSliderC->setEnabled(enabled);
}

void SensorDPI::setSliderMinimum(int dpi)
{
    ui->horizontalSliderC->setMinimum(dpi);
}

void SensorDPI::setSliderMaximum(int dpi)
{
    ui->horizontalSliderC->setMaximum(dpi);
}

void SensorDPI::setSliderValue(int dpi)
{
    ui->horizontalSliderC->setValue(dpi);
}

void SensorDPI::setValueBoxValue(int dpi)
{
    ui->spinBoxA->setValue(dpi);
}

void SensorDPI::unfreezeSlider()
{
    ui->horizontalSliderC->setEnabled(true);
    ui->horizontalSliderC->blockSignals(false);
}

void SensorDPI::freezeSlider()
{
    ui->horizontalSliderC->blockSignals(true);
    ui->horizontalSliderC->setEnabled(false);
}

// ---------------------------------------------------------------------------
// Selecting a stage

// Redraws `stage` as the selected one and every other as not selected.
void SensorDPI::selectStage(int stage)
{
    for (int k = 0; k < kStages; ++k) {
        valueButton(k)->blockSignals(true);
        swatch(k)->blockSignals(true);
    }
    if (validStage(stage)) {
        if (stage == 1)
            ui->horizontalSliderC->blockSignals(true);
        ui->horizontalSliderC->setValue(stageDpi(stage));
        valueButton(stage)->setChecked(true);
        swatch(stage)->setChecked(true);
        drawValueButton(stage, true);
        ui->label_8->move(markerPositions[stage]);
        drawSwatch(stage, true);
        for (int k = 0; k < kStages; ++k) {
            if (k == stage)
                continue;
            drawValueButton(k, false);
            drawSwatch(k, false);
        }
    }
    for (int k = 0; k < kStages; ++k) {
        valueButton(k)->blockSignals(false);
        swatch(k)->blockSignals(false);
    }
    ui->horizontalSliderC->blockSignals(false);
}

void SensorDPI::stageToggled(int stage, bool checked)
{
    drawValueButton(stage, checked);
    if (!checked)
        return;
    const int before = m_activeStage;
    m_activeStage = stage;
    // A refill or a stage change made on the mouse is only shown.
    const dpistages::Write write = dpistages::writeActiveStage(stage);
    if (write == dpistages::Write::Shown) {
        m_activeStage = before;
        return;
    }
    m_previousStage = before;
    if (write == dpistages::Write::Refused) {
        selectStage(m_previousStage);
        m_activeStage = m_previousStage;
        return;
    }
    swatch(stage)->setChecked(true);
    restyleOtherSwatches(stage);
    m_activeStage = stage;
    m_previousStage = stage;
    ui->label_8->move(markerPositions[stage]);
    emit PostMsg::instance()->SigAddSensor(stageDpi(stage));
}

// A click follows its toggle: after a switch this redraws the new stage,
// after a refused one the stage the mouse still has.
void SensorDPI::stageClicked()
{
    selectStage(m_previousStage);
}

void SensorDPI::swatchToggled(int stage, bool checked)
{
    if (!checked) {
        drawSwatch(stage, false);
        return;
    }
    const QRect r = swatchRects[stage];
    swatch(stage)->setGeometry(r.x() - 8, r.y() + 6, 66, 14);
    valueButton(stage)->setChecked(true);
    // The mouse refused the switch: the previous stage is shown again.
    if (!valueButton(stage)->isChecked())
        return;
    styleSwatch(stage, true);
    setSliderQuietly(stageDpi(stage));
}

void SensorDPI::swatchClicked(int stage)
{
    // A swatch whose stage could not be selected opens no dialog: a colour
    // picked there would land on another stage.
    if (swatch(stage)->isChecked() && valueButton(stage)->isChecked())
        m_colourDialog->show();
}

// The per-stage slots the form connects by name (the colour words are only
// names: stage 0 is "Blue", stage 7 "LightYellow"). Each hands its stage to
// the one handler every stage shares.
// clang-format off
#define SENSORDPI_STAGE_SLOTS(Colour, stage)                                                      \
    void SensorDPI::on_##Colour##Button_toggled(bool checked) { stageToggled(stage, checked); }   \
    void SensorDPI::on_##Colour##Button_clicked() { stageClicked(); }                             \
    void SensorDPI::on_##Colour##ButtonA_toggled(bool checked) { swatchToggled(stage, checked); } \
    void SensorDPI::on_##Colour##ButtonA_clicked() { swatchClicked(stage); }

SENSORDPI_STAGE_SLOTS(Blue, 0)
SENSORDPI_STAGE_SLOTS(BrightRed, 1)
SENSORDPI_STAGE_SLOTS(Red, 2)
SENSORDPI_STAGE_SLOTS(Yellow, 3)
SENSORDPI_STAGE_SLOTS(Green, 4)
SENSORDPI_STAGE_SLOTS(Purple, 5)
SENSORDPI_STAGE_SLOTS(LightBlue, 6)
SENSORDPI_STAGE_SLOTS(LightYellow, 7)

#undef SENSORDPI_STAGE_SLOTS
// clang-format on

bool SensorDPI::checkStageFromMarker(int stage)
{
    if (!dpistages::stageChoiceAllowed())
        return false;
    FlagScope selecting(m_selecting);
    if (validStage(stage))
        valueButton(stage)->setChecked(true);
    return true;
}

// ---------------------------------------------------------------------------
// Stage count

void SensorDPI::exchangeStages(int a, int b)
{
    const QString colourA = stageColours[a], colourB = stageColours[b];
    const QString textA = valueButton(a)->text(), textB = valueButton(b)->text();
    stageColours[a] = colourB;
    valueButton(a)->setText(textB);
    restyleSwatch(a);
    stageColours[b] = colourA;
    valueButton(b)->setText(textA);
    restyleSwatch(b);
}

void SensorDPI::on_ChooseEvent_currentIndexChanged(int index)
{
    const int previousCount = m_countIndex;
    const auto putBack = [&] {
        const bool was = ui->ChooseEvent->blockSignals(true);
        ui->ChooseEvent->setCurrentIndex(previousCount);
        ui->ChooseEvent->blockSignals(was);
        m_countIndex = previousCount;
    };
    if (!checkDeviceOnline()) {
        putBack();
        return;
    }
    m_countIndex = index;
    if (sensorPageRefreshing)
        return;
    // The mouse takes the count (with the exchange below) first, so a
    // refusal leaves the screen as it was.
    const dpistages::CountWrite write = dpistages::writeStageCount(m_activeStage, index);
    if (write.write == dpistages::Write::Refused) {
        putBack();
        return;
    }
    if (m_activeStage > index && index >= 0) {
        // The selected stage falls outside the new count: it moves into the
        // new last stage.
        if (write.exchanged)
            exchangeStages(m_activeStage, index);
        ui->label_8->move(markerPositions[index]);
        valueButton(index)->setChecked(true);
        m_activeStage = index;
    }
    showStages(index);
}

// ---------------------------------------------------------------------------
// DPI value

int SensorDPI::firstCheckedStage() const
{
    for (int k = 0; k < kStages; ++k)
        if (valueButton(k)->isChecked())
            return k;
    return -1;
}

void SensorDPI::setSliderQuietly(int dpi)
{
    FlagScope selecting(m_selecting);
    ui->horizontalSliderC->setValue(dpi);
}

void SensorDPI::on_horizontalSliderC_sliderMoved(int position)
{
    const int dpi = snapDpi(dpiRange, position).value;
    if (openDeviceAnswers() || sensorPageRefreshing) {
        ui->spinBoxA->setValue(dpi);
        return;
    }
    freezeSlider();
    ui->horizontalSliderC->setValue(ui->spinBoxA->value());
    ui->horizontalSliderC->setSliderPosition(ui->spinBoxA->value());
}

void SensorDPI::on_horizontalSliderC_valueChanged(int value)
{
    if (uiReady && !sensorPageRefreshing && !openDeviceAnswers()) {
        freezeSlider();
        emit PostMsg::instance()->SigMouseOffLineo(0);
        ui->horizontalSliderC->setValue(ui->spinBoxA->value());
        return;
    }
    const DpiSnap snap = snapDpi(dpiRange, value);
    if (snap.pageStep > 0)
        ui->horizontalSliderC->setPageStep(snap.pageStep);
    const int stage = firstCheckedStage();
    const QString previousText = stage >= 0 ? valueButton(stage)->text() : QString();
    const int previousBox = ui->spinBoxA->value();
    if (stage >= 0)
        valueButton(stage)->setText(QString::number(snap.value));
    ui->spinBoxA->setValue(snap.value);

    // Following a stage sends nothing; nor do refills and imports.
    if (m_selecting)
        return;
    const dpistages::Write write = dpistages::writeStageDpi(stage, snap.value);
    if (write == dpistages::Write::Shown)
        return;
    if (write == dpistages::Write::Refused) {
        // The mouse keeps its DPI: show it again.
        valueButton(stage)->setText(previousText);
        ui->spinBoxA->setValue(previousBox);
        return;
    }
    emit PostMsg::instance()->SigAddSensor(snap.value);
}

void SensorDPI::on_AddLevelA_clicked()
{
    if (uiReady && !openDeviceAnswers()) {
        emit PostMsg::instance()->SigMouseOffLineo(0);
        return;
    }
    ui->horizontalSliderC->setValue(stepDpiUp(dpiRange, ui->spinBoxA->value()));
}

void SensorDPI::on_ReduceLevelA_clicked()
{
    if (uiReady && !openDeviceAnswers()) {
        emit PostMsg::instance()->SigMouseOffLineo(0);
        return;
    }
    ui->horizontalSliderC->setValue(stepDpiDown(dpiRange, ui->spinBoxA->value()));
}

// ---------------------------------------------------------------------------
// Colour

void SensorDPI::SetColor(const QColor &color)
{
    if (!checkDeviceOnline())
        return;
    int stage = -1;
    for (int k = 0; k < kStages && stage < 0; ++k)
        if (swatch(k)->isChecked())
            stage = k;
    if (stage < 0)
        return;
    const QString previous = stageColours[stage];
    stageColours[stage] = joinedRgb(color.red(), color.green(), color.blue());
    if (dpistages::writeStageColour(stage, color.red(), color.green(), color.blue()) == dpistages::Write::Refused)
        stageColours[stage] = previous; // the mouse keeps its colour
    restyleSwatch(stage);
}

// ---------------------------------------------------------------------------
// Marker drag

void SensorDPI::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton)
        return;
    if (!ui->label_8->geometry().contains(event->pos()) || !checkDeviceOnline())
        return;
    dragging = true;
    dragOffset = event->pos() - ui->label_8->pos();
}

void SensorDPI::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton || !dragging)
        return;
    if (trackRect.contains(event->pos())) {
        ui->label_8->move(event->pos() - dragOffset);
        return;
    }
    mouseReleaseEvent(event);
}

void SensorDPI::mouseReleaseEvent(QMouseEvent *event)
{
    if (!dragging)
        return;
    dragging = false;
    const int x = event->pos().x();
    const QPoint current = markerPosition(m_activeStage);
    if (!ui->label_8->geometry().contains(event->pos()) || x < 15 || x > 706) {
        ui->label_8->move(current);
        return;
    }
    const int countIndex = ui->ChooseEvent->currentIndex();
    if (countIndex >= 0 && countIndex <= 6 && x > kRightLimit[countIndex]) {
        ui->label_8->move(current);
        if (uiReady)
            setActiveDpiStage(m_activeStage);
        return;
    }
    const int distance = x - current.x();
    int stages = 0;
    for (const DropWindow &w : kDropWindows) {
        if (distance >= w.from && distance <= w.to) {
            stages = w.stages;
            break;
        }
    }
    const int target = m_activeStage + stages;
    if (stages == 0 || !validStage(target)) {
        ui->label_8->move(current);
        return;
    }
    ui->label_8->move(current.x() + kStagePitch * stages, current.y());
    const int before = m_activeStage;
    // The stage switch takes the new stage over (and writes it) when the
    // mouse answers; otherwise the marker goes back under the stage it has.
    if (!checkStageFromMarker(target) || !valueButton(target)->isChecked()) {
        m_activeStage = before;
        ui->label_8->move(current);
        return;
    }
    m_activeStage = target;
    if (uiReady && !setActiveDpiStage(m_activeStage)) {
        selectStage(before);
        m_activeStage = before;
        m_previousStage = before;
    }
}
