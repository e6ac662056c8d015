#include "pages/settings/formsetting.h"
#include "ui_formsetting.h"

#include "app/appglobals.h"
#include "app/delays.h"
#include "app/look.h"
#include "app/macroini.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/linkcontrols.h"
#include "device/match.h"
#include "device/pagelink.h"
#include "pages/hubconnections.h"
#include "pages/settings/updataparam.h"
#include "pages/settings/updaterepair.h"
#include "platform/autostart.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListView>
#include <QScrollBar>
#include <QUrl>

namespace {

// Where the version values, the upgrade button and its markers stand for
// each language: the captions differ in length.
struct VersionPlaces
{
    QPoint receiverValue, upgradeButton, receiverMarker, mouseValue, mouseMarker;
};

VersionPlaces versionPlaces(int index)
{
    switch (index) {
    case 0:
        return {{220, 155}, {280, 170}, {460, 160}, {220, 185}, {460, 190}};
    case 1:
        return {{250, 155}, {280, 170}, {460, 160}, {250, 185}, {460, 190}};
    case 2:
        return {{270, 155}, {280, 170}, {460, 160}, {270, 185}, {460, 190}};
    case 3:
        return {{350, 155}, {430, 170}, {530, 160}, {350, 185}, {460, 190}};
    case 4:
        return {{280, 155}, {330, 170}, {460, 160}, {280, 185}, {460, 190}};
    case 5:
        return {{150, 155}, {280, 170}, {460, 160}, {150, 185}, {460, 190}};
    default:
        return {{235, 155}, {285, 155}, {460, 160}, {235, 185}, {460, 190}};
    }
}

const char kProgramVersion[] = "1.0.2.0";

} // namespace

FormSetting::FormSetting(QWidget *parent) : QWidget(parent), ui(new Ui::FormSetting)
{
    ui->setupUi(this);
    ui->NewLabel->hide();
    ui->Receive_2->hide();

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigLanguageSameB, this, &FormSetting::SlotLanguageSameB);
    connect(hub, &PostMsg::SigSetNewVer, this, &FormSetting::SetVerText);
    connect(hub, &PostMsg::SigLightToFrom, this, &FormSetting::SlotLightToFrom);
    connectBlockingHub(this);
    connect(hub, &PostMsg::SigFormB, this, &FormSetting::SlotFormB);
    connect(hub, &PostMsg::SigSetver, this, &FormSetting::SetVer);
    connect(hub, &PostMsg::SigLabelText, this, &FormSetting::SlotLabelText);
    connect(hub, &PostMsg::SigCheckUpdate, this, &FormSetting::SlotCheckUpdate);
    connect(hub, &PostMsg::SigLabelTextB, this, &FormSetting::SlotLabelTextB);
    connect(hub, &PostMsg::SigUpdateStart, this, &FormSetting::on_Start);
    connect(hub, &PostMsg::SigUpdateFrame, this, &FormSetting::SlotUpdateFrame);
    connect(hub, &PostMsg::SigContinue, this, &FormSetting::SlotContinue);
    connect(ui->scrollArea->verticalScrollBar(), &QScrollBar::valueChanged, this, &FormSetting::SlotScroolChange);

    pictureDir = look::pictureDir(QStringLiteral("FormSetting"));
    if (!updateRepairDialog) {
        updateRepairDialog = new UpDateRepair(nullptr);
        updateRepairDialog->hide();
    }
    applyTheme();
    setUpUpgrade();

    labelPos = ui->label->pos();
    showAutoStart();

    connect(hub, &PostMsg::SigAllLanguage, this, &FormSetting::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
    // The box shows the language in use from the start, not only after the
    // first change on the list page.
    SlotLanguageSameB(languageIndex);
}

FormSetting::~FormSetting()
{
    delete updateWarning;
}

