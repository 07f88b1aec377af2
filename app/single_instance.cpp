#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

SingleInstance::SingleInstance(const QString &lockDir, const QString &executablePath)
    : m_path(lockPathFor(lockDir, executablePath))
{}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockPathFor(const QString &lockDir, const QString &executablePath)
{
    const QString canonical = QFileInfo(executablePath).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? executablePath : canonical).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16);
    return lockDir + QStringLiteral("/zx316b-link-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
}

QString SingleInstance::defaultLockDir()
{
    // Read directly: asking QStandardPaths when the variable is unset (under sudo, in CI)
    // prints a warning and makes a folder of its own.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() || !QFileInfo(runtime).isDir() ? QDir::tempPath() : runtime;
}

bool SingleInstance::tryAcquire()
{
    if (m_lock && m_lock->isLocked())
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_lock = std::make_unique<QLockFile>(m_path);
    // Never stale by age: a copy may run for weeks. One whose process is gone is still
    // recognised as stale and taken over.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    // Only a lock held by a running copy refuses the start; a folder we cannot write to
    // says nothing about other copies and must not keep the program from running.
    return m_lock->error() != QLockFile::LockFailedError;
}
