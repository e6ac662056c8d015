#pragma once

#include <memory>

#include "pages/sensor/reportraterow.h"

namespace Ui {
class SensorRate;
}

// The report-rate row of the sensor page: seven exclusive buttons from
// 125 Hz to 8000 Hz. A click writes the rate to the mouse and tells the
// summary panel the new rate and the sensor page whether it is a high rate
// (2000 Hz and more), on which the sensor-mode list depends.
class SensorRate : public ReportRateRow
{
    Q_OBJECT

public:
    explicit SensorRate(QWidget *parent = nullptr);
    ~SensorRate() override;

    void setTitle(const QString &text);

private:
    std::unique_ptr<Ui::SensorRate> ui;
    QString pictureDir;
};
