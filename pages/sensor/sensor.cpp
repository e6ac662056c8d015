#include "pages/sensor/sensor.h"
#include "ui_sensor.h"

#include "app/configini.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/dpicodec.h"
#include "device/pagelink.h"
#include "pages/hubconnections.h"
#include "platform/userpaths.h"

#include <QDir>
#include <QEvent>
#include <QListView>

namespace {

// Performance time entries: record byte 13 (units of 10 seconds).
constexpr int kPerformanceTimes[] = {1, 3, 6, 12, 18, 30, 60, 90};
constexpr int kPerformanceTimeCount = int(sizeof kPerformanceTimes / sizeof kPerformanceTimes[0]);

constexpr int kCorded = 2; // sensor-mode entry shown for cables and high rates

// Tip icon x of the sensor-mode and performance captions per language index.
struct TipPlace
{
    int language, sensorModeX, performanceX;
};
constexpr TipPlace kTipPlaces[] = {{0, 203, 630}, {1, 205, 600}, {2, 235, 630}, {3, 265, 750},
                                   {4, 203, 530}, {5, 203, 530}, {7, 178, 630}};

QString modelGroup()
{
    return QStringLiteral("Drive") + QString::number(currentDevice.get().modelIndex + 1);
}

bool highRateCode(int code)
{
    return code == 16 || code == 32 || code == 64;
}

bool linkWithHighRates(int linkCode)
{
    return linkCode == 1 || linkCode == 4 || linkCode == 5;
}

QString stageColourHex(const DpiStage &stage)
{
    return QStringLiteral("#%1%2%3")
        .arg(stage.red, 2, 16, QLatin1Char('0'))
        .arg(stage.green, 2, 16, QLatin1Char('0'))
        .arg(stage.blue, 2, 16, QLatin1Char('0'));
}

} // namespace

Sensor::Sensor(QWidget *parent) : QWidget(parent), ui(new Ui::Sensor)
{
    ui->setupUi(this);
    m_built = true;
    ui->frame_3->show();

    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    sensorPageDir = userDataRoot() + QStringLiteral("/usersetting/SensorPage");
    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigHideModel, this, &Sensor::SlotHideModel);
    QDir().mkpath(sensorPageDir);

    for (MyConmboBox *box : {ui->ModelChoose, ui->PerformanceOpen}) {
        look::setSheet(box, look::comboSheet(pictureDir));
        auto *view = new QListView(box);
        box->setView(view);
        look::setSheet(view, look::comboListSheet());
    }
    ui->PerformanceOpen->setMaxVisibleItems(5);

    readSensorTable();
    const SensorSwitches &switches = sensorTable.switches;
    supportSensorModeSel = switches.sensorModeSel;
    supportLodCal = switches.lodCal;
    supportRipple = switches.ripple;
    supportFixLine = switches.fixLine;
    supportMotionSync = switches.motionSync;
    supportMousepadCal = switches.mousepadCal;

    look::setSheet(ui->label_5, look::colorSheet(QStringLiteral("QLabel")));
    const QString tip = look::imageSheet(QStringLiteral("QLabel"), pictureDir, look::Images(QStringLiteral("Tips.png")),
                                         look::Fit::Stretch);
    look::setSheet(ui->label, tip);
    look::setSheet(ui->label_2, tip);
    look::setSheet(ui->Performance, look::checkBoxSheet(pictureDir, QStringLiteral("CheckBoxChecked.png"),
                                                        QStringLiteral("CheckBox.png")));
    for (QToolButton *title : {ui->TitleButton, ui->TitleButton_2, ui->TitleButton_4})
        look::setSheet(title, look::imageSheet(QLatin1Char('#') + title->objectName(), pictureDir,
                                               look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));

    modelChooseView = qobject_cast<QListView *>(ui->ModelChoose->view());

    connectBlockingHub(this);
    connect(hub, &PostMsg::SigUpDataSensorUIB, this, &Sensor::SlotUpDataSenSorUIB);
    connect(hub, &PostMsg::SigAllLanguage, this, &Sensor::SlotAllLanguage);

    SlotAllLanguage(languageIndex);
}

Sensor::~Sensor() = default;

bool Sensor::lists(const QString &switchValue) const
{
    return switchListsSensor(switchValue, currentSensorModel);
}

// ---------------------------------------------------------------------------
// User changes

