#pragma once

#include <QString>
#include <QWidget>

#include <memory>

class QButtonGroup;
class PreVier;
class Advanced;
class Buttoninterface;
class LampLight;
class Macro;
class Sensor;
class FormSetting;
class UpDataParam;
namespace Ui {
class Dialog;
}

// The device page: header with the seven page buttons, battery gauge and
// connection icon, and the stack of the pages of one open device.
class Dialog : public QWidget
{
    Q_OBJECT

public:
    explicit Dialog(QWidget *parent = nullptr);
    ~Dialog() override;

    // The page's wait notice, shown after every device pass.
    UpDataParam *waitNotice() const { return updateNotice; }

public slots:
    // Receivers of the hub.
    void SlotSecondDialog();
    void SlotIsUsb(bool Usb, bool IsVs);
    void SlotUpDataParam(int index);
    void SlotStartRecord(int index);
    void SlotBattery(bool IsCharg, int Number, bool IsText);
    void SlotMouseIndex(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void WindowMin();
    void on_ButtonMain_clicked();
    void on_SensorButton_clicked();
    void on_MacroButton_clicked();
    void on_LightsButton_clicked();
    void on_UpArrow_clicked();
    void on_SetButton_clicked();
    void on_CloseButton_clicked();
    void on_FormSetting_clicked();
    void on_PreButton_clicked();
    void on_stackedWidgetDialog_currentChanged(int index);
    void on_Advanced_clicked();

private:
    void applyHeaderImages();
    void saveOpenDeviceCache();

    std::unique_ptr<Ui::Dialog> ui;
    QButtonGroup *pageGroup = nullptr;
    PreVier *preVier = nullptr;
    Advanced *advancedPage = nullptr;
    Buttoninterface *buttonPage = nullptr;
    LampLight *lightPage = nullptr;
    Macro *macroPage = nullptr;
    Sensor *sensorPage = nullptr;
    FormSetting *settingPage = nullptr;
    UpDataParam *updateNotice = nullptr;
    QString pictureDir;
};
