#pragma once
#include "settings/block_layout.h"
#include "settings/field_table.h"

#include <QList>
#include <QString>
#include <QStringView>

// Reading the settings block: which bytes it holds and the texts they show as. It
// touches no widget, so the decoding can be tested and fuzzed on its own.
namespace block {

inline const QString ZxTypeName = QStringLiteral("ZX316B");

enum class Device { Zx316b, Deleted, Other };

// True when the text holds a whole block: at least 64 characters, the first 64 all
// hexadecimal digits (either case). Nothing else may be shown, kept or written back: a
// stray character copied back verbatim would reach the controller.
bool isReadable(QStringView text);

// The byte at `position` (from 1), or -1 when the text is cut off there or the two
// characters are not hexadecimal digits.
int byteAt(QStringView text, int position);

// Two upper-case hexadecimal digits of the low byte of `value`.
QString byteText(int value);

// A field's value as the block holds it (16-bit values low byte first); -1 when unreadable.
int valueOf(QStringView block, const FieldSpec &field);

// The text a field shows for its bytes in a readable block.
QString fieldText(QStringView block, const FieldSpec &field);

Device deviceOf(QStringView block);

// One thing the decoder shows, in the order it must be shown: later steps depend on
// the editor having handled earlier ones (the "Off" check reads field 7 back).
struct Step {
    enum class Kind { ZxType, Field, CurLimOffCheck, Version, ModeFlags };
    Kind kind;
    int index = 0; // field index for Kind::Field
    QString text; // text to show (ZxType, Field, Version)
    int bits = 0; // low nibble of the last byte for ModeFlags
};

// Decodes a readable block of the device's own type, field by field in index order.
// Characters after the 64th are ignored; a block that is not readable gives no steps.
QList<Step> read(QStringView block);

} // namespace block
