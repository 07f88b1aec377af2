#include "cli_view.h"
#include "console.h"

#include "logdata/run_data_decoder.h"
#include "settings/settings_reply.h"

#include <QCoreApplication>

CliView::CliView(Console &console, cli::Outcome &outcome, LogStore &store)
    : m_console(console), m_outcome(outcome), m_store(store)
{}

void CliView::setWriteSource(std::optional<SettingsState> base, Edits edits)
{
    m_base = std::move(base);
    m_edits = std::move(edits);
}

void CliView::operationStarted(int) {}

void CliView::operationEnded(int) {}

void CliView::clearDisplay()
{
    m_shown.reset();
}

bool CliView::showInto(SettingsState &state, const QString &block, Console &console, cli::Outcome &outcome,
                       const QString &unreadableText)
{
    const SettingsState::Decode d = state.show(block);
    if (d == SettingsState::Decode::Accepted)
        return true;
    const QString refusal = SettingsState::refusalText(d);
    console.message(refusal.isEmpty() ? unreadableText : refusal);
    outcome.fail(cli::Exit::Refused);
    return false;
}

void CliView::settingsAccepted(const QString &block)
{
    m_lastBlock = block;
    SettingsState state;
    if (showInto(state, block, m_console, m_outcome, settingsreply::unreadableText()))
        m_shown = state;
}

std::optional<QString> CliView::makeWriteData(const QString &readData)
{
    m_readBefore = readData;
    SettingsState state;
    if (m_base) {
        state = *m_base;
    } else if (!showInto(state, readData, m_console, m_outcome, settingsreply::unreadableText())) {
        return std::nullopt;
    }
    for (const auto &[index, value] : std::as_const(m_edits)) {
        QString why;
        if (!state.set(index, value, &why)) {
            m_console.message(why);
            m_outcome.fail(cli::Exit::Refused);
            return std::nullopt;
        }
    }
    QString why;
    const std::optional<QString> block = state.build(readData, &why);
    if (!block) {
        m_console.message(why);
        m_outcome.fail(cli::Exit::Refused);
        return std::nullopt;
    }
    m_toWrite = state;
    m_writeData = *block;
    return block;
}

void CliView::runLogFetched(const QString &reply)
{
    decodeRunData(reply, m_store);
    m_logFetched = true;
}
