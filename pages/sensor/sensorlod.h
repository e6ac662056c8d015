#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class SensorLOD;
}

// The lift-off-distance box of the sensor page: "1mm" and "2mm", and
// "0.7mm" in front of them for the sensors that have it. A choice writes the
// record's lift-off byte (1 = 1 mm, 2 = 2 mm, 3 = 0.7 mm) and reports the
// distance to the summary panel.
class SensorLOD : public QFrame
{
    Q_OBJECT

public:
    explicit SensorLOD(QWidget *parent = nullptr);
    ~SensorLOD() override;

    // Adds or removes the "0.7mm" entry at the top of the list.
    void showShortLod();
    void hideShortLod();
    // Shows distance index i (0 = 1 mm, 1 = 2 mm, 2 = 0.7 mm) as the mouse
    // holds it and reports it; nothing is sent. A distance the list cannot
    // show (a byte of 0, or 0.7 mm on a sensor without it) shows and reports
    // 1 mm, so the list and the summary always agree.
    void setLodIndex(int index);
    void setLodEnabled(bool enabled);
    void setTitle(const QString &text);
    void setTipText(const QString &text);
    void moveTip(int language);

    int lodIndex() const { return m_lodIndex; }
    // The text of a distance index ("1mm", "2mm", "0.7mm"), empty for others.
    static QString distanceText(int index);

private slots:
    void on_LOD_currentIndexChanged(int index);

private:
    bool hasShortLod() const;
    int positionOf(int distance) const;
    int distanceAt(int position) const;

    std::unique_ptr<Ui::SensorLOD> ui;
    QString pictureDir;
    int m_lodIndex = 0; // 1 mm until the mouse says otherwise
};
