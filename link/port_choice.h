#pragma once
#include <QtGlobal>

// The configured serial port and how the port dialog was last left. One instance lives for
// the whole run; start-up fills it from the INI file and the port dialog updates it.
struct PortChoice {
    qint16 ComPortNo = 0; // 1 = first port; 0 = none configured
    bool PortSelectCancelled = false; // true when the port dialog was last left with Cancel
};
