#pragma once
#include <QString>

struct LogStatistics;

// The texts of the log window's status strip. Volts carry two decimals, amperes one,
// mAh none and Wh two. Each item keeps its words together; lines break between items.
namespace striptext {

// "No data" for a log without a single value. With `compared`, charge and energy are
// given for both runs side by side: "10067 mAh vs 12080 mAh · 67.92 Wh vs 78.10 Wh".
QString statistics(const LogStatistics &s, const LogStatistics *compared = nullptr);
// "132 s", a line end, then "7.20 V  120.0 A"; "-" stands for a missing value.
QString cursor(int second, float volts, float amps);

} // namespace striptext
