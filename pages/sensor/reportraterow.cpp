#include "pages/sensor/reportraterow.h"

#include "app/postmsg.h"
#include "app/widgets/buttonchoice.h"
#include "device/devicestate.h"
#include "device/setters.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace {

struct Rate
{
    int code;      // record byte 0
    int hz;        // what the summary panel shows
    int rateClass; // 0 up to 1000 Hz, 1 from 2000 Hz on
};

constexpr Rate kRates[ReportRateRow::kRateCount] = {{8, 125, 0},   {4, 250, 0},   {2, 500, 0},  {1, 1000, 0},
                                                    {16, 2000, 1}, {32, 4000, 1}, {64, 8000, 1}};

} // namespace

ReportRateRow::ReportRateRow(QWidget *parent, int shownIndex) : QFrame(parent), m_rateIndex(shownIndex) {}

void ReportRateRow::setUp(const Buttons &buttons, const Face &face)
{
    m_buttons = buttons;
    m_face = face;
    rateGroup = new QButtonGroup(this);
    rateGroup->setExclusive(true);
    for (int i = 0; i < kRateCount; ++i)
        rateGroup->addButton(buttons[size_t(i)], i);
}

int ReportRateRow::indexOfCode(int code)
{
    for (int i = 0; i < kRateCount; ++i)
        if (kRates[i].code == code)
            return i;
    return -1;
}

int ReportRateRow::codeOfIndex(int index)
{
    return index >= 0 && index < kRateCount ? kRates[index].code : 0;
}

int ReportRateRow::classOfLink(int linkCode)
{
    switch (linkCode) {
    case 0:
    case 2:
        return 0;
    case 1:
        return 1;
    case 4:
        return 2;
    case 3:
    case 5:
        return 3;
    default:
        return -1;
    }
}

void ReportRateRow::setRateIndex(int index)
{
    m_rateIndex = index;
    if (index < 0 || index >= kRateCount)
        return;
    showGroupChoice(rateGroup, index);
    if (m_face.announcesRate)
        emit PostMsg::instance()->SigAddReport(kRates[index].hz);
}

void ReportRateRow::setVisibleRates(int rateClass)
{
    static const bool shown[4][3] = {
        {false, false, false}, {true, true, false}, {true, false, false}, {true, true, true}};
    if (rateClass < 0 || rateClass > 3)
        return;
    for (int i = 0; i < 3; ++i)
        m_buttons[size_t(4 + i)]->setVisible(shown[rateClass][i]);
}

void ReportRateRow::choose(int index, bool checked)
{
    if (!checked || !uiReady)
        return;
    // A refill shows the mouse's own rate; nothing of it goes back.
    if (m_face.holdsDuringRefill && sensorPageRefreshing)
        return;
    if (!setReportRate(kRates[index].code)) {
        // The mouse keeps its rate: show it again.
        showGroupChoice(rateGroup, m_rateIndex);
        if (m_face.announcesRate && m_rateIndex >= 0 && m_rateIndex < kRateCount)
            emit PostMsg::instance()->SigAddReport(kRates[m_rateIndex].hz);
        return;
    }
    if (m_face.announcesRate)
        emit PostMsg::instance()->SigAddReport(kRates[index].hz);
    m_rateIndex = index;
    emit PostMsg::instance()->SigHideModel(kRates[index].rateClass);
}

void ReportRateRow::on_Button125HZ_clicked(bool checked)
{
    choose(0, checked);
}
void ReportRateRow::on_Button250HZ_clicked(bool checked)
{
    choose(1, checked);
}
void ReportRateRow::on_Button500HZ_clicked(bool checked)
{
    choose(2, checked);
}
void ReportRateRow::on_Button1000HZ_clicked(bool checked)
{
    choose(3, checked);
}
void ReportRateRow::on_Button2000HZ_clicked(bool checked)
{
    choose(4, checked);
}
void ReportRateRow::on_Button4000HZ_clicked(bool checked)
{
    choose(5, checked);
}
void ReportRateRow::on_Button8000HZ_clicked(bool checked)
{
    choose(6, checked);
}
