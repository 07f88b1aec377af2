#include "ini_location.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString chooseIniPath(const QString &appPath, const QString &appTitle, const QString &userConfigDir)
{
    const QString fileName = appTitle + QStringLiteral(".ini");
    const QString beside = appPath + QLatin1Char('/') + fileName;
    if (QFileInfo::exists(beside) || QFileInfo(appPath).isWritable() || userConfigDir.isEmpty())
        return beside;
    QDir().mkpath(userConfigDir);
    return userConfigDir + QLatin1Char('/') + fileName;
}

QString defaultUserConfigDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/zx316b-link");
}
