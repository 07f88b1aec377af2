#include "files/text_file.h"

#include "platform/capped_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace textfile {

bool exists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool createEmpty(const QString &path)
{
    QFile file(path);
    // Append never truncates, so a file that appeared since the question keeps its data.
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

Content readAtMost(const QString &path, qint64 limit)
{
    Content out;
    const CappedFile file = CappedFile::read(path, limit);
    switch (file.status) {
    case CappedFile::Status::Missing:
        out.error = QCoreApplication::translate("textfile", "The file does not exist.");
        break;
    case CappedFile::Status::NotRegular:
        // A name typed into the open dialog may be a FIFO or a device: never opened.
        out.error = QCoreApplication::translate("textfile", "It is not a regular file.");
        break;
    case CappedFile::Status::Unreadable:
        out.error = file.error;
        break;
    case CappedFile::Status::TooLarge:
        out.status = Content::Status::TooLarge;
        break;
    case CappedFile::Status::Read:
        out.status = Content::Status::Read;
        out.bytes = file.bytes;
        break;
    }
    return out;
}

} // namespace textfile
