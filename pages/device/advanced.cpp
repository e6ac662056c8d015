#include "pages/device/advanced.h"
#include "ui_advanced.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/advancedvalues.h"
#include "device/devicestate.h"
#include "pages/hubconnections.h"

#include <QButtonGroup>
#include <QTabBar>
#include <QWheelEvent>

Advanced::Advanced(QWidget *parent) : QWidget(parent), ui(new Ui::Advanced)
{
    ui->setupUi(this);
    for (CurvePlotWidget *plot : {ui->PicA, ui->PicB, ui->PicC, ui->PicD})
        plot->editable = 0;

    modeGroup = new QButtonGroup(this);
    modeGroup->setExclusive(true);
    for (QCheckBox *box : {ui->checkBox_3, ui->checkBox_4, ui->checkBox_5, ui->checkBox_6})
        modeGroup->addButton(box);
    ui->AdvancedTab->setCurrentIndex(0);
    ui->ModeTab->setCurrentIndex(0);
    ui->checkBox_3->setChecked(true);
    ui->verticalScrollBar->hide();
    ui->FrameLongMode->hide();

    pictureDir = look::pictureDir(QStringLiteral("Advanced"));
    for (QToolButton *title : {ui->TitleButton, ui->TitleButton_5})
        look::setSheet(title, look::imageSheet(QLatin1Char('#') + title->objectName(), pictureDir,
                                               look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    look::setSheet(ui->AdvancedTab, look::transparentTabSheet());
    look::setSheet(ui->ModeTab, look::transparentTabSheet());

    for (QLabel *label : {ui->label, ui->label_2, ui->label_4})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(ui->checkBox_2, look::checkBoxSheet(pictureDir, QStringLiteral("CheckBoxChecked.png"),
                                                       QStringLiteral("CheckBox.png")));
    const QString modeBox = look::checkBoxSheet(pictureDir, QStringLiteral("LODCheck.png"), QStringLiteral("LOD.png"));
    for (QCheckBox *box : {ui->checkBox_3, ui->checkBox_4, ui->checkBox_5, ui->checkBox_6})
        look::setSheet(box, modeBox);
    const QString tip = look::imageSheet(QStringLiteral("QLabel"), pictureDir, look::Images(QStringLiteral("Tips.png")),
                                         look::Fit::Stretch);
    look::setSheet(ui->Error, tip);
    look::setSheet(ui->Error_4, tip);

    ui->AdvancedTab->tabBar()->hide();
    ui->ModeTab->tabBar()->hide();

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigAllLanguage, this, &Advanced::SlotAllLanguage);
    connectBlockingHub(this);
    connect(hub, &PostMsg::SigUpDataSensorUIB, this, &Advanced::SlotUpDataSenSorUIB);
    connect(hub, &PostMsg::SigFormB, this, &Advanced::SlotFormB);
    connect(hub, &PostMsg::Sig20KOpen, this, &Advanced::Slot20KOpen);
    connect(hub, &PostMsg::SigtVis, this, &Advanced::SetPos);

    SlotAllLanguage(languageIndex);
    colourModeLabels(false);
    for (QCheckBox *box : {ui->checkBox_6, ui->checkBox_3, ui->checkBox_4, ui->checkBox_5})
        box->setEnabled(false);
}

Advanced::~Advanced() = default;

// ---------------------------------------------------------------------------
// Device data

void Advanced::refill(const FlashDataMap &record)
{
    const int angle = advanced::recordAngle(record);
    ui->FrameAngle->rotateDial(angle);
    ui->FrameAngle->setSliderSilently(angle);
    lastSentAngle = angle;
    ui->FrameAngle->setAngleText(advanced::angleText(angle));

    const int sleepIndex = advanced::sleepIndexOf(record);
    if (sleepIndex >= 0)
        ui->frameClose->setIndexSilently(sleepIndex);

    ui->FrameFPS->setSwitchChecked(advanced::fps20kOn(record));
    ui->FrameFastClick->setLeftTrigger(advanced::leftTriggersOnPress(record));
    ui->FrameFastClick->setRightTrigger(advanced::rightTriggersOnPress(record));
    emit PostMsg::instance()->SigtVis(0);
}

void Advanced::SlotUpDataSenSorUISensor(FlashDataMap DataMap)
{
    ui->FrameAngle->enableSlider(true);
    refill(DataMap);
}

void Advanced::SlotUpDataSenSorUIB(FlashDataMap DataMap)
{
    // An import unlocks the angle as a dump does: its record is what the
    // slider shows from now on.
    ui->FrameAngle->setEnabled(true);
    ui->FrameAngle->enableSlider(true);
    refill(DataMap);
}

void Advanced::SlotFormReset()
{
    ui->frameClose->setIndexSilently(advanced::kDefaultSleepIndex);
    ui->FrameLongMode->show();
    longRangeShown = true;
    ui->FrameFPS->setSwitchChecked(false);
    ui->FrameAngle->setSliderSilently(0);
    lastSentAngle = 0;
    ui->FrameAngle->setAngleText(advanced::angleText(0));
}

void Advanced::checkModel()
{
    longRangeShown = advanced::longRangeShownFor(currentDevice.get());
    ui->FrameLongMode->setVisible(longRangeShown);
    emit PostMsg::instance()->SigtVis(0);
}

void Advanced::SlotForm()
{
    checkModel();
}

void Advanced::SlotFormB()
{
    checkModel();
}

void Advanced::SlotLongRangeMode(bool Select)
{
    if (advanced::modelHasLongRange(currentDevice.get().modelIndex)) {
        ui->FrameLongMode->show();
        ui->FrameLongMode->setBoxChecked(Select);
        longRangeShown = true;
    }
    emit PostMsg::instance()->SigtVis(0);
}

void Advanced::Slot20KOpen(bool) {}

void Advanced::SetPos(int)
{
    ui->FrameFPS->hide();
    ui->FrameAngle->hide();
    ui->FrameLongMode->setVisible(longRangeShown);
    const int tipX = advanced::laidOutAngleTipX(languageIndex, longRangeShown);
    if (tipX >= 0)
        ui->FrameAngle->moveTipIcon(tipX, 6);
    if (longRangeShown) {
        ui->FrameLongMode->move(0, 160);
        ui->FrameAngle->move(0, 263);
    } else {
        ui->FrameAngle->move(0, 160);
    }
}

// ---------------------------------------------------------------------------
// Texts

void Advanced::SlotAllLanguage(int index)
{
    const advanced::TipPlaces places = advanced::tipPlacesFor(index);
    if (places.found) {
        ui->Error->move(places.sleepX, 53);
        ui->FrameFPS->moveTipIcon(places.fps20kX, 6);
        ui->FrameAngle->moveTipIcon(places.angleX, 6);
        ui->Error_4->move(places.sensitivityX, 54);
    }

    const QString section = QStringLiteral("AdvancedSettings");
    auto text = [&](const char *key) { return catalogueText(section, QLatin1String(key), index); };
    curveAxisTitleX = text("dpiModeTipsX");
    curveAxisTitleY = text("dpiModeTipsY");
    ui->label_2->setText(text("dpiSensitivityTitle"));
    ui->Error_4->setToolTip(text("dpiSensitivityTips").replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    ui->label_4->setText(text("dpiModeTitle"));
    const QString modes = QStringLiteral("dpiModeOptions");
    ui->label_8->setText(catalogueOption(modes, QStringLiteral("1"), index));
    ui->label_9->setText(catalogueOption(modes, QStringLiteral("2"), index));
    ui->label_10->setText(catalogueOption(modes, QStringLiteral("3"), index));
    ui->label_11->setText(catalogueOption(modes, QStringLiteral("0"), index));
    for (int i = 0; i < advanced::kSleepChoiceCount; ++i)
        ui->frameClose->setItemTextAt(i, advanced::sleepChoiceText(i, index));
    ui->label->setText(text("SleepTime"));
    ui->Error->setToolTip(text("SleepTimeTips"));

    FastClick *trigger = ui->FrameFastClick;
    trigger->setLabelText(0, text("QuickTrigger"));
    trigger->setLabelText(1, advanced::keyOptionText(QStringLiteral("0x0100"), 3, index));
    trigger->setLabelText(2, advanced::keyOptionText(QStringLiteral("0x0200"), 3, index));
    trigger->setLabelText(3, text("Presstrigger"));
    trigger->setLabelText(4, text("BottomTrigger"));
}

// ---------------------------------------------------------------------------
// DPI-mode tab

void Advanced::colourModeLabels(bool enabled)
{
    const QString sheet =
        enabled ? look::colorSheet(QStringLiteral("QLabel")) : look::disabledColorSheet(QStringLiteral("QLabel"));
    for (QLabel *label : {ui->label_8, ui->label_9, ui->label_10, ui->label_11})
        look::setSheet(label, sheet);
}

void Advanced::on_checkBox_2_clicked(bool checked)
{
    for (QCheckBox *box : {ui->checkBox_3, ui->checkBox_4, ui->checkBox_5, ui->checkBox_6})
        box->setEnabled(checked);
    colourModeLabels(checked);
}

void Advanced::on_checkBox_3_clicked(bool checked)
{
    if (checked)
        ui->ModeTab->setCurrentIndex(0);
}

void Advanced::on_checkBox_4_clicked(bool checked)
{
    if (checked)
        ui->ModeTab->setCurrentIndex(1);
}

void Advanced::on_checkBox_5_clicked(bool checked)
{
    if (checked)
        ui->ModeTab->setCurrentIndex(2);
}

void Advanced::on_checkBox_6_clicked(bool checked)
{
    if (checked)
        ui->ModeTab->setCurrentIndex(3);
}

void Advanced::on_verticalScrollBar_valueChanged(int) {}

void Advanced::wheelEvent(QWheelEvent *event)
{
    // The page scrolls nothing, and the wheel must not reach the device page.
    event->accept();
}
