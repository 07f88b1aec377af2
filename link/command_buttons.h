#pragma once
#include <QString>

// The main window's five command buttons, CmdZxCom(0..4), as the device operations use
// them: they lock and unlock the buttons and hand the focus back, nothing more.
class CommandButtons {
public:
    static constexpr int Count = 5;

    virtual ~CommandButtons() = default;
    virtual void setEnabled(int index, bool enabled) = 0;
    virtual bool isEnabled(int index) const = 0;
    virtual void setFocus(int index) = 0;
    // The caption as the user reads it (no access-key marker).
    virtual QString caption(int index) const = 0;
};
