#include "command_line.h"

#include "platform/app_identity.h"

namespace commandline {

namespace {

QString helpText(const QString &program)
{
    return QStringLiteral("Usage: %1 [--help | --version]\n"
                          "\n"
                          "Links the PC to the ZX316B speed controller over a serial line: reads, edits\n"
                          "and writes its settings and fetches its run log.\n"
                          "\n"
                          "  -h, --help     print this text and end\n"
                          "  -v, --version  print the version and end\n"
                          "\n"
                          "The chosen port and the graph options are kept in \"%2.ini\", beside the\n"
                          "program or in ~/.config/zx316b-link/; its [Ports] section maps Com1 to Com16 to\n"
                          "devices. See the manual page zx316b-link(1).\n")
        .arg(program, appidentity::AppTitle);
}

} // namespace

QString earlyAnswer(const QStringList &arguments)
{
    const QString program = QStringLiteral("zx316b-link");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("--version") || a == QLatin1String("-v"))
            return program + QLatin1Char(' ') + appidentity::VersionNumber() + QLatin1Char('\n');
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return helpText(program);
    }
    return {};
}

QStringList fromArgv(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace commandline
