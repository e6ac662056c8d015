#pragma once

#include <QProgressBar>
#include <QVector>

class QTimer;

// A progress bar for work that reports only that a step is done, not how far
// it is: between notices it creeps towards the next checkpoint and waits one
// short of it, and each notice (mUpdate) fills it up to that checkpoint.
class MyProgressBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit MyProgressBar(QWidget *parent = nullptr);

    // Restarts at 0 with `count` equal steps; the bar creeps one unit per
    // `interval` ms.
    void startSteps(int count, int interval);
    // Sets the value and the text shown with it ("37.0%").
    void setProgressValue(int value);

    const QVector<int> &checkpointList() const { return checkpoints; }
    int stepReached() const { return currentStep; }

    // How fast a step's notice fills the bar up to its checkpoint.

public slots:
    // One step is done: fill up to its checkpoint.
    void mUpdate();

private:
    void buildCheckpoints(int count);
    void creep();
    void catchUp();

    QVector<int> checkpoints;
    int currentStep = 0;
    QTimer *creepTimer = nullptr;
    QTimer *catchUpTimer = nullptr;
};
