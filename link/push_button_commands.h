#pragma once
#include "command_buttons.h"

#include <QAbstractButton>
#include <QPointer>
#include <array>

// CommandButtons over real button widgets. The buttons are watched, so an operation that
// ends after its window has gone touches nothing.
class PushButtonCommands : public CommandButtons {
public:
    explicit PushButtonCommands(const std::array<QAbstractButton *, Count> &buttons);

    void setEnabled(int index, bool enabled) override;
    bool isEnabled(int index) const override;
    void setFocus(int index) override;
    QString caption(int index) const override;

private:
    QAbstractButton *button(int index) const;

    std::array<QPointer<QAbstractButton>, Count> m_buttons;
};
