#pragma once
// The window program as main() builds it, with the simulated controller on a pseudo-terminal in this thread.
#include "app/program.h"
#include "editor/settings_editor.h"
#include "link/serial_link.h"
#include "logdata/log_store.h"
#include "logview/frm_log.h"
#include "logview/log_viewer.h"
#include "platform/ini_file.h"
#include "platform/qt_serial_port.h"
#include "platform/waiter.h"
#include "sim/controller_simulator.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/recording_message_line.h"
#include "tests/support/scripted_file_dialogs.h"
#include "ui/busy_indicator.h"
#include "ui/command_button_panel.h"
#include "ui/file_commands.h"
#include "ui/frm_main.h"
#include "ui/message_line_edit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

struct OperationsWorld {
    static inline const QString Block = QStringLiteral("<block>"); // a settings block in lists of commands
    static inline const QString Fault = QStringLiteral("RS232 communication fault.");
    static inline const QStringList Captions {"Setting Data Read", "Setting Data Write", "Default Data Write",
                                              "Data Get", "Data Clear"};
    ControllerSimulator sim;
    QTemporaryDir dir;
    PortChoice choice {1, false};
    Waiter waiter;
    RecordingMessageBoxes boxes;
    RecordingMessageLine line; // every message the window's line showed
    ScriptedFileDialogs dialogs;
    LogStore store;
    IniFile ini {dir.filePath("test.ini")};
    const std::array<int, 2> scaleLine {0, 0};
    QtSerialPort port {PortCatalog::fromEntries({{1, startedPath(sim), ""}})};
    Program program {ProgramParts {port, boxes, dialogs, waiter, store, ini, choice, scaleLine}};
    QPointer<FrmMain> window = &program.window();
    SerialLink *link = &program.link();
    DeviceOperations *ops = &program.operations();
    FileCommands *files = &program.files();
    SettingsEditor *editor = &window->editor();
    LogViewer *viewer = &program.viewer();
    CommandButtonPanel *buttons = &program.buttons();
    std::array<QAbstractButton *, 5> cmd {};
    QList<int> leds;

    explicit OperationsWorld(int romVersion = 5, double waitScale = 0.1)
    {
        sim.setRomVersion(romVersion);
        waiter.setScale(waitScale);
        for (int i = 0; i < 5; ++i)
            cmd[size_t(i)] = window->CmdZxCom(i);
        // Closing the window ends every running wait, as the program's shell does.
        QObject::connect(window, &FrmMain::closing, &waiter, [this] { waiter.cancelAll(); });
        QObject::connect(window->TxtMsg(), &MessageLineEdit::messageShown,
                         [this](const QString &t, int c) { line.ShowMessage(t, c); });
        QObject::connect(&window->busyIndicator(), &BusyIndicator::colourChanged, [this](int c) { leds << c; });
        link->OpenPort({});
        program.MainIni();
        window->show();
        QApplication::setActiveWindow(window);
        line.lines.clear();
    }

    static QString startedPath(ControllerSimulator &sim)
    {
        if (!sim.start())
            qFatal("simulator: %s", qPrintable(sim.errorString()));
        return sim.portPath();
    }
    void click(int i) { cmd[size_t(i)]->click(); }
    QString field(int i) const { return editor->TxtData(i)->text(); }
    static QString textOf(const ReceivedCommand &c) { return c.isSettingsBlock ? Block : c.text; }
    QStringList sent() const
    {
        QStringList texts;
        for (const ReceivedCommand &c : sim.received())
            texts << textOf(c);
        return texts;
    }
    // Time between two commands as the controller took them in.
    qint64 gap(int from, int to) const { return sim.received()[to].elapsedMs - sim.received()[from].elapsedMs; }
    QList<bool> enabled() const
    {
        QList<bool> on;
        for (QAbstractButton *b : cmd)
            on << b->isEnabled();
        return on;
    }
    bool completed() const { return line.lastText() == "Completion" && line.lastColour() == MessageLine::Black; }
    // Runs `action` once, `afterMs` after the controller has taken in `command` (or Block).
    void when(const QString &command, int afterMs, std::function<void()> action)
    {
        auto once = std::make_shared<bool>(false);
        QObject::connect(&sim, &ControllerSimulator::commandReceived, &sim, [=, this](const ReceivedCommand &c) {
            if (textOf(c) == command && !std::exchange(*once, true))
                QTimer::singleShot(afterMs, &sim, action);
        });
    }
};
