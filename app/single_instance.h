#pragma once
#include <QString>
#include <memory>

class QLockFile;

// Refuses a second running copy of the same executable. The lock is keyed by the
// executable's path, so a test build and an installed copy do not block each other; a
// lock left by a copy that crashed is taken over.
class SingleInstance {
public:
    SingleInstance(const QString &lockDir, const QString &executablePath);
    ~SingleInstance();

    // False when another copy holds the lock. True otherwise; the lock is then held until
    // destruction (or could not be made at all, which does not stop the program).
    bool tryAcquire();
    const QString &lockPath() const { return m_path; }

    static QString lockPathFor(const QString &lockDir, const QString &executablePath);
    // The folder for lock files: the user's runtime folder, else the temporary folder.
    static QString defaultLockDir();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
