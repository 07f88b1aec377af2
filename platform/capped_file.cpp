#include "capped_file.h"

#include <QFile>
#include <QFileInfo>

CappedFile CappedFile::read(const QString &path, qint64 cap)
{
    CappedFile out;
    const QFileInfo info(path);
    if (!info.exists())
        return out;
    if (!info.isFile()) {
        out.status = Status::NotRegular;
        return out;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.status = Status::Unreadable;
        out.error = file.errorString();
        return out;
    }
    // One byte past the cap tells "exactly at the cap" from "larger", whatever size the
    // file claims.
    QByteArray bytes = file.read(cap + 1);
    if (file.error() != QFileDevice::NoError) {
        out.status = Status::Unreadable;
        out.error = file.errorString();
        return out;
    }
    if (bytes.size() > cap) {
        out.status = Status::TooLarge;
        return out;
    }
    out.status = Status::Read;
    out.bytes = std::move(bytes);
    return out;
}
