#pragma once
#include "arguments.h"
#include "exit_status.h"

#include "platform/port_catalog.h"

#include <QJsonValue>
#include <QString>
#include <QStringList>

class Console;
class IniFile;

// Where this copy of zx316b-cli stands: the folder of its executable and the user's
// configuration folder (which together decide the INI file, as for the window), and the
// system's serial-port list (tests give their own).
struct CliPlace {
    QString appPath;
    QString userConfigDir;
    PortCatalog::SystemList systemPorts = &PortCatalog::systemPorts;

    static CliPlace ofThisProcess();
};

// zx316b-cli: parses the command line and runs one command through the window's own
// device operations, files and decoders. Needs a QCoreApplication; no display.
class CliProgram {
public:
    CliProgram(Console &console, CliPlace place);

    cli::Exit run(const QStringList &arguments);

    // The INI file the window would use from `place`.
    static QString iniPathFor(const CliPlace &place);

private:
    cli::Exit runDevice(const cli::Invocation &inv, IniFile &ini);
    cli::Exit showFile(const cli::Invocation &inv);
    void print(const QString &text, const QJsonValue &json, bool asJson) const;

    Console &m_console;
    CliPlace m_place;
};
