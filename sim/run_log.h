#pragma once
#include <QByteArray>
#include <array>

// One second of the controller's run log: battery voltage and motor current as the
// controller stores them, one byte each; 0xFF marks a missing value.
struct RunSample {
    quint8 voltage = 0xFF;
    quint8 current = 0xFF;
    bool operator==(const RunSample &) const = default;
};

constexpr int RunLogSamples = 512;
using RunLog = std::array<RunSample, RunLogSamples>;

namespace zxsim {

// Byte values the controller records for a measurement; they are the exact inverse of the
// program's conversions (255 is 19.8 V, 255 is 480 A). Clamped to 0..254 because 255 would
// read as "missing".
quint8 voltageByte(double volts);
quint8 currentByte(double amperes);

// An erased log: every sample missing.
RunLog emptyRunLog();

// A five-minute run (300 samples, the rest missing) of a 2-cell pack: bursts of full
// throttle up to about 200 A, the voltage sagging under load and recovering between them,
// slowly falling from 8.4 V as the pack drains. Always the same log.
RunLog demoRunLog();

// The log as the controller sends it: 512 x (voltage, current), 2048 upper-case hex digits.
QByteArray runLogHex(const RunLog &log);

} // namespace zxsim
