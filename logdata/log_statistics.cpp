#include "log_statistics.h"

#include <cstddef>

LogStatistics computeStatistics(const LogStore &store)
{
    LogStatistics s;
    double voltSum = 0;
    double curSum = 0;
    double wattSeconds = 0;
    int last = -1; // the last second holding a value
    int partial = 0; // seconds with exactly one of the two values, up to `last`
    int none = 0; // seconds with neither, before `last`
    int noneRun = 0; // seconds with neither since the last one that held a value
    for (int t = 0; t < LogStore::SampleCount; ++t) {
        const float volts = store.VoltData[std::size_t(t)];
        const float amps = store.CurData[std::size_t(t)];
        const bool hasV = volts != LogStore::Missing;
        const bool hasI = amps != LogStore::Missing;
        const double v = volts;
        const double i = amps;
        if (!hasV && !hasI) {
            ++noneRun;
            continue;
        }
        none += noneRun;
        noneRun = 0;
        last = t;
        ++s.seconds;
        if (hasV != hasI)
            ++partial;
        if (hasV) {
            if (s.voltSamples == 0 || v < s.voltMin) {
                s.voltMin = v;
                s.voltMinAt = t;
            }
            if (s.voltSamples == 0 || v > s.voltMax)
                s.voltMax = v;
            voltSum += v;
            ++s.voltSamples;
        }
        if (hasI) {
            if (s.curSamples == 0 || i > s.curPeak) {
                s.curPeak = i;
                s.curPeakAt = t;
            }
            curSum += i;
            ++s.curSamples;
        }
        if (hasV && hasI)
            wattSeconds += v * i;
    }
    if (last < 0)
        return s;
    s.missing = none + partial;
    if (s.voltSamples > 0)
        s.voltAvg = voltSum / s.voltSamples;
    if (s.curSamples > 0)
        s.curAvg = curSum / s.curSamples;
    // One sample is one second: A x s / 3.6 = mAh, W x s / 3600 = Wh.
    s.chargeMah = curSum / 3.6;
    s.energyWh = wattSeconds / 3600;
    return s;
}
