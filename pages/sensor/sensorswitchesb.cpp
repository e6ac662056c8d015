#include "pages/sensor/sensorswitchesb.h"
#include "ui_motionsyncb.h"
#include "ui_rippecontrolb.h"
#include "ui_straightlineb.h"

#include "device/setters.h"

RippeControlB::RippeControlB(QWidget *parent) : SensorSwitchB(parent), ui(new Ui::RippeControlB)
{
    ui->setupUi(this);
    setUp(ui->RippeControl_2, ui->label, &setRippleControl);
}

RippeControlB::~RippeControlB() = default;

void RippeControlB::on_RippeControl_2_clicked(bool checked)
{
    clicked(checked);
}

StraightLineB::StraightLineB(QWidget *parent) : SensorSwitchB(parent), ui(new Ui::StraightLineB)
{
    ui->setupUi(this);
    setUp(ui->StraightLine_2, ui->label, &setStraightLine);
}

StraightLineB::~StraightLineB() = default;

void StraightLineB::on_StraightLine_2_clicked(bool checked)
{
    clicked(checked);
}

MotionSyncB::MotionSyncB(QWidget *parent) : SensorSwitchB(parent), ui(new Ui::MotionSyncB)
{
    ui->setupUi(this);
    setUp(ui->MotionSync_2, ui->label, &setMotionSync);
}

MotionSyncB::~MotionSyncB() = default;

void MotionSyncB::on_MotionSync_2_clicked(bool checked)
{
    clicked(checked);
}
