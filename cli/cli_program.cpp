#include "cli_program.h"
#include "console.h"
#include "help_text.h"
#include "port_setup.h"

#include "platform/app_identity.h"
#include "platform/ini_file.h"
#include "platform/ini_location.h"
#include "platform/ini_values.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

CliPlace CliPlace::ofThisProcess()
{
    return {QCoreApplication::applicationDirPath(), defaultUserConfigDir(), &PortCatalog::systemPorts};
}

CliProgram::CliProgram(Console &console, CliPlace place) : m_console(console), m_place(std::move(place)) {}

QString CliProgram::iniPathFor(const CliPlace &place)
{
    return chooseIniPath(place.appPath, appidentity::AppTitle, place.userConfigDir);
}

void CliProgram::print(const QString &text, const QJsonValue &json, bool asJson) const
{
    if (!asJson) {
        m_console.out(text);
        return;
    }
    const QJsonDocument doc = json.isArray() ? QJsonDocument(json.toArray()) : QJsonDocument(json.toObject());
    m_console.out(QString::fromUtf8(doc.toJson(QJsonDocument::Indented)));
}

cli::Exit CliProgram::run(const QStringList &arguments)
{
    const cli::Parsed parsed = cli::parseArguments(arguments);
    const cli::Invocation &inv = parsed.invocation;
    if (!parsed.error.isEmpty()) {
        m_console.message(QStringLiteral("zx316b-cli: ") + parsed.error + u'\n'
                          + QCoreApplication::translate("cli", "Try \"zx316b-cli --help\"."));
        return cli::Exit::Usage;
    }
    if (inv.help) {
        m_console.out(inv.command == cli::Command::None ? clihelp::overview() : clihelp::forCommand(inv.command));
        return cli::Exit::Done;
    }
    if (inv.version) {
        m_console.out(QStringLiteral("zx316b-cli ") + appidentity::VersionNumber() + u'\n');
        return cli::Exit::Done;
    }
    m_console.setQuiet(inv.quiet);
    if (inv.command == cli::Command::Show)
        return showFile(inv);

    IniFile ini(inv.ini.isEmpty() ? iniPathFor(m_place) : inv.ini);
    if (const QString warning = iniFileWarning(ini); !warning.isEmpty())
        m_console.message(warning);
    if (inv.command == cli::Command::Ports) {
        const auto ports = portsetup::list(PortCatalog::build(ini, m_place.systemPorts));
        print(portsetup::listText(ports), portsetup::listJson(ports), inv.json);
        return cli::Exit::Done;
    }
    return runDevice(inv, ini);
}
