#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class KFPS20;
}

// The sensor's 20K frame-rate mode (record byte 42): one switch.
class KFPS20 : public QFrame
{
    Q_OBJECT

public:
    explicit KFPS20(QWidget *parent = nullptr);
    ~KFPS20() override;

    // Shows the mode without writing it (the switch writes on clicks only).
    void setSwitchChecked(bool on);
    bool switchChecked() const;
    void moveTipIcon(int x, int y);

public slots:
    void SlotAllLanguage(int index);
    void on_KFPS_clicked(bool checked);

private:
    std::unique_ptr<Ui::KFPS20> ui;
    QString pictureDir;
};
