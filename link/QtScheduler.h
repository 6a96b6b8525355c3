#pragma once

#include "Scheduler.h"

#include <QObject>

// The real scheduler: single-shot precise timers on the thread of this object (the main
// thread). Tasks still pending when the scheduler is destroyed never run.
class QtScheduler : public QObject, public Scheduler
{
    Q_OBJECT
public:
    explicit QtScheduler(QObject *parent = nullptr);
    void after(int ms, std::function<void()> task) override;
};
