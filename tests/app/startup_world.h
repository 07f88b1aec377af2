#pragma once
#include "app/application.h"
#include "ui/frm_config.h"
#include "ui/frm_main.h"
#include "ui/message_line_edit.h"

#include "platform/ini_file.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/scripted_file_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

// Answers the port dialog each time it comes up modally, one action per showing: "ok",
// "cancel", or "ComN ok" / "ComN cancel" to pick an entry first. A showing with no action
// left is cancelled and counted in `unexpected`.
class PortDialogDriver : public QObject {
public:
    explicit PortDialogDriver(QStringList actions) : m_actions(std::move(actions))
    {
        connect(&m_timer, &QTimer::timeout, this, &PortDialogDriver::poll);
        m_timer.start(5);
    }
    int shown = 0;
    int unexpected = 0;
    QStringList reasons; // the failure reason each showing displayed
    bool mainWindowWasUp = false;
    std::function<bool()> mainWindowUp;

private:
    void poll()
    {
        auto *dialog = qobject_cast<frmConfig *>(QApplication::activeModalWidget());
        if (!dialog || dialog == m_last)
            return;
        m_last = dialog;
        ++shown;
        reasons << (dialog->LblWhy ? dialog->LblWhy->text() : QString());
        mainWindowWasUp = mainWindowWasUp || (mainWindowUp && mainWindowUp());
        if (m_actions.isEmpty())
            ++unexpected;
        const QStringList words = (m_actions.isEmpty() ? QStringLiteral("cancel") : m_actions.takeFirst()).split(' ');
        if (words.size() == 2)
            dialog->Combo->setCurrentIndex(dialog->Combo->findText(words[0]));
        (words.last() == QLatin1String("ok") ? dialog->cmdOk : dialog->CmdCancel)->click();
    }
    QStringList m_actions;
    QTimer m_timer;
    QPointer<frmConfig> m_last;
};

// One program's world: its folder, a fake port, recorded boxes, and the shell itself.
struct StartupWorld {
    QTemporaryDir appDir, userDir, lockDir;
    FakeSerialPort port;
    RecordingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    int quits = 0;
    std::unique_ptr<Application> app;

    // `realQuit`: end the event loop the way the program does, instead of counting quits.
    explicit StartupWorld(const QByteArray &ini = QByteArray(), QSet<int> openable = {}, bool realQuit = false)
    {
        port.openable = std::move(openable);
        QFile f(iniPath());
        if (!ini.isEmpty() && f.open(QIODevice::WriteOnly))
            f.write(ini);
        app = std::make_unique<Application>(place(), seams(realQuit));
    }
    ShellPlace place() const
    {
        return {appDir.path(), appDir.filePath(QStringLiteral("zx316b-link")), userDir.path(), lockDir.path()};
    }
    ShellSeams seams(bool realQuit = false)
    {
        ShellSeams s{&port, &boxes, &dialogs, [] { return QList<SystemPort>(); }, {}};
        if (!realQuit)
            s.quit = [this] { ++quits; };
        return s;
    }
    QString iniPath() const { return appDir.filePath(QStringLiteral("ZX316B Link.ini")); }
    QString stored() const { return IniFile(iniPath()).ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort")); }
    FrmMain &window() { return app->frmMain(); }

    bool start(PortDialogDriver &driver)
    {
        driver.mainWindowUp = [this] { return app->hasMainWindow() && app->frmMain().isVisible(); };
        return app->Main();
    }
    // "<colour> <buttons> <open port>", e.g. "black 10111 3"; colour names the message line's.
    QString state()
    {
        QString buttons;
        for (int i = 0; i < FrmMain::CommandCount; ++i)
            buttons += window().CmdZxCom(i)->isEnabled() ? '1' : '0';
        const bool red = window().TxtMsg()->textColour() == 255;
        const QString expectedText = red ? QStringLiteral("ComPort cannot be opened.")
                                         : QStringLiteral("CommPort was initialized.");
        return QStringLiteral("%1 %2 %3")
            .arg(window().TxtMsg()->text() == expectedText ? (red ? "red" : "black") : "other", buttons)
            .arg(port.isOpen() ? port.openNumber : 0);
    }
};
