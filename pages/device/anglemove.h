#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class AngleMove;
}

// The angle last written to the mouse, or last shown from its record or a
// reset; a failed write puts the frame back to it. GUI thread only.
extern int lastSentAngle;

// Angle tuning, -30 to +30 degrees (record byte 15, with byte 16 marking the
// angle as set): a slider, a picture that turns with it and the value as
// text. A drag only shows; the released value is written once.
class AngleMove : public QFrame
{
    Q_OBJECT

public:
    explicit AngleMove(QWidget *parent = nullptr);
    ~AngleMove() override;

    // Used by the advanced page; none of them writes anything.
    void setSliderSilently(int value);
    void enableSlider(bool enabled);
    void setAngleText(const QString &text);
    void rotateDial(int degrees);
    void moveTipIcon(int x, int y);

public slots:
    void SlotAllLanguage(int index);
    void on_AngleSet_sliderMoved(int position);
    void on_AngleSet_valueChanged(int value);

private:
    void showAngle(int degrees);

    std::unique_ptr<Ui::AngleMove> ui;
    QString pictureDir;
};
