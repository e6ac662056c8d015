#pragma once

#include "platform/crashdump.h"

#include <QDialog>
#include <QPoint>
#include <QString>
#include <QSystemTrayIcon>
#include <memory>

class QAction;
class QMenu;
class DialogChange;
class Dialog;

namespace Ui {
class DialogMain;
}

// The program's only top-level window: the device list page and the device
// page in one stack, the tray icon, the offline notice, keyboard shortcuts
// and dragging of the frameless window.
class DialogMain : public QDialog
{
    Q_OBJECT

public:
    explicit DialogMain(QWidget *parent = nullptr);
    ~DialogMain() override;

    // Index of the current page: 0 the device list, 1 the device page.
    int currentPage() const;
    // The device page, or null until a device is first chosen: it is built
    // then, not at start, so the window appears without paying for it.
    Dialog *devicePageIfBuilt() const { return devicePage; }
    // Multiplies every font of the window by `factor`; a device page built
    // later is scaled by the same factor.
    void scaleFonts(float factor);
    QSystemTrayIcon *tray() const { return trayIcon; }
    QMenu *menu() const { return trayMenu; }
    QPoint dragOffset() const { return dragOrigin; }

    // Whether the desktop has a system tray at this moment; a tray may
    // appear or go while the program runs. Tests put a stand-in here.
    static bool (*trayAvailable)();

public slots:
    void SlotAllLanguage(int index);
    void SlotChangeMainDialog(int index);
    void SlotChangeSize(int index);
    void SlotMouseOffLine(int index);
    void SlotUpPageLight();

    void on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason reason);
    void slotActionMain();
    void slotActionExitApp();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // A close from outside (window manager, task bar) quits like the
    // window's own quit button instead of leaving the program running
    // without a window.
    void closeEvent(QCloseEvent *event) override;
    // Coming back from the task bar after a hide without a tray counts as
    // coming back from the tray.
    void changeEvent(QEvent *event) override;

private:
    void hideToTray();
    void quitProgram(bool fromDevicePage);
    void showFromTray();
    void restoreWindow();
    void migrateLanguageSetting();
    void ensureDevicePage();
    // The device-link side of the window (dialogmain_link.cpp).
    void setDriverStatus(int status);
    void markUiReady();
    void leaveDevicePage();
    void watchListDevices();
    void watchPageDevice();
    void stopDeviceWatch();
    void exitReportService();
    void markOffline();
    void pairOnDevicePage();
    void spaceOnListPage();

    QMenu *trayMenu = nullptr;
    QSystemTrayIcon *trayIcon = nullptr;
    QAction *openAction = nullptr;
    QAction *exitAction = nullptr;
    std::unique_ptr<Ui::DialogMain> ui;
    QPoint dragOrigin;
    QPoint pressGlobalPos;
    QPoint pressWindowPos;
    DialogChange *deviceListPage = nullptr;
    QString pictureDir;
    Dialog *devicePage = nullptr;
    QString openMainText;
    QString exitText;
    bool trayActivationConnected = false;
    bool quitting = false;
    bool minimisedInsteadOfTray = false;
    float fontFactor = 1.0f;
    CrashDumpHandler crashHandler;
};
