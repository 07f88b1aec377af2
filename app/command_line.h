#pragma once
#include <QString>
#include <QStringList>

// The two options the window program answers without opening a window. Everything else on
// the command line is left to Qt (-platform, -style and the like).
namespace commandline {

// What to print before ending, for `--version` or `--help`; an empty text when the program
// should start normally. The first of the two options on the line wins; nothing after "--"
// counts as an option.
QString earlyAnswer(const QStringList &arguments);

// The arguments as the system passed them, readable before any application object exists.
QStringList fromArgv(int argc, char *argv[]);

} // namespace commandline
