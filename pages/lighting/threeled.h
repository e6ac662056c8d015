#pragma once

#include <QFrame>

#include <memory>

class QComboBox;

namespace Ui {
class ThreeLed;
}

// The receiver's three indicator LEDs: off or one of three functions each,
// with a legend of what the colours mean. A choice is written into the
// receiver at once (all three LEDs together); one the receiver refuses puts
// the selector back to the LED's confirmed function.
class ThreeLed : public QFrame
{
    Q_OBJECT

public:
    explicit ThreeLed(QWidget *parent = nullptr);
    ~ThreeLed() override;

    // The receiver's functions, shown without sending. A function beyond
    // the list leaves the selector without a current item.
    void showLed1Function(int value);
    void showLed2Function(int value);
    void showLed3Function(int value);

    QString pictureDir;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_LightMod_3_currentIndexChanged(int index);
    void on_LightMod_4_currentIndexChanged(int index);
    void on_LightMod_5_currentIndexChanged(int index);

private:
    QComboBox *selector(int led) const;
    void showFunction(int led, int value);
    void chosen(int led, int index);

    std::unique_ptr<Ui::ThreeLed> ui;
};
