#include "sim/settings_block.h"

namespace zxsim {

QString defaultSettingsBlock(int romVersion, int deviceType)
{
    const QString factory = QStringLiteral("D007401FF0054C046C070000000000000640556A6432330A500085C80000030A");
    return withByte(withByte(factory, RomVersionByte, romVersion), DeviceTypeByte, deviceType);
}

QString withByte(const QString &block, int index, int value)
{
    if (index < 0 || block.size() < 2 * index + 2)
        return block;
    QString result = block;
    result.replace(2 * index, 2, QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper());
    return result;
}

} // namespace zxsim
