#pragma once

#include <QWidget>

class QLabel;

// The device list page. This least form only shows a placeholder; the
// device discovery replaces it.
class DialogChange : public QWidget
{
    Q_OBJECT

public:
    explicit DialogChange(QWidget *parent = nullptr);

public slots:
    void SlotAllLanguage(int index);

private:
    QLabel *label;
};
