#include "saved_files.h"
#include "console.h"
#include "settings_state.h"

#include "files/log_file.h"
#include "files/settings_file.h"
#include "files/text_file.h"
#include "logdata/log_store.h"
#include "platform/atomic_file.h"

#include <QBuffer>
#include <QCoreApplication>

namespace savedfiles {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("cli", text);
}

// A file that cannot be written is the command's failure, told with the path and why.
bool save(const QString &path, const QByteArray &bytes, Console &console, cli::Outcome &outcome)
{
    const QString why = replaceFileAtomically(path, bytes);
    if (why.isEmpty())
        return true;
    console.message(QStringLiteral("The file was not saved.\n") + path + u'\n' + why);
    outcome.fail(cli::Exit::Failed);
    return false;
}

void refuse(const QString &text, Console &console, cli::Outcome &outcome)
{
    console.message(text);
    outcome.fail(cli::Exit::Refused);
}

} // namespace

std::optional<QString> readSettingsText(const QString &path, Console &console, cli::Outcome &outcome)
{
    const textfile::Content content = textfile::readAtMost(path, settingsfile::ReadLimit);
    if (content.status == textfile::Content::Status::Failed) {
        refuse(TroubleText + u'\n' + path + u'\n' + content.error, console, outcome);
        return std::nullopt;
    }
    const auto text =
        content.status == textfile::Content::Status::Read ? settingsfile::blockText(content.bytes) : std::nullopt;
    if (!text)
        refuse(TroubleText + u'\n'
                   + tr("%1 is not a settings file: it must hold exactly %2 characters.")
                         .arg(path)
                         .arg(settingsfile::BlockLength),
               console, outcome);
    return text;
}

bool saveSettings(const QString &path, const SettingsState &state, const QString &readData, Console &console,
                  cli::Outcome &outcome)
{
    QString why;
    const auto block = state.build(readData, &why);
    if (!block) {
        refuse(why, console, outcome);
        return false;
    }
    return save(path, settingsfile::fileContent(*block), console, outcome);
}

bool saveLog(const QString &path, const LogStore &store, Console &console, cli::Outcome &outcome)
{
    if (store.isEmpty()) {
        refuse(QStringLiteral("There is no preserved data."), console, outcome);
        return false;
    }
    return save(path, logfile::MakeRunDat(store).toLatin1(), console, outcome);
}

bool savePicture(const QString &path, const QImage &picture, Console &console, cli::Outcome &outcome)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) {
        console.message(tr("The picture could not be made."));
        outcome.fail(cli::Exit::Failed);
        return false;
    }
    return save(path, bytes, console, outcome);
}

} // namespace savedfiles
