#include "push_button_commands.h"

PushButtonCommands::PushButtonCommands(const std::array<QAbstractButton *, Count> &buttons)
{
    for (int i = 0; i < Count; ++i)
        m_buttons[i] = buttons[i];
}

QAbstractButton *PushButtonCommands::button(int index) const
{
    return index >= 0 && index < Count ? m_buttons[index].data() : nullptr;
}

void PushButtonCommands::setEnabled(int index, bool enabled)
{
    if (QAbstractButton *b = button(index))
        b->setEnabled(enabled);
}

bool PushButtonCommands::isEnabled(int index) const
{
    const QAbstractButton *b = button(index);
    return b && b->isEnabled();
}

void PushButtonCommands::setFocus(int index)
{
    QAbstractButton *b = button(index);
    // A disabled button cannot hold the focus; leave it where it is.
    if (b && b->isEnabled())
        b->setFocus(Qt::OtherFocusReason);
}

QString PushButtonCommands::caption(int index) const
{
    const QAbstractButton *b = button(index);
    if (!b)
        return {};
    // "&Read" shows as "Read"; "&&" stands for one ampersand.
    QString text;
    const QString raw = b->text();
    for (int i = 0; i < raw.size(); ++i) {
        if (raw.at(i) == QLatin1Char('&') && i + 1 < raw.size())
            ++i;
        text += raw.at(i);
    }
    return text;
}
