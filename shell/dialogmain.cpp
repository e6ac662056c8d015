#include "shell/dialogmain.h"

#include "app/appglobals.h"
#include "app/delays.h"
#include "app/look.h"
#include "app/macroini.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/dialogchange.h"
#include "pages/device/dialog.h"
#include "pages/macro/macroflags.h"
#include "pages/settings/updaterepair.h"
#include "platform/registry.h"

#include "ui_dialogmain.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDebug>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

DialogMain::DialogMain(QWidget *parent) : QDialog(parent), ui(new Ui::DialogMain)
{
    ui->setupUi(this);
    setWindowTitle(productName);

    loadTextCatalogue();
    migrateLanguageSetting();
    languageIndex = storedLanguageIndex();

    pictureDir = look::pictureDir(QStringLiteral("Dialog"));

    // Crashes are reported from the start, whether or not a device is open.
    crashHandler.install();

    listPageDialogs = &settingsListPageDialogs();
    deviceListPage = new DialogChange(this);
    ui->stackedWidgetMain->addWidget(deviceListPage);
    ui->stackedWidgetMain->setCurrentIndex(0);
    connect(deviceListPage, &DialogChange::devicePageWanted, this, &DialogMain::ensureDevicePage);

    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(width(), height());

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigAllLanguage, this, &DialogMain::SlotAllLanguage);
    connect(hub, &PostMsg::SigChangeMainDialog, this, &DialogMain::SlotChangeMainDialog);
    connect(hub, &PostMsg::SigChangeSize, this, &DialogMain::SlotChangeSize);
    connect(hub, &PostMsg::SigMouseOffLineo, this, &DialogMain::SlotMouseOffLine);
    connect(hub, &PostMsg::SigUpPageLight, this, &DialogMain::SlotUpPageLight);

    trayIcon = new QSystemTrayIcon(QIcon(pictureDir + QStringLiteral("Logo.png")));
    trayIcon->setToolTip(productName);
    setWindowIcon(QIcon(pictureDir + QStringLiteral("Logo.png")));

    emit hub->SigLanguageSameA(languageIndex);
    emit hub->SigLanguageSameB(languageIndex);
    emit hub->SigAllLanguage(languageIndex);
}

bool (*DialogMain::trayAvailable)() = &QSystemTrayIcon::isSystemTrayAvailable;

DialogMain::~DialogMain()
{
    // The pages are destroyed below while the device link may still report:
    // no hub call (an offline notice, a page change) reaches the window now.
    PostMsg::instance()->disconnect(this);
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    delete trayIcon;
}

int DialogMain::currentPage() const
{
    return ui->stackedWidgetMain->currentIndex();
}

void DialogMain::scaleFonts(float factor)
{
    fontFactor = factor;
    look::scaleFonts(this, factor);
}

void DialogMain::ensureDevicePage()
{
    if (devicePage)
        return;
    // Built without a parent, so its widgets take their fonts from the same
    // unscaled defaults the rest of the window was scaled from and are
    // scaled once, not a second time on top of the window's scaled font.
    devicePage = new Dialog(nullptr);
    if (fontFactor != 1.0f)
        look::scaleFonts(devicePage, fontFactor);
    ui->stackedWidgetMain->addWidget(devicePage);
}

void DialogMain::migrateLanguageSetting()
{
    // An older version kept the language in the registry; it moves into the
    // user settings once and is removed there.
    const QString key = QString::fromLatin1(registry::kProgramKey);
    bool ok = false;
    const int stored = registry::value(key, QStringLiteral("LanguageIndex")).toInt(&ok);
    if (ok && stored != 0)
        MacroIni::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(stored));
    registry::remove(key, QStringLiteral("LanguageIndex"));
}

void DialogMain::SlotAllLanguage(int index)
{
    openMainText = catalogueText(QStringLiteral("home"), QStringLiteral("OpenMain"), index);
    exitText = catalogueText(QStringLiteral("home"), QStringLiteral("Exit"), index);
    if (openAction)
        openAction->setText(openMainText);
    if (exitAction)
        exitAction->setText(exitText);
}

void DialogMain::SlotChangeMainDialog(int index)
{
    markUiReady();
    if (index == 0) {
        leaveDevicePage();
        ui->stackedWidgetMain->setCurrentIndex(0);
        watchListDevices();
    } else if (index == 1) {
        ensureDevicePage();
        ui->stackedWidgetMain->setCurrentIndex(1);
        watchPageDevice();
    }
}

void DialogMain::SlotChangeSize(int index)
{
    if (index == 0 || index == 1)
        setDriverStatus(0);
    if (index == 0 || index == 2)
        hideToTray();
    else if (index == 1 || index == 3)
        quitProgram(index == 1);
}

