#include "settings/settings_block.h"
#include "settings/conversions.h"
#include "settings/number_text.h"

namespace block {
namespace {

QString hexPrefixed(QStringView chars)
{
    return QStringLiteral("&H") + chars.toString();
}

// Collects the steps in order; a plain-number position that does not hold hexadecimal
// digits only ends the reading there.
struct Reader {
    QStringView block;
    Reading out{{}, true};

    void show(const Step &step)
    {
        if (out.complete)
            out.steps.append(step);
    }
    // `bytes` bytes from `position`, low byte first, shown in decimal.
    void plain(Step::Kind kind, int index, int position, int bytes = 1)
    {
        QString digits;
        for (int b = bytes - 1; b >= 0; --b)
            digits += byteChars(block, position + 2 * b);
        const auto value = numtext::strictHex(digits, 2 * bytes);
        if (value < 0)
            out.complete = false;
        show({kind, index, QString::number(value)});
    }
    QString converted(int position) const { return hexPrefixed(byteChars(block, position)); }
};

} // namespace

QString byteChars(QStringView block, int position)
{
    return block.mid(position - 1, 2).toString();
}

int lenientByte(QStringView block, int position)
{
    return int(numtext::leadingNumber(hexPrefixed(byteChars(block, position))));
}

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

Device deviceOf(QStringView block)
{
    const int type = lenientByte(block, TypePosition);
    if (type == 0xFF)
        return Device::Deleted;
    return type == 0 ? Device::Zx316b : Device::Other;
}

Reading read(QStringView text)
{
    if (text.size() < Length)
        return {};
    using K = Step::Kind;
    Reader r{text.left(Length)};
    r.show({K::ZxType, 0, ZxTypeName});
    for (int i = 0; i <= 4; ++i)
        r.plain(K::Field, i, 4 * i + 1, 2);
    r.plain(K::Field, 5, 33);
    r.show({K::Field, 6, numtext::shortestText(HexToVolt(r.converted(35)))});
    r.show({K::Field, 7, numtext::shortestText(HexToCurrent(r.converted(39)))});
    r.show({K::CurLimOffCheck, 7, {}});
    r.plain(K::Field, 8, 41);
    r.plain(K::Field, 9, 43);
    r.show({K::Field, 10, HexToPercent(r.converted(45))});
    r.plain(K::Field, 11, 47);
    r.show({K::Field, 12, numtext::shortestText(HexToCurrent(r.converted(49)))});
    r.plain(K::Version, 0, VersionPosition);
    const auto mode = numtext::strictHex(text.mid(ModeDigitPosition - 1, 1), 1);
    if (mode < 0)
        r.out.complete = false;
    r.show({K::ModeFlags, 0, {}, int(mode)});
    return r.out;
}

} // namespace block
