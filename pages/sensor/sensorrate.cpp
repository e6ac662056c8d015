#include "pages/sensor/sensorrate.h"
#include "ui_sensorrate.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/pagelink.h"

#include <QButtonGroup>

namespace {

struct Rate
{
    int code;       // record byte 0
    int hz;         // what the summary panel shows
    int rateClass;  // 0 up to 1000 Hz, 1 from 2000 Hz on
};

constexpr Rate kRates[] = {{8, 125, 0},   {4, 250, 0},   {2, 500, 0},  {1, 1000, 0},
                           {16, 2000, 1}, {32, 4000, 1}, {64, 8000, 1}};
constexpr int kRateCount = int(sizeof kRates / sizeof kRates[0]);

} // namespace

SensorRate::SensorRate(QWidget *parent)
    : QFrame(parent), ui(new Ui::SensorRate)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    rateGroup = new QButtonGroup(this);
    rateGroup->setExclusive(true);
    const QString sheet =
        look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                         look::Images(QStringLiteral("ReportRate.png"), QString(), QString(),
                                      QStringLiteral("ReportRateClick.png")),
                         look::Fit::Centre, look::rgb(look::Role::Button), QStringLiteral("padding-left:0px;"));
    for (int i = 0; i < kRateCount; ++i) {
        rateGroup->addButton(button(i), i);
        look::setSheet(button(i), sheet);
    }
    look::setSheet(ui->label, look::colorSheet(QStringLiteral("QLabel")));
}

SensorRate::~SensorRate()
{
    delete ui;
}

QToolButton *SensorRate::button(int index) const
{
    QToolButton *const buttons[kRateCount] = {ui->Button125HZ,  ui->Button250HZ,  ui->Button500HZ, ui->Button1000HZ,
                                              ui->Button2000HZ, ui->Button4000HZ, ui->Button8000HZ};
    return buttons[index];
}

int SensorRate::indexOfCode(int code)
{
    for (int i = 0; i < kRateCount; ++i)
        if (kRates[i].code == code)
            return i;
    return -1;
}

int SensorRate::codeOfIndex(int index)
{
    return index >= 0 && index < kRateCount ? kRates[index].code : 0;
}

int SensorRate::classOfLink(int linkCode)
{
    switch (linkCode) {
    case 0:
    case 2: return 0;
    case 1: return 1;
    case 4: return 2;
    case 3:
    case 5: return 3;
    default: return -1;
    }
}

void SensorRate::setRateIndex(int index)
{
    m_rateIndex = index;
    if (index < 0 || index >= kRateCount)
        return;
    button(index)->setChecked(true);
    emit PostMsg::instance()->SigAddReport(kRates[index].hz);
}

void SensorRate::setVisibleRates(int rateClass)
{
    static const bool shown[4][3] = {{false, false, false}, {true, true, false}, {true, false, false},
                                     {true, true, true}};
    if (rateClass < 0 || rateClass > 3)
        return;
    for (int i = 0; i < 3; ++i)
        button(4 + i)->setVisible(shown[rateClass][i]);
}

void SensorRate::setTitle(const QString &text)
{
    ui->label->setText(text);
}

void SensorRate::choose(int index, bool checked)
{
    if (!checked || !uiReady)
        return;
    if (!setReportRate(kRates[index].code)) {
        // The mouse keeps its rate: show it again (checking by code sends nothing).
        setRateIndex(m_rateIndex);
        return;
    }
    emit PostMsg::instance()->SigAddReport(kRates[index].hz);
    m_rateIndex = index;
    emit PostMsg::instance()->SigHideModel(kRates[index].rateClass);
}

void SensorRate::on_Button125HZ_clicked(bool checked) { choose(0, checked); }
void SensorRate::on_Button250HZ_clicked(bool checked) { choose(1, checked); }
void SensorRate::on_Button500HZ_clicked(bool checked) { choose(2, checked); }
void SensorRate::on_Button1000HZ_clicked(bool checked) { choose(3, checked); }
void SensorRate::on_Button2000HZ_clicked(bool checked) { choose(4, checked); }
void SensorRate::on_Button4000HZ_clicked(bool checked) { choose(5, checked); }
void SensorRate::on_Button8000HZ_clicked(bool checked) { choose(6, checked); }