void Sensor::on_ModelChoose_currentIndexChanged(int index)
{
    if (!uiReady || sensorPageRefreshing || index == kCorded)
        return;
    if (sendOrRestore(setModelChoose(index), ui->ModelChoose, &QComboBox::setCurrentIndex, sensorModeIndex))
        sensorModeIndex = index;
}

void Sensor::on_Performance_clicked(bool checked)
{
    if (uiReady) {
        if (setPerformance(checked ? 1 : 0)) {
            emit PostMsg::instance()->Sig20KOpen(checked);
        } else {
            sendOrRestore(false, ui->Performance, &QCheckBox::setChecked, !checked);
            ui->PerformanceOpen->setEnabled(!checked);
        }
    }
    emit PostMsg::instance()->SigtVis(0);
}

void Sensor::on_Performance_toggled(bool checked)
{
    ui->PerformanceOpen->setEnabled(checked);
}

void Sensor::on_PerformanceOpen_currentIndexChanged(int index)
{
    if (!uiReady || sensorPageRefreshing)
        return;
    if (index < 0 || index >= kPerformanceTimeCount)
        return;
    const bool online = checkDeviceOnline();
    if (sendOrRestore(online && setPerformanceTime(kPerformanceTimes[index]), ui->PerformanceOpen,
                      &QComboBox::setCurrentIndex, performanceTimeIndex))
        performanceTimeIndex = index;
}

