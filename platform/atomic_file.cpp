#include "atomic_file.h"

#include <QCoreApplication>

#include <QFileInfo>
#include <QSaveFile>

QString replaceFileAtomically(const QString &path, const QByteArray &bytes)
{
    // A folder of that name would be replaced by the rename; refuse it plainly instead.
    if (QFileInfo(path).isDir())
        return QCoreApplication::translate("atomic_file", "A folder of that name exists.");
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
