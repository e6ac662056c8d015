#pragma once

#include <QString>
#include <QWidget>

#include "platform/hidusb/hidusb.h"

namespace Ui { class FormSetting; }

// Settings page of the device view. This first version holds the page with
// its language choice and firmware versions, creates the process-wide update
// and repair dialog and passes the firmware versions on to the summary panel.
class FormSetting : public QWidget
{
    Q_OBJECT

public:
    explicit FormSetting(QWidget *parent = nullptr);
    ~FormSetting() override;

public slots:
    void SlotAllLanguage(int index);
    void SlotLanguageSameB(int index);
    void SlotRGBValue(DongleRGB *Rgb);
    void SlotLightToFrom(int index);
    void SlotLongRangeMode(bool Select);
    void SlotLabelText(int index, QString Text);
    void SlotLabelTextB(QString TextA, QString Text);
    void SetVer(int index);
    void SlotForm();
    void SlotFormB();
    void SlotFormResetForm();

private slots:
    void on_comboBox_activated(int index);

private:
    Ui::FormSetting *ui;
    QString pictureDir;
    QString buttonColor;
};
