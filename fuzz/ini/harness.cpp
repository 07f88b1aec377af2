// The INI file is whatever a person or another program left beside the executable: any
// bytes must read without failing, values must come back within their limits, and a write
// must store its key while leaving every other section as it was.
#include "fuzz/harness_support.h"
#include "platform/ini_file.h"
#include "platform/ini_values.h"
#include "platform/port_catalog.h"

#include <QFile>
#include <QTemporaryDir>

using fuzzsupport::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("ZX316B Link.ini")));
    QFile f(ini.path());
    require(f.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && f.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    f.close();
    const auto ports = ini.entries(QStringLiteral("Ports"));
    QStringList values {ini.ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort")),
                        ini.ReadIni(QStringLiteral("Chart"), QStringLiteral("ScaleLine1"))};
    for (const auto &[key, value] : ports)
        values << value;
    for (const QString &v : values) {
        require(v.size() <= IniFile::MaxValueLength && !v.contains(QChar(0)));
        (void)iniNumber(v); // start-up turns each value into a port number or an option
    }
    const PortCatalog catalog = PortCatalog::build(ini, [] { return QList<SystemPort>(); });
    for (const PortEntry &e : catalog.entries())
        require(e.number >= 1 && e.number <= PortCatalog::MaxPort && !e.devicePath.isEmpty());
    if (ini.WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QStringLiteral("7"))) {
        require(ini.ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort")) == QStringLiteral("7"));
        require(ini.ReadIni(QStringLiteral("Chart"), QStringLiteral("ScaleLine1")) == values[1]);
        require(ini.entries(QStringLiteral("Ports")) == ports);
    }
    return 0;
}
