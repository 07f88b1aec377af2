#include "port_catalog.h"

#include "ini_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

namespace {

// A small kernel file (sysfs, procfs): its text, or nothing when it is not there.
QString kernelText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.read(64 * 1024));
}

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

QStringList PortCatalog::consoleDevices(const QString &root)
{
    QStringList names = kernelText(root + QStringLiteral("/sys/class/tty/console/active"))
                            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    // Each line of /proc/consoles starts with the name of one console device.
    const QStringList lines = kernelText(root + QStringLiteral("/proc/consoles")).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString name = line.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        if (!name.isEmpty())
            names.append(name);
    }
    QStringList devices;
    for (const QString &name : std::as_const(names)) {
        QStringList ttys {name};
        // tty0 is whichever virtual console is in front.
        if (name == QLatin1String("tty0"))
            ttys = kernelText(root + QStringLiteral("/sys/class/tty/tty0/active"))
                       .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        for (const QString &tty : std::as_const(ttys)) {
            const QString device = QStringLiteral("/dev/") + tty;
            if (!tty.contains(QLatin1Char('/')) && !devices.contains(device))
                devices.append(device);
        }
    }
    return devices;
}

QList<SystemPort> PortCatalog::withoutConsoles(const QList<SystemPort> &ports, const QStringList &consoles)
{
    QList<SystemPort> out;
    for (const SystemPort &p : ports)
        if (!consoles.contains(p.devicePath))
            out.append(p);
    return out;
}

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
    // The kernel's console carries its messages (and maybe a login): never a controller.
    return withoutConsoles(out, consoleDevices());
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
        if (!p.devicePath.isEmpty())
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
    std::sort(entries.begin(), entries.end(),
              [](const PortEntry &a, const PortEntry &b) { return a.number < b.number; });
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
