#pragma once
#include <QString>
#include <array>
#include <functional>
#include <optional>

class IniFile;
struct PortChoice;

// The number an INI value stands for: the decimal number the text begins with (0 when it
// begins with none), rounded with halves to the even neighbour. "Error" is the INI file's
// mark for a missing value, and a number outside the 16-bit signed range cannot be held
// by the program: both give no value, as if the key were absent.
std::optional<qint16> iniNumber(const QString &value);

// The graph options, "Scale Line" for the voltage (0) and current (1) graph.
using ScaleLines = std::array<int, 2>;

// The start-up warning for an INI file that is there but cannot be used (not a regular
// file, too large, unreadable): what is wrong, where the file is, and that it is left
// alone. Empty when the file is usable or absent.
QString iniFileWarning(const IniFile &ini);

// Reads the port number and the graph options. When no port is configured, runs
// `showPortDialog` (the port dialog, shown modally), which leaves its outcome in `choice`.
void LoadConfig(const IniFile &ini, PortChoice &choice, ScaleLines &scaleLine,
                const std::function<void()> &showPortDialog);
