#pragma once
#include "config.h"

#include <QPointer>
#include <memory>

class CommandButtonPanel;
class DeviceOperations;
class FileCommands;
class FileDialogs;
class FrmMain;
class IniFile;
class LogStore;
class LogViewer;
class MessageBoxes;
class SerialLink;
class SerialPort;
class Waiter;
class WindowOperationsView;
struct PortChoice;

// What the window program is built from: the seams that tests replace and the state that
// start-up owns. Everything here must outlive the Program.
struct ProgramParts {
    SerialPort &port;
    MessageBoxes &boxes;
    FileDialogs &dialogs;
    Waiter &waiter;
    LogStore &logStore;
    IniFile &ini;
    PortChoice &choice;
    const ScaleLines &scaleLine; // read when the log window opens
};

// The window program's objects, built and wired in this one place: the main window, the
// serial link and its busy indicator, the log viewer, the device operations behind the
// command buttons and the File menu's commands. main() builds it through Application, and
// the tests build the same graph from their own seams.
class Program {
public:
    explicit Program(const ProgramParts &parts);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // Start-up's initialisation of the window's state: the button rule, the settings fields
    // with their limits, an unknown ROM version and an empty log store.
    void MainIni();

    FrmMain &window() const;
    // Null once the window is gone (a test may destroy it under a running operation).
    FrmMain *windowIfAlive() const;
    SerialLink &link() const { return *m_link; }
    LogViewer &viewer() const { return *m_viewer; }
    DeviceOperations &operations() const { return *m_ops; }
    FileCommands &files() const { return *m_files; }
    CommandButtonPanel &buttons() const;

private:
    ProgramParts m_parts;
    // In the order they are built; destroyed in reverse, each before what it uses.
    QPointer<FrmMain> m_frm; // owned; deleted last unless destroyed already
    std::unique_ptr<SerialLink> m_link;
    std::unique_ptr<LogViewer> m_viewer;
    std::unique_ptr<WindowOperationsView> m_view;
    std::unique_ptr<DeviceOperations> m_ops;
    std::unique_ptr<FileCommands> m_files;
};
