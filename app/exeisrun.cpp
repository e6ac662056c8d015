#include "app/exeisrun.h"

#include "app/look.h"
#include "app/macroini.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"

#include "ui_exeisrun.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

ExeIsRun::ExeIsRun(QWidget *parent) : QDialog(parent), ui(new Ui::ExeIsRun)
{
    ui->setupUi(this);
    connect(PostMsg::instance(), &PostMsg::SigChangeLanguage, this, &ExeIsRun::SlotChangeLanguage);
    pictureDir = look::noticePictureDir();
    look::styleNotice(this, {ui->DeleteConfirmA, ui->label, ui->CloseButton, {ui->NewHong}});
    // The stored language, not the process-wide one: this notice may run
    // before anything else has read the settings. An index that names no
    // language file shows English.
    SlotChangeLanguage(storedLanguageIndex());
    look::scaleToScreen(this);
}

ExeIsRun::~ExeIsRun() = default;

namespace {
QString languageFolderOverride;
}

QString ExeIsRun::languageFolder()
{
    if (!languageFolderOverride.isEmpty())
        return languageFolderOverride;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Language");
}

void ExeIsRun::setLanguageFolder(const QString &folder)
{
    languageFolderOverride = folder;
}

QString ExeIsRun::languageFilePath(int index)
{
    const QStringList files = languageFileNames();
    if (index < 0 || index >= files.size())
        return QString();
    return languageFolder() + QLatin1Char('/') + files.at(index);
}

void ExeIsRun::SlotChangeLanguage(int index)
{
    readLanguageFile(languageFilePath(index));
}

void ExeIsRun::readLanguageFile(const QString &path)
{
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QByteArray json = file.readAll();
    file.close();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return;
    collectTexts(doc.object());
}

void ExeIsRun::collectTexts(const QJsonValue &value)
{
    if (!value.isObject())
        return;
    walkCatalogue(value, QString(), {inMousePart, currentSection},
                  [this](const QString &key, const QJsonValue &member) {
                      if (!member.isString() || member.toString().isEmpty() || !inMousePart)
                          return;
                      const QString text = member.toString();
                      if (currentSection == QLatin1String("macro")) {
                          if (key == QLatin1String("DialogSelectMacroFirst"))
                              selectMacroFirstText = text;
                          else if (key == QLatin1String("DialogStopRecordFirst"))
                              stopRecordFirstText = text;
                      } else if (currentSection == QLatin1String("common")) {
                          if (key == QLatin1String("OK"))
                              ui->NewHong->setText(text);
                      } else if (currentSection == QLatin1String("home")) {
                          if (key == QLatin1String("OnRun"))
                              ui->label->setText(text);
                      }
                  });
}

void ExeIsRun::showSelectMacroFirst()
{
    ui->label->setText(selectMacroFirstText);
}

void ExeIsRun::showStopRecordFirst()
{
    ui->label->setText(stopRecordFirstText);
}

QString ExeIsRun::labelText() const
{
    return ui->label->text();
}

QString ExeIsRun::buttonText() const
{
    return ui->NewHong->text();
}

void ExeIsRun::on_NewHong_clicked()
{
    close();
}

void ExeIsRun::on_CloseButton_clicked()
{
    close();
}
