#pragma once

#include <QFrame>

#include <memory>

class QAbstractButton;
class QButtonGroup;

namespace Ui {
class SensorLODB;
}

// The lift-off distance in a second layout: a caption and a row of check
// buttons, "1mm" and "2mm", with "0.7mm" in front of them for a sensor that
// has it. A click writes the record's lift-off byte (1 = 1 mm, 2 = 2 mm,
// 3 = 0.7 mm) as the sensor page's box does, and a refused write puts the
// row back to the distance the mouse holds. Nothing is written while the
// sensor page refills itself, and nothing is reported to the summary panel.
class SensorLODB : public QFrame
{
    Q_OBJECT

public:
    explicit SensorLODB(QWidget *parent = nullptr);
    ~SensorLODB() override;

    // "0.7mm" in front of "1mm" and "2mm".
    void showThreeLodChoices();
    // "1mm" and "2mm" alone, moved to the front.
    void showTwoLodChoices();
    // Enables or disables "1mm" and "2mm"; "0.7mm" keeps its state.
    void setLodChoicesEnabled(bool enabled);
    // Shows distance index 0 (1 mm), 1 (2 mm) or 2 (0.7 mm, only while that
    // choice is on screen) as the mouse holds it; nothing is sent. Any other
    // index changes nothing.
    void setLodIndex(int index);
    void setLabelText(const QString &text);
    void setLabelToolTip(const QString &text);

private slots:
    void on_MM0_clicked(bool checked);
    void on_MM1_clicked(bool checked);
    void on_MM2_clicked(bool checked);

private:
    void choose(int distance);

    std::unique_ptr<Ui::SensorLODB> ui;
    QString pictureDir;
    QButtonGroup *lodGroup;
    // The distance the mouse holds as far as this row knows; -1 before the
    // host showed one (a refused write then leaves nothing selected).
    int m_lodIndex = -1;
};
