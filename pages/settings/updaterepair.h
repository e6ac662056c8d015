#pragma once

#include <QDialog>

class QLabel;

// The firmware update and repair dialog. This least form only shows a
// placeholder; the firmware update replaces it.
class UpDateRepair : public QDialog
{
    Q_OBJECT

public:
    explicit UpDateRepair(QWidget *parent = nullptr);
    ~UpDateRepair() override;

    void resetView();
    void startUpdate(int repair);

public slots:
    void SlotRepairCheckUpdate();
    void SlotAllLanguage(int index);

protected:
    // The process-wide dialog tells the device link whether it is shown.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *label;
};

// The process-wide firmware dialog, created by the settings page.
extern UpDateRepair *updateRepairDialog;
