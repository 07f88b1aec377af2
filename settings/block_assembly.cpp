#include "settings/block_assembly.h"
#include "settings/conversions.h"
#include "settings/number_text.h"
#include "settings/settings_block.h"

namespace assembly {
namespace {

QString lastChars(const QString &text, int count)
{
    return text.right(count);
}

// Rounded to a whole number, halves to even: 2.5 becomes 2.
QString numberAsHex(const QString &text)
{
    return numtext::hexText(numtext::roundHalfEven(numtext::leadingNumber(text)));
}

QString byte(const QString &hex)
{
    return lastChars(QLatin1Char('0') + hex, 2);
}

// Four digits high byte first, then swapped to low byte first.
QString word(const QString &hex)
{
    const QString four = lastChars(QStringLiteral("000") + hex, 4);
    return four.mid(2, 2) + four.left(2);
}

QString copied(QStringView source, int from, int to)
{
    return source.mid(from - 1, to - from + 1).toString();
}

} // namespace

int firstUnusableField(const FieldStates &states, bool curLimOff)
{
    for (int i = 0; i < fields::Count; ++i) {
        if (i == fields::CurrentLimit && curLimOff)
            continue;
        const FieldState &f = states[size_t(i)];
        if (f.text.isEmpty() || f.red || !numtext::isCompleteNumber(f.text))
            return i;
        const float v = numtext::readSingle(f.text);
        const FieldSpec &s = fields::row(i);
        if (!(v >= s.minimum && v <= s.maximum))
            return i;
    }
    return -1;
}

bool isCopySource(QStringView block)
{
    return block.size() >= block::Length;
}

QString build(const FieldTexts &t, bool curLimOff, QStringView source)
{
    auto single = [&](int i) { return numtext::readSingle(t[size_t(i)]); };
    QString out;
    out.reserve(block::Length);
    out += word(numberAsHex(t[0]));
    out += word(numberAsHex(t[1]));
    out += copied(source, 9, 20); // neutral and high points: never taken from the fields
    out += QStringLiteral("000000000000");
    out += byte(numberAsHex(t[5]));
    out += byte(VoltToHex(single(6)));
    out += QStringLiteral("55");
    out += curLimOff ? QStringLiteral("FF") : byte(CurrentToHex(single(7)));
    out += byte(numberAsHex(t[8]));
    out += copied(source, 43, 44); // reverse maximum duty
    out += byte(PercentToHex(single(10)));
    out += byte(numberAsHex(t[11]));
    out += byte(CurrentToHex(single(12)));
    out += QStringLiteral("00");
    out += byte(CurrentToHex(250));
    out += QStringLiteral("C8");
    out += copied(source, 57, 64); // unknown byte, device type, ROM version, mode flags
    return out;
}

} // namespace assembly
