#pragma once

// The fire-key dialog: how often (interval 10..255) and how many times
// (count 0..3, 0 = for as long as the button is held) the button fires.
// The opener presets it, runs it with exec() and reads `accepted`,
// `interval` and `count` afterwards.

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class FireKey;
}

class FireKey : public QDialog
{
    Q_OBJECT

public:
    explicit FireKey(QWidget *parent = nullptr);
    ~FireKey() override;

    // Preset the spin boxes; a value outside the range is held inside it.
    void setInterval(int value);
    void setCount(int value);

    bool accepted = false;
    int interval = 10;
    int count = 3;

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_2_clicked();
    void on_NewHong_clicked();
    void SlotAllLanguage(int index);

private:
    std::unique_ptr<Ui::FireKey> ui;
    QString picturePath;
};
