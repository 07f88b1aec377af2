#pragma once
#include "arguments.h"

#include <QString>

// The help of zx316b-cli, written once: `--help` prints it, and the manual page carries
// the same words (a test holds them together).
namespace clihelp {

// The whole program: synopsis, global options, commands, exit status.
QString overview();
// One command: synopsis, what it does, its options.
QString forCommand(cli::Command command);

// The sections of the manual page made from the same text, in roff: COMMANDS, OPTIONS and
// EXIT STATUS.
QString manSections();

} // namespace clihelp
