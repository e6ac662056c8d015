#pragma once

#include "device/deviceallinfo.h"
#include "device/discovery.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <memory>

class QLabel;
class mytoolButtonEnter;

namespace Ui {
class DialogChange;
}

// The two settings dialogs the list page runs: the question whether to pair a
// chosen device again (RePair) and the firmware update and repair dialog
// (UpDateRepair). They belong to the settings page, above the list page, so
// the list page knows only this face of them; the settings page provides it
// (settingsListPageDialogs(), pages/settings/updaterepair.h) and the shell,
// which composes both, hands it in as listPageDialogs before it builds the
// list page.
class ListPageDialogs
{
public:
    // Runs the re-pair question centred on `page`; true when it was answered
    // with OK.
    virtual bool askPairAgain(QWidget *page) = 0;
    // Shows the update dialog for a repair, centred on `page`: made when first
    // needed (the settings page that would otherwise have made it may not
    // exist yet), back on its first view, modal, after SigRepairCheckUpdate.
    virtual void showRepairDialog(QWidget *page) = 0;

protected:
    ~ListPageDialogs() = default;
};
extern ListPageDialogs *listPageDialogs;

// The device list page: one picture button per listed device, three to a
// view, arrows between views, a prompt when nothing is attached, a language
// box, window buttons and a repair button after an interrupted upgrade.
class DialogChange : public QWidget, public DeviceListView
{
    Q_OBJECT

public:
    explicit DialogChange(QWidget *parent = nullptr);
    ~DialogChange() override;

    // Rebuilds the views from listedDevices (end of every list callback).
    void buildDeviceButtons() override;
    // Repaints the button, marker and icon of device n from listedDevices.
    void repaintDeviceEntry(int n) override;
    // Shows or hides the repair button and sets the prompt from the
    // interrupted-upgrade record (start of every list callback).
    void updateRepairPrompt() override;

    // Outcome of the firmware check of a chosen device.
    enum class CheckOutcome { Finished, GoOn };
    CheckOutcome runFirmwareCheck(const DeviceAllInfo &entry);

public slots:
    void SlotAllLanguage(int index);
    void SlotSameLanguageA(int index);
    void SlotUpDateButton(bool IsHide);
    void SlotEnterKey();
    void slotButtonClicked();

signals:
    // A device button was chosen: whatever shows the device's pages must
    // exist before the choice announces the device to them.
    void devicePageWanted();

private slots:
    void on_MinButton_clicked();
    void on_CloseButton_clicked();
    void on_LeftButton_clicked();
    void on_RightButton_clicked();
    void on_Repair_clicked();
    void on_comboBox_activated(int index);

protected:
    void changeEvent(QEvent *event) override;

private:
    void createDeviceWidgets(QWidget *page, int n, int devicesOnView, int slot);
    void openPairing(const DeviceAllInfo &entry);
    void openDevice(const DeviceAllInfo &entry);

    std::unique_ptr<Ui::DialogChange> ui;
};

// Application directory + "/Picture/DialogChange/".
extern QString listPictureDir;
extern QList<mytoolButtonEnter *> deviceButtons;
extern QList<QLabel *> offlineMarkers;
extern QList<QLabel *> connectionIcons;
extern QList<QLabel *> rateBadges;
extern QString promptText;
extern QString repairText;
extern QString offlineTipText;
extern QString pairTipText;
extern QString newVersionText;

// Picture of a device button: "Unknow.png" for an unrecognised device,
// otherwise "OnLine"/"DisOnlin" + variant (0 for model id 29, else 1) + ".png".
QString devicePictureName(const DeviceAllInfo &info, bool online);
// Receiver-rate badge picture of a connection code; empty when it has none.
QString rateBadgeName(int linkCode);
