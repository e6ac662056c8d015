#include "pages/sensor/sensor.h"
#include "ui_sensor.h"

#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/pagelink.h"
#include "pages/hubconnections.h"

Sensor::Sensor(QWidget *parent)
    : QWidget(parent), ui(new Ui::Sensor)
{
    ui->setupUi(this);
    PostMsg *hub = PostMsg::instance();
    connectBlockingHub(this);
    connect(hub, &PostMsg::SigUpDataSensorUIB, this, &Sensor::SlotUpDataSenSorUIB);
    connect(hub, &PostMsg::SigHideModel, this, &Sensor::SlotHideModel);
    connect(hub, &PostMsg::SigAllLanguage, this, &Sensor::SlotAllLanguage);
}

Sensor::~Sensor()
{
    delete ui;
}

int Sensor::reportRateHz(int code)
{
    switch (code) {
    case 8: return 125;
    case 4: return 250;
    case 2: return 500;
    case 1: return 1000;
    case 16: return 2000;
    case 32: return 4000;
    case 64: return 8000;
    default: return 0;
    }
}

QString Sensor::lodText(int code)
{
    switch (code) {
    case 1: return QStringLiteral("1mm");
    case 2: return QStringLiteral("2mm");
    case 3: return QStringLiteral("0.7mm");
    default: return QString();
    }
}

void Sensor::showRecord(const FlashDataMap &record)
{
    const unsigned char *bytes = recordBytes(record);
    if (const int hz = reportRateHz(bytes[0]))
        emit PostMsg::instance()->SigAddReport(hz);
    const QString lod = lodText(bytes[5]);
    if (!lod.isEmpty())
        emit PostMsg::instance()->SigAddLOD(lod);
}

void Sensor::SlotUpDataSenSorUISensor(FlashDataMap DataMap)
{
    PageRefill refill(PageRefill::SensorPage, PageRefill::WhenDone);
    showRecord(DataMap);
}

void Sensor::SlotUpDataSenSorUIB(FlashDataMap DataMap)
{
    PageRefill refill(PageRefill::SensorPage);
    showRecord(DataMap);
}

void Sensor::SlotFormReset()
{
    PageRefill refill(PageRefill::SensorPage);
}

void Sensor::SlotAllLanguage(int) {}
void Sensor::SlotUpDataReportRate(int) {}
void Sensor::SlotUpDataDPI(int) {}
void Sensor::SlotHideModel(int) {}
