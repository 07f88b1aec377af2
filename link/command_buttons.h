#pragma once
#include <QString>

// The five command buttons, CmdZxCom(0..4), as the device operations see them: locked for
// the whole of an operation, unlocked by their rules once it ends. Which buttons the rules
// enable is the window's business.
class CommandButtons {
public:
    static constexpr int Count = 5;

    virtual ~CommandButtons() = default;
    // An operation starts: all five stay disabled until it ends, whatever menus do.
    virtual void lockForOperation() = 0;
    // The operation has ended: the port rule and the write rule are applied, once.
    virtual void unlockAfterOperation() = 0;
    virtual bool isEnabled(int index) const = 0;
    // Hands the focus back to a button; a disabled one keeps its focus where it is.
    virtual void setFocus(int index) = 0;
    // The caption as the user reads it (no access-key marker).
    virtual QString caption(int index) const = 0;
};