void FormSetting::applyTheme()
{
    buttonColor = look::rgb(look::Role::Button);
    // The page draws on the device page's background.
    look::setSheet(ui->FrameSetting, QStringLiteral("#FrameSetting{border:none;background:transparent;}"));
    look::setSheet(ui->scrollArea, QStringLiteral("QScrollArea{border:none;background:transparent;}"));
    ui->scrollArea->setFrameShape(QFrame::NoFrame);
    ui->scrollArea->viewport()->setAutoFillBackground(false);
    ui->scrollAreaWidgetContents->setAutoFillBackground(false);

    for (QLabel *label : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_7,
                          ui->label_8, ui->label_9, ui->label_10})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    const look::Images pairImage{QStringLiteral("PariButton.png")};
    look::setSheet(ui->pushButton_2, look::imageSheet(QStringLiteral("QPushButton"), pictureDir, pairImage,
                                                      look::Fit::Centre, buttonColor));
    look::setSheet(ui->Reset, look::imageSheet(QStringLiteral("QToolButton"), pictureDir, pairImage, look::Fit::Centre,
                                               buttonColor));
    const QString link = QStringLiteral("border:none;background:transparent;padding-right:1px;");
    look::setSheet(ui->pushButton, look::colorSheet(QStringLiteral("QPushButton"), look::Role::Label,
                                                    link + QStringLiteral("text-align : left;")));
    for (QPushButton *button : {static_cast<QPushButton *>(ui->pushButton_3), ui->pushButton_4})
        look::setSheet(button, look::colorSheet(QStringLiteral("QPushButton"), look::Role::Label,
                                                link + QStringLiteral("text-align : right;")));
    for (QWidget *marker : {static_cast<QWidget *>(ui->TitleButton_2), static_cast<QWidget *>(ui->TitleButton_3),
                            static_cast<QWidget *>(ui->TitleButton_4), static_cast<QWidget *>(ui->TitleButton_5),
                            static_cast<QWidget *>(ui->TitleButton_8)})
        look::setSheet(marker, look::imageSheet(QLatin1Char('#') + marker->objectName(), pictureDir,
                                                {QStringLiteral("Title.png")}, look::Fit::Stretch));
    look::setSheet(ui->toolButton, look::imageSheet(QStringLiteral("#toolButton"), pictureDir,
                                                    {QStringLiteral("Mouse.png")}, look::Fit::Stretch));

    look::setSheet(ui->comboBox, look::comboSheet(pictureDir));
    auto *view = new QListView(ui->comboBox);
    look::setSheet(view, look::comboListSheet());
    ui->comboBox->setView(view);
    ui->comboBox->setMaxVisibleItems(5);

    look::setSheet(ui->checkBox, look::checkBoxSheet(pictureDir, QStringLiteral("CheckBoxChecked.png"),
                                                     QStringLiteral("CheckBox.png")));
}

void FormSetting::SlotAllLanguage(int index)
{
    // The upgrade button keeps its own font; every run after the first one
    // (the constructor's, before the page's fonts are scaled with the
    // window) brings it to the screen's size.
    ui->Receive_2->setFont(fontScaled ? look::screenFont(QStringLiteral("微软雅黑"), 10)
                                      : QFont(QStringLiteral("微软雅黑"), 10));
    fontScaled = 1;

    placeVersions(index);
    companyTexts(index);

    const auto text = [index](const char *section, const char *key) {
        return catalogueText(QLatin1String(section), QLatin1String(key), index);
    };
    ui->label->setText(text("home", "Version") + QLatin1String(kProgramVersion));
    ui->label_2->setText(text("Settings", "Language"));
    ui->label_3->setText(text("Settings", "DeviceInfo"));
    ui->label_4->setText(text("Settings", "DongleVersion"));
    ui->label_6->setText(text("Settings", "MouseVersion"));
    ui->label_8->setText(text("pair", "PairTool"));
    ui->pushButton_2->setText(text("pair", "Pair"));
    ui->Receive_2->setText(text("update", "Upgrade"));
    ui->label_9->setText(text("home", "Others"));
    ui->label_10->setText(text("home", "AutoOpen"));
    ui->Reset->setText(text("Settings", "Restore"));
    ui->pushButton->setText(text("home", "WindowSet"));
    warningText = text("home", "WiredMode");
    ui->NewLabel->setText(text("home", "LabelTip"));
    ui->label_12->setText(text("Settings", "Restore"));
    noMouseSettingsText = text("home", "NoMouseSettings");
    autoStartPathText = text("home", "AutoStartPath");
    upgradeTexts(index);
}

void FormSetting::placeVersions(int index)
{
    const VersionPlaces places = versionPlaces(index);
    ui->label_5->move(places.receiverValue);
    ui->Receive_2->move(places.upgradeButton);
    ui->toolButton_2->move(places.receiverMarker);
    ui->label_7->move(places.mouseValue);
    ui->toolButton_3->move(places.mouseMarker);
}

void FormSetting::companyTexts(int index)
{
    // Net.xml's first block: name, Chinese name, Chinese site, other site.
    // A block that is missing or short leaves the designer's texts.
    if (companyInfo.isEmpty() || companyInfo.first().size() < 4)
        return;
    const QStringList &company = companyInfo.first();
    // Only the Chinese catalogue reads the Chinese name and site; every
    // other language gets the international ones.
    const bool chinese = index == 1;
    ui->pushButton_4->setText(company.at(chinese ? 1 : 0));
    ui->pushButton_3->setText(company.at(chinese ? 2 : 3));
}

