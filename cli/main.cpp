// zx316b-cli: the operations of ZX316B Link from a command line, without a window.
#include "cli_program.h"
#include "console.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zx316b-cli"));
    Console console = Console::standard();
    CliProgram program(console, CliPlace::ofThisProcess());
    return int(program.run(QCoreApplication::arguments().mid(1)));
}
