#pragma once
#include "settings/block_assembly.h"
#include "settings/settings_block.h"
#include <QString>

// The block used as the common example throughout the settings tests, and what its
// fields show.
namespace worked {

inline const QString Block = QStringLiteral("D007401FF0054C046C070000000000000640556A6432330A500085C80000030A");

inline assembly::FieldTexts fieldTexts()
{
    return {"2000", "8000", "1520", "1100", "1900", "6", "5", "200", "100", "50", "20", "10", "150"};
}

// The worked block with `value` stored where the device keeps hidden field `field`.
inline QString withPlainValue(int field, int value)
{
    const int position = field == 9 ? 43 : 4 * field + 1;
    const int bytes = field == 9 ? 1 : 2;
    QString out = Block;
    for (int b = 0; b < bytes; ++b)
        out.replace(position - 1 + 2 * b, 2, QString::number((value >> (8 * b)) & 0xFF, 16).rightJustified(2, u'0').toUpper());
    return out;
}

// The text a reading shows in one field (null when it never reaches the field).
inline QString shownField(const block::Reading &r, int field)
{
    for (const block::Step &s : r.steps)
        if (s.kind == block::Step::Kind::Field && s.index == field)
            return s.text;
    return {};
}

} // namespace worked
