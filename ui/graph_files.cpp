#include "ui/graph_files.h"
#include "platform/translated.h"

#include "ui/file_commands.h"
#include "files/log_file.h"
#include "files/text_file.h"
#include "logdata/log_store.h"
#include "platform/atomic_file.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>

GraphFiles::GraphFiles(FileDialogs &dialogs, MessageBoxes &boxes, std::function<QDateTime()> now)
    : m_dialogs(dialogs), m_boxes(boxes), m_now(std::move(now))
{}

void GraphFiles::rememberLogPath(const QString &path)
{
    if (!path.isEmpty())
        m_logFolder = QFileInfo(path).absolutePath();
}

bool GraphFiles::openComparison(LogStore &into)
{
    const QString path = m_dialogs.openFile(translated("FileCommands", FileCommands::LogFilter));
    if (path.isEmpty())
        return false;
    auto refuse = [this] {
        m_boxes.show(translated("FileCommands", FileCommands::TroubleText), MessageBoxes::Icon::Critical,
                     MessageBoxes::Buttons::Ok);
        return false;
    };
    // There is nothing to compare with in a file that is not there.
    if (!textfile::exists(path))
        return refuse();
    rememberLogPath(path);
    const textfile::Content content = textfile::readAtMost(path, logfile::ReadLimit);
    if (content.status != textfile::Content::Status::Read)
        return refuse();
    switch (logfile::loadLogText(QString::fromLatin1(content.bytes), into)) {
    case logfile::Load::Loaded:
        return true;
    case logfile::Load::Empty:
        return false; // an empty file loads nothing, as when opened from the menu
    case logfile::Load::Refused:
        break;
    }
    return refuse();
}

QString GraphFiles::suggestedPicturePath() const
{
    const QString name = m_now().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) + QStringLiteral(".png");
    return m_logFolder.isEmpty() ? name : QDir(m_logFolder).filePath(name);
}

void GraphFiles::savePicture(const QImage &picture)
{
    const QString path = m_dialogs.saveFileAs(PngFilter, suggestedPicturePath());
    if (path.isEmpty())
        return;
    if (textfile::exists(path)
        && m_boxes.show(translated("FileCommands", FileCommands::OverwriteQuestion), MessageBoxes::Icon::None,
                        MessageBoxes::Buttons::YesNo)
            != MessageBoxes::Answer::Yes)
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString why;
    if (!picture.save(&buffer, "PNG"))
        why = translated("FileCommands",
                         QStringLiteral(QT_TRANSLATE_NOOP("FileCommands", "The picture could not be encoded.")));
    else
        why = replaceFileAtomically(path, bytes);
    if (!why.isEmpty())
        m_boxes.show(translated("FileCommands", FileCommands::NotSavedText) + QStringLiteral("\r\n") + path
                         + QStringLiteral("\r\n") + why,
                     MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
}
