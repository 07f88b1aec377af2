#pragma once
#include "link/device_operations.h"

#include <QAbstractButton>
#include <QPointer>
#include <array>
#include <functional>

// The one place that decides which command buttons may be pressed:
// - none while an operation runs;
// - none while the port is closed;
// - "Setting Data Write" only once settings are shown: after a block was accepted, or at
//   the end of an operation while field 0 holds text; the port rule locks it again.
// The buttons are watched, so an operation that ends after its window has gone touches
// nothing.
class CommandButtonPanel {
public:
    static constexpr int Count = DeviceOperations::Count;
    using Predicate = std::function<bool()>;

    // `portOpen`: the serial port is open. `settingsShown`: field 0 holds text.
    CommandButtonPanel(const std::array<QAbstractButton *, Count> &buttons, Predicate portOpen,
                       Predicate settingsShown);

    // The port rule: all five follow the port, writing waits for settings to be shown.
    void SetButtonState();
    // The settings decoder accepted (true) or refused (false) a block.
    void setWriteAllowed(bool allowed);
    bool operationRunning() const { return m_running; }

    // An operation starts: all five stay disabled until it ends, whatever menus do.
    void lockForOperation();
    // The operation has ended: the port rule and the write rule are applied, once.
    void unlockAfterOperation();
    bool isEnabled(int index) const;
    // Hands the focus back to a button; a disabled one leaves the focus where it is.
    void setFocus(int index);

private:
    void apply();
    QAbstractButton *button(int index) const;

    std::array<QPointer<QAbstractButton>, Count> m_buttons;
    Predicate m_portOpen;
    Predicate m_settingsShown;
    bool m_running = false;
    bool m_writeAllowed = false;
};
