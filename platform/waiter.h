#pragma once
#include <QObject>
#include <functional>

// Waits that keep the user interface alive: they sleep on the event loop until the next
// event or timer (never a busy spin), so the window repaints, timers fire and menus work.
// Closing the main window cancels every running wait and every later one returns at once,
// so an operation can stop without touching a destroyed window.
class Waiter : public QObject {
    Q_OBJECT
public:
    explicit Waiter(QObject *parent = nullptr);

    // Scales the fixed pauses of WaitSeconds (1.0 = real time). Tests use a small factor.
    void setScale(double factor) { m_scale = factor; }
    double scale() const { return m_scale; }

    // Returns after more than `seconds` (scaled) have passed, processing events meanwhile.
    // Returns early only when cancelled.
    void WaitSeconds(double seconds);

    // Processes events until `done()` holds, `timeoutMs` has passed (precise timer, not
    // scaled; negative: no time limit), or the wait is cancelled. `done` is checked after
    // every wake-up; call wake() (or emit a connected signal) when the condition may have
    // changed.
    // Returns true when `done()` held.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs);

    // Wakes a running waitUntil so that it re-checks its condition.
    void wake();

    // Ends every running wait and makes later ones return at once.
    void cancelAll();
    bool cancelled() const { return m_cancelled; }

Q_SIGNALS:
    void wakeRequested();
    void cancelRequested();

private:
    double m_scale = 1.0;
    bool m_cancelled = false;
};
