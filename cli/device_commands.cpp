// The commands that talk to the controller: each runs the window's device operation of the
// same name through a CliView, then prints or saves what it got.
#include "cli_program.h"
#include "cli_view.h"
#include "console.h"
#include "log_picture.h"
#include "port_setup.h"
#include "progress_bar.h"
#include "report.h"
#include "saved_files.h"

#include "files/settings_file.h"
#include "files/text_file.h"
#include "link/device_operations.h"
#include "link/serial_link.h"
#include "logdata/log_store.h"
#include "logdata/run_data_decoder.h"
#include "platform/ini_file.h"
#include "platform/ini_values.h"
#include "platform/qt_serial_port.h"
#include "platform/waiter.h"

#include <QCoreApplication>
#include <QJsonObject>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("cli", text);
}

// "CAPTION=VALUE" options, checked before the port is touched: a wrong caption is a usage
// error, a value the field would refuse is refused with nothing sent at all.
bool parseEdits(const QStringList &sets, CliView::Edits &edits, Console &console, cli::Outcome &outcome)
{
    SettingsState scratch;
    for (const QString &set : sets) {
        const qsizetype eq = set.indexOf(u'=');
        const int index = eq > 0 ? SettingsState::visibleField(set.left(eq)) : -1;
        if (index < 0) {
            QStringList captions;
            for (int i : fields::visibleOrder())
                captions << QLatin1String(fields::row(i).caption);
            console.message(QStringLiteral("zx316b-cli: ")
                            + tr("--set takes \"CAPTION=VALUE\" with one of these captions: %1")
                                  .arg(captions.join(QStringLiteral(", "))));
            outcome.fail(cli::Exit::Usage);
            return false;
        }
        QString why;
        if (!scratch.set(index, set.mid(eq + 1), &why)) {
            console.message(why + u'\n' + tr("Nothing was sent."));
            outcome.fail(cli::Exit::Refused);
            return false;
        }
        edits.append({index, set.mid(eq + 1)});
    }
    return true;
}

// The settings file to write, read and shown as the window's Open does.
std::optional<SettingsState> loadSettingsFile(const QString &path, Console &console, cli::Outcome &outcome)
{
    SettingsState state;
    const auto text = savedfiles::readSettingsText(path, console, outcome);
    if (!text || !CliView::showInto(state, *text, console, outcome, savedfiles::TroubleText))
        return std::nullopt;
    return state;
}

} // namespace

cli::Exit CliProgram::runDevice(const cli::Invocation &inv, IniFile &ini)
{
    using cli::Command;
    cli::Outcome outcome;
    const portsetup::Choice port = portsetup::choose(inv.port, ini, m_place.systemPorts);
    if (!port.error.isEmpty()) {
        m_console.message(QStringLiteral("zx316b-cli: ") + port.error);
        return cli::Exit::Usage;
    }
    CliView::Edits edits;
    if (!parseEdits(inv.sets, edits, m_console, outcome))
        return outcome.exit();
    std::optional<SettingsState> fileState;
    if (inv.command == Command::Write && !inv.file.isEmpty()) {
        fileState = loadSettingsFile(inv.file, m_console, outcome);
        if (!fileState)
            return outcome.exit();
    }

    QtSerialPort serial(port.catalog);
    PortChoice choice {qint16(port.number), false};
    Waiter waiter;
    ConsoleMessageLine line(m_console, outcome);
    ConsoleMessageBoxes boxes(m_console, outcome, inv.yes);
    SerialLink link(serial, choice, waiter, boxes, line);
    LogStore store;
    store.markEmpty();
    CliView view(m_console, outcome, store);
    view.setWriteSource(fileState, edits);
    DeviceOperations ops(link, waiter, line, boxes, view);

    link.OpenPort([this](const QString &why) {
        m_console.message(why);
        return false;
    });
    if (!link.isOpen())
        return outcome.exit();

    switch (inv.command) {
    case Command::Read:
        ops.CmdZxCom_Click(DeviceOperations::SettingDataRead);
        if (const auto &shown = view.shown()) {
            print(report::settingsText(*shown), report::settingsJson(view.lastBlock(), *shown), inv.json);
            if (!inv.output.isEmpty())
                savedfiles::saveSettings(inv.output, *shown, ops.ReadData(), m_console, outcome);
        }
        break;
    case Command::Write:
        if (inv.dryRun) {
            // Only the read: the block that would be written is built, and nothing is sent.
            ops.CmdZxCom_Click(DeviceOperations::SettingDataRead);
            if (!view.shown())
                break;
            if (!view.makeWriteData(ops.ReadData()))
                break;
            const auto diff = report::changes(*view.shown(), *view.toWrite());
            QJsonObject json = report::changesJson(diff);
            json.insert("block", view.writeData());
            json.insert("dry_run", true);
            print(report::changesText(diff), json, inv.json);
            break;
        }
        ops.CmdZxCom_Click(DeviceOperations::SettingDataWrite);
        if (view.toWrite() && !outcome.failed()) {
            SettingsState before;
            before.show(view.lastReadBefore());
            const auto diff = report::changes(before, *view.toWrite());
            QJsonObject json = report::changesJson(diff);
            json.insert("block", view.writeData());
            json.insert("dry_run", false);
            print(report::changesText(diff), json, inv.json);
        }
        break;
    case Command::Defaults:
        ops.CmdZxCom_Click(DeviceOperations::DefaultDataWrite);
        if (const auto &shown = view.shown())
            print(report::settingsText(*shown), report::settingsJson(view.lastBlock(), *shown), inv.json);
        break;
    case Command::LogGet: {
        std::unique_ptr<ProgressBar> bar;
        if (m_console.stderrIsTerminal() && !m_console.quiet()) {
            bar = std::make_unique<ProgressBar>(m_console, RunDataReplyLength + 1);
            QObject::connect(&serial, &SerialPort::dataArrived, &serial,
                             [&bar, &link] { bar->update(int(link.RecvData().size())); });
        }
        ops.CmdZxCom_Click(DeviceOperations::DataGet);
        bar.reset();
        if (!view.logFetched())
            break;
        print(report::logText(store), report::logJson(store), inv.json);
        if (!inv.output.isEmpty())
            savedfiles::saveLog(inv.output, store, m_console, outcome);
        if (!inv.png.isEmpty()) {
            // The window's "Scale Line" options, as it reads them from the INI file.
            const auto option = [&ini](int i) {
                return iniNumber(ini.ReadIni(QStringLiteral("Chart"), QStringLiteral("ScaleLine%1").arg(i))).value_or(0)
                    != 0;
            };
            savedfiles::savePicture(inv.png, logpicture::draw(store, option(0), option(1)), m_console, outcome);
        }
        break;
    }
    case Command::LogClear:
        ops.CmdZxCom_Click(DeviceOperations::DataClear);
        if (!outcome.failed() && inv.json)
            print(QString(), QJsonObject {{"cleared", true}}, true);
        break;
    case Command::None:
    case Command::Ports:
    case Command::Show:
        break;
    }
    link.ClosePort();
    return outcome.exit();
}
