#include "settings/field_rules.h"
#include "numtext/number_text.h"
#include "settings/field_table.h"

namespace fieldrules {

std::optional<QString> snappedText(int index, const QString &text)
{
    if (!fields::row(index).snapsToTens())
        return std::nullopt;
    // Two-digit entries 50..99 and three-digit entries up to 399 are taken as meant to the
    // nearest ten; 10..49 are left as typed, they may be the start of 100..499.
    const double first = numtext::leadingNumber(text.left(1));
    if (!((text.size() == 2 && first >= 5) || (text.size() == 3 && first <= 3)))
        return std::nullopt;
    const float v = numtext::readSingle(text);
    return numtext::shortestText(float(double(numtext::fix(double(v) / 10 + 0.5)) * 10));
}

bool inRange(int index, float value)
{
    const FieldSpec &s = fields::row(index);
    return s.minimum <= value && value <= s.maximum;
}

int spinValue(int index, float value)
{
    // Works on the single-precision value: 3.55 is held just below 3.55 and gives 35.
    const double spin = index == fields::LowBattery ? double(value) * 10 : double(value);
    return int(numtext::roundHalfEven(spin));
}

QString spinText(int index, int spin)
{
    return index == fields::LowBattery ? numtext::shortestText(spin / 10.0) : QString::number(spin);
}

float currentLimitWhenOn(float kept)
{
    return kept == LimiterOffCurrent ? fields::row(fields::CurrentLimit).maximum : kept;
}

Entry typed(int index, const QString &text)
{
    Entry e {text, false};
    if (text.isEmpty() || text.endsWith(u'.')) {
        e.valid = numtext::isCompleteNumber(text) && inRange(index, numtext::readSingle(text));
        return e;
    }
    if (const auto snapped = snappedText(index, text))
        e.text = *snapped;
    const float v = numtext::readSingle(e.text);
    e.valid = inRange(index, v);
    if (e.valid)
        e.text = spinText(index, spinValue(index, v));
    return e;
}

} // namespace fieldrules
