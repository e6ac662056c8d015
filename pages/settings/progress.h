#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class Progress;
}

// A small frameless progress notice for a firmware upgrade: a bar, a status
// line and a confirm button that appears when the upgrade has ended. It is
// driven by the upgrade's progress reports (SlotProgress).
class Progress : public QDialog
{
    Q_OBJECT

public:
    explicit Progress(QWidget *parent = nullptr);
    ~Progress() override;

public slots:
    void SlotAllLanguage(int index);
    // A progress report: `schedue` percent, `Discrib` what happened
    // (0 progress, 1 failed, 2 done, 3 hide the button, 4 back to 0 %).
    void SlotProgress(int schedue, int Discrib);
    void SlotCloseProgress();
    void on_CloseButton_clicked();
    void on_NewHong_clicked();

private:
    void showPercent(int percent);
    void closeStep();

    std::unique_ptr<Ui::Progress> ui;
    QString pictureDir;
    QString upgradingText;
    QString failText;
    QString successText;
};
