#pragma once
#include <QList>
#include <QStringList>
#include <QString>
#include <functional>
#include <optional>

class IniFile;

// One serial device as the system reports it.
struct SystemPort {
    QString devicePath; // e.g. /dev/ttyUSB0
    QString description; // the adapter's description, may be empty
    bool isUsb = false;
};

// What port number n (1..16) means on this machine.
struct PortEntry {
    int number = 0;
    QString devicePath;
    QString description;
};

// Numbers the serial ports 1..16. An INI section [Ports] (Com3=/dev/serial/by-id/...) alone
// defines them when present; otherwise the system's list is numbered in a stable order,
// USB adapters first, then the rest, each group sorted by device path. The tty that is the
// kernel's console is left out of the system's list; every other port is in it.
class PortCatalog {
public:
    static constexpr int MaxPort = 16;
    using SystemList = std::function<QList<SystemPort>()>;

    // The system's own list (QSerialPortInfo), without the console.
    static QList<SystemPort> systemPorts();

    // The device paths of the ttys the kernel uses as its console, read below `root` (the
    // file-system root; a test gives a folder of its own): the names in
    // sys/class/tty/console/active and proc/consoles, with tty0 taken as the virtual
    // console in front (sys/class/tty/tty0/active). Empty where neither file exists.
    static QStringList consoleDevices(const QString &root = QString());
    static QList<SystemPort> withoutConsoles(const QList<SystemPort> &ports, const QStringList &consoles);

    // Builds the catalog from [Ports] of `ini` when that section exists, else from `system`.
    static PortCatalog build(const IniFile &ini, const SystemList &system);
    static PortCatalog fromEntries(QList<PortEntry> entries);

    std::optional<PortEntry> entry(int number) const;
    const QList<PortEntry> &entries() const { return m_entries; }

private:
    QList<PortEntry> m_entries;
};
