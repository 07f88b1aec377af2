#include "application.h"

#include "platform/app_identity.h"
#include "platform/ini_location.h"
#include "program.h"
#include "single_instance.h"

#include "link/serial_link.h"
#include "logview/frm_log.h"
#include "logview/log_viewer.h"
#include "platform/gui/qt_file_dialogs.h"
#include "platform/gui/qt_message_boxes.h"
#include "platform/ini_file.h"
#include "platform/message_line.h"
#include "platform/qt_serial_port.h"
#include "ui/frm_config.h"
#include "ui/frm_main.h"

#include <QCoreApplication>
#include <QPushButton>

namespace {
const char *const AlreadyOpened = QT_TRANSLATE_NOOP("Application", "This application is already opened!!");
const char *const CannotOpen = QT_TRANSLATE_NOOP("Application", "ComPort cannot be opened.");
} // namespace

ShellPlace ShellPlace::ofThisProcess()
{
    return {QCoreApplication::applicationDirPath(), QCoreApplication::applicationFilePath(), defaultUserConfigDir(),
            SingleInstance::defaultLockDir()};
}

Application::Application(ShellPlace place, ShellSeams seams, QObject *parent)
    : QObject(parent), m_place(std::move(place)), m_seams(std::move(seams)), m_appTitle(appidentity::AppTitle)
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
        m_ownPort = std::make_unique<QtSerialPort>([this] { return portCatalog(); });
        m_port = m_ownPort.get();
    }
}

Application::~Application() = default;

bool Application::Main()
{
    m_instance = std::make_unique<SingleInstance>(m_place.lockDir, m_place.executablePath);
    if (!m_instance->tryAcquire()) {
        m_boxes->show(tr(AlreadyOpened), MessageBoxes::Icon::None, MessageBoxes::Buttons::Ok);
        return false;
    }

    m_versionText = appidentity::VersionText();
    m_appPath = m_place.appPath;
    m_ini = std::make_unique<IniFile>(chooseIniPath(m_appPath, m_appTitle, m_place.userConfigDir));
    if (const QString warning = iniFileWarning(*m_ini); !warning.isEmpty())
        m_boxes->show(warning, MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);

    // The window exists, hidden, before the port is touched: the port dialog and the
    // opening report through its message line, which shows once the window does.
    m_program = std::make_unique<Program>(
        ProgramParts {*m_port, *m_boxes, *m_dialogs, m_waiter, m_logStore, *m_ini, m_choice, m_scaleLine});
    connect(frmMain().mnuCom(), &QAction::triggered, this, &Application::mnuCom_Click);
    connect(&frmMain(), &FrmMain::closing, this, &Application::endProgram);

    LoadConfig(*m_ini, m_choice, m_scaleLine, [this] { showPortDialog(); });
    if (m_choice.PortSelectCancelled)
        frmMain().messageLine().ShowMessage(tr(CannotOpen), MessageLine::Red);
    else
        openPort();

    frmMain().prepare(m_versionText, m_appTitle);
    m_program->MainIni();
    frmMain().show();
    if (m_ownBoxes)
        m_ownBoxes->setParentWidget(&frmMain());
    if (m_ownDialogs)
        m_ownDialogs->setParentWidget(&frmMain());
    return true;
}

FrmMain &Application::frmMain()
{
    return m_program->window();
}

SerialLink &Application::link()
{
    return m_program->link();
}

LogViewer &Application::logViewer()
{
    return m_program->viewer();
}

DeviceOperations &Application::operations()
{
    return m_program->operations();
}

FileCommands &Application::fileCommands()
{
    return m_program->files();
}

void Application::openPort()
{
    link().OpenPort([this](const QString &why) { return showPortDialog(why); });
}

bool Application::showPortDialog(const QString &why)
{
    QWidget *owner = m_program && frmMain().isVisible() ? &frmMain() : nullptr;
    // The choice is kept the moment it is made, whichever way the dialog is left.
    const auto store = [this](int number) {
        m_choice.ComPortNo = qint16(number);
        m_ini->WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QString::number(number));
    };
    frmConfig dialog(
        *m_port, m_choice.ComPortNo, [this] { return portCatalog(); }, store, why, owner);
    m_choice.PortSelectCancelled = dialog.exec() != QDialog::Accepted;
    return !m_choice.PortSelectCancelled;
}

PortCatalog Application::portCatalog() const
{
    return m_ini ? PortCatalog::build(*m_ini, m_seams.systemPorts) : PortCatalog();
}

void Application::mnuCom_Click()
{
    link().ClosePort();
    if (showPortDialog())
        openPort();
    else
        frmMain().messageLine().ShowMessage(tr(CannotOpen), MessageLine::Red);
    frmMain().SetButtonState();
}

void Application::endProgram()
{
    if (m_ending)
        return;
    m_ending = true;
    // Waits return at once from now on; an operation in progress checks the waiter after
    // each wait and stops before it touches a window again.
    m_waiter.cancelAll();
    if (m_program) {
        link().ClosePort();
        if (logViewer().window())
            logViewer().window()->close();
    }
    if (m_seams.quit)
        m_seams.quit();
    else
        QCoreApplication::exit(0); // leaves every running event loop, nested ones included
}
