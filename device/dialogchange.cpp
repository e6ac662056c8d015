#include "device/dialogchange.h"
#include "ui_dialogchange.h"

#include "app/appglobals.h"
#include "app/configini.h"
#include "app/delays.h"
#include "app/look.h"
#include "app/macroini.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/discovery.h"
#include "device/firmwarecheck.h"
#include "device/linkcontrols.h"
#include "device/match.h"
#include "device/mytoolbuttonenter.h"
#include "device/upgraderecord.h"
#include "platform/hidusb/hidusb.h"

#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QStackedWidget>

QString listPictureDir;
QList<mytoolButtonEnter *> deviceButtons;
QList<QLabel *> offlineMarkers;
QList<QLabel *> connectionIcons;
QList<QLabel *> rateBadges;
QString promptText;
QString repairText;
ListPageDialogs *listPageDialogs = nullptr;
QString offlineTipText;
QString pairTipText;
QString newVersionText;

namespace {

struct SlotPlace
{
    QPoint button;
    QPoint marker;
    QPoint badge;
};

// Places of the widgets of slot s on a view holding `count` devices.
SlotPlace slotPlace(int count, int s)
{
    if (count == 1)
        return {{305, 0}, {530, 20}, {312, 10}};
    if (count == 2)
        return s == 0 ? SlotPlace{{135, 0}, {360, 20}, {142, 10}} : SlotPlace{{445, 0}, {665, 20}, {452, 10}};
    return {{300 * s, 0}, {225 + 300 * s, 20}, {7 + 300 * s, 10}};
}

QString pictureSheet(const QString &widget, const QString &picture)
{
    return look::imageSheet(widget, listPictureDir, {picture}, look::Fit::Centre, look::rgb(look::Ink::White));
}

QString updateFailInfo()
{
    return upgraderecord::failInfo();
}

// The index a device widget's object name carries after its prefix; -1 when
// the name does not hold a number.
int indexFromName(const QString &name, const QString &prefix)
{
    QString rest = name;
    rest.remove(prefix);
    bool ok = false;
    const int n = rest.toInt(&ok, 10);
    return ok ? n : -1;
}

template <typename T>
T *findByName(const QList<T *> &list, const QString &name)
{
    for (T *w : list)
        if (w && w->objectName() == name)
            return w;
    return nullptr;
}

// Click handlers of device buttons now running (nested in modal dialogs),
// and the views retired while they run.
int clickHandlersRunning = 0;
QList<QPointer<QWidget>> retiredViews;

// Counts a running click handler; the last one to return releases the views
// retired meanwhile.
struct ClickHandlerScope
{
    ClickHandlerScope() { ++clickHandlersRunning; }
    ~ClickHandlerScope()
    {
        if (--clickHandlersRunning > 0)
            return;
        for (const QPointer<QWidget> &view : qAsConst(retiredViews))
            if (view)
                view->deleteLater();
        retiredViews.clear();
    }
    ClickHandlerScope(const ClickHandlerScope &) = delete;
    ClickHandlerScope &operator=(const ClickHandlerScope &) = delete;
};

bool askOnline(const DeviceAllInfo &info)
{
    const QByteArray path = info.path.toLocal8Bit();
    return UsbFinderC_GetDeviceOnLine(path.constData());
}

} // namespace

QString devicePictureName(const DeviceAllInfo &info, bool online)
{
    if (info.modelIndex == deviceTotal)
        return QStringLiteral("Unknow.png");
    const int variant = (info.id >> 8) == 29 ? 0 : 1;
    return (online ? QStringLiteral("OnLine") : QStringLiteral("DisOnlin")) + QString::number(variant)
           + QStringLiteral(".png");
}

QString rateBadgeName(int linkCode)
{
    switch (linkCode) {
    case 0:
        return QStringLiteral("1KHz.png");
    case 4:
        return QStringLiteral("2KHz.png");
    case 1:
        return QStringLiteral("4KHz.png");
    case 5:
    case 3:
        return QStringLiteral("8KHz.png");
    default:
        return QString();
    }
}

