#pragma once
#include "app/application.h"
#include "ui/frm_config.h"
#include "ui/frm_main.h"

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
#include <memory>

// Answers the port dialog whenever it comes up modally, one scripted action per showing:
// "ok", "cancel", or "ComN ok" / "ComN cancel" to pick an entry first. A showing with no
// action left is cancelled and counted as unexpected.
class PortDialogDriver : public QObject {
public:
    explicit PortDialogDriver(QStringList actions) : m_actions(std::move(actions))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &PortDialogDriver::poll);
        m_timer.start();
    }

    int shown = 0;
    int unexpected = 0;
    QStringList reasons;           // the failure reason each showing displayed ("" for none)
    QList<bool> mainWindowVisible; // whether the main window was up at each showing
    std::function<bool()> isMainWindowVisible;

private:
    void poll()
    {
        auto *dialog = qobject_cast<frmConfig *>(QApplication::activeModalWidget());
        if (!dialog || dialog == m_last)
            return;
        m_last = dialog;
        ++shown;
        reasons << (dialog->LblWhy ? dialog->LblWhy->text() : QString());
        mainWindowVisible << (isMainWindowVisible && isMainWindowVisible());
        QString action = m_actions.isEmpty() ? QString() : m_actions.takeFirst();
        if (action.isEmpty()) {
            ++unexpected;
            action = QStringLiteral("cancel");
        }
        const QStringList words = action.split(QLatin1Char(' '));
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
    QTemporaryDir appDir;
    QTemporaryDir userDir;
    QTemporaryDir lockDir;
    FakeSerialPort port;
    RecordingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    int quits = 0;
    std::unique_ptr<Application> app;

    StartupWorld() : app(std::make_unique<Application>(place(), seams())) {}

    ShellPlace place() const
    {
        return {appDir.path(), appDir.filePath(QStringLiteral("zx316b-link")), userDir.path(), lockDir.path()};
    }
    ShellSeams seams()
    {
        ShellSeams s;
        s.port = &port;
        s.boxes = &boxes;
        s.dialogs = &dialogs;
        s.systemPorts = [] { return QList<SystemPort>(); };
        s.quit = [this] { ++quits; };
        return s;
    }
    QString iniPath() const { return appDir.filePath(QStringLiteral("ZX316B Link.ini")); }
    void writeIni(const QByteArray &content) const
    {
        QFile f(iniPath());
        if (f.open(QIODevice::WriteOnly))
            f.write(content);
    }
    QByteArray iniBytes() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Runs start-up while `driver` answers the port dialog.
    bool start(PortDialogDriver &driver)
    {
        driver.isMainWindowVisible = [this] { return app->hasMainWindow() && app->frmMain().isVisible(); };
        return app->Main();
    }

    QString buttons() const
    {
        QString out;
        for (int i = 0; i < FrmMain::CommandCount; ++i)
            out += app->frmMain().CmdZxCom(i)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return out;
    }
};
