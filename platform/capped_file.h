#pragma once
#include <QByteArray>
#include <QString>

// Reads an untrusted file whole, but never more than a cap. Only a regular file is opened:
// a FIFO would block the open until a writer comes, and a device (a link to /dev/zero)
// claims a size of 0 and never ends.
struct CappedFile {
    enum class Status {
        Missing, // nothing at that path
        NotRegular, // a folder, FIFO, device or socket: never opened
        Unreadable, // could not be opened or read; `error` says why
        TooLarge, // more than the cap: nothing is kept
        Read, // `bytes` holds the whole file
    };
    Status status = Status::Missing;
    QByteArray bytes;
    QString error;

    static CappedFile read(const QString &path, qint64 cap);
};
