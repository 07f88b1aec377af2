#pragma once
#include <QString>
#include <array>

// How a field's bytes in the block become the number shown, and back.
enum class Conversion {
    Plain, // the value itself, one byte or a 16-bit value
    Volt, // HexToVolt / VoltToHex
    Current, // HexToCurrent / CurrentToHex
    Percent, // HexToPercent / PercentToHex
};

// One settings field: what it is called, what it holds, where it sits in the block and
// how its editor is limited. Reading a block and building one both walk this table, so
// a new field is one row.
struct FieldSpec {
    int index;
    const char *row; // "1".."9" on the window, "H1".."H4" in the hidden frame
    const char *caption;
    const char *unit;
    float minimum; // valid range, inclusive
    float maximum;
    int spinMinimum; // spin limits; tenths of a volt for the battery voltage
    int spinMaximum;
    int spinStep; // a field stepped by 10 also snaps typed values to tens
    int maxLength; // most characters the user may type
    int position; // first character of its bytes in the block (from 1)
    int bytes; // 1, or 2 for a 16-bit value (low byte first)
    Conversion conversion;

    // Hidden fields sit in the hidden frame: read and checked like the others, but
    // written back exactly as the controller sent them.
    bool isHidden() const { return row[0] == 'H'; }
    bool snapsToTens() const { return spinStep == 10; }
};

namespace fields {

constexpr int Count = 13;

// Fields with a special role in the editor and the block.
constexpr int LowBattery = 6; // volts, one decimal; spin counts tenths
constexpr int CurrentLimit = 7; // has the "Off" switch

const std::array<FieldSpec, Count> &table();
const FieldSpec &row(int index);

// "lower～upper", each limit in its shortest decimal form ("2.5～6").
QString tooltip(int index);

// Field indexes in their on-screen order, top to bottom.
const std::array<int, 9> &visibleOrder();
const std::array<int, 4> &hiddenOrder();

// The caption of mode flag `bit` (0..3) of the block's last byte: "Virgin Bit",
// "Reverse Mode", "Rev Cancel", "Lipo Mode".
constexpr int ModeFlagCount = 4;
QString modeCaption(int bit);

} // namespace fields
