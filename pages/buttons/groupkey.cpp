#include "pages/buttons/groupkey.h"

#include "app/delays.h"
#include "app/look.h"
#include "app/notices.h"
#include "app/textcatalogue.h"
#include "pages/buttons/buttonnotices.h"
#include "platform/keys/keytable.h"

#include "ui_groupkey.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace {

constexpr int kMostKeys = 3;

// The names in the field. "Num+" stays one name although it holds the join
// character; an empty field has none.
QStringList namesIn(const QString &text)
{
    return text.isEmpty() ? QStringList() : keytable::splitCombination(text);
}

} // namespace

GroupKey::GroupKey(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::GroupKey>())
{
    ui->setupUi(this);
    hook.install();
    hook.setCallback([this](int keyCode, bool downOrUp, bool aotu) { UpdateCapslockTip(keyCode, downOrUp, aotu); });

    // The key field keeps its designer font whatever the screen's DPI.
    const QFont fieldFont = ui->lineEdit->font();
    picturePath = look::setUpNotice(this, {ui->groupKeyA, ui->label, ui->CloseButton, {ui->NewHong, ui->NewHong_2}});
    ui->lineEdit->setFont(fieldFont);
    // The label sits above the field, left-aligned with it.
    ui->label->setContentsMargins(0, 0, 0, 0);

    const QString checkSheet =
        look::checkBoxSheet(picturePath, QStringLiteral("CheckBoxCheck.png"), QStringLiteral("CheckBox.png"));
    for (QCheckBox *box : {ui->Shift, ui->Ctrl, ui->Alt, ui->Win})
        look::setSheet(box, checkSheet);
    look::setSheet(ui->lineEdit, look::fieldSheet(QStringLiteral("QLineEdit")));

    ui->lineEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    ui->lineEdit->setFocus(Qt::OtherFocusReason);
}

GroupKey::~GroupKey()
{
    removeHook();
}

void GroupKey::removeHook()
{
    hook.remove();
}

bool GroupKey::isCombinationKeyName(const QString &name)
{
    // The names the capture itself puts into the field: a key of the table
    // named whole, no modifier (those are the check boxes).
    const keytable::Key *key = keytable::keyByName(name);
    return key && !name.isEmpty() && keytable::combinationCaptureName(key->vk) == name;
}

bool GroupKey::fieldIsAnswer(const QString &field) const
{
    if (field == capturedText)
        return true;
    // Changed by hand (pasted): every name must be a whole key name.
    for (const QString &name : namesIn(field))
        if (!isCombinationKeyName(name))
            return false;
    return true;
}

void GroupKey::UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu)
{
    captureKey(keyCode, downOrUp, aotu);
    capturedText = ui->lineEdit->text();
}

void GroupKey::captureKey(int keyCode, bool downOrUp, bool)
{
    if (!downOrUp)
        return;
    if (firstKey) {
        keyTimer.start();
        firstKey = false;
    } else if (keyTimer.elapsed() > delays::ms(delays::Delay::KeyComboWindow)) {
        ui->lineEdit->clear();
        lastKey = -1;
        keyTimer.restart();
    }
    if (keyCode == lastKey)
        return;
    lastKey = keyCode;

    const QString name = keytable::combinationCaptureName(quint32(keyCode)).value_or(QString());
    const QStringList names = namesIn(ui->lineEdit->text());
    plusCount = qMax(0, names.size() - 1);

    if (names.size() >= kMostKeys) {
        // A key after a full combination starts a new one.
        plusCount = 0;
        lastKey = keyCode;
        ui->lineEdit->setText(name);
        return;
    }
    // A key already in the combination, and a key without a name, add
    // nothing. Names are compared whole, so "S" can follow "Space".
    if (name.isEmpty() || names.contains(name))
        return;
    if (names.isEmpty()) {
        ui->lineEdit->setText(name);
    } else {
        ui->lineEdit->setText(keytable::joinCombination(names + QStringList{name}));
        // The third key completes the combination: the very next press, even
        // of the same key, begins a new one.
        if (names.size() == kMostKeys - 1)
            lastKey = -1;
    }
}

void GroupKey::on_NewHong_clicked()
{
    QStringList modifiers;
    if (ui->Shift->isChecked())
        modifiers << QStringLiteral("Shift");
    if (ui->Ctrl->isChecked())
        modifiers << QStringLiteral("Ctrl");
    if (ui->Alt->isChecked())
        modifiers << QStringLiteral("Alt");
    if (ui->Win->isChecked())
        modifiers << QStringLiteral("Win");
    const QString field = ui->lineEdit->text();
    const int keys = modifiers.size() + namesIn(field).size();

    if (keys > kMostKeys) {
        GroupMaxThree notice;
        notice.move(mapToGlobal(QPoint(0, 0)));
        notice.exec();
        plusCount = 0;
        lastKey = -1;
        ui->lineEdit->clear();
        capturedText.clear();
        return;
    }
    // No key at all, or text that names no key, is no answer: the dialog
    // stays open and says what it needs.
    if (keys == 0 || !fieldIsAnswer(field)) {
        UpDateWarning notice;
        notice.setText(catalogueText(QStringLiteral("macro"), QStringLiteral("DialogPressKey")));
        look::centreOn(&notice, this);
        notice.exec();
        ui->lineEdit->setFocus();
        return;
    }

    removeHook();
    keyText = modifiers.join(QLatin1Char('+'));
    if (keyText.isEmpty())
        keyText = field;
    else if (!field.isEmpty())
        keyText += QLatin1Char('+') + field;
    accepted = true;
    close();
}

void GroupKey::on_NewHong_2_clicked()
{
    accepted = false;
    removeHook();
    close();
}

void GroupKey::on_CloseButton_clicked()
{
    accepted = false;
    removeHook();
    close();
}

void GroupKey::on_lineEdit_textEdited(const QString &text)
{
    ui->lineEdit->setText(text.toUpper());
}

void GroupKey::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("home"), QStringLiteral("ComKey"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
    ui->NewHong_2->setText(catalogueText(QStringLiteral("common"), QStringLiteral("Cancel"), index));
}

void GroupKey::keyPressEvent(QKeyEvent *event)
{
    // Escape is a key of the combination, not a way out; F12 is dropped too.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QDialog::keyPressEvent(event);
}

void GroupKey::closeEvent(QCloseEvent *event)
{
    // However the window is closed, the capture never calls a closed dialog.
    removeHook();
    QDialog::closeEvent(event);
}
