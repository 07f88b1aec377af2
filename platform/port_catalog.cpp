#include "port_catalog.h"

#include "ini_file.h"

#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

namespace {
// The first built-in serial port is the system console on the machines we run on.
const QString Console = QStringLiteral("/dev/ttyS0");

// Orders device paths as a person counts: ttyUSB2 before ttyUSB10.
bool naturalLess(const QString &a, const QString &b)
{
    int i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            int ie = i, je = j;
            while (ie < a.size() && a[ie].isDigit())
                ++ie;
            while (je < b.size() && b[je].isDigit())
                ++je;
            const QString na = a.mid(i, ie - i), nb = b.mid(j, je - j);
            const qulonglong va = na.toULongLong(), vb = nb.toULongLong();
            if (va != vb)
                return va < vb;
            if (na.size() != nb.size())
                return na.size() < nb.size();
            i = ie;
            j = je;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}
} // namespace

QList<SystemPort> PortCatalog::systemPorts()
{
    QList<SystemPort> out;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SystemPort p;
        p.devicePath = info.systemLocation();
        p.description = info.description();
        if (!info.manufacturer().isEmpty() && !p.description.contains(info.manufacturer()))
            p.description += QStringLiteral(" (") + info.manufacturer() + QLatin1Char(')');
        p.isUsb = info.hasVendorIdentifier() || info.portName().startsWith(QLatin1String("ttyUSB"))
            || info.portName().startsWith(QLatin1String("ttyACM"));
        out.append(p);
    }
    return out;
}

PortCatalog PortCatalog::build(const IniFile &ini, const SystemList &system)
{
    const QList<SystemPort> found = system ? system() : QList<SystemPort>();
    auto descriptionOf = [&found](const QString &path) {
        for (const SystemPort &p : found)
            if (p.devicePath == path)
                return p.description;
        return QString();
    };

    QList<PortEntry> entries;
    if (ini.hasSection(QStringLiteral("Ports"))) {
        static const QRegularExpression key(QStringLiteral("^com(\\d{1,2})$"),
                                            QRegularExpression::CaseInsensitiveOption);
        for (const auto &[k, path] : ini.entries(QStringLiteral("Ports"))) {
            const auto m = key.match(k);
            const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
            if (n < 1 || n > MaxPort || path.isEmpty())
                continue;
            if (std::any_of(entries.begin(), entries.end(), [n](const PortEntry &e) { return e.number == n; }))
                continue; // the first mapping of a number wins, as with every other key
            entries.append({n, path, descriptionOf(path)});
        }
        return fromEntries(entries);
    }

    QList<SystemPort> usable;
    for (const SystemPort &p : found)
        if (p.devicePath != Console && !p.devicePath.isEmpty())
            usable.append(p);
    std::stable_sort(usable.begin(), usable.end(), [](const SystemPort &a, const SystemPort &b) {
        if (a.isUsb != b.isUsb)
            return a.isUsb;
        return naturalLess(a.devicePath, b.devicePath);
    });
    for (int i = 0; i < usable.size() && i < MaxPort; ++i)
        entries.append({i + 1, usable[i].devicePath, usable[i].description});
    return fromEntries(entries);
}

PortCatalog PortCatalog::fromEntries(QList<PortEntry> entries)
{
    PortCatalog c;
    std::sort(entries.begin(), entries.end(), [](const PortEntry &a, const PortEntry &b) { return a.number < b.number; });
    c.m_entries = std::move(entries);
    return c;
}

std::optional<PortEntry> PortCatalog::entry(int number) const
{
    for (const PortEntry &e : m_entries)
        if (e.number == number)
            return e;
    return std::nullopt;
}
