#include "pages/settings/myprogressbar.h"

#include "app/delays.h"

#include <QTimer>

MyProgressBar::MyProgressBar(QWidget *parent) : QProgressBar(parent)
{
    setOrientation(Qt::Horizontal);
    setRange(0, 100);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setProgressValue(0);
    creepTimer = new QTimer(this);
    catchUpTimer = new QTimer(this);
    connect(creepTimer, &QTimer::timeout, this, &MyProgressBar::creep);
    connect(catchUpTimer, &QTimer::timeout, this, &MyProgressBar::catchUp);
}

void MyProgressBar::startSteps(int count, int interval)
{
    checkpoints.clear();
    currentStep = 0;
    catchUpTimer->stop();
    setProgressValue(0);
    buildCheckpoints(count);
    creepTimer->start(interval);
}

void MyProgressBar::buildCheckpoints(int count)
{
    checkpoints.append(0);
    if (count > 1) {
        const int step = 100 / count;
        for (int i = 1; i < count; ++i)
            checkpoints.append(i * step);
    }
    checkpoints.append(100);
}

void MyProgressBar::setProgressValue(int value)
{
    setValue(value);
    const int span = maximum() - minimum();
    const double percent = span == 0 ? 0.0 : double(value - minimum()) * 100.0 / span;
    setFormat(QStringLiteral("%1%").arg(percent, 0, 'f', 1));
}

void MyProgressBar::creep()
{
    if (currentStep + 1 >= checkpoints.size())
        return;
    if (value() <= checkpoints.at(currentStep + 1) - 2)
        setProgressValue(value() + 1);
}

void MyProgressBar::catchUp()
{
    if (currentStep < checkpoints.size() && value() < checkpoints.at(currentStep))
        setProgressValue(value() + 1);
    else
        catchUpTimer->stop();
}

void MyProgressBar::mUpdate()
{
    if (checkpoints.isEmpty() || currentStep >= checkpoints.size() - 1)
        return;
    ++currentStep;
    catchUpTimer->start(delays::ms(delays::Delay::ProgressCatchUp));
    if (checkpoints.at(currentStep) == checkpoints.last())
        creepTimer->stop();
}
