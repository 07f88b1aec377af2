#include "settings/block_assembly.h"
#include "settings/conversions.h"
#include "numtext/number_text.h"
#include "settings/settings_block.h"

namespace assembly {
namespace {

// The byte (or 16-bit value) a field's text stands for, as the block keeps it.
int encoded(const FieldSpec &f, const QString &text)
{
    const float value = numtext::readSingle(text);
    switch (f.conversion) {
    case Conversion::Plain:
        return int(numtext::roundHalfEven(numtext::leadingNumber(text)) & 0xFFFF);
    case Conversion::Volt:
        return VoltToHex(value);
    case Conversion::Current:
        return CurrentToHex(value);
    case Conversion::Percent:
        return PercentToHex(value);
    }
    return 0;
}

void put(QString &out, int position, int bytes, int value)
{
    for (int b = 0; b < bytes; ++b)
        out.replace(position - 1 + 2 * b, 2, block::byteText(value >> (8 * b)));
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
    return block::isReadable(block);
}

QString build(const FieldTexts &t, bool curLimOff, QStringView source)
{
    // Everything the tool does not own stays as the controller wrote it, letter case included.
    QString out = source.left(block::Length).toString();
    for (const block::FixedBytes &fixed : block::Fixed)
        out.replace(fixed.position - 1, int(qstrlen(fixed.text)), QLatin1String(fixed.text));
    for (const FieldSpec &f : fields::table()) {
        if (f.isHidden())
            continue;
        const bool off = f.index == fields::CurrentLimit && curLimOff;
        put(out, f.position, f.bytes, off ? 0xFF : encoded(f, t[size_t(f.index)]));
    }
    return out;
}

} // namespace assembly