DialogChange::DialogChange(QWidget *parent) : QWidget(parent), ui(new Ui::DialogChange)
{
    ui->setupUi(this);
    listPage = this;
    listPictureDir = look::pictureDir(QStringLiteral("DialogChange"));

    const QString &dir = listPictureDir;
    look::setSheet(ui->frameChange, look::imageSheet(QStringLiteral("#frameChange"), dir,
                                                     {QStringLiteral("MainBack.png")}, look::Fit::Stretch));
    look::setSheet(ui->CloseButton,
                   look::imageSheet(QStringLiteral("QToolButton"), dir,
                                    look::buttonImages(QStringLiteral("Close"), look::Hover | look::Click)));
    look::setSheet(ui->MinButton,
                   look::imageSheet(QStringLiteral("QToolButton"), dir,
                                    look::buttonImages(QStringLiteral("Min"), look::Hover | look::Click)));
    look::setSheet(ui->Repair, look::imageSheet(QStringLiteral("#Repair"), dir, {QStringLiteral("Repair.png")}));
    look::setSheet(ui->RightButton, look::imageSheet(QStringLiteral("QToolButton"), dir,
                                                     {QStringLiteral("Right.png"), QStringLiteral("RightClick.png")},
                                                     look::Fit::Stretch));
    look::setSheet(ui->LeftButton,
                   look::imageSheet(QStringLiteral("QToolButton"), dir,
                                    {QStringLiteral("Left.png"), QStringLiteral("LeftClick.png")}, look::Fit::Stretch));
    look::setSheet(ui->comboBox, look::comboSheet(dir));
    auto *view = new QListView(ui->comboBox);
    look::setSheet(view, look::comboListSheet());
    ui->comboBox->setView(view);
    ui->comboBox->setMaxVisibleItems(5);

    // The prompt and the hint in the theme's text colour, legible on the
    // dark background.
    look::setSheet(ui->label_2, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(ui->label_3, look::colorSheet(QStringLiteral("QLabel")));
    // Long prompts wrap inside the page instead of running to its edges.
    ui->label_2->setContentsMargins(60, 0, 60, 0);
    ui->label_3->setContentsMargins(60, 0, 60, 0);
    ui->label_2->show();
    ui->label_3->show();
    ui->RightButton->hide();
    ui->LeftButton->hide();

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigLanguageSameA, this, &DialogChange::SlotSameLanguageA);
    connect(hub, &PostMsg::SigUpDateButton, this, &DialogChange::SlotUpDateButton);
    connect(hub, &PostMsg::SigEnterKey, this, &DialogChange::SlotEnterKey);

    ui->Repair->hide();
    if (!updateFailInfo().isEmpty())
        ui->Repair->show();

    deviceTotal = ConfigIni::instance()->value(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt();

    connect(hub, &PostMsg::SigAllLanguage, this, &DialogChange::SlotAllLanguage);
    SlotAllLanguage(languageIndex);

    ui->FindVer->hide();

    watchDevices(DeviceWatch::List);
}

DialogChange::~DialogChange()
{
    if (listPage == this)
        listPage = nullptr;
    // The device widgets die with the views; forget them.
    deviceButtons.clear();
    offlineMarkers.clear();
    connectionIcons.clear();
    rateBadges.clear();
}

void DialogChange::updateRepairPrompt()
{
    if (updateFailInfo().isEmpty()) {
        ui->Repair->hide();
        ui->label_2->setText(promptText);
    } else {
        ui->Repair->show();
        ui->label_2->setText(repairText);
    }
}

void DialogChange::buildDeviceButtons()
{
    // The old views go away. A device button's click handler may still be
    // running below us, waiting in a modal dialog whose event loop would
    // carry out a deferred delete at once; while one runs the old views are
    // only retired (hidden) and released when the last handler returns.
    const bool keepForHandler = clickHandlersRunning > 0;
    if (!keepForHandler) {
        for (auto *w : qAsConst(deviceButtons))
            w->deleteLater();
        for (auto *w : qAsConst(offlineMarkers))
            w->deleteLater();
        for (auto *w : qAsConst(rateBadges))
            w->deleteLater();
        for (auto *w : qAsConst(connectionIcons))
            w->deleteLater();
    }
    deviceButtons.clear();
    offlineMarkers.clear();
    rateBadges.clear();
    connectionIcons.clear();
    while (ui->stackedWidget->count() > 0) {
        QWidget *page = ui->stackedWidget->widget(ui->stackedWidget->count() - 1);
        ui->stackedWidget->removeWidget(page);
        page->hide();
        if (keepForHandler)
            retiredViews.append(page);
        else
            page->deleteLater();
    }

    if (listedDevices.isEmpty()) {
        ui->label_2->show();
        ui->label_3->hide();
        ui->RightButton->hide();
        ui->LeftButton->hide();
        return;
    }

    if (applyDuplicateRule()) {
        ui->label_2->show();
        ui->label_3->hide();
        ui->RightButton->hide();
        ui->LeftButton->hide();
        QuestiondialogB notice(nullptr);
        look::centreOn(&notice, this);
        notice.exec();
        return;
    }
    applyCableRule();

    ui->label_2->hide();
    ui->label_3->show();
    const int n = listedDevices.size();
    const int fullViews = n / 3;
    const int rest = n % 3;
    for (int p = 0; p < fullViews; ++p) {
        auto *page = new QWidget;
        for (int s = 0; s < 3; ++s)
            createDeviceWidgets(page, 3 * p + s, 3, s);
        ui->stackedWidget->addWidget(page);
    }
    if (rest == 1 || rest == 2) {
        auto *page = new QWidget;
        for (int s = 0; s < rest; ++s)
            createDeviceWidgets(page, 3 * fullViews + s, rest, s);
        ui->stackedWidget->addWidget(page);
    }
    ui->stackedWidget->setCurrentIndex(0);
    ui->RightButton->setVisible(n > 3);
    ui->LeftButton->hide();

    const QList<mytoolButtonEnter *> buttons = deviceButtons;
    for (mytoolButtonEnter *button : buttons) {
        const int index = indexFromName(button->objectName(), QStringLiteral("btn"));
        refreshDeviceEntry(index);
        connect(button, &QAbstractButton::clicked, this, &DialogChange::slotButtonClicked);
    }
}

void DialogChange::createDeviceWidgets(QWidget *page, int n, int devicesOnView, int slot)
{
    const DeviceAllInfo &info = listedDevices.at(n);
    const SlotPlace place = slotPlace(devicesOnView, slot);
    const QString tip = offlineTipText + QStringLiteral("\n") + pairTipText;

    auto *button = new mytoolButtonEnter(page);
    button->setObjectName(QStringLiteral("btn") + QString::number(n));
    button->setFixedSize(284, 360);
    button->setFocusPolicy(Qt::NoFocus);
    button->move(place.button);
    look::setSheet(button, pictureSheet(QStringLiteral("QToolButton"), devicePictureName(info, false)));
    deviceButtons.append(button);

    auto *marker = new QLabel(page);
    marker->setObjectName(QStringLiteral("label") + QString::number(n));
    marker->setFixedSize(32, 32);
    marker->setFocusPolicy(Qt::NoFocus);
    marker->move(place.marker);
    look::setSheet(marker, pictureSheet(QStringLiteral("QLabel"), QStringLiteral("DisOnline.png")));
    marker->setToolTip(tip);
    marker->setFont(ui->NoApear->font());
    marker->hide();
    offlineMarkers.append(marker);

    auto *icon = new QLabel(page);
    icon->setObjectName(QStringLiteral("UsbWifi") + QString::number(n));
    icon->setFixedSize(32, 32);
    icon->setFocusPolicy(Qt::NoFocus);
    icon->move(place.marker);
    look::setSheet(icon, pictureSheet(QStringLiteral("QLabel"),
                                      info.wired ? QStringLiteral("OnLineUsb.png") : QStringLiteral("OnLineWifi.png")));
    if (devicesOnView == 1) {
        icon->setToolTip(tip);
        icon->setFont(ui->NoApear->font());
    }
    icon->hide();
    connectionIcons.append(icon);

    const QString badgePicture = rateBadgeName(info.linkCode);
    if (!badgePicture.isEmpty()) {
        auto *badge = new QLabel(page);
        badge->setFixedSize(42, 26);
        badge->setFocusPolicy(Qt::NoFocus);
        badge->move(place.badge);
        look::setSheet(badge, look::imageSheet(QStringLiteral("QLabel"), listPictureDir, {badgePicture}));
        rateBadges.append(badge);
    }
}

void DialogChange::repaintDeviceEntry(int n)
{
    if (n < 0 || n >= listedDevices.size())
        return;
    const DeviceAllInfo &info = listedDevices.at(n);
    auto *button = findByName(deviceButtons, QStringLiteral("btn") + QString::number(n));
    QLabel *marker = findByName(offlineMarkers, QStringLiteral("label") + QString::number(n));
    QLabel *icon = findByName(connectionIcons, QStringLiteral("UsbWifi") + QString::number(n));
    if (!button || !marker || !icon)
        return;
    if (info.modelIndex == deviceTotal) {
        icon->show();
        look::setSheet(button, pictureSheet(QStringLiteral("QToolButton"), devicePictureName(info, false)));
    } else if (info.online) {
        icon->show();
        marker->hide();
        look::setSheet(button, pictureSheet(QStringLiteral("QToolButton"), devicePictureName(info, true)));
    } else {
        look::setSheet(button, pictureSheet(QStringLiteral("QToolButton"), devicePictureName(info, false)));
        marker->show();
        icon->hide();
    }
}

void DialogChange::on_RightButton_clicked()
{
    ui->label_2->hide();
    ui->label_3->show();
    const int i = ui->stackedWidget->currentIndex();
    if (i + 1 >= ui->stackedWidget->count())
        return;
    if (i == ui->stackedWidget->count() - 2) {
        ui->LeftButton->show();
        ui->RightButton->hide();
    }
    ui->stackedWidget->setCurrentIndex(i + 1);
}

void DialogChange::on_LeftButton_clicked()
{
    ui->label_2->hide();
    ui->label_3->show();
    const int i = ui->stackedWidget->currentIndex();
    if (i <= 0)
        return;
    if (i == 1) {
        ui->LeftButton->hide();
        ui->RightButton->show();
    }
    ui->stackedWidget->setCurrentIndex(i - 1);
}

void DialogChange::on_Repair_clicked()
{
    if (listPageDialogs)
        listPageDialogs->showRepairDialog(this);
}

void DialogChange::SlotEnterKey()
{
    if (ui->Repair->isVisible())
        on_Repair_clicked();
}

void DialogChange::SlotUpDateButton(bool IsHide)
{
    ui->Repair->setVisible(!IsHide);
    ui->label_2->setText(IsHide ? promptText : repairText);
}

void DialogChange::on_comboBox_activated(int index)
{
    const bool saved =
        MacroIni::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
    languageIndex = index;
    emit PostMsg::instance()->SigAllLanguage(index);
    emit PostMsg::instance()->SigLanguageSameB(index);
    // The language holds for this run; the next start would not have it.
    if (!saved)
        showNotSavedNotice(this);
}

void DialogChange::SlotSameLanguageA(int index)
{
    const bool blocked = ui->comboBox->blockSignals(true);
    ui->comboBox->setCurrentIndex(index);
    ui->comboBox->blockSignals(blocked);
}

void DialogChange::SlotAllLanguage(int index)
{
    const auto home = [index](const char *key) {
        return catalogueText(QStringLiteral("home"), QString::fromLatin1(key), index);
    };
    // The repair button's own state, also while the page itself is hidden.
    const bool repairShown = !ui->Repair->isHidden();
    if (!repairShown)
        ui->label_2->setText(home("PleaseEnter"));
    ui->label_3->setText(home("ClickIn"));
    promptText = home("PleaseEnter");
    offlineTipText = catalogueText(QStringLiteral("infoTips"), QStringLiteral("DialogOffline"), index);
    pairTipText = home("PairTips_z");
    repairText = home("RepairDevice");
    if (repairShown)
        ui->label_2->setText(repairText);
    newVersionText = home("NewVerTips");
    const QString tip = offlineTipText + QStringLiteral("\n") + pairTipText;
    for (QLabel *marker : qAsConst(offlineMarkers)) {
        marker->setToolTip(tip);
        marker->setFont(ui->NoApear->font());
    }
    // The connection icon of a device alone on its view carries the same tip.
    for (QLabel *icon : qAsConst(connectionIcons))
        if (!icon->toolTip().isEmpty())
            icon->setToolTip(tip);
}

void DialogChange::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        const bool blocked = ui->comboBox->blockSignals(true);
        ui->retranslateUi(this);
        ui->comboBox->setCurrentIndex(0);
        ui->comboBox->blockSignals(blocked);
    }
    QWidget::changeEvent(event);
}

