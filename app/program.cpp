#include "program.h"

#include "editor/settings_editor.h"
#include "link/device_operations.h"
#include "link/serial_link.h"
#include "logdata/log_store.h"
#include "logview/frm_log.h" // LogViewer keeps a QPointer to it
#include "logview/log_viewer.h"
#include "ui/busy_indicator.h"
#include "ui/command_button_panel.h"
#include "ui/file_commands.h"
#include "ui/frm_main.h"
#include "ui/window_operations_view.h"

#include <QAction>

Program::Program(const ProgramParts &parts) : m_parts(parts)
{
    m_frm = new FrmMain(parts.port, parts.boxes);
    FrmMain &frm = *m_frm;
    m_link = std::make_unique<SerialLink>(parts.port, parts.choice, parts.waiter, parts.boxes, frm.messageLine());
    QObject::connect(m_link.get(), &SerialLink::busyChanged, &frm.busyIndicator(), &BusyIndicator::setBusy);
    // A line lost (adapter unplugged) takes the buttons with it; during an operation they
    // stay locked and its end applies the same rule.
    QObject::connect(m_link.get(), &SerialLink::portStateChanged, &frm, [&frm](bool open) {
        if (!open)
            frm.SetButtonState();
    });

    m_viewer = std::make_unique<LogViewer>(parts.logStore, parts.ini, parts.scaleLine, &frm);
    m_view = std::make_unique<WindowOperationsView>(frm.commandButtons(), frm.editor(), *m_viewer);
    m_ops = std::make_unique<DeviceOperations>(*m_link, parts.waiter, frm.messageLine(), parts.boxes, *m_view);
    QObject::connect(&frm, &FrmMain::commandClicked, m_ops.get(), &DeviceOperations::CmdZxCom_Click);

    DeviceOperations *ops = m_ops.get();
    m_files = std::make_unique<FileCommands>(parts.dialogs, parts.boxes, frm.editor(), parts.logStore, *m_viewer,
                                             [ops] { return ops->ReadData(); });
    FileCommands *files = m_files.get();
    QObject::connect(frm.mnuOpen(), &QAction::triggered, &frm, [files] { files->mnuOpen_Click(); });
    QObject::connect(frm.mnuSave(), &QAction::triggered, &frm, [files] { files->mnuSave_Click(); });
    QObject::connect(frm.munOpenLog(), &QAction::triggered, &frm, [files] { files->munOpenLog_Click(); });
    QObject::connect(frm.mnuSaveLog(), &QAction::triggered, &frm, [files] { files->mnuSaveLog_Click(); });
}

Program::~Program()
{
    m_files.reset();
    m_ops.reset();
    m_view.reset();
    m_viewer.reset();
    m_link.reset();
    delete m_frm.data();
}

FrmMain &Program::window() const
{
    return *m_frm;
}

FrmMain *Program::windowIfAlive() const
{
    return m_frm.data();
}

CommandButtonPanel &Program::buttons() const
{
    return m_frm->commandButtons();
}

void Program::MainIni()
{
    m_frm->MainIni();
    m_ops->setRomVer(-1);
    m_parts.logStore.markEmpty();
}
