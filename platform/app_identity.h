#pragma once
#include <QString>

// What the program calls itself: its title (also the INI file's name) and its version text.
namespace appidentity {

inline const QString AppTitle = QStringLiteral("ZX316B Link");

// "Version" + major + "." + minor + revision, each a plain decimal number; minor and
// revision run together, so 1.0.0 reads Version1.00 and 2.3.15 reads Version2.315.
QString VersionText(int major, int minor, int revision);

// The version this program was built as.
QString VersionText();

// The same version as a plain number, major.minor.revision ("1.0.0"), as packages and
// `--version` show it.
QString VersionNumber();

} // namespace appidentity
