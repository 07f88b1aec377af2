#pragma once
#include <QString>
#include <optional>

class IniFile;

// The number an INI value stands for: the decimal number the text begins with (0 when it
// begins with none), rounded with halves to the even neighbour. "Error" is the INI file's
// mark for a missing value, and a number outside the 16-bit signed range cannot be held
// by the program: both give no value, as if the key were absent.
std::optional<qint16> iniNumber(const QString &value);

// The start-up warning for an INI file that is there but cannot be used (not a regular
// file, too large, unreadable): what is wrong, where the file is, and that it is left
// alone. Empty when the file is usable or absent.
QString iniFileWarning(const IniFile &ini);
