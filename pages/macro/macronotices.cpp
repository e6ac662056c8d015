#include "pages/macro/macronotices.h"
#include "ui_deleteconfirm.h"
#include "ui_keynumberlimit.h"
#include "ui_samemacro.h"

#include "app/look.h"
#include "app/textcatalogue.h"

namespace {

template <typename Form>
void setNoticeTexts(Form *ui, const char *key, int index)
{
    ui->label->setText(catalogueText(QStringLiteral("macro"), QLatin1String(key), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
}

} // namespace

SameMacro::SameMacro(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::SameMacro>())
{
    ui->setupUi(this);
    picturePath = look::setUpNotice(this, {ui->SameMacroA,
                                           ui->label,
                                           ui->CloseButton,
                                           {ui->NewHong},
                                           QStringLiteral("Confirm.png"),
                                           QStringLiteral("ConfirmClick.png"),
                                           ui->NewHong});
}

SameMacro::~SameMacro() = default;

void SameMacro::SlotAllLanguage(int index)
{
    setNoticeTexts(ui.get(), "DialogSameMacroName", index);
}

void SameMacro::on_NewHong_clicked()
{
    close();
}

void SameMacro::on_CloseButton_clicked()
{
    close();
}

KeyNumberLimit::KeyNumberLimit(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::KeyNumberLimit>())
{
    ui->setupUi(this);
    picturePath = look::setUpNotice(this, {ui->LimitA,
                                           ui->label,
                                           ui->CloseButton,
                                           {ui->NewHong},
                                           QStringLiteral("Confirm.png"),
                                           QStringLiteral("ConfirmClick.png"),
                                           ui->NewHong});
}

KeyNumberLimit::~KeyNumberLimit() = default;

void KeyNumberLimit::SlotAllLanguage(int index)
{
    setNoticeTexts(ui.get(), "DialogMaxMacroKey", index);
}

void KeyNumberLimit::on_NewHong_clicked()
{
    close();
}

void KeyNumberLimit::on_CloseButton_clicked()
{
    close();
}

DeleteConfirm::DeleteConfirm(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::DeleteConfirm>())
{
    ui->setupUi(this);
    picturePath = look::setUpNotice(this, {ui->DeleteConfirmA,
                                           ui->label,
                                           ui->CloseButton,
                                           {ui->NewHong},
                                           QStringLiteral("Confirm.png"),
                                           QStringLiteral("ConfirmClick.png"),
                                           ui->NewHong});
}

DeleteConfirm::~DeleteConfirm() = default;

void DeleteConfirm::SlotAllLanguage(int index)
{
    setNoticeTexts(ui.get(), "DialogDeleteMacro", index);
}

void DeleteConfirm::on_NewHong_clicked()
{
    confirmed = true;
    close();
}

void DeleteConfirm::on_CloseButton_clicked()
{
    confirmed = false;
    close();
}
