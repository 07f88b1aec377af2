#include "ini_location.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString chooseIniPath(const QString &appPath, const QString &appTitle, const QString &userConfigDir)
{
    const QString fileName = appTitle + QStringLiteral(".ini");
    const QString beside = appPath + QLatin1Char('/') + fileName;
    if (userConfigDir.isEmpty())
        return beside;
    if (!isInstalledCopy(appPath) && (QFileInfo::exists(beside) || QFileInfo(appPath).isWritable()))
        return beside;
    QDir().mkpath(userConfigDir);
    return userConfigDir + QLatin1Char('/') + fileName;
}

bool isInstalledCopy(const QString &appPath)
{
    const QDir bin(appPath);
    return bin.dirName() == QLatin1String("bin")
        && QFileInfo::exists(bin.filePath(QStringLiteral("../share/applications/zx316b-link.desktop")));
}

QString defaultUserConfigDir()
{
    // No home folder known: no user folder either, rather than one at the file system's root.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/zx316b-link");
}
