#include "help_text.h"

#include <QCoreApplication>
#include <QList>

namespace clihelp {
namespace {

struct Option {
    const char *names;
    const char *text;
};

struct Topic {
    cli::Command command;
    const char *synopsis;
    const char *description;
    QList<Option> options;
};

QString tr(const char *text)
{
    return QCoreApplication::translate("cli", text);
}

const QList<Option> &globalOptions()
{
    static const QList<Option> options {
        {"--port N|PATH",
         QT_TRANSLATE_NOOP("cli",
                           "Com number 1-16, numbered as the window numbers them (the INI "
                           "file's [Ports] section included), or a device path. Default: "
                           "CommPort of the INI file.")},
        {"--ini FILE", QT_TRANSLATE_NOOP("cli", "The INI file to use. Default: the one the window uses.")},
        {"--json", QT_TRANSLATE_NOOP("cli", "Machine-readable output on standard output.")},
        {"-q, --quiet", QT_TRANSLATE_NOOP("cli", "No progress messages; failures are still reported.")},
        {"-h, --help", QT_TRANSLATE_NOOP("cli", "Print help (after a command: that command's help) and end.")},
        {"--version", QT_TRANSLATE_NOOP("cli", "Print the version and end.")},
    };
    return options;
}

const QList<Topic> &topics()
{
    using C = cli::Command;
    static const QList<Topic> list {
        {C::Ports,
         "ports",
         QT_TRANSLATE_NOOP("cli",
                           "Lists the ports as the window numbers them (only the mapped ones when the INI file "
                           "has a [Ports] section): Com name, device path, adapter description and status "
                           "(free, in use, no permission, missing)."),
         {}},
        {C::Read,
         "read [-o FILE.set]",
         QT_TRANSLATE_NOOP("cli",
                           "\"Setting Data Read\": prints each field the window shows with its value and "
                           "unit, then the current limiter switch, the mode flags, device type and ROM "
                           "version."),
         {{"-o FILE.set", QT_TRANSLATE_NOOP("cli", "Also save the settings as the window's Save does.")}}},
        {C::Write,
         "write [FILE.set] [--set \"CAPTION=VALUE\"]... [--dry-run]",
         QT_TRANSLATE_NOOP("cli",
                           "\"Setting Data Write\" with its read-back verify. The values are those of FILE, or "
                           "the controller's current ones, with each --set applied on top, through the same "
                           "rules as the window's fields (snapping, ranges). A refused value names the field "
                           "and its range, and nothing is written."),
         {{"--set \"CAPTION=VALUE\"",
           QT_TRANSLATE_NOOP("cli",
                             "A field by its caption in the window, in any letter case; \"Current "
                             "Limiter=off\" ticks \"Off\", \"=on\" unticks it. May be repeated.")},
          {"--dry-run",
           QT_TRANSLATE_NOOP("cli",
                             "Read the controller, print what would change (field, now, then) "
                             "and send nothing else.")}}},
        {C::Defaults,
         "defaults [--yes]",
         QT_TRANSLATE_NOOP("cli",
                           "\"Default Data Write\": restores the factory settings and prints them. Asks "
                           "first on a terminal."),
         {{"--yes", QT_TRANSLATE_NOOP("cli", "Do not ask; without a terminal the command needs it.")}}},
        {C::LogGet,
         "log get [-o FILE.csv] [--png FILE.png]",
         QT_TRANSLATE_NOOP("cli",
                           "\"Data Get\": fetches the run log and prints how many seconds hold data, with the "
                           "figures the log window shows. On a terminal a progress bar counts the characters "
                           "received."),
         {{"-o FILE.csv", QT_TRANSLATE_NOOP("cli", "Save the log as the window's Log Data > Save does.")},
          {"--png FILE.png", QT_TRANSLATE_NOOP("cli", "Draw the graph of the log window into a picture.")}}},
        {C::LogClear,
         "log clear [--yes]",
         QT_TRANSLATE_NOOP("cli", "\"Data Clear\": erases the run log in the controller. Asks first on a terminal."),
         {{"--yes", QT_TRANSLATE_NOOP("cli", "Do not ask; without a terminal the command needs it.")}}},
        {C::Show,
         "show FILE",
         QT_TRANSLATE_NOOP("cli",
                           "Decodes a .set file (printed as read prints it) or a .csv file (printed as log "
                           "get prints it) without a controller."),
         {}},
    };
    return list;
}

const QList<QPair<int, const char *>> &exitCodes()
{
    static const QList<QPair<int, const char *>> codes {
        {0, QT_TRANSLATE_NOOP("cli", "done")},
        {1,
         QT_TRANSLATE_NOOP("cli",
                           "the controller or the port failed (time-out, port cannot be opened, line "
                           "lost)")},
        {2, QT_TRANSLATE_NOOP("cli", "usage: unknown option, missing --yes")},
        {3,
         QT_TRANSLATE_NOOP("cli",
                           "data refused: a file or reply that cannot be read, a value out of range, "
                           "settings deleted, other device type")},
        {4, QT_TRANSLATE_NOOP("cli", "the read-back after a write differed")},
    };
    return codes;
}

// Words filled into lines of at most `width` characters, each line after `indent` blanks.
QString wrapped(const QString &text, int indent, int width = 79)
{
    QString out;
    QString line;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && indent + line.size() + 1 + word.size() > width) {
            out += QString(indent, u' ') + line + u'\n';
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        out += QString(indent, u' ') + line + u'\n';
    return out;
}

QString optionLines(const QList<Option> &options)
{
    QString out;
    for (const Option &o : options)
        out += QStringLiteral("  ") + QLatin1String(o.names) + u'\n' + wrapped(tr(o.text), 6);
    return out;
}

const Topic *topicOf(cli::Command command)
{
    for (const Topic &t : topics())
        if (t.command == command)
            return &t;
    return nullptr;
}

// roff: a backslash, a minus and a double quote are written escaped; a line must not begin with a period.
QString roff(QString text)
{
    text.replace(u'\\', QStringLiteral("\\e"))
        .replace(u'-', QStringLiteral("\\-"))
        .replace(u'"', QStringLiteral("\\(dq"));
    if (text.startsWith(u'.') || text.startsWith(u'\''))
        text.prepend(QStringLiteral("\\&"));
    return text;
}

} // namespace

QString overview()
{
    QString out = tr("Usage: zx316b-cli [global options] COMMAND [options]\n\n");
    out += wrapped(tr("Runs the operations of ZX316B Link from a command line, without a window: the same "
                      "commands, waits, checks and files as the window."),
                   0);
    out += u'\n' + tr("Global options:\n") + optionLines(globalOptions());
    out += u'\n' + tr("Commands:\n");
    for (const Topic &t : topics())
        out += QStringLiteral("  ") + QLatin1String(t.synopsis) + u'\n';
    out += u'\n' + tr("Exit status:\n");
    for (const auto &[code, text] : exitCodes())
        out += wrapped(QString::number(code) + QStringLiteral("  ") + tr(text), 2);
    out += u'\n' + tr("\"zx316b-cli COMMAND --help\" describes one command; see also zx316b-cli(1).\n");
    return out;
}

QString forCommand(cli::Command command)
{
    const Topic *t = topicOf(command);
    if (!t)
        return overview();
    QString out = tr("Usage: zx316b-cli [global options] %1\n\n").arg(QLatin1String(t->synopsis));
    out += wrapped(tr(t->description), 0);
    if (!t->options.isEmpty())
        out += u'\n' + tr("Options:\n") + optionLines(t->options);
    out += u'\n' + tr("Global options (--port, --ini, --json, -q) as in \"zx316b-cli --help\".\n");
    return out;
}

QString manSections()
{
    QString out = QStringLiteral(".SH COMMANDS\n");
    for (const Topic &t : topics()) {
        out += QStringLiteral(".TP\n.B ") + roff(QLatin1String(t.synopsis)) + u'\n' + roff(tr(t.description)) + u'\n';
        for (const Option &o : t.options)
            out += QStringLiteral(".RS\n.TP\n.B ") + roff(QLatin1String(o.names)) + u'\n' + roff(tr(o.text))
                + QStringLiteral("\n.RE\n");
    }
    out += QStringLiteral(".SH OPTIONS\n");
    for (const Option &o : globalOptions())
        out += QStringLiteral(".TP\n.B ") + roff(QLatin1String(o.names)) + u'\n' + roff(tr(o.text)) + u'\n';
    out += QStringLiteral(".SH EXIT STATUS\n");
    for (const auto &[code, text] : exitCodes())
        out += QStringLiteral(".TP\n.B %1\n").arg(code) + roff(tr(text)) + u'\n';
    return out;
}

} // namespace clihelp
