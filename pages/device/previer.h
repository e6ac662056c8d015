#pragma once

#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
namespace Ui {
class PreVier;
}

// Summary panel of the device page: shows, read-only, the values the other
// pages announce on the hub (DPI, report rate, lift-off distance, debounce,
// configuration slot, firmware versions with their update markers).
class PreVier : public QWidget
{
    Q_OBJECT

public:
    explicit PreVier(QWidget *parent = nullptr);
    ~PreVier() override;

public slots:
    void SlotAllLanguage(int index);
    void SlotAddSensor(int Value);
    void SlotAddReport(int Value);
    void SlotAddLOD(QString Value);
    void SlotAddConfig(QString Value);
    void SlotDebnunce(QString Vlue);
    void SlotAddVer(int type, QString Ver);
    void SlotAddUpdate(int type, bool Ver);
    void SlotMouseIndex(int index);

private:
    void showValue(QLabel *label, const QString &text);

    std::unique_ptr<Ui::PreVier> ui;
    QString pictureDir;
};
