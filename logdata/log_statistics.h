#pragma once
#include "log_store.h"

// What a modeller reads off a run: how long it held data, how low the pack sagged, how
// hard the motor pulled, and what the run took out of the pack. Plain arithmetic on the
// store, with no widget or picture behind it, so any front end can print it.
struct LogStatistics {
    int seconds = 0; // seconds that hold a voltage, a current or both
    int missing = 0; // seconds up to the last one holding a value that lack one or both

    int voltSamples = 0;
    double voltMin = 0;
    int voltMinAt = 0; // second of the first lowest voltage
    double voltAvg = 0;
    double voltMax = 0;

    int curSamples = 0;
    double curPeak = 0;
    int curPeakAt = 0; // second of the first highest current
    double curAvg = 0;

    double chargeMah = 0; // sum of current x 1 s over the seconds holding a current, in mAh
    double energyWh = 0; // sum of voltage x current x 1 s over the seconds holding both, in Wh

    bool empty() const { return seconds == 0; }
};

LogStatistics computeStatistics(const LogStore &store);
