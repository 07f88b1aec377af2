#pragma once
#include "exit_status.h"

#include "platform/message_boxes.h"
#include "platform/message_line.h"

#include <QString>
#include <functional>

// Where the command line's words go: results on standard output, messages on standard
// error. Tests give their own streams.
class Console {
public:
    using Writer = std::function<void(const QString &)>;
    using Reader = std::function<QString()>; // one line typed by the user

    Console(Writer out, Writer err, Reader in, bool stderrIsTerminal, bool stdinIsTerminal);
    // The process's own streams.
    static Console standard();

    void setQuiet(bool quiet) { m_quiet = quiet; }
    bool quiet() const { return m_quiet; }
    bool canAsk() const { return m_stdinTerminal && m_stderrTerminal; }
    bool stderrIsTerminal() const { return m_stderrTerminal; }

    void out(const QString &text) const { m_out(text); }
    // A message in the program's words; a repeat of the last one is left out, so a box
    // and the message line saying the same thing reach the user once.
    void message(const QString &text);
    // Progress that only a person watching wants to see.
    void progress(const QString &text);
    // Text for the terminal alone (a progress bar), never a line of its own.
    void raw(const QString &text) const { m_err(text); }
    QString ask(const QString &question);

private:
    Writer m_out;
    Writer m_err;
    Reader m_in;
    bool m_stderrTerminal;
    bool m_stdinTerminal;
    bool m_quiet = false;
    QString m_last;
};

// The message line of the window, as lines on standard error. A red line also decides the
// exit status: the controller or port failed, or the read-back differed.
class ConsoleMessageLine : public MessageLine {
public:
    ConsoleMessageLine(Console &console, cli::Outcome &outcome) : m_console(console), m_outcome(outcome) {}
    void ShowMessage(const QString &text, int colour) override;

    // What a red line of the window means for the exit status.
    static cli::Exit exitFor(const QString &redText);

private:
    Console &m_console;
    cli::Outcome &m_outcome;
};

// Message boxes without a window: the text goes to standard error. A question is answered
// Yes when --yes was given or the user types y on a terminal; otherwise it is answered No
// and the run ends as a usage error, having done nothing.
class ConsoleMessageBoxes : public MessageBoxes {
public:
    ConsoleMessageBoxes(Console &console, cli::Outcome &outcome, bool yes)
        : m_console(console), m_outcome(outcome), m_yes(yes)
    {}
    Answer show(const QString &text, Icon icon, Buttons buttons) override;

private:
    Console &m_console;
    cli::Outcome &m_outcome;
    bool m_yes;
};
