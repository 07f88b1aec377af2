#pragma once
#include <QString>

struct LogStatistics;

// The texts of the log window's status strip. Volts carry two decimals, amperes one,
// mAh none and Wh two. Each item keeps its words together; lines break between items.
namespace striptext {

// "No data" for a log without a single value.
QString statistics(const LogStatistics &s);
// Charge and energy of this run beside those of the run it is compared with.
QString comparison(const LogStatistics &run, const LogStatistics &other);
// "132 s", a line end, then "7.20 V   120.0 A"; "-" stands for a missing value.
QString cursor(int second, float volts, float amps);

} // namespace striptext
