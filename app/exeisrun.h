#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QJsonValue;

namespace Ui {
class ExeIsRun;
}

// The notice of a second start ("already running"), and two messages of the
// macro page. It runs before the main window has loaded the catalogue, so it
// reads its four texts from the language file itself.
class ExeIsRun : public QDialog
{
    Q_OBJECT

public:
    explicit ExeIsRun(QWidget *parent = nullptr);
    ~ExeIsRun() override;

    void showSelectMacroFirst();
    void showStopRecordFirst();

    // "<language folder>/en.json", "zh-CN.json" or "ru.json" for 0, 1, 2;
    // empty for any other index.
    static QString languageFilePath(int index);
    // The folder of the language files: "<app dir>/Language" unless another
    // was set (tests); an empty text goes back to the default.
    static QString languageFolder();
    static void setLanguageFolder(const QString &folder);
    // Takes the four texts from one language file; a file that cannot be
    // read or parsed leaves the texts as they are.
    void readLanguageFile(const QString &path);

    QString labelText() const;
    QString buttonText() const;

public slots:
    void SlotChangeLanguage(int index);
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    void collectTexts(const QJsonValue &value);

    std::unique_ptr<Ui::ExeIsRun> ui;
    QString pictureDir;
    QString selectMacroFirstText;
    QString stopRecordFirstText;
    bool inMousePart = false;
    QString currentSection;
};
