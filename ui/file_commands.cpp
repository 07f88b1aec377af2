#include "ui/file_commands.h"
#include "platform/translated.h"

#include "files/log_file.h"
#include "files/settings_file.h"
#include "files/text_file.h"
#include "platform/atomic_file.h"
#include "logview/frm_log.h" // LogViewer keeps a QPointer to it
#include "logdata/log_store.h"
#include "logview/log_viewer.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"
#include "editor/settings_editor.h"

FileCommands::FileCommands(FileDialogs &dialogs, MessageBoxes &boxes, SettingsEditor &editor, LogStore &store,
                           LogViewer &viewer, std::function<QString()> readData)
    : m_dialogs(dialogs), m_boxes(boxes), m_editor(editor), m_store(store), m_viewer(viewer),
      m_readData(std::move(readData)), m_graphFiles(dialogs, boxes)
{
    m_viewer.setFileAccess(&m_graphFiles);
}

FileCommands::~FileCommands()
{
    m_viewer.setFileAccess(nullptr);
}

void FileCommands::mnuOpen_Click()
{
    OpenDataFile(SettingsFilter);
}

void FileCommands::mnuSave_Click()
{
    // A refusal has already been explained to the user by the editor.
    if (m_editor.MakeWriteData(m_readData ? m_readData() : QString()))
        SaveDataFile(SettingsFilter);
}

void FileCommands::munOpenLog_Click()
{
    OpenDataFile(LogFilter);
}

void FileCommands::mnuSaveLog_Click()
{
    if (m_store.isEmpty()) {
        m_boxes.show(translated("FileCommands", NoLogText), MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
        return;
    }
    SaveDataFile(LogFilter);
}

bool FileCommands::isSettings(const QString &filter)
{
    return filter.contains(QLatin1String("setting"), Qt::CaseSensitive);
}

bool FileCommands::ask(const QString &question)
{
    return m_boxes.show(question, MessageBoxes::Icon::None, MessageBoxes::Buttons::YesNo) == MessageBoxes::Answer::Yes;
}

void FileCommands::showTrouble()
{
    m_boxes.show(translated("FileCommands", TroubleText), MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
}

void FileCommands::OpenDataFile(const QString &Filter)
{
    const QString path = m_dialogs.openFile(translated("FileCommands", Filter));
    if (path.isEmpty())
        return;
    if (!textfile::exists(path)) {
        if (!ask(translated("FileCommands", NotFoundQuestion)))
            return;
        if (!textfile::createEmpty(path)) {
            showTrouble();
            return;
        }
    }

    const bool settings = isSettings(Filter);
    if (!settings)
        m_graphFiles.rememberLogPath(path);
    const textfile::Content content =
        textfile::readAtMost(path, settings ? settingsfile::ReadLimit : logfile::ReadLimit);
    switch (content.status) {
    case textfile::Content::Status::Failed:
        showTrouble();
        return;
    case textfile::Content::Status::TooLarge:
        // Too long to be a settings block, which is ignored like any other wrong length.
        if (!settings)
            showTrouble();
        return;
    case textfile::Content::Status::Read:
        break;
    }
    if (content.bytes.isEmpty())
        return;

    // Single-byte text: every byte is one character, so 64 characters are 64 bytes.
    const QString text = QString::fromLatin1(content.bytes);
    if (settings) {
        ShowLoadedSettings(text);
        return;
    }
    switch (logfile::loadLogText(text, m_store)) {
    case logfile::Load::Empty:
        break;
    case logfile::Load::Loaded:
        m_viewer.SetGraphFile();
        break;
    case logfile::Load::Refused:
        showTrouble();
        break;
    }
}

void FileCommands::ShowLoadedSettings(const QString &text)
{
    if (text.size() != settingsfile::BlockLength)
        return;
    // Straight to the decoder, never through the receive buffer, so a file opened while
    // a device operation waits for its reply cannot change that reply.
    const auto result = m_editor.ShowReadData(text, BlockSource::File);
    // Deleted and foreign blocks were told by the decoder; an unreadable one is ours to tell.
    if (result == DecodeResult::Unreadable)
        showTrouble();
}

void FileCommands::SaveDataFile(const QString &Filter)
{
    const QString path = m_dialogs.saveFile(translated("FileCommands", Filter));
    if (path.isEmpty())
        return;
    if (textfile::exists(path) && !ask(translated("FileCommands", OverwriteQuestion)))
        return;
    if (!isSettings(Filter))
        m_graphFiles.rememberLogPath(path);

    const QByteArray bytes =
        isSettings(Filter) ? settingsfile::fileContent(m_editor.WriteData()) : MakeRunDat().toLatin1();
    const QString why = replaceFileAtomically(path, bytes);
    if (!why.isEmpty())
        m_boxes.show(translated("FileCommands", NotSavedText) + QStringLiteral("\r\n") + path + QStringLiteral("\r\n")
                         + why,
                     MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
}

QString FileCommands::MakeRunDat() const
{
    return logfile::MakeRunDat(m_store);
}
