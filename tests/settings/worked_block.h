#pragma once
#include "settings/block_assembly.h"
#include "settings/settings_block.h"

#include <algorithm>

// The block the settings tests share, and what its fields show.
namespace worked {
inline const QString Block = QStringLiteral("D007401FF0054C046C070000000000000640556A6432330A500085C80000030A");
inline assembly::FieldTexts fieldTexts()
{
    return {"2000", "8000", "1520", "1100", "1900", "6", "5", "200", "100", "50", "20", "10", "150"};
}

// The worked block with `chars` put in at character `position` (from 1).
inline QString with(int position, const QString &chars)
{
    return QString(Block).replace(position - 1, chars.size(), chars);
}

// The worked block with `value` stored where the device keeps hidden field `field`.
inline QString withPlainValue(int field, int value)
{
    const QString hex = QString::number(value, 16).toUpper().rightJustified(4, u'0');
    return field == 9 ? with(43, hex.right(2)) : with(4 * field + 1, hex.right(2) + hex.left(2));
}

// The text a reading shows in one field (null when it never reaches the field).
inline QString shownField(const QList<block::Step> &r, int field)
{
    const auto it = std::find_if(r.begin(), r.end(), [&](const block::Step &s) {
        return s.kind == block::Step::Kind::Field && s.index == field;
    });
    return it == r.end() ? QString() : it->text;
}
} // namespace worked
