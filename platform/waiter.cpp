#include "waiter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

Waiter::Waiter(QObject *parent) : QObject(parent) {}

void Waiter::WaitSeconds(double seconds)
{
    if (m_cancelled)
        return;
    const double totalMs = std::max(0.0, seconds * m_scale * 1000.0);
    QElapsedTimer clock; // monotonic: a wait across midnight or a clock change still ends
    clock.start();
    while (!m_cancelled) {
        const double leftMs = totalMs - double(clock.nsecsElapsed()) / 1e6;
        if (leftMs < 0)
            return; // strictly more than the asked time has passed
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(this, &Waiter::cancelRequested, &loop, &QEventLoop::quit);
        timer.start(int(std::floor(leftMs)) + 1);
        loop.exec();
    }
}

bool Waiter::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    if (m_cancelled)
        return false;
    QEventLoop loop;
    QTimer timer;
    bool timedOut = false;
    if (timeoutMs >= 0) {
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        timer.start(timeoutMs);
    }
    connect(this, &Waiter::wakeRequested, &loop, [&] {
        if (done())
            loop.quit();
    });
    connect(this, &Waiter::cancelRequested, &loop, &QEventLoop::quit);
    while (!m_cancelled && !timedOut && !done())
        loop.exec();
    return done();
}

void Waiter::wake()
{
    Q_EMIT wakeRequested();
}

void Waiter::cancelAll()
{
    m_cancelled = true;
    Q_EMIT cancelRequested();
}
