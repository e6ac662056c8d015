#pragma once

#include "device/deviceallinfo.h"

#include <QDialog>
#include <QString>
#include <atomic>
#include <memory>

class QTimer;

namespace Ui {
class Match;
}

// Modal dialog that pairs a wireless mouse with its USB receiver. The user
// puts the mouse into pairing mode and presses the button (or Space); the
// dialog opens a report link to the receiver, sends the pairing command,
// polls the status once a second and shows the result.
class Match : public QDialog
{
    Q_OBJECT

public:
    explicit Match(QWidget *parent = nullptr);
    ~Match() override;

    // Chooses the device to pair and starts the 100 ms tick.
    Q_INVOKABLE void prepare();
    // Sends the pairing command (opening the receiver link first).
    void startPairing();

public slots:
    void WindowClosedSet();
    void on_MatchButton_clicked();
    void onPairTimeupDestroy();
    void onUSBTimeupDestroy();
    void onTextTimeupDestroy();
    void SlotStopTimer();
    void SlotButtonenable(int index);
    void SlotAllLanguage(int index);

    // Escape follows the close button's rule.
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    enum class Look { Ready, Cable, Success, Failure };
    void setLook(Look look);
    // Ends a pairing that will not report back: puts the device page's state
    // back when it was parked.
    static void restoreDevicePage();
    void finishDialog();

    std::unique_ptr<Ui::Match> ui;
    bool pairable = false;
    bool noTarget = false;
    bool finished = false;
    QString openedDevicePath;
    quint8 cid = 0;
    QString receiverPath;
    QString receiverVid;
    QString receiverPid;
    bool deviceWired = false;
    QString startText;
    QString pairingText;
    QString failText;
    QString successText;
};

// 0 idle, 1 running, 2 success, 3 failure. Written by the pairing report
// callback on a library thread, hence atomic.
extern std::atomic<int> pairResult;
extern std::atomic<bool> pairingActive;
extern QTimer *pairUsbTimer;
extern QTimer *pairStatusTimer;
extern QTimer *pairTextTimer;
extern int pairTextStep;
extern QString pairButtonColor;
extern QString pairPictureDir;
// A device chosen for pairing by its opener; used when pairingTargetSet.
extern DeviceAllInfo pairingTarget;
extern bool pairingTargetSet;

// The pairing dialog's report callback (library thread).
void onPairReport(const unsigned char *head, int headLength, const unsigned char *payload, int payloadLength);
