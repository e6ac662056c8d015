#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class StopCloseTime;
}

// Sleep time: how long the mouse stays idle before it sleeps (record byte 8,
// units of 10 seconds), picked from eight choices. The advanced page gives
// the choices their texts and shows the record's choice.
class StopCloseTime : public QFrame
{
    Q_OBJECT

public:
    explicit StopCloseTime(QWidget *parent = nullptr);
    ~StopCloseTime() override;

    // Shows choice `index` without writing it; a refused write returns here.
    void setIndexSilently(int index);
    void setItemTextAt(int index, const QString &text);
    int currentIndex() const;

    // The choice last written or shown from the mouse's record.
    int lastIndex = 0;

public slots:
    void on_StopClose_activated(int index);

private:
    std::unique_ptr<Ui::StopCloseTime> ui;
    QString pictureDir;
};
