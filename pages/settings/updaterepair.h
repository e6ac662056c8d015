#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class UpDateRepair;
}

// The firmware update and repair dialog. The settings page shows it for an
// upgrade it runs itself (the start button hands over to the page through
// the hub); the device list page shows it to repair a flash that did not
// end, which the dialog runs on its own: receiver first, then the mouse.
class UpDateRepair : public QDialog
{
    Q_OBJECT

public:
    explicit UpDateRepair(QWidget *parent = nullptr);
    ~UpDateRepair() override;

    // Views (see the table in the source).
    Q_INVOKABLE void resetView();
    Q_INVOKABLE void showReadyView();
    Q_INVOKABLE void showMessageView();
    Q_INVOKABLE void showFlashingView();
    Q_INVOKABLE void setMessage(const QString &text);
    void hideCancelAndProgress();

    // Flashes the receiver image the caller left as entry 0 of repairImages,
    // without a failure record to go by (the main window's Space key).
    Q_INVOKABLE void startUpdate();
    // Flashes from the repair data the last check prepared.
    Q_INVOKABLE void startUpgrade();
    // Checks the attached devices against the failure record; true when the
    // repair can start.
    Q_INVOKABLE bool checkRepair();

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    void SlotAutoRepair(int index);
    void SlotAutoRepairProgress(int index);
    void SlotAllLanguage(int index);
    void SlotProgress(int schedue, int Discrib);
    void on_NewHong_2_clicked();
    void SlotRepairCheckUpdate();

protected:
    // The process-wide dialog tells the device link whether it is shown.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void showChoice(const QString &action);
    void say(const QString &text);
    void setShortcuts();
    void closeAfterFlash();

    std::unique_ptr<Ui::UpDateRepair> ui;
    QString pictureDir;
    QString warnText, startText, notDeviceText, sameDeviceText, failText, successText, notStoredText, cancelText,
        okText, noReceiveText, noUsbText, errorFileText, multiDongleText, multiMouseText, readyText;
    bool plainUpdate = false;
    int failTarget = 0;
    QString repairGroup;
    QString repairReceiverName;
    bool imageReady = false;
};

// The process-wide firmware dialog, created by the settings page.
extern UpDateRepair *updateRepairDialog;

// The re-pair question and this dialog as the device list page runs them
// (ListPageDialogs, device/dialogchange.h). One for the process.
class ListPageDialogs;
ListPageDialogs &settingsListPageDialogs();

// The repair chain, one for the whole process; it runs on the GUI thread
// from the flash reports handed over by FirmwareFlash.
namespace firmwarerepair {
// A repair has been started and has not ended.
bool running();
} // namespace firmwarerepair
