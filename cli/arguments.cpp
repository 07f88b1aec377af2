#include "arguments.h"

#include <QCoreApplication>

namespace cli {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("cli", text);
}

struct CommandWord {
    Command command;
    const char *name;
};
constexpr CommandWord Commands[] = {{Command::Ports, "ports"},    {Command::Read, "read"},
                                    {Command::Write, "write"},    {Command::Defaults, "defaults"},
                                    {Command::LogGet, "log get"}, {Command::LogClear, "log clear"},
                                    {Command::Show, "show"}};

// Which command-specific options a command takes.
bool takes(Command c, const QString &option)
{
    if (option == QLatin1String("-o"))
        return c == Command::Read || c == Command::LogGet;
    if (option == QLatin1String("--png"))
        return c == Command::LogGet;
    if (option == QLatin1String("--set") || option == QLatin1String("--dry-run"))
        return c == Command::Write;
    if (option == QLatin1String("--yes"))
        return c == Command::Defaults || c == Command::LogClear;
    return false;
}

bool takesFile(Command c)
{
    return c == Command::Write || c == Command::Show;
}

} // namespace

QString commandName(Command command)
{
    for (const CommandWord &w : Commands)
        if (w.command == command)
            return QLatin1String(w.name);
    return {};
}

Parsed parseArguments(const QStringList &arguments)
{
    Parsed p;
    Invocation &inv = p.invocation;
    QStringList words; // what is not an option: the command and its operand
    QList<QPair<QString, QString>> commandOptions; // checked once the command is known
    bool optionsEnd = false;
    for (qsizetype i = 0; i < arguments.size() && p.error.isEmpty(); ++i) {
        QString a = arguments[i];
        if (optionsEnd || !a.startsWith(u'-') || a == QLatin1String("-")) {
            words << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        QString value;
        bool hasValue = false;
        if (a.startsWith(QLatin1String("--")) && a.contains(u'=')) {
            value = a.section(u'=', 1);
            a = a.section(u'=', 0, 0);
            hasValue = true;
        }
        if (a == QLatin1String("--output"))
            a = QStringLiteral("-o");
        const bool needsValue = a == QLatin1String("--port") || a == QLatin1String("--ini") || a == QLatin1String("-o")
            || a == QLatin1String("--png") || a == QLatin1String("--set");
        if (needsValue && !hasValue) {
            if (i + 1 >= arguments.size()) {
                p.error = tr("%1 needs a value").arg(a);
                break;
            }
            value = arguments[++i];
        } else if (!needsValue && hasValue) {
            p.error = tr("%1 takes no value").arg(a);
            break;
        }
        if (a == QLatin1String("--port"))
            inv.port = value;
        else if (a == QLatin1String("--ini"))
            inv.ini = value;
        else if (a == QLatin1String("--json"))
            inv.json = true;
        else if (a == QLatin1String("-q") || a == QLatin1String("--quiet"))
            inv.quiet = true;
        else if (a == QLatin1String("-h") || a == QLatin1String("--help"))
            inv.help = true;
        else if (a == QLatin1String("--version"))
            inv.version = true;
        else if (a == QLatin1String("-o") || a == QLatin1String("--png") || a == QLatin1String("--set")
                 || a == QLatin1String("--dry-run") || a == QLatin1String("--yes"))
            commandOptions.append({a, value});
        else
            p.error = tr("unknown option %1").arg(a);
    }
    if (!p.error.isEmpty())
        return p;

    // The command: one word, or two for "log get" and "log clear".
    if (!words.isEmpty()) {
        const QString first = words.takeFirst();
        if (first == QLatin1String("log")) {
            const QString second = words.isEmpty() ? QString() : words.takeFirst();
            if (second == QLatin1String("get"))
                inv.command = Command::LogGet;
            else if (second == QLatin1String("clear"))
                inv.command = Command::LogClear;
            else if (!inv.help)
                p.error = second.isEmpty() ? tr("log needs get or clear") : tr("unknown command log %1").arg(second);
        } else {
            for (const CommandWord &w : Commands)
                if (first == QLatin1String(w.name))
                    inv.command = w.command;
            if (inv.command == Command::None)
                p.error = tr("unknown command %1").arg(first);
        }
    }
    if (!p.error.isEmpty() || inv.help || inv.version)
        return p;
    if (inv.command == Command::None) {
        p.error = tr("no command given");
        return p;
    }

    if (takesFile(inv.command) && !words.isEmpty())
        inv.file = words.takeFirst();
    if (!words.isEmpty()) {
        p.error = tr("%1 does not take %2").arg(commandName(inv.command), words.first());
        return p;
    }
    if (inv.command == Command::Show && inv.file.isEmpty()) {
        p.error = tr("show needs a file");
        return p;
    }
    for (const auto &[option, value] : std::as_const(commandOptions)) {
        if (!takes(inv.command, option)) {
            p.error = tr("%1 does not take %2").arg(commandName(inv.command), option);
            return p;
        }
        if (option == QLatin1String("-o"))
            inv.output = value;
        else if (option == QLatin1String("--png"))
            inv.png = value;
        else if (option == QLatin1String("--set"))
            inv.sets << value;
        else if (option == QLatin1String("--dry-run"))
            inv.dryRun = true;
        else if (option == QLatin1String("--yes"))
            inv.yes = true;
    }
    return p;
}

} // namespace cli
