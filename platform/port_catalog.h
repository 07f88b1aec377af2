#pragma once
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class IniFile;

// One serial device as the system reports it.
struct SystemPort {
    QString devicePath;   // e.g. /dev/ttyUSB0
    QString description;  // the adapter's description, may be empty
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
// USB adapters first, then the rest, each group sorted by device path. /dev/ttyS0 is the
// system console on our machines and is never listed.
class PortCatalog {
public:
    static constexpr int MaxPort = 16;
    using SystemList = std::function<QList<SystemPort>()>;

    // The system's own list (QSerialPortInfo).
    static QList<SystemPort> systemPorts();

    // Builds the catalog from [Ports] of `ini` when that section exists, else from `system`.
    static PortCatalog build(const IniFile &ini, const SystemList &system);
    static PortCatalog fromEntries(QList<PortEntry> entries);

    std::optional<PortEntry> entry(int number) const;
    const QList<PortEntry> &entries() const { return m_entries; }

private:
    QList<PortEntry> m_entries;
};
