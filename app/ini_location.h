#pragma once
#include <QString>

// Where the INI file lives: beside the executable, named after the application title.
// When that folder cannot be written and holds no INI file yet (an installed program in a
// system folder), the user's own configuration folder is used instead, so the port chosen
// in the dialog is still remembered.
QString chooseIniPath(const QString &appPath, const QString &appTitle, const QString &userConfigDir);

// The user's configuration folder for this program (~/.config/zx316b-link on Linux).
QString defaultUserConfigDir();
