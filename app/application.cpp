#include "application.h"

#include "app_identity.h"
#include "ini_location.h"
#include "single_instance.h"

#include "ui/file_commands.h"
#include "link/device_operations.h"
#include "link/serial_link.h"
#include "logview/frm_log.h"
#include "logview/log_viewer.h"
#include "platform/ini_file.h"
#include "platform/message_line.h"
#include "platform/gui/qt_file_dialogs.h"
#include "platform/gui/qt_message_boxes.h"
#include "platform/qt_serial_port.h"
#include "ui/command_button_panel.h"
#include "ui/frm_config.h"
#include "ui/frm_main.h"

#include <QCoreApplication>
#include <QPushButton>

namespace {
const QString AlreadyOpened = QStringLiteral("This application is already opened!!");
const QString CannotOpen = QStringLiteral("ComPort cannot be opened.");
} // namespace

ShellPlace ShellPlace::ofThisProcess()
{
    return {QCoreApplication::applicationDirPath(), QCoreApplication::applicationFilePath(),
            defaultUserConfigDir(), SingleInstance::defaultLockDir()};
}

Application::Application(ShellPlace place, ShellSeams seams, QObject *parent)
    : QObject(parent), m_place(std::move(place)), m_seams(std::move(seams)),
      m_appTitle(appidentity::AppTitle)
{
    if (m_seams.boxes) {
        m_boxes = m_seams.boxes;
    } else {
        m_ownBoxes = std::make_unique<QtMessageBoxes>(m_appTitle);
        m_boxes = m_ownBoxes.get();
    }
    if (m_seams.dialogs) {
        m_dialogs = m_seams.dialogs;
    } else {
        m_ownDialogs = std::make_unique<QtFileDialogs>();
        m_dialogs = m_ownDialogs.get();
    }
    if (m_seams.port) {
        m_port = m_seams.port;
    } else {
        m_ownPort = std::make_unique<QtSerialPort>(PortCatalog());
        m_port = m_ownPort.get();
    }
}

Application::~Application() = default;

bool Application::Main()
{
    m_instance = std::make_unique<SingleInstance>(m_place.lockDir, m_place.executablePath);
    if (!m_instance->tryAcquire()) {
        m_boxes->show(AlreadyOpened, MessageBoxes::Icon::None, MessageBoxes::Buttons::Ok);
        return false;
    }

    m_versionText = appidentity::VersionText();
    m_appPath = m_place.appPath;
    m_ini = std::make_unique<IniFile>(chooseIniPath(m_appPath, m_appTitle, m_place.userConfigDir));
    if (const QString warning = iniFileWarning(*m_ini); !warning.isEmpty())
        m_boxes->show(warning, MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);

    // The window exists, hidden, before the port is touched: the port dialog and the
    // opening report through its message line, which shows once the window does.
    createMainWindow();

    LoadConfig(*m_ini, m_choice, m_scaleLine, [this] { showPortDialog(); });
    m_viewer = std::make_unique<LogViewer>(m_logStore, *m_ini, m_scaleLine, m_frm.get());
    createCommands();

    if (m_choice.PortSelectCancelled) {
        m_frm->messageLine().ShowMessage(CannotOpen, MessageLine::Red);
    } else {
        currentCatalog();
        m_link->OpenPort([this](const QString &why) { return showPortDialog(why); });
    }

    m_frm->prepare(m_versionText, m_appTitle);
    m_frm->MainIni();
    m_frm->show();
    if (m_ownBoxes)
        m_ownBoxes->setParentWidget(m_frm.get());
    if (m_ownDialogs)
        m_ownDialogs->setParentWidget(m_frm.get());
    return true;
}

void Application::createMainWindow()
{
    m_frm = std::make_unique<FrmMain>(*m_port, *m_boxes, m_logStore);
    m_link = std::make_unique<SerialLink>(*m_port, m_choice, m_waiter, *m_boxes, m_frm->messageLine());
    m_frm->setLedColour(m_link->ledColour());
    connect(m_link.get(), &SerialLink::ledColourChanged, m_frm.get(), &FrmMain::setLedColour);
    connect(m_frm->mnuCom(), &QAction::triggered, this, &Application::mnuCom_Click);
    connect(m_frm.get(), &FrmMain::closing, this, &Application::endProgram);
}

// The five device operations behind the command buttons and the four file commands of the
// File menu. The file commands come to life in MainIni, where the window creates them.
void Application::createCommands()
{
    m_ops = std::make_unique<DeviceOperations>(*m_link, m_waiter, m_frm->messageLine(), *m_boxes,
                                               m_frm->editor(), *m_viewer, m_frm->commandButtons());
    connect(m_frm.get(), &FrmMain::commandClicked, m_ops.get(), &DeviceOperations::CmdZxCom_Click);
    // A line lost (adapter unplugged) takes the buttons with it; during an operation they
    // stay locked and its end applies the same rule.
    connect(m_link.get(), &SerialLink::portStateChanged, this, [this](bool open) {
        if (!open)
            m_frm->SetButtonState();
    });

    FrmMain::MainIniHooks hooks;
    hooks.createFileSys = [this] {
        m_files = std::make_unique<FileCommands>(*m_dialogs, *m_boxes, m_frm->editor(), m_logStore,
                                                 *m_viewer, [this] { return m_ops->ReadData(); });
        FileCommands *files = m_files.get();
        connect(m_frm->mnuOpen(), &QAction::triggered, this, [files] { files->mnuOpen_Click(); });
        connect(m_frm->mnuSave(), &QAction::triggered, this, [files] { files->mnuSave_Click(); });
        connect(m_frm->munOpenLog(), &QAction::triggered, this, [files] { files->munOpenLog_Click(); });
        connect(m_frm->mnuSaveLog(), &QAction::triggered, this, [files] { files->mnuSaveLog_Click(); });
    };
    hooks.resetRomVer = [this] { m_ops->setRomVer(-1); };
    m_frm->setMainIniHooks(std::move(hooks));
}

bool Application::showPortDialog(const QString &why)
{
    QWidget *owner = m_frm && m_frm->isVisible() ? m_frm.get() : nullptr;
    frmConfig dialog(*m_port, m_choice, *m_ini, [this] { return currentCatalog(); }, why, owner);
    dialog.exec();
    return !m_choice.PortSelectCancelled;
}

PortCatalog Application::currentCatalog()
{
    PortCatalog catalog = PortCatalog::build(*m_ini, m_seams.systemPorts);
    if (m_ownPort)
        m_ownPort->setCatalog(catalog);
    return catalog;
}

void Application::mnuCom_Click()
{
    m_link->ClosePort();
    if (showPortDialog())
        m_link->OpenPort([this](const QString &why) { return showPortDialog(why); });
    else
        m_frm->messageLine().ShowMessage(CannotOpen, MessageLine::Red);
    m_frm->SetButtonState();
}

void Application::endProgram()
{
    if (m_ending)
        return;
    m_ending = true;
    // Waits return at once from now on; an operation in progress checks the waiter after
    // each wait and stops before it touches a window again.
    m_waiter.cancelAll();
    m_link->ClosePort();
    if (m_viewer && m_viewer->window())
        m_viewer->window()->close();
    if (m_seams.quit)
        m_seams.quit();
    else
        QCoreApplication::exit(0); // leaves every running event loop, nested ones included
}
