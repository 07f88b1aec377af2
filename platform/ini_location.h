#pragma once
#include <QString>

// Where the INI file lives: beside the executable, named after the application title.
// The user's own configuration folder takes it instead
// - for an installed copy (see isInstalledCopy), whose folder belongs to the system's
//   package manager even when the user could write to it (root);
// - when the executable's folder cannot be written and holds no INI file yet.
// Either way the port chosen in the dialog is still remembered.
QString chooseIniPath(const QString &appPath, const QString &appTitle, const QString &userConfigDir);

// An installed copy: its folder is the bin/ of an installation that also holds the
// program's desktop entry, share/applications/zx316b-link.desktop (/usr/bin, /usr/local/bin
// or wherever the package was unpacked).
bool isInstalledCopy(const QString &appPath);

// The user's configuration folder for this program (~/.config/zx316b-link on Linux).
QString defaultUserConfigDir();
