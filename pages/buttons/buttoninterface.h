#pragma once

// The button page. For now it is the least page that hosts the device
// worker: it creates the one Worker, keeps the button page's refill flags and
// shows the mouse picture; the button editor itself is built on top of it.

#include "platform/hidusb/hidusb.h"

#include <QWidget>

namespace Ui {
class Buttoninterface;
}
class Worker;

class Buttoninterface : public QWidget
{
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget *parent = nullptr);
    ~Buttoninterface() override;

    // How long the destructor keeps serving the GUI thread while a worker
    // pass finishes; a pass that takes longer is released when it ends.
    static constexpr int kWorkerFinishMs = 5000;

public slots:
    void SlotUpDataButtonUIButton(FlashDataMap DataMap);
    void SlotUpDataButtonUIB(FlashDataMap DataMap);
    void SlotFormResetButton();
    void SlotMouseIndex(int index);

private:
    void refillFrom(const FlashDataMap &record);

    Ui::Buttoninterface *ui;
    QString pictureDir;
};
