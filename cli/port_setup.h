#pragma once
#include "platform/port_catalog.h"

#include <QJsonArray>
#include <QString>

class IniFile;

// Which serial port the command line talks through, numbered exactly as the window numbers
// its ports.
namespace portsetup {

struct Choice {
    PortCatalog catalog;
    int number = 0;
    QString error; // why no port can be used (a usage error); empty when one can
};

// `option` is --port: a Com number 1..16 (as the window numbers them, [Ports] included),
// or a device path. Empty: CommPort of the INI file.
Choice choose(const QString &option, const IniFile &ini, const PortCatalog::SystemList &system);

struct Listed {
    int number;
    QString path;
    QString description;
    QString status; // "free", "in use", "no permission", "missing", or "cannot be opened"
};

// Every numbered port and whether it opens now. Each port is opened and closed again, as
// the window's port dialog does when it fills its list.
QList<Listed> list(const PortCatalog &catalog);
QString listText(const QList<Listed> &ports);
QJsonArray listJson(const QList<Listed> &ports);

} // namespace portsetup
