#pragma once
#include <QString>
#include <optional>

// The rules a settings field applies to a value put into it, free of any widget, so the
// window's editor and the command line judge a value alike:
// - the two current-limit fields take a two-digit entry from 50 or a three-digit entry up
//   to 399 to the nearest ten;
// - a value is valid inside the field's inclusive range;
// - a valid value moves the spin button to its whole-number position (tenths of a volt for
//   the battery voltage), and a spin position is written back as the field's text;
// - the controller reports the current limiter off as 480 A; switched back on, the field
//   shows its upper limit instead.
namespace fieldrules {

// What a text snaps to in a field stepped by ten, or nothing when it stays as typed.
std::optional<QString> snappedText(int index, const QString &text);

bool inRange(int index, float value);

// The spin position of a valid value (halves to the even neighbour).
int spinValue(int index, float value);
// The text a spin position stands for: the value itself, or tenths of a volt.
QString spinText(int index, int spin);

// The number the limiter field holds when the limiter is reported off.
constexpr float LimiterOffCurrent = 480.0f;
// What the limiter field shows again when switched back on after holding `kept`.
float currentLimitWhenOn(float kept);

// A text typed into a field as the editor leaves it: snapped to tens where the field does
// that, then, when valid, put on its spin position (3.57 V becomes 3.6). A text that is
// empty or ends in a period is left as it is, as the editor leaves a number being typed.
struct Entry {
    QString text;
    bool valid = false;
};
Entry typed(int index, const QString &text);

} // namespace fieldrules
