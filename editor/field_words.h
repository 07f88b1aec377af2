#pragma once
#include <QString>

// How a settings field is put into words for a screen reader: its unit spelt out and
// its range, "hertz, 100 to 10000", where the screen shows "Hz" and "100～10000".
namespace fieldwords {

// "hertz", "microseconds", "volts", "amperes", "seconds", "percent".
QString unit(int index);
// "hertz, 100 to 10000"; with `changeMark`, that is appended: "…, changed, was 2000".
QString description(int index, const QString &changeMark = QString());
// "Increase PWM frequency(at Min. load)" and "Decrease …" for the spin button's arrows.
QString increase(int index);
QString decrease(int index);

} // namespace fieldwords
