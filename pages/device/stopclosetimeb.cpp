#include "pages/device/stopclosetimeb.h"
#include "ui_stopclosetimeb.h"

#include "app/look.h"
#include "device/advancedvalues.h"
#include "device/devicestate.h"
#include "device/pagelink.h"

#include <QRegularExpression>
#include <QSignalBlocker>

StopCloseTimeB::StopCloseTimeB(QWidget *parent) : QFrame(parent), ui(new Ui::StopCloseTimeB)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    look::setSheet(ui->spinBoxA, look::framedNumberSheet());
    look::setSheet(ui->StopClose, look::sliderSheet(pictureDir, QStringLiteral("HuaKuai.png")));
    // The box reads as the slider's first step (10), not as its position.
    showStep(ui->StopClose->value());
}

StopCloseTimeB::~StopCloseTimeB() = default;

void StopCloseTimeB::showStep(int position)
{
    const advanced::SleepStep step = advanced::sleepStepAt(position);
    ui->spinBoxA->setSuffix(step.minutes ? m_minutesUnit : m_secondsUnit);
    ui->spinBoxA->setValue(step.shown);
}

void StopCloseTimeB::setSleepIndex(int index)
{
    {
        const QSignalBlocker block(ui->StopClose);
        ui->StopClose->setValue(index + 1);
    }
    m_position = ui->StopClose->value();
    showStep(m_position);
}

void StopCloseTimeB::setSleepItemText(int index, const QString &text)
{
    // The unit is what remains of the text without its number ("10 s" or
    // "10秒" give " s" or "秒").
    static const QRegularExpression digits(QStringLiteral("[0-9]"));
    if (index == 0)
        m_secondsUnit = QString(text).remove(digits);
    else if (index == 5)
        m_minutesUnit = QString(text).remove(digits);
    else
        return;
    showStep(ui->StopClose->value());
}

void StopCloseTimeB::on_StopClose_sliderMoved(int position)
{
    showStep(position);
}

void StopCloseTimeB::on_StopClose_valueChanged(int value)
{
    showStep(value);
    // A refill of the sensor page shows the mouse's own values; nothing of
    // it goes back.
    if (!uiReady || sensorPageRefreshing)
        return;
    if (sendOrRestore(setStopCloseTime(advanced::sleepStepAt(value).code), ui->StopClose, [&] {
            ui->StopClose->setValue(m_position);
            showStep(m_position);
        }))
        m_position = value;
}
