#pragma once
#include <QString>
#include <array>

// The thirteen settings fields: what each one is called, what it holds and how its
// editor is limited. Index is the field number used throughout (TxtData(i)); the
// table is in index order, `row` gives the order on screen.
struct FieldSpec {
    int index;
    const char *row;       // "1".."9" on the window, "H1".."H4" in the hidden frame
    const char *caption;
    const char *unit;
    float minimum;         // valid range, inclusive
    float maximum;
    int spinMinimum;       // spin limits; tenths of a volt for the battery voltage
    int spinMaximum;
    int spinStep;
    int maxLength;         // most characters the user may type
};

namespace fields {

constexpr int Count = 13;

// Fields with a special role in the editor and the block.
constexpr int LowBattery = 6;     // volts, one decimal; spin counts tenths
constexpr int CurrentLimit = 7;   // has the "Off" switch
constexpr int CurrentLimitTime = 12;

const std::array<FieldSpec, Count> &table();
const FieldSpec &row(int index);

// Hidden fields are filled and checked like the others but never written to the device.
bool isHidden(int index);

// Fields whose typed values snap to tens.
bool snapsToTens(int index);

// "lower～upper", each limit in its shortest decimal form ("2.5～6").
QString tooltip(int index);

// Field indexes in their on-screen order, top to bottom.
const std::array<int, 9> &visibleOrder();
const std::array<int, 4> &hiddenOrder();

} // namespace fields
