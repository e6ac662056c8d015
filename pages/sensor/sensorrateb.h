#pragma once

#include "pages/sensor/reportraterow.h"

#include <memory>

namespace Ui {
class SensorRateB;
}

// The report-rate row in its second layout: a caption and seven check
// buttons in one line. It writes and puts back like the sensor page's row,
// but reports nothing to the summary panel and takes no click while the
// sensor page refills itself. A host shows the mouse's rate with
// setRateIndex() and fits the row to the device with setVisibleRates().
class SensorRateB : public ReportRateRow
{
    Q_OBJECT

public:
    explicit SensorRateB(QWidget *parent = nullptr);
    ~SensorRateB() override;

    void setLabelText(const QString &text);

private:
    std::unique_ptr<Ui::SensorRateB> ui;
    QString pictureDir;
};
