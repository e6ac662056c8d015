#pragma once

#include <QFrame>

#include <array>

class QAbstractButton;
class QButtonGroup;

// The report-rate choice apart from its form: seven exclusive buttons from
// 125 Hz to 8000 Hz, named "Button125HZ" .. "Button8000HZ" in every face. A
// click writes the rate to the mouse (record byte 0) and tells the sensor
// page whether it is a high rate (2000 Hz and more), on which the
// sensor-mode list depends; a refused rate puts the row back to the rate the
// mouse holds. A face builds its form and hands its buttons to setUp().
class ReportRateRow : public QFrame
{
    Q_OBJECT

public:
    static constexpr int kRateCount = 7;
    using Buttons = std::array<QAbstractButton *, kRateCount>;

    // Selects rate index 0..6 (125 .. 8000 Hz) as the mouse holds it;
    // nothing is sent to the mouse. A face that announces the rate reports
    // it to the summary panel. Any other index is only remembered.
    void setRateIndex(int index);
    // Which high-rate buttons show: 0 none, 1 2000 and 4000 Hz, 2 2000 Hz,
    // 3 all three. Other values change nothing.
    void setVisibleRates(int rateClass);

    int rateIndex() const { return m_rateIndex; }

    // The row's index of a record rate code, -1 for a code it does not know.
    static int indexOfCode(int code);
    // The record rate code of a row index (0 outside 0..6).
    static int codeOfIndex(int index);
    // The visible-rates class of a device's link code; -1 leaves the row as it is.
    static int classOfLink(int linkCode);

protected:
    struct Face
    {
        // The summary panel hears of every rate shown or written.
        bool announcesRate = true;
        // Clicks are ignored while the sensor page refills itself.
        bool holdsDuringRefill = false;
    };

    // `shownIndex`: what a refused write returns to before the mouse's rate
    // was shown (-1: no rate selected).
    ReportRateRow(QWidget *parent, int shownIndex);
    void setUp(const Buttons &buttons, const Face &face);

    QButtonGroup *rateGroup = nullptr;

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

    Buttons m_buttons{};
    Face m_face;
    int m_rateIndex;
};
