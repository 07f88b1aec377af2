#include "files/text_file.h"

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.error = file.errorString();
        return out;
    }
    // One byte past the limit tells "exactly at the limit" from "larger".
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        out.error = file.errorString();
        return out;
    }
    if (bytes.size() > limit) {
        out.status = Content::Status::TooLarge;
        return out;
    }
    out.status = Content::Status::Read;
    out.bytes = std::move(bytes);
    return out;
}

} // namespace textfile
