#pragma once
#include "settings/conversions.h"

#include <QString>
#include <cmath>

// A run-data reply as a controller sends it after a five-minute run: the pack sags under
// each burst of current and drifts down as it empties; the log stops after 300 s, so the
// later samples carry no value (FF).
inline QString realisticRunDataReply()
{
    auto pad = [](const QString &hex) { return (QStringLiteral("0") + hex).right(2); };
    QString reply = QStringLiteral("br");
    quint32 seed = 316;
    auto noise = [&seed] { // small deterministic jitter, -0.5 .. 0.5
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1u << 24) - 0.5;
    };
    for (int t = 0; t < 512; ++t) {
        if (t > 300) {
            reply += QStringLiteral("FFFF");
            continue;
        }
        // Bursts: a straight every 20 s or so, hardest in the middle of the run.
        const double phase = std::fmod(t + 7.0, 21.0);
        const double burst = phase < 6 ? (1.0 - phase / 6.0) : 0.0;
        const double effort = 0.55 + 0.45 * std::sin(M_PI * t / 300.0);
        double amps = t < 8 ? 0.0 : 12 + 250 * burst * effort + 6 * noise();
        if (t == 300)
            amps = 0;
        const double rest = 8.4 - 1.2 * t / 300.0 - 0.3 * std::pow(t / 300.0, 4);
        const double volts = rest - amps * 0.0075 + 0.04 * noise();
        reply += pad(VoltToHex(float(volts))) + pad(CurrentToHex(float(std::max(0.0, amps))));
    }
    return reply + QLatin1Char('\r');
}
