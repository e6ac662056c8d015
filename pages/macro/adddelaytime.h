#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class AddDelayTime;
}

// Asks for one pause of the macro event list, 10 to 65535 ms. The field
// opens at 10 every time. The opener reads `accepted` and, when it is true,
// `delayMs` after exec(); every other end (Cancel, close, Escape) leaves
// `accepted` false.
class AddDelayTime : public QDialog
{
    Q_OBJECT

public:
    explicit AddDelayTime(QWidget *parent = nullptr);
    ~AddDelayTime() override;

    bool accepted = false;
    int delayMs = 0;

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();
    void SlotAllLanguage(int index);

private:
    std::unique_ptr<Ui::AddDelayTime> ui;
    QString picturePath;
};
