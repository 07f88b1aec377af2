#include "window_operations_view.h"
#include "command_button_panel.h"

#include "editor/settings_editor.h"
#include "link/device_operations.h"
#include "logview/log_viewer.h"

WindowOperationsView::WindowOperationsView(CommandButtonPanel &buttons, SettingsEditor &editor, LogViewer &viewer)
    : m_buttons(buttons), m_editor(editor), m_viewer(viewer)
{}

void WindowOperationsView::operationStarted(int)
{
    m_writeRefused = false;
    m_buttons.lockForOperation();
}

void WindowOperationsView::operationEnded(int index)
{
    m_buttons.unlockAfterOperation();
    // After "Data Get" the focus stays in the log window that has just opened; after a
    // refused write, on the first value that kept it from being written.
    if (index != DeviceOperations::DataGet && !m_writeRefused)
        m_buttons.setFocus(index);
}

void WindowOperationsView::clearDisplay()
{
    m_editor.ClearDisplay();
}

void WindowOperationsView::settingsAccepted(const QString &block)
{
    m_editor.ShowReadData(block, BlockSource::Device);
}

std::optional<QString> WindowOperationsView::makeWriteData(const QString &readData)
{
    if (!m_editor.MakeWriteData(readData)) {
        m_writeRefused = m_editor.refusedField() != nullptr;
        return std::nullopt;
    }
    return m_editor.WriteData();
}

void WindowOperationsView::settingsVerified(const QString &block)
{
    m_editor.markWritten(block);
}

void WindowOperationsView::runLogFetched(const QString &reply)
{
    m_viewer.SetGraph(reply);
}
