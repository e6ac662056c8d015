#pragma once

#include <QWidget>

class CrashDumpHandler;
class QLabel;

// The device page. This least form only shows a placeholder and installs the
// crash reports; the device page proper replaces it.
class Dialog : public QWidget
{
    Q_OBJECT

public:
    explicit Dialog(QWidget *parent = nullptr);

public slots:
    void SlotAllLanguage(int index);
    void SlotSecondDialog();

private:
    QLabel *label;
    CrashDumpHandler *crashHandler = nullptr;
};
