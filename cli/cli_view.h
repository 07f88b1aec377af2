#pragma once
#include "exit_status.h"
#include "settings_state.h"

#include "link/operations_view.h"

#include <QList>
#include <QPair>
#include <optional>

class Console;
class LogStore;

// The device operations as the command line shows them: settings go into a SettingsState
// rather than the editor's widgets, the run log into the log store, and every refusal is
// said on standard error and decides the exit status.
class CliView : public OperationsView {
public:
    using Edits = QList<QPair<int, QString>>; // field index, value as typed

    CliView(Console &console, cli::Outcome &outcome, LogStore &store);

    // What "Setting Data Write" writes: `base` (a settings file; none: the controller's own
    // values) with `edits` applied on top.
    void setWriteSource(std::optional<SettingsState> base, Edits edits);

    void operationStarted(int index) override;
    void operationEnded(int index) override;
    void clearDisplay() override;
    void settingsAccepted(const QString &block) override;
    std::optional<QString> makeWriteData(const QString &readData) override;
    void runLogFetched(const QString &reply) override;

    // The settings the controller sent last and this view accepted.
    const std::optional<SettingsState> &shown() const { return m_shown; }
    // The block as the controller sent it last (accepted or not).
    const QString &lastBlock() const { return m_lastBlock; }
    // The settings as they were about to be written, and the block made of them.
    const std::optional<SettingsState> &toWrite() const { return m_toWrite; }
    const QString &writeData() const { return m_writeData; }
    // The controller's block the last write was built against.
    const QString &lastReadBefore() const { return m_readBefore; }
    bool logFetched() const { return m_logFetched; }

    // Shows `block` into `state`, saying why when it is refused.
    static bool showInto(SettingsState &state, const QString &block, Console &console, cli::Outcome &outcome,
                         const QString &unreadableText);

private:
    Console &m_console;
    cli::Outcome &m_outcome;
    LogStore &m_store;
    std::optional<SettingsState> m_base;
    Edits m_edits;
    std::optional<SettingsState> m_shown;
    std::optional<SettingsState> m_toWrite;
    QString m_lastBlock;
    QString m_writeData;
    QString m_readBefore;
    bool m_logFetched = false;
};
