#include "QtScheduler.h"

#include <QTimer>

QtScheduler::QtScheduler(QObject *parent) : QObject(parent) {}

void QtScheduler::after(int ms, std::function<void()> task)
{
    QTimer::singleShot(ms < 0 ? 0 : ms, Qt::PreciseTimer, this, std::move(task));
}
