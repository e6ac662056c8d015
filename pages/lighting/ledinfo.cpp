#include "pages/lighting/ledinfo.h"
#include "ui_ledinfo.h"

#include "app/configini.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "pages/hubconnections.h"
#include "platform/dialogflags.h"

#include <QButtonGroup>

LedInfo::LedInfo(QWidget *parent) : QDialog(parent), ui(new Ui::LedInfo), m_group(new QButtonGroup(this))
{
    ui->setupUi(this);
    m_group->setExclusive(true);
    for (QCheckBox *box : {ui->ReUntil, ui->ReUntil_2, ui->ReUntil_3})
        m_group->addButton(box);
    pictureDir = look::pictureDir(QStringLiteral("FormSetting"));
    setWindowFlags(dialogWindowFlags());

    look::setSheet(ui->LedInfoFrame, look::imageSheet(QStringLiteral("#LedInfoFrame"), pictureDir,
                                                      look::Images(QStringLiteral("Back.png"))));
    look::setSheet(ui->TitleButton_7, look::imageSheet(QStringLiteral("#TitleButton_7"), pictureDir,
                                                       look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    look::setSheet(ui->label_14, look::colorSheet(QStringLiteral("QLabel")));
    for (QCheckBox *box : {ui->ReUntil, ui->ReUntil_2, ui->ReUntil_3})
        look::setSheet(
            box, look::checkBoxSheet(pictureDir, QStringLiteral("CheckBoxCheck.png"), QStringLiteral("CheckBox2.png")));
    for (QTextEdit *edit : {ui->textEdit_2, ui->textEdit_3, ui->textEdit_4})
        look::setSheet(edit, look::colorSheet(QLatin1Char('#') + edit->objectName(), look::Role::Label,
                                              QStringLiteral("border: transparent;background-color: transparent;")));
    look::setSheet(ui->CloseButton,
                   look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                    look::buttonImages(QStringLiteral("Close"), look::Hover | look::Click)));
    connectBlockingHub(this);
}

LedInfo::~LedInfo() = default;

void LedInfo::SlotRGBValue(DongleRGB *Rgb)
{
    // A model whose list does not say it has the choice is taken as one
    // without it.
    const DeviceAllInfo device = currentDevice.get();
    const QStringList advanced = ConfigIni::instance()->valueList(QStringLiteral("Drive%1").arg(device.modelIndex + 1),
                                                                  QStringLiteral("Adveanced"));
    if (advanced.size() < 2 || advanced.at(1) == QLatin1String("-1") || device.wired || device.linkCode != 1 || !Rgb)
        return;
    for (QWidget *w : std::initializer_list<QWidget *>{ui->TitleButton_7, ui->label_14, ui->ReUntil, ui->ReUntil_2,
                                                       ui->ReUntil_3, ui->textEdit_2, ui->textEdit_3, ui->textEdit_4})
        w->setVisible(true);
    switch (Rgb->ledInfoChoice) {
    case 1:
        ui->ReUntil->setChecked(true);
        break;
    case 2:
        ui->ReUntil_2->setChecked(true);
        break;
    case 3:
        ui->ReUntil_3->setChecked(true);
        break;
    default:
        break;
    }
}

void LedInfo::SlotAllLanguage(int) {}

void LedInfo::on_CloseButton_clicked()
{
    emit PostMsg::instance()->SigButtonCheck();
    close();
}
