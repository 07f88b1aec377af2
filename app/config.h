#pragma once
#include "platform/ini_values.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

class IniFile;
struct PortChoice;

// The graph options, "Scale Line" for the voltage (0) and current (1) graph.
using ScaleLines = std::array<int, 2>;

// Reads the port number and the graph options. When no port is configured, runs
// `showPortDialog` (the port dialog, shown modally), which leaves its outcome in `choice`.
void LoadConfig(const IniFile &ini, PortChoice &choice, ScaleLines &scaleLine,
                const std::function<void()> &showPortDialog);
