#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class StopCloseTimeB;
}

// Sleep time in a second layout: an eleven-step slider from 10 seconds to 40
// minutes beside a read-only number box with its unit. The released slider
// writes its step's code to record byte 8 through the same setter as the
// advanced page's box; a refused write puts the slider back. Nothing is
// written while the sensor page refills itself. A host shows the mouse's
// step with setSleepIndex() and gives the unit texts with setSleepItemText().
class StopCloseTimeB : public QFrame
{
    Q_OBJECT

public:
    explicit StopCloseTimeB(QWidget *parent = nullptr);
    ~StopCloseTimeB() override;

    // Shows step `index` (0..10, the slider's position minus one) as the
    // mouse holds it; nothing is sent.
    void setSleepIndex(int index);
    // Takes a unit from the text of a sleep-time choice of the advanced
    // page's box, without its number: index 0 (ten seconds) gives the
    // seconds unit, index 5 (a choice in minutes) the minutes unit. Other
    // indexes change nothing.
    void setSleepItemText(int index, const QString &text);

private slots:
    void on_StopClose_sliderMoved(int position);
    void on_StopClose_valueChanged(int value);

private:
    void showStep(int position);

    std::unique_ptr<Ui::StopCloseTimeB> ui;
    QString pictureDir;
    QString m_secondsUnit;
    QString m_minutesUnit;
    // The slider position of the step the mouse holds as far as the widget knows.
    int m_position = 1;
};
