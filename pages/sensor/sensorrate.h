#pragma once

#include <QFrame>

class QButtonGroup;
class QToolButton;

namespace Ui { class SensorRate; }

// The report-rate row of the sensor page: seven exclusive buttons from
// 125 Hz to 8000 Hz. A click writes the rate to the mouse and tells the
// summary panel the new rate and the sensor page whether it is a high rate
// (2000 Hz and more), on which the sensor-mode list depends.
class SensorRate : public QFrame
{
    Q_OBJECT

public:
    explicit SensorRate(QWidget *parent = nullptr);
    ~SensorRate() override;

    // Selects rate index 0..6 (125 .. 8000 Hz) as the mouse holds it and
    // reports it to the summary panel; nothing is sent to the mouse. Any other
    // index is only remembered.
    void setRateIndex(int index);
    // Which high-rate buttons show: 0 none, 1 2000 and 4000 Hz, 2 2000 Hz,
    // 3 all three. Other values change nothing.
    void setVisibleRates(int rateClass);
    void setTitle(const QString &text);

    int rateIndex() const { return m_rateIndex; }

    // The row's index of a record rate code, -1 for a code it does not know.
    static int indexOfCode(int code);
    // The record rate code of a row index (0 outside 0..6).
    static int codeOfIndex(int index);
    // The visible-rates class of a device's link code; -1 leaves the row as it is.
    static int classOfLink(int linkCode);

private slots:
    void on_Button125HZ_clicked(bool checked);
    void on_Button250HZ_clicked(bool checked);
    void on_Button500HZ_clicked(bool checked);
    void on_Button1000HZ_clicked(bool checked);
    void on_Button2000HZ_clicked(bool checked);
    void on_Button4000HZ_clicked(bool checked);
    void on_Button8000HZ_clicked(bool checked);

private:
    void choose(int index, bool checked);
    QToolButton *button(int index) const;

    Ui::SensorRate *ui;
    QString pictureDir;
    QButtonGroup *rateGroup;
    // What a refused write returns to; 1000 Hz until the mouse says otherwise.
    int m_rateIndex = 3;
};
