#pragma once

#include <QFrame>

#include <memory>

class QButtonGroup;

namespace Ui {
class FastClick;
}

// Trigger point of the left and right buttons: on press, or only at full
// travel. Each choice is one bit of record byte 4.
class FastClick : public QFrame
{
    Q_OBJECT

public:
    explicit FastClick(QWidget *parent = nullptr);
    ~FastClick() override;

    // Show a choice without writing it.
    void setLeftTrigger(bool onPress);
    void setRightTrigger(bool onPress);
    // 0 title, 1 left heading, 2 right heading, 3 press rows, 4 full-travel
    // rows; any other index does nothing.
    void setLabelText(int i, const QString &text);

public slots:
    void on_ReUntilClick_clicked(bool checked);
    void on_ReUntilClick_2_clicked(bool checked);
    void on_ReUntilClick_3_clicked(bool checked);
    void on_ReUntilClick_4_clicked(bool checked);

private:
    void choose(bool checked, int bit, bool onPress);
    void showChoice(int bit, bool onPress);

    std::unique_ptr<Ui::FastClick> ui;
    QString pictureDir;
    QButtonGroup *leftGroup = nullptr;
    QButtonGroup *rightGroup = nullptr;
};