void DialogChange::on_MinButton_clicked()
{
    emit PostMsg::instance()->SigChangeSize(2);
}

void DialogChange::on_CloseButton_clicked()
{
    emit PostMsg::instance()->SigChangeSize(3);
}

void DialogChange::slotButtonClicked()
{
    const ClickHandlerScope scope;
    emit devicePageWanted();
    PostMsg *hub = PostMsg::instance();
    emit hub->SigIsUsb(false, true);
    emit hub->SigSetver(6);
    const QObject *button = sender();
    const int n = button ? indexFromName(button->objectName(), QStringLiteral("btn")) : -1;
    emit hub->SigMouseIndex(0);
    // A button of an older rebuild may name an entry that no longer exists.
    if (n < 0 || n >= listedDevices.size())
        return;

    if (listedDevices.size() == 2 && listedDevices.at(0).id == listedDevices.at(1).id) {
        const DeviceAllInfo first = listedDevices.at(0);
        const DeviceAllInfo second = listedDevices.at(1);
        bool check = false;
        if (n == 0)
            check = !askOnline(first) && askOnline(second);
        else
            check = askOnline(first) && !askOnline(second);
        if (check && runFirmwareCheck(n == 0 ? first : second) == CheckOutcome::Finished)
            return;
    }
    if (n >= listedDevices.size())
        return; // the list was rebuilt while a dialog was open
    const DeviceAllInfo entry = listedDevices.at(n);
    const bool unrecognised = entry.modelIndex == deviceTotal;
    if (unrecognised) {
        if (!entry.wired)
            runFirmwareCheck(entry);
        return;
    }
    openDevice(entry);
}

