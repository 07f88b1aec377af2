#pragma once
#include <QByteArray>
#include <QString>

// Whole-file reading and writing for the program's own data files. Files are plain
// single-byte text; what they hold is judged by the callers.
namespace textfile {

// Whether a file of that name exists: a folder of that name does not count.
bool exists(const QString &path);

// Makes an empty file of that name, leaving an existing one as it is.
bool createEmpty(const QString &path);

struct Content {
    enum class Status { Read, TooLarge, Failed };
    Status status = Status::Failed;
    QByteArray bytes; // the whole file when Read
    QString error; // why, when Failed
};

// Reads the whole file, but never more than `limit` bytes: a file that goes on beyond
// that (a huge file, a device that never ends) is TooLarge, and nothing is kept of it.
Content readAtMost(const QString &path, qint64 limit);

} // namespace textfile
