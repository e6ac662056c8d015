#include "pages/macro/addkey.h"
#include "ui_addkey.h"

#include "app/look.h"
#include "app/notices.h"
#include "app/textcatalogue.h"
#include "platform/keys/keytable.h"

#include <QKeyEvent>

addKey::addKey(QWidget *parent)
    : QDialog(parent), m_hook(std::make_unique<KeyboardHook>(KeyboardHook::User::KeyDialog)),
      ui(std::make_unique<Ui::addKey>())
{
    ui->setupUi(this);
    m_hook->install();
    m_hook->setCallback([this](int keyCode, bool down, bool repeat) { UpdateCapslockTip(keyCode, down, repeat); });
    // However the dialog ends, the hook goes with it.
    connect(this, &QDialog::finished, this, [this] { m_hook->remove(); });
    // No Return button: Enter is a key to capture.
    picturePath = look::setUpNotice(this, {ui->addKeyA, ui->label, ui->CloseButton, {ui->NewHong, ui->NewHong_2}});
    look::setSheet(ui->lineEdit, look::fieldSheet(QStringLiteral("QLineEdit")));
    ui->lineEdit->setFocus();
}

addKey::~addKey()
{
    m_hook->remove();
}

bool addKey::isCaptureName(const QString &name)
{
    const keytable::Key *key = keytable::keyByName(name);
    return key && keytable::captureName(key->vk) == name;
}

void addKey::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("home"), QStringLiteral("EnterKey"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
    ui->NewHong_2->setText(catalogueText(QStringLiteral("common"), QStringLiteral("Cancel"), index));
}

void addKey::UpdateCapslockTip(int keyCode, bool, bool)
{
    const std::optional<QString> name = keytable::captureName(quint32(keyCode));
    m_captured = name.has_value();
    keyName = name.value_or(QString());
    ui->lineEdit->setText(keyName);
}

void addKey::keyPressEvent(QKeyEvent *event)
{
    // Both are keys to capture, not commands to the dialog.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QDialog::keyPressEvent(event);
}

void addKey::on_NewHong_clicked()
{
    const QString text = ui->lineEdit->text();
    if (!(m_captured && text == keyName)) {
        // The field was changed by hand: a whole key name counts as that
        // key, any other text (or no key at all) is no answer.
        if (text.isEmpty() || text == keyName || !isCaptureName(text)) {
            UpDateWarning notice;
            notice.setText(catalogueText(QStringLiteral("macro"), QStringLiteral("DialogPressKey")));
            look::centreOn(&notice, this);
            notice.exec();
            ui->lineEdit->setFocus();
            return;
        }
        keyName = text;
    }
    accepted = true;
    m_hook->remove();
    accept();
}

void addKey::on_NewHong_2_clicked()
{
    accepted = false;
    m_hook->remove();
    reject();
}

void addKey::on_CloseButton_clicked()
{
    accepted = false;
    m_hook->remove();
    reject();
}
