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
    m_buttons.lockForOperation();
}

void WindowOperationsView::operationEnded(int index)
{
    m_buttons.unlockAfterOperation();
    // After "Data Get" the focus stays in the log window that has just opened.
    if (index != DeviceOperations::DataGet)
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
    if (!m_editor.MakeWriteData(readData))
        return std::nullopt;
    return m_editor.WriteData();
}

void WindowOperationsView::runLogFetched(const QString &reply)
{
    m_viewer.SetGraph(reply);
}
