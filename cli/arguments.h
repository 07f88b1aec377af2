#pragma once
#include <QString>
#include <QStringList>

// The command line of zx316b-cli: global options, one command and its options.
namespace cli {

enum class Command { None, Ports, Read, Write, Defaults, LogGet, LogClear, Show };

struct Invocation {
    Command command = Command::None;
    QString port; // --port: a Com number or a device path; empty: the INI file's CommPort
    QString ini; // --ini: empty for the file the window uses
    bool json = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
    bool yes = false;
    bool dryRun = false;
    QString output; // -o
    QString png; // --png
    QString file; // write FILE, show FILE
    QStringList sets; // --set "CAPTION=VALUE", in order
};

struct Parsed {
    Invocation invocation;
    QString error; // why the line cannot be run; empty when it can
};

// `arguments` without the program's name. Global options may stand anywhere; "--" ends
// the options. --help and --version need no command.
Parsed parseArguments(const QStringList &arguments);

// "log get" for Command::LogGet, and so on; empty for None.
QString commandName(Command command);

} // namespace cli
