#include "pages/macro/questiondialog.h"
#include "ui_questiondialog.h"

#include "app/look.h"
#include "app/notices.h"
#include "app/textcatalogue.h"
#include "pages/macro/macrostore.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

// Characters that would make odd file names or clash with the key names'
// punctuation: refused as typed keys and, partly, as one-character input
// method commits (a word of several characters always passes).
bool refusedAsKey(const QString &text)
{
    static const QString refused = QStringLiteral("-=[];',./`\\*+") + QChar(0x3010) + QChar(0xFF1B) + QChar(0x2019)
                                   + QChar(0xFF0C) + QChar(0x3002);
    return text.size() == 1 && refused.contains(text.at(0));
}

bool refusedAsCommit(const QString &text)
{
    static const QString refused = QStringLiteral("-=/*") + QChar(0x3010) + QChar(0x3011) + QChar(0x3001)
                                   + QChar(0xFF1B) + QChar(0x2019) + QChar(0xFF0C) + QChar(0x3002) + QChar(0x00B7)
                                   + QChar(0x2018);
    return text.size() == 1 && refused.contains(text.at(0));
}

} // namespace

QuestionDialog::QuestionDialog(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::QuestionDialog>())
{
    ui->setupUi(this);
    connect(ui->NewHong_2, &QToolButton::clicked, this, &QuestionDialog::WindowClosedLan);
    // The name field keeps its designer font whatever the screen's DPI.
    const QFont fieldFont = ui->lineEdit->font();
    picturePath = look::setUpNotice(this, {ui->Question, ui->label, ui->CloseButton, {ui->NewHong, ui->NewHong_2}});
    ui->lineEdit->setFont(fieldFont);
    setFixedSize(width(), height());
    look::setSheet(ui->lineEdit, look::fieldSheet(QStringLiteral("QLineEdit")));
    ui->lineEdit->setFocus();
    ui->lineEdit->installEventFilter(this);
}

QuestionDialog::~QuestionDialog() = default;

void QuestionDialog::setPrompt(bool rename)
{
    ui->label->setText(rename ? inputNameText : selectFirstText);
}

void QuestionDialog::SlotAllLanguage(int index)
{
    // The create prompt has a key of its own: "select a macro first" is a
    // warning elsewhere and does not ask for a name.
    selectFirstText = catalogueText(QStringLiteral("macro"), QStringLiteral("DialogNewMacroName"), index);
    inputNameText = catalogueText(QStringLiteral("macro"), QStringLiteral("DialogInputMacroName"), index);
    ui->NewHong_2->setText(catalogueText(QStringLiteral("common"), QStringLiteral("Cancel"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
}

bool QuestionDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->lineEdit) {
        if (event->type() == QEvent::KeyPress && refusedAsKey(static_cast<QKeyEvent *>(event)->text()))
            return true;
        if (event->type() == QEvent::InputMethod
            && refusedAsCommit(static_cast<QInputMethodEvent *>(event)->commitString()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void QuestionDialog::keyPressEvent(QKeyEvent *event)
{
    // Nothing that needs Shift can be typed; Escape and Enter do not end
    // the dialog (QWidget's handling ignores them, QDialog's would not).
    if (event->key() == Qt::Key_Shift)
        ui->lineEdit->setEnabled(false);
    else
        QWidget::keyPressEvent(event);
}

void QuestionDialog::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Shift) {
        ui->lineEdit->setEnabled(true);
        ui->lineEdit->setFocus(Qt::OtherFocusReason);
    } else {
        QWidget::keyReleaseEvent(event);
    }
}

void QuestionDialog::on_lineEdit_textEdited(const QString &text)
{
    QString name = text;
    if (name.endsWith(QLatin1Char(' ')))
        name.remove(QLatin1Char(' '));
    ui->lineEdit->setText(MacroStore::cutToUtf8Bytes(name));
}

void QuestionDialog::on_NewHong_clicked()
{
    const QString name = ui->lineEdit->text();
    if (!name.isEmpty() && !MacroStore::isSafeName(name)) {
        // A pasted name can hold what typing cannot: say why and let the
        // user change it.
        UpDateWarning notice;
        notice.setText(catalogueText(QStringLiteral("macro"), QStringLiteral("DialogInvalidMacroName")));
        look::centreOn(&notice, this);
        notice.exec();
        ui->lineEdit->setFocus();
        return;
    }
    macroName = name;
    close();
}

void QuestionDialog::WindowClosedLan()
{
    macroName.clear();
    close();
}

void QuestionDialog::on_CloseButton_clicked()
{
    macroName.clear();
    close();
}
