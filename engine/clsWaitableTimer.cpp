#include "clsWaitableTimer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

void clsWaitableTimer::Wait(int MilliSeconds)
{
    if (MilliSeconds <= 0)
        return;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || !QThread::currentThread()->eventDispatcher()) {
        QThread::msleep(ulong(MilliSeconds));
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(MilliSeconds);
    if (!timer.isActive()) {
        QThread::msleep(ulong(MilliSeconds));
        return;
    }
    loop.exec();
    // The loop may be left early (the application is quitting): finish the wait by sleeping.
    if (timer.isActive())
        QThread::msleep(ulong(timer.remainingTime() > 0 ? timer.remainingTime() : 0));
}
