#include "sim/run_log.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace zxsim {

namespace {

quint8 clampedByte(double value)
{
    return quint8(std::clamp<long>(std::lround(value), 0, 254));
}

// A fixed-seed generator mapped by hand to [0, 1): the standard distributions may differ
// between library versions, and the demo log must be the same everywhere.
class Dice {
public:
    double next() { return double(m_engine()) / 4294967296.0; }
    double between(double low, double high) { return low + (high - low) * next(); }
    int between(int low, int high) { return low + int(next() * (high - low + 1)); }

private:
    std::mt19937 m_engine {316};
};

// Current drawn each second: an idle start, bursts with a short ramp, cruising between
// them, and a quiet landing at the end.
std::array<double, 300> throttleProfile(Dice &dice)
{
    std::array<double, 300> amps {};
    int t = 10;
    for (int i = 0; i < t; ++i)
        amps[i] = dice.between(0.0, 2.0);
    while (t < 285) {
        const int burst = dice.between(4, 12);
        const double peak = dice.between(120.0, 200.0);
        for (int i = 0; i < burst && t < 285; ++i, ++t) {
            const double ramp = i == 0 ? 0.45 : 1.0;
            amps[t] = std::min(200.0, peak * ramp * dice.between(0.93, 1.0));
        }
        const int cruise = dice.between(3, 10);
        for (int i = 0; i < cruise && t < 285; ++i, ++t)
            amps[t] = dice.between(5.0, 20.0);
    }
    for (; t < 300; ++t)
        amps[t] = t < 290 ? dice.between(0.0, 5.0) : 0.0;
    return amps;
}

} // namespace

quint8 voltageByte(double volts)
{
    return clampedByte(volts * 2550.0 / (3.0 * 66.0));
}

quint8 currentByte(double amperes)
{
    return clampedByte(amperes * 0.00625 * 255.0 / 3.0);
}

RunLog emptyRunLog()
{
    return RunLog {};
}

RunLog demoRunLog()
{
    Dice dice;
    const std::array<double, 300> amps = throttleProfile(dice);
    RunLog log = emptyRunLog();
    // The pack's internal resistance sags the voltage under load; the sag builds and
    // recovers over a few seconds rather than following the current instantly.
    constexpr double resistance = 0.0023;
    double sag = 0.0;
    for (int t = 0; t < 300; ++t) {
        const double rest = 8.4 - 0.5 * t / 300.0;
        sag += (amps[t] * resistance - sag) * 0.6;
        log[t].voltage = voltageByte(rest - sag + dice.between(-0.02, 0.02));
        log[t].current = currentByte(amps[t]);
    }
    return log;
}

QByteArray runLogHex(const RunLog &log)
{
    QByteArray raw;
    raw.reserve(2 * RunLogSamples);
    for (const RunSample &sample : log) {
        raw.append(char(sample.voltage));
        raw.append(char(sample.current));
    }
    return raw.toHex().toUpper();
}

} // namespace zxsim
