// The INI file is whatever a person or another program left beside the executable: any
// bytes must read without failing, values must come back within their limits, and a write
// must store its key while leaving every other section as it was.
#include "app/config.h"
#include "platform/ini_file.h"
#include "platform/port_catalog.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

const QString &iniPath()
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("ZX316B Link.ini"));
    return path;
}

void checkValue(const QString &v)
{
    check(v.size() <= IniFile::MaxValueLength);
    check(!v.contains(QChar(0)));
    // Start-up turns each value into a port number or an option; no text may upset that.
    if (const auto n = iniNumber(v))
        check(v != IniFile::Missing); // a number outside 16 bits reads as none
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile f(iniPath());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    IniFile ini(iniPath());
    const QString port = ini.ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"));
    checkValue(port);
    checkValue(ini.ReadIni(QStringLiteral("Chart"), QStringLiteral("ScaleLine0")));
    const QString scale1 = ini.ReadIni(QStringLiteral("Chart"), QStringLiteral("ScaleLine1"));
    checkValue(scale1);
    const auto ports = ini.entries(QStringLiteral("Ports"));
    for (const auto &[key, value] : ports)
        checkValue(value);
    const PortCatalog catalog = PortCatalog::build(ini, [] { return QList<SystemPort>(); });
    for (const PortEntry &e : catalog.entries())
        check(e.number >= 1 && e.number <= PortCatalog::MaxPort && !e.devicePath.isEmpty());

    if (ini.WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QStringLiteral("7"))) {
        check(ini.ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort")) == QStringLiteral("7"));
        check(ini.ReadIni(QStringLiteral("Chart"), QStringLiteral("ScaleLine1")) == scale1);
        check(ini.entries(QStringLiteral("Ports")) == ports);
    }
    return 0;
}
