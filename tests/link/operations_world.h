#pragma once
// The device operations wired as the program wires them, with the simulated controller on a
// pseudo-terminal in the same thread.
#include "ui/file_commands.h"
#include "link/device_operations.h"
#include "ui/command_button_panel.h"
#include "link/serial_link.h"
#include "logview/frm_log.h"
#include "logdata/log_store.h"
#include "logview/log_viewer.h"
#include "platform/ini_file.h"
#include "platform/qt_serial_port.h"
#include "platform/waiter.h"
#include "editor/settings_editor.h"
#include "sim/controller_simulator.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/recording_message_line.h"
#include "tests/support/scripted_file_dialogs.h"
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// Closing the main window ends every running wait, as the program's main window does.
struct ClosingWindow : QWidget {
    Waiter *waiter = nullptr;
    void closeEvent(QCloseEvent *) override { waiter->cancelAll(); }
};

struct OperationsWorld {
    static inline const QString Block = QStringLiteral("<block>"); // a settings block in lists of commands
    static inline const QString Fault = QStringLiteral("RS232 communication fault.");
    static inline const QStringList Captions{"Setting Data Read", "Setting Data Write", "Default Data Write",
                                             "Data Get", "Data Clear"};
    ControllerSimulator sim;
    QTemporaryDir dir;
    PortChoice choice{1, false};
    Waiter waiter;
    RecordingMessageBoxes boxes;
    RecordingMessageLine line;
    ScriptedFileDialogs dialogs;
    LogStore store;
    IniFile ini{dir.filePath("test.ini")};
    std::unique_ptr<QtSerialPort> port;
    std::unique_ptr<SerialLink> link;
    QPointer<ClosingWindow> window = new ClosingWindow;
    std::array<QAbstractButton *, 5> cmd{};
    std::unique_ptr<SettingsEditor> editor;
    std::unique_ptr<LogViewer> viewer;
    std::unique_ptr<CommandButtonPanel> buttons;
    std::unique_ptr<DeviceOperations> ops;
    std::unique_ptr<FileCommands> files;
    QList<int> leds;

    explicit OperationsWorld(int romVersion = 5, double waitScale = 0.1)
    {
        if (!sim.start())
            qFatal("simulator: %s", qPrintable(sim.errorString()));
        sim.setRomVersion(romVersion);
        waiter.setScale(waitScale);
        port = std::make_unique<QtSerialPort>(PortCatalog::fromEntries({{1, sim.portPath(), ""}}));
        link = std::make_unique<SerialLink>(*port, choice, waiter, boxes, line);
        link->OpenPort({});
        QObject::connect(link.get(), &SerialLink::ledColourChanged, [this](int c) { leds << c; });

        window->waiter = &waiter;
        auto *fraTmp = new QFrame(window);
        for (int i = 0; i < 5; ++i) {
            cmd[i] = new QPushButton(Captions[i], window);
            cmd[i]->setEnabled(i != 1);
            QObject::connect(cmd[i], &QAbstractButton::clicked, [this, i] { ops->CmdZxCom_Click(i); });
        }
        fraTmp->hide();
        editor = std::make_unique<SettingsEditor>(window, fraTmp, boxes);
        editor->MainIni();
        viewer = std::make_unique<LogViewer>(store, ini, std::array<int, 2>{0, 0}, window);
        store.markEmpty();
        buttons = std::make_unique<CommandButtonPanel>(cmd, [this] { return link->isOpen(); },
                                                       [this] { return !field(0).isEmpty(); });
        ops = std::make_unique<DeviceOperations>(*link, waiter, line, boxes, *editor, *viewer, *buttons);
        files = std::make_unique<FileCommands>(dialogs, boxes, *editor, store, *viewer,
                                               [this] { return ops->ReadData(); });
        QObject::connect(editor.get(), &SettingsEditor::writeAllowed,
                         [this](bool allowed) { buttons->setWriteAllowed(allowed); });
        buttons->SetButtonState();
        window->show();
        QApplication::setActiveWindow(window);
        line.lines.clear();
    }
    ~OperationsWorld() { delete window; }

    void click(int i) { cmd[i]->click(); }
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
