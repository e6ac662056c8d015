#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "pages/lighting/ledinfo.h"
#include "pages/lighting/lightmodeset.h"
#include "pages/settings/inputpica.h"
#include "pages/settings/inputpicb.h"

#include "platform/hidusb/records.h"

namespace Ui {
class FormSetting;
}
class UpDateWarning;

// Settings page of the device view: language, the receiver and mouse
// firmware versions with the upgrade, pairing, restore defaults, start with
// the desktop session, the desktop's mouse settings and the maker's links.
// It creates the process-wide update and repair dialog and passes the
// firmware versions on to the summary panel.
class FormSetting : public QWidget
{
    Q_OBJECT

public:
    explicit FormSetting(QWidget *parent = nullptr);
    ~FormSetting() override;

public slots:
    void SlotAllLanguage(int index);
    void SlotLanguageSameB(int index);
    void SlotRGBValue(DongleRGB *Rgb);
    void SlotLightToFrom(int index);
    void SlotLongRangeMode(bool Select);
    void SlotLabelText(int index, QString Text);
    void SlotLabelTextB(QString TextA, QString Text);
    void SetVer(int index);
    void SlotForm();
    void SlotFormB();
    void SlotFormResetForm();
    void SlotScroolChange(int index);

    // Firmware upgrade of receiver and mouse (formsetting_upgrade.cpp).
    void on_Receive_2_clicked();
    void SlotUpdateFrame(bool IsVis);
    void SlotCheckUpdate();
    void on_Start();
    void SlotContinue(int index);
    void SetVerText();

public:
    // Start the receiver part and the mouse part (the form has no buttons of
    // these names; the upgrade calls them).
    void on_Receive_clicked();
    void on_Mouse_clicked();
    // The readiness check: fills the update dialog with its result; true
    // when the upgrade can start.
    Q_INVOKABLE bool ChechIsUpDate();
    // Operations beside the upgrade that no control of the page uses.
    // Waits `ms` milliseconds in a local event loop; events keep running.
    static void waitMs(int ms);
    // Marks an upgrade as running; the stopper stops both part timers and
    // clears the mark.
    void setUpgradeRunning();
    void stopUpgrade();
    // Asks each receiver of pageDevices for its ID and, when its mouse
    // answers, writes that ID to every cabled mouse of pageDevices; true
    // when the last receiver asked answered.
    bool pairMiceToReceiver();
    // Writes the ID the last pairing found to every cabled mouse again.
    void writeStoredIdToMice();

    // Long-range mode of the receiver. The page offers no control for it
    // (its explanation "NewLabel" stays hidden); kept for the receiver's
    // advanced settings.
    void on_checkBox_2_toggled(bool checked);

    // The dialogs the page holds without showing them: the receiver's LED
    // information, the two screen-information layouts and the local light
    // editor. They are built with the page (so they follow the hub) and go
    // with it; no user opens them.
    LedInfo &ledInfo() { return m_ledInfo; }
    InputPicA &screenInfoA() { return inputPicA; }
    InputPicB &screenInfoB() { return inputPicB; }
    LightModeSet &lightModeSet() { return m_lightModeSet; }

protected:
    // Presses on the page's background go nowhere.
    void mousePressEvent(QMouseEvent *event) override;

private slots:
    void on_comboBox_activated(int index);
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_3_clicked();
    void on_Reset_clicked();
    void on_checkBox_clicked(bool checked);
    void onDongleCheckTimer();
    void onMouseCheckTimer();

private:
    void setUpUpgrade();
    void upgradeTexts(int index);
    void runUpgradeStep(int step, int target, const QString &version);
    void finishReceiverPart();
    void finishMousePart();
    void finishPart(int target);
    void startFlash(int target);
    void onFlashProgress(int percent);
    void onFlashFinished(bool success);
    void setConfirmLook();
    void setWaitingLook();
    void refreshVersions(bool checkUpdates);
    void sendStoredIdToCabledMice();

    void applyTheme();
    void placeVersions(int index);
    void companyTexts(int index);
    // The auto-start box shows the autostart entry on disk, never only a wish.
    void showAutoStart();
    void showNotice(const QString &text);

    std::unique_ptr<Ui::FormSetting> ui;
    QString pictureDir;
    QString buttonColor;
    QPoint labelPos;
    int fontScaled = 0;
    QString noMouseSettingsText;
    QString autoStartPathText;
    LedInfo m_ledInfo;
    InputPicA inputPicA;
    InputPicB inputPicB;
    LightModeSet m_lightModeSet;

    // Upgrade state of the page.
    QTimer *dongleCheckTimer = nullptr;
    QTimer *mouseCheckTimer = nullptr;
    UpDateWarning *updateWarning = nullptr;
    int upgradeStep = 0;
    bool receiverSkipped = false;
    bool mouseSkipped = false;
    bool receiverFlashing = false;
    bool mouseFlashing = false;
    bool reportWithNotice = false;
    bool mouseRepairPending = false;
    bool ownsFlash = false;
    QStringList receiverPaths;
    int bootCountDM = 0, bootCountD2M = 0, bootCountD4M = 0, bootCountD8M = 0;
    QString driveGroup;
    QString receiverImageName;
    QString repairImageName;
    // What the last pairing learnt: whether the receiver's mouse answered,
    // and the receiver's ID in the order a mouse takes it.
    bool storedReceiverOnline = false;
    QByteArray storedReceiverId;
    QString upgradeText, newTipsText, noUsbText, noReceiverText, errorText, noDeviceText, sameDeviceText,
        multiDongleText, multiMouseText;
};

// Part states of the upgrade: 0 idle, 1 flashing, 2 done, 3 failed,
// 4 skipped (no image qualifies).
namespace firmwareupgrade {
int receiverState();
int mouseState();
int partsCount();
// Whether the receiver part, the mouse part or either is being flashed.
bool receiverPartFlashing();
bool mousePartFlashing();
bool partFlashing();
} // namespace firmwareupgrade
