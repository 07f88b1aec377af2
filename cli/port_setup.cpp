#include "port_setup.h"

#include "platform/ini_file.h"
#include "platform/ini_values.h"
#include "platform/qt_serial_port.h"

#include <QCoreApplication>
#include <QJsonObject>

namespace portsetup {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("cli", text);
}

QString statusOf(QtSerialPort::Failure failure)
{
    switch (failure) {
    case QtSerialPort::Failure::None:
        return QStringLiteral("free");
    case QtSerialPort::Failure::InUse:
        return QStringLiteral("in use");
    case QtSerialPort::Failure::NoPermission:
        return QStringLiteral("no permission");
    case QtSerialPort::Failure::NotConnected:
    case QtSerialPort::Failure::Missing:
        return QStringLiteral("missing");
    case QtSerialPort::Failure::Other:
        break;
    }
    return QStringLiteral("cannot be opened");
}

} // namespace

Choice choose(const QString &option, const IniFile &ini, const PortCatalog::SystemList &system)
{
    Choice c;
    if (option.isEmpty()) {
        const auto configured = iniNumber(ini.ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort")));
        if (!configured || *configured < 1 || *configured > PortCatalog::MaxPort) {
            c.error = tr("no port is configured in %1: give --port").arg(ini.path());
            return c;
        }
        c.number = *configured;
        c.catalog = PortCatalog::build(ini, system);
        return c;
    }
    bool isNumber = false;
    const int n = option.toInt(&isNumber);
    if (isNumber) {
        if (n < 1 || n > PortCatalog::MaxPort) {
            c.error = tr("--port takes a Com number from 1 to %1 or a device path").arg(PortCatalog::MaxPort);
            return c;
        }
        c.number = n;
        c.catalog = PortCatalog::build(ini, system);
        return c;
    }
    // A device path stands for itself; it is port 1 of a catalog of its own.
    c.number = 1;
    c.catalog = PortCatalog::fromEntries({{1, option, QString()}});
    return c;
}

QList<Listed> list(const PortCatalog &catalog)
{
    QList<Listed> out;
    QtSerialPort port(catalog);
    for (const PortEntry &e : catalog.entries()) {
        port.open(e.number);
        const QtSerialPort::Failure failure = port.lastFailure();
        port.close();
        out.append({e.number, e.devicePath, e.description, statusOf(failure)});
    }
    return out;
}

QString listText(const QList<Listed> &ports)
{
    QString out;
    for (const Listed &p : ports)
        out += QStringLiteral("Com%1").arg(p.number).leftJustified(6) + u' ' + p.path + QStringLiteral("  ")
            + (p.description.isEmpty() ? QStringLiteral("-") : p.description) + QStringLiteral("  ") + p.status + u'\n';
    return out;
}

QJsonArray listJson(const QList<Listed> &ports)
{
    QJsonArray out;
    for (const Listed &p : ports)
        out.append(
            QJsonObject {{"com", p.number}, {"path", p.path}, {"description", p.description}, {"status", p.status}});
    return out;
}

} // namespace portsetup
