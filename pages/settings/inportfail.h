#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class InportFail;
}

// Notice of a configuration file that was not imported; its text follows
// importResult (1: not a configuration file, 2: made for another device).
class InportFail : public QDialog
{
    Q_OBJECT

public:
    explicit InportFail(QWidget *parent = nullptr);
    ~InportFail() override;

    // A catalogue key (section "key") whose text replaces the import texts:
    // the same notice tells of a configuration file that could not be
    // written.
    QString textKey;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_NewHong_clicked();
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::InportFail> ui;
    QString pictureDir;
};
