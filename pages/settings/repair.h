#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class RePair;
}

// Small modal question whether to pair the chosen device again. The opener
// reads `accepted` after exec().
class RePair : public QDialog
{
    Q_OBJECT

public:
    explicit RePair(QWidget *parent = nullptr);
    ~RePair() override;

    // True only after OK; Cancel, the close button and Escape leave it false.
    bool accepted = false;

public slots:
    void on_CloseButton_clicked();
    void on_OK_clicked();
    void on_Cancel_clicked();
    void SlotAllLanguage(int index);

private:
    std::unique_ptr<Ui::RePair> ui;
    QString pictureDir;
};
