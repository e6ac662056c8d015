#include "pages/lighting/oneled.h"
#include "ui_oneled.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/pagelink.h"

#include <QButtonGroup>
#include <QSignalBlocker>

OneLed::OneLed(QWidget *parent) : QFrame(parent), ui(new Ui::OneLed), m_group(new QButtonGroup(this))
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Light"));
    m_group->setExclusive(true);
    for (int i = 0; i < 3; ++i)
        m_group->addButton(box(i));

    look::setSheet(ui->TitleButton_7, look::imageSheet(QStringLiteral("#TitleButton_7"), pictureDir,
                                                       look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    look::setSheet(ui->label_16, look::colorSheet(QStringLiteral("QLabel")));
    for (int i = 0; i < 3; ++i)
        look::setSheet(box(i), look::checkBoxSheet(pictureDir, QStringLiteral("CheckBoxCheck.png"),
                                                   QStringLiteral("CheckBox2.png")));
    for (QTextEdit *edit : {ui->textEdit_2, ui->textEdit_3, ui->textEdit_4})
        look::setSheet(edit, look::colorSheet(QLatin1Char('#') + edit->objectName(), look::Role::Label,
                                              QStringLiteral("border: transparent;background-color: transparent;")));

    connect(PostMsg::instance(), &PostMsg::SigAllLanguage, this, &OneLed::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
}

OneLed::~OneLed() = default;

QCheckBox *OneLed::box(int index) const
{
    return index == 0 ? ui->ReUntil : index == 1 ? ui->ReUntil_2 : ui->ReUntil_3;
}

int OneLed::checkedChoice() const
{
    for (int i = 0; i < 3; ++i)
        if (box(i)->isChecked())
            return i;
    return -1;
}

void OneLed::showChoice(int index)
{
    if (index < 0 || index > 2)
        return;
    const QSignalBlocker block(box(index));
    box(index)->setChecked(true);
    m_confirmed = index;
}

void OneLed::selectChoice(int index)
{
    if (index < 0 || index > 2)
        return;
    box(index)->setChecked(true);
}

// A box of an exclusive group cannot be unchecked to undo a choice: the
// confirmed one is checked again (or none, before the first confirmation),
// quietly.
void OneLed::putBack()
{
    for (int i = 0; i < 3; ++i)
        box(i)->blockSignals(true);
    if (m_confirmed >= 0) {
        box(m_confirmed)->setChecked(true);
    } else {
        m_group->setExclusive(false);
        for (int i = 0; i < 3; ++i)
            box(i)->setChecked(false);
        m_group->setExclusive(true);
    }
    for (int i = 0; i < 3; ++i)
        box(i)->blockSignals(false);
}

void OneLed::toggled(int index, bool checked)
{
    if (!uiReady || lightPageRefreshing || !checked)
        return;
    if (!setReceiverLedInfoChoice(index + 1)) {
        putBack();
        return;
    }
    m_confirmed = index;
}

void OneLed::on_ReUntil_toggled(bool checked)
{
    toggled(0, checked);
}

void OneLed::on_ReUntil_2_toggled(bool checked)
{
    toggled(1, checked);
}

void OneLed::on_ReUntil_3_toggled(bool checked)
{
    toggled(2, checked);
}

void OneLed::SlotAllLanguage(int index)
{
    ui->label_16->setText(catalogueText(QStringLiteral("light"), QStringLiteral("receiver"), index));
    // A language whose list is short takes the missing descriptions from
    // the first language rather than leaving a choice unexplained.
    const ReceiverStatusList own = catalogueReceiverStatus(index);
    const ReceiverStatusList first = catalogueReceiverStatus(0);
    QTextEdit *edits[3] = {ui->textEdit_2, ui->textEdit_3, ui->textEdit_4};
    for (int i = 0; i < 3; ++i) {
        const ReceiverStatusList &list = i < own.size() ? own : first;
        edits[i]->setPlainText(i < list.size() ? list.at(i).first + list.at(i).second : QString());
    }
}