void Sensor::changeEvent(QEvent *event)
{
    // The form's own set-up sends change events before its widgets exist.
    if (m_built)
        ui->PerformanceOpen->setEnabled(ui->Performance->isChecked());
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------
// Device data

void Sensor::showRecordedSensorMode(int mode, bool signalsLive)
{
    ui->ModelChoose->setEnabled(true);
    const bool was = signalsLive ? ui->ModelChoose->signalsBlocked() : ui->ModelChoose->blockSignals(true);
    ui->ModelChoose->setCurrentIndex(mode);
    ui->ModelChoose->blockSignals(was);
    sensorModeIndex = mode;
    if (modelChooseView)
        modelChooseView->setRowHidden(kCorded, true);
}

void Sensor::showCordedSensorMode()
{
    if (modelChooseView)
        modelChooseView->setRowHidden(kCorded, false);
    ui->ModelChoose->setCurrentIndex(kCorded);
    sensorModeIndex = kCorded;
    ui->ModelChoose->setEnabled(false);
}

void Sensor::refill(const FlashDataMap &record, bool fromDevice)
{
    SensorDPI *dpi = ui->frameDpi;
    const DeviceAllInfo device = currentDevice.get();
    const QString group = modelGroup();
    ConfigIni *catalogue = ConfigIni::instance();

    dpi->unfreezeSlider();
    dpi->clearStageCountChoices();
    dpi->blockSliderSignals(true);
    dpi->setSliderEnabled(true);
    {
        PageRefill refilling(PageRefill::SensorPage, fromDevice ? PageRefill::WhenDone : PageRefill::Untouched);
        const int active = record.activeDpiStage;
        dpi->setActiveStageIndex(active);

        const int rate = SensorRate::indexOfCode(record.reportRate);
        if (rate >= 0)
            ui->frameRate->setRateIndex(rate);
        // A cable carries at most 1000 Hz below 8000 Hz.
        if (device.wired && (record.reportRate == 16 || record.reportRate == 32))
            ui->frameRate->setRateIndex(3);

        currentSensorModel = catalogue->value(group, QStringLiteral("Sensor"));
        if (currentSensorModel == QLatin1String("3950"))
            ui->frameLOD->showShortLod();
        else
            ui->frameLOD->hideShortLod();

        if (!lists(supportSensorModeSel))
            ui->ModelChoose->setEnabled(false);
        else if (device.wired || (linkWithHighRates(device.linkCode) && highRateCode(record.reportRate)))
            showCordedSensorMode();
        else
            showRecordedSensorMode(record.modelChoose, true);

        ui->frameLOD->setLodIndex(record.liftOffDistance - 1);

        const bool performance = record.performance != 0;
        ui->Performance->setChecked(performance);
        ui->PerformanceOpen->setEnabled(performance);
        emit PostMsg::instance()->Sig20KOpen(performance);
        for (int i = 0; i < kPerformanceTimeCount; ++i) {
            if (kPerformanceTimes[i] == record.performanceTime) {
                ui->PerformanceOpen->setCurrentIndex(i);
                performanceTimeIndex = i;
                break;
            }
        }

        ui->frame->setOn(record.rippleControl != 0);
        ui->frame_4->setOn(record.straightLine != 0);
        ui->frame_3->setOn(record.motionSync != 0);

        // Eight stage records at most: the bytes after them are other settings.
        const int stages = stageCountFromCatalogue(catalogue->value(group, QStringLiteral("DPIMaxGrade")));
        dpi->blockStageCountSignals(true);
        for (int j = 0; j < stages; ++j) {
            dpi->setStageColourHex(j, stageColourHex(record.dpiStages[j]));
            dpi->insertStageCountChoice(j, QString::number(j + 1));
        }
        dpi->blockStageCountSignals(false);
        dpi->restyleSwatchesFor(active);

        const bool oneInOne = catalogue->value(group, QStringLiteral("XIn1")).toInt() == 2;
        for (QWidget *w : {static_cast<QWidget *>(ui->TitleButton_4), static_cast<QWidget *>(ui->label_5),
                           static_cast<QWidget *>(ui->label_11), static_cast<QWidget *>(ui->label),
                           static_cast<QWidget *>(ui->ModelChoose), static_cast<QWidget *>(ui->frameLOD),
                           static_cast<QWidget *>(ui->Performance), static_cast<QWidget *>(ui->label_2),
                           static_cast<QWidget *>(ui->PerformanceOpen), static_cast<QWidget *>(ui->frame),
                           static_cast<QWidget *>(ui->frame_4)})
            w->setVisible(!oneInOne);
        ui->frame_3->show();

        const QStringList range = catalogue->valueList(group, QStringLiteral("DPIRange"));
        dpiRange.parse(range);
        if (dpiRange.valid()) {
            dpiMinText = range.first();
            dpiMaxText = dpiRange.segments[dpiRange.segmentCount - 1].max;
        }
        // A model without a usable range keeps a range one can still slide in.
        const bool known = !dpiMinText.isEmpty() && !dpiMaxText.isEmpty() && dpiMinText.toInt() < dpiMaxText.toInt();
        dpi->setSliderMaximum(known ? dpiMaxText.toInt() : kDefaultDpiMax);
        dpi->setSliderMinimum(known ? dpiMinText.toInt() : kDefaultDpiMin);

        for (int j = 0; j < stages; ++j) {
            const DpiStage &stage = record.dpiStages[j];
            const int value = decodeStageDpi(sensorTable, currentSensorModel, stage.xCode, stage.codeFlags);
            dpi->setStageValueText(j, QString::number(value));
            if (j == active) {
                emit PostMsg::instance()->SigAddSensor(value);
                dpi->setSliderValue(value);
                dpi->setValueBoxValue(value);
            }
        }

        dpi->showStages(record.dpiStageCount - 1);
        dpi->setStageCountIndex(record.dpiStageCount - 1);
        dpi->moveMarkerTo(active + 1);
        dpi->applyActiveStage(active);

        ui->frameRate->setVisibleRates(SensorRate::classOfLink(device.linkCode));

        ui->frameLOD->setLodEnabled(true);
        ui->frame->setVisible(lists(supportRipple));
        ui->frame_4->setVisible(lists(supportFixLine));
        ui->frame_3->show();
        dpi->blockSliderSignals(false);
    }
    emit PostMsg::instance()->SigtVis(0);
}

void Sensor::SlotUpDataSenSorUISensor(FlashDataMap DataMap)
{
    refill(DataMap, true);
}

void Sensor::SlotUpDataSenSorUIB(FlashDataMap DataMap)
{
    refill(DataMap, false);
}

void Sensor::SlotFormReset()
{
    SensorDPI *dpi = ui->frameDpi;
    const DeviceAllInfo device = currentDevice.get();
    {
        PageRefill refilling(PageRefill::SensorPage);
        dpi->setSliderMaximum(kDefaultDpiMax);
        dpi->setSliderMinimum(kDefaultDpiMin);
        dpi->loadStageDefaults();
        dpi->clearStageCountChoices();
        for (int i = 0; i < 6; ++i)
            dpi->insertStageCountChoice(i, QString::number(i + 1));
        dpi->blockStageCountSignals(false);
        dpi->showStages(5);
        dpi->setStageCountIndex(5);
        dpi->moveMarkerTo(2);
        dpi->applyActiveStage(1);

        ui->frameLOD->setLodIndex(0);
        ui->Performance->setEnabled(true);
        ui->Performance->setChecked(true);
        ui->frame_3->setOn(true);

        dpi->setSliderValue(1200);
        dpi->setValueBoxValue(1200);
        emit PostMsg::instance()->SigAddSensor(1200);

        const int rateClass = SensorRate::classOfLink(device.linkCode);
        if (rateClass >= 0) {
            ui->frameRate->setVisibleRates(rateClass);
            ui->frameRate->setRateIndex(3);
        }
        if (rateClass >= 0 || device.wired) {
            const bool was = ui->ModelChoose->blockSignals(true);
            ui->ModelChoose->setCurrentIndex(0);
            ui->ModelChoose->blockSignals(was);
            sensorModeIndex = 0;
        }

        currentSensorModel = ConfigIni::instance()->value(modelGroup(), QStringLiteral("Sensor"));
        if (currentSensorModel == QLatin1String("3950"))
            ui->frameLOD->showShortLod();
        else
            ui->frameLOD->hideShortLod();

        const bool was = ui->PerformanceOpen->blockSignals(true);
        ui->PerformanceOpen->setCurrentIndex(2);
        ui->PerformanceOpen->blockSignals(was);
        performanceTimeIndex = 2;

        ui->frameLOD->setLodIndex(0);

        ui->Performance->setChecked(false);
        emit PostMsg::instance()->Sig20KOpen(false);
        ui->PerformanceOpen->setEnabled(false);

        ui->frame_3->setOn(true);
        ui->frame_4->setOn(false);
        ui->frame->setOn(false);
    }
    emit PostMsg::instance()->SigtVis(0);
}

void Sensor::SlotUpDataReportRate(int index)
{
    const bool modeFollows = lists(supportSensorModeSel) && !currentDevice.get().wired;
    const int rate = SensorRate::indexOfCode(index);
    if (rate < 0)
        return;
    ui->frameRate->setRateIndex(rate);
    if (!modeFollows)
        return;
    if (highRateCode(index))
        showCordedSensorMode();
    else
        showRecordedSensorMode(currentFlashData.modelChoose, true);
}

void Sensor::SlotUpDataDPI(int index)
{
    uiReady = false;
    ui->frameDpi->moveMarkerTo(index + 1);
    if (index >= 0 && index < SensorDPI::kStages) {
        ui->frameDpi->applyActiveStage(index);
        ui->frameDpi->setActiveStageIndex(index);
    }
    uiReady = true;
}

void Sensor::SlotHideModel(int index)
{
    if (!lists(supportSensorModeSel))
        return;
    const DeviceAllInfo device = currentDevice.get();
    if (index == 0 && !device.wired)
        showRecordedSensorMode(currentFlashData.modelChoose, true);
    else if (index == 1 && linkWithHighRates(device.linkCode))
        showCordedSensorMode();
}

// ---------------------------------------------------------------------------
// Language

void Sensor::SlotAllLanguage(int index)
{
    for (const TipPlace &place : kTipPlaces) {
        if (place.language != index)
            continue;
        ui->label->move(place.sensorModeX, 361);
        ui->label_2->move(place.performanceX, 361);
        ui->frameLOD->moveTip(index);
        ui->frame->moveTip(index);
        ui->frame_3->moveTip(index);
        ui->frame_4->moveTip(index);
    }

    const auto text = [index](const char *key) {
        return catalogueText(QStringLiteral("sensor"), QLatin1String(key), index);
    };
    ui->frameDpi->setTitleText(text("DPISetting"));
    ui->frameRate->setTitle(text("ReportRate"));
    ui->label_5->setText(text("SensorSetting"));
    ui->label_11->setText(text("SensorMode"));
    ui->label->setToolTip(text("SensorModeTips"));
    ui->frameLOD->setTitle(text("LOD"));
    ui->frameLOD->setTipText(text("LODTips"));
    ui->frame_3->setCaption(text("MotionSync"));
    ui->frame_3->setTipText(text("MotionSyncTips"));
    ui->Performance->setText(text("Performance"));
    ui->label_2->setToolTip(text("PerformanceTips"));
    ui->frame->setCaption(text("Ripple"));
    ui->frame->setTipText(text("RippleTips"));
    ui->frame_4->setCaption(text("Angle"));
    ui->frame_4->setTipText(text("AngleTips"));

    for (int i = 0; i < kPerformanceTimeCount; ++i)
        ui->PerformanceOpen->setItemText(
            i, catalogueOption(QStringLiteral("PerformanceOptions"), QString::number(kPerformanceTimes[i]), index));
}
