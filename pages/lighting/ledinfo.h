#pragma once

#include <QDialog>

#include "platform/hidusb/records.h"

#include <memory>

class QButtonGroup;
class QCheckBox;

namespace Ui {
class LedInfo;
}

// A small frameless dialog showing what the receiver's LED reports (the
// choice in dongleRgb byte 0). It follows every receiver announcement and
// writes nothing: its boxes only show.
class LedInfo : public QDialog
{
    Q_OBJECT

public:
    explicit LedInfo(QWidget *parent = nullptr);
    ~LedInfo() override;

    QString pictureDir;

public slots:
    void SlotRGBValue(DongleRGB *Rgb);
    void SlotAllLanguage(int index);

private slots:
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::LedInfo> ui;
    QButtonGroup *m_group = nullptr;
};
