#include "console.h"

#include "platform/posix_system.h"
#include "settings/settings_reply.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

// Box texts break their lines with CR LF; a terminal wants LF.
QString plain(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void write(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

Console::Console(Writer out, Writer err, Reader in, bool stderrIsTerminal, bool stdinIsTerminal)
    : m_out(std::move(out)), m_err(std::move(err)), m_in(std::move(in)), m_stderrTerminal(stderrIsTerminal),
      m_stdinTerminal(stdinIsTerminal)
{}

Console Console::standard()
{
    return Console([](const QString &t) { write(stdout, t); }, [](const QString &t) { write(stderr, t); },
                   [] {
                       QTextStream in(stdin);
                       return in.readLine();
                   },
                   posixsystem::isTerminal(posixsystem::StandardStream::Error),
                   posixsystem::isTerminal(posixsystem::StandardStream::Input));
}

void Console::message(const QString &text)
{
    const QString line = plain(text);
    // The line after a box repeats the box's first line.
    if (line == m_last || m_last.startsWith(line + QLatin1Char('\n')))
        return;
    m_last = line;
    m_err(line + QLatin1Char('\n'));
}

void Console::progress(const QString &text)
{
    if (!m_quiet)
        message(text);
}

QString Console::ask(const QString &question)
{
    m_err(plain(question) + QStringLiteral(" [y/N] "));
    return m_in ? m_in() : QString();
}

void ConsoleMessageLine::ShowMessage(const QString &text, int colour)
{
    if (colour != Red) {
        m_console.progress(text);
        return;
    }
    m_console.message(text);
    m_outcome.fail(exitFor(text));
}

cli::Exit ConsoleMessageLine::exitFor(const QString &redText)
{
    if (redText == QLatin1String("Verify was NG."))
        return cli::Exit::VerifyNg;
    // A reply that came but could not be read, and a write refused before anything was sent.
    if (redText == settingsreply::unreadableLine() || redText == QLatin1String("Nothing was written to the ZX."))
        return cli::Exit::Refused;
    // "RS232 communication fault.", "ZX cannot be set.", "ComPort cannot be opened."
    return cli::Exit::Failed;
}

MessageBoxes::Answer ConsoleMessageBoxes::show(const QString &text, Icon, Buttons buttons)
{
    if (buttons == Buttons::Ok) {
        m_console.message(text);
        return Answer::Ok;
    }
    if (m_yes)
        return Answer::Yes;
    if (m_console.canAsk()) {
        const QString reply = m_console.ask(text).trimmed();
        if (reply.compare(QLatin1String("y"), Qt::CaseInsensitive) == 0
            || reply.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
            return Answer::Yes;
        m_console.message(QCoreApplication::translate("cli", "Nothing was sent."));
        m_outcome.fail(cli::Exit::Usage);
        return Answer::No;
    }
    m_console.message(plain(text)
                      + QCoreApplication::translate("cli",
                                                    "\nNot asked without a terminal: give --yes to go ahead. "
                                                    "Nothing was sent."));
    m_outcome.fail(cli::Exit::Usage);
    return Answer::No;
}
