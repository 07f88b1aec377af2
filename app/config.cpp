#include "config.h"

#include "link/port_choice.h"
#include "platform/ini_file.h"

void LoadConfig(const IniFile &ini, PortChoice &choice, ScaleLines &scaleLine,
                const std::function<void()> &showPortDialog)
{
    const auto port = iniNumber(ini.ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort")));
    if (port)
        choice.ComPortNo = *port;
    for (int i = 0; i < 2; ++i) {
        // The index comes last: ScaleLine0, ScaleLine1.
        if (const auto v = iniNumber(ini.ReadIni(QStringLiteral("Chart"), QStringLiteral("ScaleLine%1").arg(i))))
            scaleLine[size_t(i)] = *v;
    }
    if (!port && showPortDialog)
        showPortDialog();
}
