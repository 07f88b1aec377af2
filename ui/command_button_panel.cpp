#include "command_button_panel.h"

namespace {
constexpr int WriteButton = 1; // "Setting Data Write"
} // namespace

CommandButtonPanel::CommandButtonPanel(const std::array<QAbstractButton *, Count> &buttons, Predicate portOpen,
                                       Predicate settingsShown)
    : m_portOpen(std::move(portOpen)), m_settingsShown(std::move(settingsShown))
{
    for (int i = 0; i < Count; ++i)
        m_buttons[size_t(i)] = buttons[size_t(i)];
}

void CommandButtonPanel::SetButtonState()
{
    m_writeAllowed = false;
    apply();
}

void CommandButtonPanel::setWriteAllowed(bool allowed)
{
    m_writeAllowed = allowed;
    apply();
}

void CommandButtonPanel::lockForOperation()
{
    m_running = true;
    apply();
}

void CommandButtonPanel::unlockAfterOperation()
{
    m_running = false;
    m_writeAllowed = m_settingsShown && m_settingsShown();
    apply();
}

void CommandButtonPanel::apply()
{
    const bool usable = !m_running && m_portOpen && m_portOpen();
    for (int i = 0; i < Count; ++i) {
        if (QAbstractButton *b = button(i))
            b->setEnabled(usable && (i != WriteButton || m_writeAllowed));
    }
}

QAbstractButton *CommandButtonPanel::button(int index) const
{
    return index >= 0 && index < Count ? m_buttons[size_t(index)].data() : nullptr;
}

bool CommandButtonPanel::isEnabled(int index) const
{
    const QAbstractButton *b = button(index);
    return b && b->isEnabled();
}

void CommandButtonPanel::setFocus(int index)
{
    QAbstractButton *b = button(index);
    if (b && b->isEnabled())
        b->setFocus(Qt::OtherFocusReason);
}