void FormSetting::on_comboBox_activated(int index)
{
    const bool saved =
        MacroIni::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
    languageIndex = index;
    emit PostMsg::instance()->SigAllLanguage(index);
    emit PostMsg::instance()->SigLanguageSameA(index);
    // The language holds for this run; the next start would not have it.
    if (!saved)
        showNotSavedNotice(this, -75, -65);
}

void FormSetting::SlotLanguageSameB(int index)
{
    const bool blocked = ui->comboBox->blockSignals(true);
    ui->comboBox->setCurrentIndex(index);
    ui->comboBox->blockSignals(blocked);
}

void FormSetting::showAutoStart()
{
    const bool enabled =
        autostart::isEnabled(QCoreApplication::applicationName(), QCoreApplication::applicationFilePath());
    const bool blocked = ui->checkBox->blockSignals(true);
    ui->checkBox->setChecked(enabled);
    ui->checkBox->blockSignals(blocked);
}

void FormSetting::on_checkBox_clicked(bool checked)
{
    const QString name = QCoreApplication::applicationName();
    if (checked && !autostart::canStart(name, QCoreApplication::applicationFilePath())) {
        showAutoStart();
        showNotice(autoStartPathText);
        return;
    }
    const bool done =
        checked ? autostart::enable(name, QCoreApplication::applicationFilePath()) : autostart::disable(name);
    // The box and Macro.ini say what the desktop will do at the next log-in,
    // also when the entry could not be changed.
    showAutoStart();
    const bool saved =
        MacroIni::instance()->setValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"),
                                       ui->checkBox->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    // Either file not written is one notice for the one click.
    if (!done || !saved)
        showNotSavedNotice(this, -75, -65);
}

void FormSetting::on_pushButton_clicked()
{
    if (!shell::openMouseSettings())
        showNotice(noMouseSettingsText);
}

void FormSetting::on_pushButton_3_clicked()
{
    shell::openUrl(QUrl(ui->pushButton_3->text(), QUrl::TolerantMode));
}

void FormSetting::showNotice(const QString &text)
{
    UpDateWarning notice(nullptr);
    notice.setText(text);
    look::centreOn(&notice, this, -75, -65);
    notice.exec();
}

void FormSetting::on_pushButton_2_clicked()
{
    {
        Match match(nullptr);
        match.prepare();
        look::centreOn(&match, this, -70, -30);
        match.exec();
    }
    // Pairing moved device-change watching and the report link to the
    // receiver; both go back to the device page.
    watchDevices(DeviceWatch::Page);
    restartReportLink();
}

void FormSetting::on_Reset_clicked()
{
    if (!openDeviceAnswers()) {
        emit PostMsg::instance()->SigMouseOffLineo(0);
        return;
    }
    ContainReset question(nullptr);
    look::centreOn(&question, this, -75, -65);
    question.exec();
    if (!question.accepted)
        return;

    const ModalOperation reset(ModalOperation::PauseOnlineCheck);
    requestSettingsClear();

    UpDataParam wait(nullptr);
    wait.startJobTimer();
    wait.waitForRefresh = true;
    // Success needs the mouse's answer to the clear, not just any refill.
    wait.waitForClear = true;
    readDeviceAgain();
    look::centreOn(&wait, this, -75, -65);
    wait.exec();
}

void FormSetting::on_checkBox_2_toggled(bool checked)
{
    if (!uiReady)
        return;
    setLongRangeMode(checked);
}

void FormSetting::SlotLabelText(int index, QString Text)
{
    if (index == 0) {
        ui->label_5->setText(Text);
        emit PostMsg::instance()->SigAddVer(1, Text);
        currentDevice.update([&](DeviceAllInfo &open) { open.receiverVersion = Text; });
    } else if (index == 1) {
        ui->label_7->setText(Text);
        emit PostMsg::instance()->SigAddVer(0, Text);
        currentDevice.update([&](DeviceAllInfo &open) { open.mouseVersion = Text; });
    }
}

void FormSetting::SlotLabelTextB(QString TextA, QString Text)
{
    ui->label_5->setText(TextA);
    emit PostMsg::instance()->SigAddVer(1, TextA);
    const bool waiting = Text == QLatin1String("true");
    emit PostMsg::instance()->SigAddUpdate(1, waiting);
    if (waiting)
        setWaitingLook();
    else
        setConfirmLook();
}

void FormSetting::SlotScroolChange(int index)
{
    ui->label->move(labelPos.x(), labelPos.y() + index + 10);
}

void FormSetting::mousePressEvent(QMouseEvent *) {}

void FormSetting::SlotRGBValue(DongleRGB *) {}
void FormSetting::SlotLightToFrom(int) {}
void FormSetting::SlotLongRangeMode(bool) {}
void FormSetting::SlotForm() {}
void FormSetting::SlotFormB() {}
void FormSetting::SlotFormResetForm() {}
