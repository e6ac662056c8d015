#include "app/notices.h"

#include "app/appglobals.h"
#include "app/configini.h"
#include "app/fontscale.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "platform/dialogflags.h"
#include "platform/screen.h"

#include "ui_containreset.h"
#include "ui_lessthree.h"
#include "ui_mouseoffline.h"
#include "ui_questiondialogb.h"
#include "ui_updatewarning.h"

#include <QCoreApplication>
#include <QKeySequence>

QPoint noticePosition(const QPoint &openerPos, const QSize &opener, const QSize &dialog, int dx, int dy)
{
    // C++ integer division truncates toward zero, as the placement wants.
    return QPoint(openerPos.x() + (opener.width() - dialog.width()) / 2 + dx,
                  openerPos.y() + (opener.height() - dialog.height()) / 2 + dy);
}

void placeNotice(QWidget *dialog, const QWidget *opener, int dx, int dy)
{
    if (!dialog || !opener)
        return;
    const QPoint global = opener->mapToGlobal(QPoint(0, 0));
    dialog->move(noticePosition(global, opener->size(), dialog->size(), dx, dy));
}

QString noticePictureDir()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Picture/WarningDialog/");
}

void styleNotice(QDialog *dialog, QFrame *frame, QLabel *label, QToolButton *closeButton,
                 const QList<QToolButton *> &confirmButtons, const QString &pictureDir,
                 const QString &confirmImage, const QString &confirmClickImage, bool colourButtons)
{
    dialog->setWindowFlags(dialogWindowFlags());

    const QString labelColor = themeColor(QStringLiteral("LabelColor"));
    label->setStyleSheet(QStringLiteral("QLabel{color:%1;background:transparent;}").arg(labelColor));
    // Long translations wrap before they reach the panel's edges.
    label->setContentsMargins(10, 0, 10, 0);

    // The picture is fitted to the frame: the duplicate-device notice is
    // lower than the others and would otherwise lose the picture's top and
    // bottom edges.
    frame->setStyleSheet(QStringLiteral("QFrame#%1{border:0px;border-image:url(%2BackGround.png) 0 0 0 0 stretch stretch;}")
                             .arg(frame->objectName(), pictureDir));

    closeButton->setStyleSheet(
        QStringLiteral("QToolButton{border:0px;background-image:url(%1Close.png);background-position:center;"
                       "background-repeat:no-repeat;}"
                       "QToolButton:hover{background-image:url(%1CloseHover.png);}"
                       "QToolButton:pressed{background-image:url(%1CloseClick.png);}")
            .arg(pictureDir));

    const QString buttonColor = colourButtons ? themeColor(QStringLiteral("ButtonColor")) : QString();
    for (QToolButton *button : confirmButtons) {
        button->setStyleSheet(QStringLiteral("QToolButton{border:0px;color:%1;border-image:url(%2%3);}"
                                             "QToolButton:pressed{border-image:url(%2%4);}")
                                  .arg(buttonColor.isEmpty() ? QStringLiteral("rgb(255,255,255)") : buttonColor,
                                       pictureDir, confirmImage, confirmClickImage));
    }
}

QString setUpNotice(QDialog *notice, const NoticeParts &parts, const std::function<void(int)> &relabel)
{
    const QString pictureDir = noticePictureDir();
    styleNotice(notice, parts.frame, parts.label, parts.closeButton, parts.confirmButtons, pictureDir,
                parts.confirmImage, parts.confirmClickImage, !parts.confirmButtons.isEmpty());
    QObject::connect(PostMsg::instance(), &PostMsg::SigAllLanguage, notice, relabel);
    relabel(languageIndex);
    scaleChildren(notice, screen::fontFactor());
    return pictureDir;
}

// ---------------------------------------------------------------------------

QuestiondialogB::QuestiondialogB(QWidget *parent)
    : QDialog(parent), ui(new Ui::QuestiondialogB)
{
    ui->setupUi(this);
    pictureDir = setUpNotice(this, {ui->QuestionB, ui->label, ui->CloseButton, {}});
    setFixedSize(width(), height());
}

