// `show FILE`: a settings or log file decoded without a controller, printed as `read` and
// `log get` print what the controller sent.
#include "cli_program.h"
#include "cli_view.h"
#include "console.h"
#include "report.h"
#include "saved_files.h"

#include "files/log_file.h"
#include "files/settings_file.h"
#include "files/text_file.h"
#include "logdata/log_store.h"

#include <QCoreApplication>
#include <QFileInfo>

cli::Exit CliProgram::showFile(const cli::Invocation &inv)
{
    cli::Outcome outcome;
    const QString &path = inv.file;
    const textfile::Content content = textfile::readAtMost(path, logfile::ReadLimit);
    if (content.status != textfile::Content::Status::Read) {
        const QString why = content.status == textfile::Content::Status::Failed
            ? content.error
            : QCoreApplication::translate("cli", "The file is too large.");
        m_console.message(savedfiles::TroubleText + u'\n' + path + u'\n' + why);
        return cli::Exit::Refused;
    }
    // The name tells the kind as the window's filters do; a name without either extension
    // is a settings file exactly when it is one block long.
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool settings = suffix == QLatin1String("set")
        || (suffix != QLatin1String("csv") && content.bytes.size() == settingsfile::BlockLength);

    if (settings) {
        const auto text = savedfiles::readSettingsText(path, m_console, outcome);
        SettingsState state;
        if (text && CliView::showInto(state, *text, m_console, outcome, savedfiles::TroubleText))
            print(report::settingsText(state), report::settingsJson(*text, state), inv.json);
        return outcome.exit();
    }

    LogStore store;
    store.markEmpty();
    // Single-byte text, one character a byte, as the window reads it.
    switch (logfile::loadLogText(QString::fromLatin1(content.bytes), store)) {
    case logfile::Load::Loaded:
        print(report::logText(store), report::logJson(store), inv.json);
        return cli::Exit::Done;
    case logfile::Load::Empty:
        m_console.message(savedfiles::TroubleText + u'\n'
                          + QCoreApplication::translate("cli", "%1 is empty.").arg(path));
        return cli::Exit::Refused;
    case logfile::Load::Refused:
        break;
    }
    m_console.message(savedfiles::TroubleText + u'\n' + path);
    return cli::Exit::Refused;
}
