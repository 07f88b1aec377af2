#pragma once
#include <QString>

struct LogStatistics;

// The run in one sentence, for those who cannot see the graph: how long it holds data,
// the battery voltage's range, the current's peak and average, and the charge drawn.
// "Run of 300 s: voltage 7.20 to 8.40 V, lowest at 135 s; current peak 120.0 A at
// 35 s, average 40.0 A; 1234 mAh drawn."
QString graphSummary(const LogStatistics &s);
