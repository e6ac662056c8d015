#pragma once

#include <QDialog>
#include <QString>
#include <QThread>

#include <memory>

class QButtonGroup;
class QTimer;
namespace Ui {
class InputPicA;
}

// A thread object the screen-information dialog owns; it is never started.
class MyThread : public QThread
{
public:
    explicit MyThread(QObject *parent = nullptr) : QThread(parent) {}

protected:
    void run() override;
};

// Screen information of a device with a small screen: screen switch,
// brightness, four picture slots, import and export, and the clock
// synchronisation that sends the time to the device every 10 s. No page
// opens it; only the close button acts.
class InputPicA : public QDialog
{
    Q_OBJECT

public:
    explicit InputPicA(QWidget *parent = nullptr);
    ~InputPicA() override;

    // Starts the clock synchronisation (true) and watches for screen
    // devices; false does nothing.
    void startScreenSync(bool start);

    bool syncPaused = false;
    int syncTicks = 0;
    const int packetSize;

    static constexpr int kTicksPerPacket = 50;

public slots:
    void SlotAllLanguage(int index);
    void on_CloseButton_clicked();
    void on_Input_clicked();
    void onEraseChipTimeTimer();

private:
    std::unique_ptr<Ui::InputPicA> ui;
    QButtonGroup *pictureGroup = nullptr;
    QTimer *syncTimer = nullptr;
    MyThread thread;
};
