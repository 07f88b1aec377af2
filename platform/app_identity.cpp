#include "app_identity.h"

namespace appidentity {

QString VersionText(int major, int minor, int revision)
{
    return QStringLiteral("Version%1.%2%3").arg(major).arg(minor).arg(revision);
}

QString VersionText()
{
    return VersionText(ZX_VERSION_MAJOR, ZX_VERSION_MINOR, ZX_VERSION_PATCH);
}

QString VersionNumber()
{
    return QStringLiteral("%1.%2.%3").arg(ZX_VERSION_MAJOR).arg(ZX_VERSION_MINOR).arg(ZX_VERSION_PATCH);
}

} // namespace appidentity
