#pragma once
#include "link/operations_view.h"

class CommandButtonPanel;
class LogViewer;
class SettingsEditor;

// The device operations as the main window shows them: the command buttons locked and
// unlocked, settings in the editor's fields, the run log in the log window.
class WindowOperationsView : public OperationsView {
public:
    WindowOperationsView(CommandButtonPanel &buttons, SettingsEditor &editor, LogViewer &viewer);

    void operationStarted(int index) override;
    void operationEnded(int index) override;
    void clearDisplay() override;
    void settingsAccepted(const QString &block) override;
    std::optional<QString> makeWriteData(const QString &readData) override;
    void settingsVerified(const QString &block) override;
    void runLogFetched(const QString &reply) override;

private:
    CommandButtonPanel &m_buttons;
    SettingsEditor &m_editor;
    LogViewer &m_viewer;
    bool m_writeRefused = false; // the editor has put the focus on a value to mend
};
