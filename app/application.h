#pragma once
#include "config.h"

#include "link/port_choice.h"
#include "logdata/log_store.h"
#include "platform/port_catalog.h"
#include "platform/waiter.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class DeviceOperations;
class FileCommands;
class FileDialogs;
class FrmMain;
class IniFile;
class LogViewer;
class MessageBoxes;
class Program;
class QtFileDialogs;
class QtMessageBoxes;
class QtSerialPort;
class SerialLink;
class SerialPort;
class SingleInstance;

// Where this copy of the program stands on the machine.
struct ShellPlace {
    QString appPath; // the folder of the executable (AppPath)
    QString executablePath; // identifies this copy for the single-instance check
    QString userConfigDir; // the INI's home when AppPath cannot be written
    QString lockDir; // where the single-instance lock lives

    static ShellPlace ofThisProcess();
};

// Services that tests replace. Null members get the real implementation.
struct ShellSeams {
    SerialPort *port = nullptr;
    MessageBoxes *boxes = nullptr;
    FileDialogs *dialogs = nullptr;
    PortCatalog::SystemList systemPorts = &PortCatalog::systemPorts;
    std::function<void()> quit; // ends the event loop; QCoreApplication::exit by default
};

// Start-up and the program's lifetime: creates the objects everything else is handed,
// runs the start-up sequence, and ends the program when the main window closes.
class Application : public QObject {
    Q_OBJECT
public:
    explicit Application(ShellPlace place, ShellSeams seams = {}, QObject *parent = nullptr);
    ~Application() override;

    // The start-up sequence. False when another copy is running: the box has been shown
    // and this copy must end without doing anything else.
    bool Main();

    // "ComPort": choose the port again and reopen it.
    void mnuCom_Click();
    // Closing the main window: cancel every wait, close the port, end the event loop.
    void endProgram();

    // Shows the port dialog modally; `why` is the reason the last open failed, if any.
    // True when the dialog was not left with Cancel.
    bool showPortDialog(const QString &why = QString());

    const QString &AppTitle() const { return m_appTitle; }
    const QString &AppPath() const { return m_appPath; }
    const QString &VersionText() const { return m_versionText; }
    const ScaleLines &ScaleLine() const { return m_scaleLine; }
    PortChoice &portChoice() { return m_choice; }
    Waiter &waiter() { return m_waiter; }
    LogStore &logStore() { return m_logStore; }
    MessageBoxes &boxes() { return *m_boxes; }
    FileDialogs &fileDialogs() { return *m_dialogs; }
    SerialPort &port() { return *m_port; }
    // The objects below exist once Main() has passed the single-instance check.
    IniFile &ini() { return *m_ini; }
    Program &program() { return *m_program; }
    FrmMain &frmMain();
    SerialLink &link();
    LogViewer &logViewer();
    DeviceOperations &operations();
    FileCommands &fileCommands();
    bool hasMainWindow() const { return bool(m_program); }

private:
    // The ports as the INI file and the system number them now.
    PortCatalog portCatalog() const;
    void openPort();

    ShellPlace m_place;
    ShellSeams m_seams;
    QString m_appTitle;
    QString m_appPath;
    QString m_versionText;
    PortChoice m_choice;
    ScaleLines m_scaleLine {0, 0};
    Waiter m_waiter;
    LogStore m_logStore;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<QtMessageBoxes> m_ownBoxes;
    std::unique_ptr<QtFileDialogs> m_ownDialogs;
    std::unique_ptr<QtSerialPort> m_ownPort;
    MessageBoxes *m_boxes = nullptr;
    FileDialogs *m_dialogs = nullptr;
    SerialPort *m_port = nullptr;
    std::unique_ptr<IniFile> m_ini;
    // Declared after the port and the services it uses, so it goes first.
    std::unique_ptr<Program> m_program;
    bool m_ending = false;
};