DialogChange::CheckOutcome DialogChange::runFirmwareCheck(const DeviceAllInfo &chosen)
{
    const DeviceAllInfo entry = chosen;
    const DeviceFirmwareCheck check = checkDeviceFirmware(entry);
    if (!check.mouseVersionKnown) {
        openPairing(entry);
        return CheckOutcome::Finished;
    }
    const bool mouseUpdate = check.mouseUpdate;
    const bool receiverUpdate = check.receiverUpdate;
    if (mouseUpdate == receiverUpdate) {
        const bool accepted = listPageDialogs && listPageDialogs->askPairAgain(this);
        if (accepted)
            openPairing(entry);
        return CheckOutcome::Finished;
    }
    if (mouseUpdate) {
        UpDateWarning warning(nullptr);
        warning.setText(warningText);
        look::centreOn(&warning, this, -20);
        warning.exec();
        return CheckOutcome::Finished;
    }
    return CheckOutcome::GoOn;
}

void DialogChange::openPairing(const DeviceAllInfo &entry)
{
    pairingTargetSet = true;
    pairingTarget = entry;
    Match match(nullptr);
    match.prepare();
    look::centreOn(&match, this);
    match.exec();
}

void DialogChange::openDevice(const DeviceAllInfo &entry)
{
    PostMsg *hub = PostMsg::instance();
    emit hub->SigSelectMouseInfo(entry);
    const int kind = receiverKindOf(entry.linkCode);
    QString updateText;
    if (QDir(firmwareImageFolder()).exists()) {
        receiverUpdateFlag = checkFirmwareUpdate(firmwareTargetReceiver, entry.receiverVersion, kind);
        if (receiverUpdateFlag)
            updateText = QStringLiteral("true");
    }
    emit hub->SigLabelTextB(entry.receiverVersion, updateText);
    emit hub->SigChangeMainDialog(1);
    // The worker's first pass attaches currentDevicePath; it is the chosen
    // entry's path from the start, so the pass never depends on when the
    // device page's first device-change callback arrives.
    currentDevicePath = entry.path.toLocal8Bit();
    devicePageActive = 1;
    readDeviceAgain();
}