void DialogMain::hideToTray()
{
    if (!trayAvailable()) {
        // Without a tray the hidden window could never be reached again.
        minimisedInsteadOfTray = true;
        showMinimized();
        return;
    }
    hide();
    // A window still minimised from a hide without a tray would come back
    // from the tray minimised; it goes there as a plain hidden window, and
    // the return from the tray is what tells the device it is back.
    minimisedInsteadOfTray = false;
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    QMenu *oldMenu = trayMenu;
    QAction *oldOpen = openAction;
    QAction *oldExit = exitAction;

    openAction = new QAction(openMainText, this);
    connect(openAction, &QAction::triggered, this, &DialogMain::slotActionMain);
    exitAction = new QAction(exitText, this);
    connect(exitAction, &QAction::triggered, this, &DialogMain::slotActionExitApp);
    trayMenu = new QMenu(this);
    trayMenu->addAction(openAction);
    trayMenu->addSeparator();
    trayMenu->addAction(exitAction);
    trayIcon->setContextMenu(trayMenu);

    delete oldMenu;
    delete oldOpen;
    delete oldExit;

    if (!trayActivationConnected) {
        connect(trayIcon, &QSystemTrayIcon::activated, this, &DialogMain::on_activatedSysTrayIcon);
        trayActivationConnected = true;
    }
    trayIcon->show();
}

void DialogMain::quitProgram(bool)
{
    if (quitting)
        return;
    quitting = true;
    qDebug() << "close";
    stopDeviceWatch();
    waitWithEvents(delays::ms(delays::Delay::QuitWait));
    exitReportService();
    close();
    // The window may be hidden to the tray, where closing it does not end
    // the event loop by itself.
    QCoreApplication::quit();
}

void DialogMain::closeEvent(QCloseEvent *event)
{
    // The program keeps running after its last window closes (it may live
    // on in the tray), so a close from outside must take the quit path
    // itself. Its own close() inside that path is swallowed while this one
    // is under way; this one then closes the window.
    if (!quitting)
        SlotChangeSize(currentPage() == 1 ? 1 : 3);
    QDialog::closeEvent(event);
}

void DialogMain::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !minimisedInsteadOfTray || isMinimized())
        return;
    minimisedInsteadOfTray = false;
    // The hide told the device that the program went away; tell it again
    // that it is back, as a return from the tray does.
    if (currentPage() == 1)
        setDriverStatus(1);
}

void DialogMain::SlotMouseOffLine(int index)
{
    offlineNoticeKind = index;
    MouseOffLine notice(nullptr);
    look::centreOn(&notice, this, 0, -20);
    markOffline();
    notice.exec();
}

void DialogMain::SlotUpPageLight() {}

void DialogMain::showFromTray()
{
    const bool wasAway = !isVisible() || isMinimized();
    minimisedInsteadOfTray = false;
    restoreWindow();
    if (wasAway && currentPage() == 1)
        setDriverStatus(1);
    // The icon is the only way back to a window that did not come back.
    if (isVisible() && !isMinimized())
        trayIcon->hide();
}

void DialogMain::restoreWindow()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void DialogMain::on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Context:
        if (trayMenu)
            trayMenu->popup(QCursor::pos());
        break;
    case QSystemTrayIcon::DoubleClick:
        // Its first click has already brought the window back.
        showFromTray();
        break;
    case QSystemTrayIcon::Trigger:
        showFromTray();
        break;
    default:
        break;
    }
}

void DialogMain::slotActionMain()
{
    showFromTray();
}

void DialogMain::slotActionExitApp()
{
    // The same orderly end as the window's own quit: the device link is
    // stopped before the event loop ends.
    const bool onDevicePage = currentPage() == 1;
    SlotChangeSize(onDevicePage ? 1 : 3);
}

void DialogMain::keyPressEvent(QKeyEvent *event)
{
    if (macroRecording)
        return;
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_F12:
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit PostMsg::instance()->SigEnterKey();
        return;
    case Qt::Key_Space:
        if (currentPage() == 1)
            pairOnDevicePage();
        else if (currentPage() == 0)
            spaceOnListPage();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void DialogMain::mousePressEvent(QMouseEvent *event)
{
    pressGlobalPos = event->globalPos();
    pressWindowPos = pos();
    dragOrigin = pressGlobalPos - pressWindowPos;
}

void DialogMain::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::LeftButton && !isMaximized() && !dragOrigin.isNull())
        move(event->globalPos() - dragOrigin);
}

void DialogMain::mouseReleaseEvent(QMouseEvent *)
{
    dragOrigin = QPoint(0, 0);
}
