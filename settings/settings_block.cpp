#include "settings/settings_block.h"
#include "settings/conversions.h"
#include "settings/number_text.h"

namespace block {
namespace {

QString hexPrefixed(QStringView chars)
{
    return QStringLiteral("&H") + chars.toString();
}

// Builds the step list, stopping at the first plain-number position that does not hold
// hexadecimal digits only.
class Reader {
public:
    explicit Reader(QStringView block) : m_block(block) {}

    void show(Step::Kind kind, int index, const QString &text, int bits = 0)
    {
        if (m_ok)
            m_steps.append({kind, index, text, bits});
    }
    // Plain number of `bytes` bytes starting at `position`, low byte first.
    bool plain(int position, int bytes, QString *text)
    {
        QString digits;
        for (int b = bytes - 1; b >= 0; --b)
            digits += byteChars(m_block, position + 2 * b);
        const auto value = numtext::strictHex(digits, 2 * bytes);
        if (value < 0)
            m_ok = false;
        else
            *text = QString::number(value);
        return m_ok;
    }
    void plainField(int index, int position, int bytes = 1)
    {
        QString text;
        if (m_ok && plain(position, bytes, &text))
            show(Step::Kind::Field, index, text);
    }
    QString converted(int position) const { return hexPrefixed(byteChars(m_block, position)); }

    QStringView m_block;
    QList<Step> m_steps;
    bool m_ok = true;
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
    Reader r(text.left(Length));
    r.show(Step::Kind::ZxType, 0, ZxTypeName);
    for (int i = 0; i <= 4; ++i)
        r.plainField(i, 4 * i + 1, 2);
    r.plainField(5, 33);
    r.show(Step::Kind::Field, 6, numtext::shortestText(HexToVolt(r.converted(35))));
    r.show(Step::Kind::Field, 7, numtext::shortestText(HexToCurrent(r.converted(39))));
    r.show(Step::Kind::CurLimOffCheck, 7, {});
    r.plainField(8, 41);
    r.plainField(9, 43);
    r.show(Step::Kind::Field, 10, HexToPercent(r.converted(45)));
    r.plainField(11, 47);
    r.show(Step::Kind::Field, 12, numtext::shortestText(HexToCurrent(r.converted(49))));
    QString version;
    if (r.m_ok && r.plain(VersionPosition, 1, &version))
        r.show(Step::Kind::Version, 0, version);
    const auto mode = numtext::strictHex(text.mid(ModeDigitPosition - 1, 1), 1);
    if (mode < 0)
        r.m_ok = false;
    r.show(Step::Kind::ModeFlags, 0, {}, int(mode));
    return {r.m_steps, r.m_ok};
}

} // namespace block
