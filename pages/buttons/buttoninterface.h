#pragma once

// The button page. For now it is the least page that hosts the device
// worker: it creates the one Worker, keeps the button page's refill flags and
// shows the mouse picture; the button editor itself is built on top of it.

#include "platform/hidusb/hidusb.h"

#include <QWidget>

#include <memory>

namespace Ui {
class Buttoninterface;
}
class WorkerOwner;

class Buttoninterface : public QWidget
{
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget *parent = nullptr);
    ~Buttoninterface() override;

public slots:
    void SlotUpDataButtonUIButton(FlashDataMap DataMap);
    void SlotUpDataButtonUIB(FlashDataMap DataMap);
    void SlotFormResetButton();
    // The device's configuration-slot report; the stand-in page has no slot
    // chooser yet.
    void SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void SlotMouseIndex(int index);

private:
    void refillFrom(const FlashDataMap &record);

    Ui::Buttoninterface *ui;
    // The one Worker lives as long as this page.
    std::unique_ptr<WorkerOwner> workerOwner;
    QString pictureDir;
};