QuestiondialogB::~QuestiondialogB()
{
    delete ui;
}

void QuestiondialogB::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("home"), QStringLiteral("ErrorDevice"), index));
}

void QuestiondialogB::on_CloseButton_clicked()
{
    close();
}

// ---------------------------------------------------------------------------

MouseOffLine::MouseOffLine(QWidget *parent)
    : QDialog(parent), ui(new Ui::MouseOffLine)
{
    ui->setupUi(this);
    pictureDir = setUpNotice(this, {ui->MouseOffLineA, ui->label, ui->CloseButton, {ui->NewHong},
                                    QStringLiteral("ConFirm.png"), QStringLiteral("ConFirmClick.png")});
    // The worker's online check closes the notice when the mouse answers.
    connect(PostMsg::instance(), &PostMsg::SigCloseOffOnline, this, &MouseOffLine::on_CloseButton_clicked);
}

MouseOffLine::~MouseOffLine()
{
    delete ui;
}

void MouseOffLine::SlotAllLanguage(int index)
{
    if (offlineNoticeKind == 0)
        ui->label->setText(catalogueText(QStringLiteral("infoTips"), QStringLiteral("DialogOffline"), index));
    else if (offlineNoticeKind == 1)
        ui->label->setText(catalogueText(QStringLiteral("infoTips"), QStringLiteral("TimeOut"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
}

void MouseOffLine::on_NewHong_clicked()
{
    close();
}

void MouseOffLine::on_CloseButton_clicked()
{
    close();
}

// ---------------------------------------------------------------------------

ContainReset::ContainReset(QWidget *parent)
    : QDialog(parent), ui(new Ui::ContainReset)
{
    ui->setupUi(this);
    pictureDir = setUpNotice(this, {ui->ContainResetA, ui->label, ui->CloseButton, {ui->OK, ui->Cancel},
                                    QStringLiteral("ConFirm.png"), QStringLiteral("ConFirmClick.png")});
}

ContainReset::~ContainReset()
{
    delete ui;
}

void ContainReset::setText(const QString &text)
{
    ui->label->setText(text);
}

void ContainReset::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("DialogRestore"), index));
    ui->OK->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
    ui->Cancel->setText(catalogueText(QStringLiteral("common"), QStringLiteral("Cancel"), index));
    // A new button text replaces the button's shortcut with the text's
    // mnemonic: give Return back after every re-text.
    ui->OK->setShortcut(QKeySequence(Qt::Key_Return));
}

void ContainReset::on_OK_clicked()
{
    accepted = true;
    close();
}

void ContainReset::on_Cancel_clicked()
{
    accepted = false;
    close();
}

void ContainReset::on_CloseButton_clicked()
{
    accepted = false;
    close();
}

// ---------------------------------------------------------------------------

UpDateWarning::UpDateWarning(QWidget *parent)
    : QDialog(parent), ui(new Ui::UpDateWarning)
{
    ui->setupUi(this);
    pictureDir = setUpNotice(this, {ui->WarningFrame, ui->label, ui->CloseButton, {ui->NewHong}});
}

UpDateWarning::~UpDateWarning()
{
    delete ui;
}

void UpDateWarning::setText(const QString &text)
{
    ui->label->setText(text);
}

void UpDateWarning::SlotAllLanguage(int index)
{
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Return)); // see ContainReset
}

void UpDateWarning::on_NewHong_clicked()
{
    close();
}

void UpDateWarning::on_CloseButton_clicked()
{
    close();
}

// ---------------------------------------------------------------------------

LessThree::LessThree(QWidget *parent)
    : QDialog(parent), ui(new Ui::LessThree)
{
    ui->setupUi(this);
    pictureDir = setUpNotice(this, {ui->LessThreeframe, ui->label, ui->CloseButton, {ui->NewHong}});
}

LessThree::~LessThree()
{
    delete ui;
}

void LessThree::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("key"), QStringLiteral("DialogDebounceTips"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
}

void LessThree::on_NewHong_clicked()
{
    close();
}

void LessThree::on_CloseButton_clicked()
{
    close();
}
