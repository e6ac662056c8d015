#pragma once

#include <QFrame>

#include <memory>

class QButtonGroup;
class QCheckBox;

namespace Ui {
class OneLed;
}

// What the receiver's LED reports: one of three choices (dongleRgb byte 0),
// written into the receiver when the user checks one. Exactly one box stays
// checked once one is: a choice the receiver does not take, or one made
// while the mouse is silent, puts the last confirmed choice back.
class OneLed : public QFrame
{
    Q_OBJECT

public:
    explicit OneLed(QWidget *parent = nullptr);
    ~OneLed() override;

    // Choice index 0..2 (choice 1..3) shown as confirmed; nothing is sent.
    // Other indexes do nothing.
    void showChoice(int index);
    // Checks a choice as the user would: its toggle slot runs.
    void selectChoice(int index);
    // The checked choice index, -1 when none is.
    int checkedChoice() const;

    QString pictureDir;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_ReUntil_toggled(bool checked);
    void on_ReUntil_2_toggled(bool checked);
    void on_ReUntil_3_toggled(bool checked);

private:
    QCheckBox *box(int index) const;
    void toggled(int index, bool checked);
    void putBack();

    std::unique_ptr<Ui::OneLed> ui;
    QButtonGroup *m_group = nullptr;
    int m_confirmed = -1;
};
