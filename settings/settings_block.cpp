#include "settings/settings_block.h"
#include "settings/conversions.h"
#include "numtext/number_text.h"

namespace block {

bool isReadable(QStringView text)
{
    if (text.size() < Length)
        return false;
    for (int i = 0; i < Length; ++i) {
        if (numtext::strictHex(text.mid(i, 1), 1) < 0)
            return false;
    }
    return true;
}

int byteAt(QStringView text, int position)
{
    if (position < 1 || position + 1 > text.size())
        return -1;
    return int(numtext::strictHex(text.mid(position - 1, 2), 2));
}

QString byteText(int value)
{
    return numtext::hexText(value & 0xFF).rightJustified(2, QLatin1Char('0'));
}

int valueOf(QStringView block, const FieldSpec &field)
{
    int value = 0;
    for (int b = field.bytes - 1; b >= 0; --b) {
        const int byte = byteAt(block, field.position + 2 * b);
        if (byte < 0)
            return -1;
        value = value * 256 + byte;
    }
    return value;
}

QString fieldText(QStringView block, const FieldSpec &field)
{
    const int value = valueOf(block, field);
    switch (field.conversion) {
    case Conversion::Plain:
        return QString::number(value);
    case Conversion::Volt:
        return numtext::shortestText(HexToVolt(value));
    case Conversion::Current:
        return numtext::shortestText(HexToCurrent(value));
    case Conversion::Percent:
        return HexToPercent(value);
    }
    return QString();
}

Device deviceOf(QStringView block)
{
    const int type = byteAt(block, TypePosition);
    if (type == 0xFF)
        return Device::Deleted;
    return type == 0 ? Device::Zx316b : Device::Other;
}

QList<Step> read(QStringView text)
{
    if (!isReadable(text))
        return {};
    using K = Step::Kind;
    QList<Step> steps {{K::ZxType, 0, ZxTypeName}};
    for (const FieldSpec &f : fields::table()) {
        steps.append({K::Field, f.index, fieldText(text, f)});
        if (f.index == fields::CurrentLimit)
            steps.append({K::CurLimOffCheck, f.index, {}});
    }
    steps.append({K::Version, 0, QString::number(byteAt(text, VersionPosition))});
    steps.append({K::ModeFlags, 0, {}, int(numtext::strictHex(text.mid(ModeDigitPosition - 1, 1), 1))});
    return steps;
}

} // namespace block
