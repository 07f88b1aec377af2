#include "files/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

QString replaceWhole(const QString &path, const QByteArray &bytes)
{
    // A folder of that name would be replaced by the rename; refuse it plainly instead.
    if (QFileInfo(path).isDir())
        return QStringLiteral("A folder of that name exists.");
    QSaveFile file(path);
    // Unbuffered, so that a short write (file size limit, full disk) shows here: with a
    // buffer, the last flush inside commit() may fail without commit() saying so.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const QString why = file.errorString();
            file.cancelWriting(); // the old file stays; the temporary one goes
            return why;
        }
        done += n;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace textfile
