#pragma once
#include <QString>

// The controller's 32 settings bytes travel as 64 hexadecimal characters, byte n at
// characters 2n and 2n+1 (counted from 0), high nibble first.
namespace zxsim {

constexpr int SettingsBlockLength = 64;
constexpr int DeviceTypeByte = 29;
constexpr int RomVersionByte = 30;

// The block a controller holds after "restore defaults": 2000/8000 Hz, neutral 1520 us,
// dead band 6 us, 5.0 V cut-off, 200 A limiter, and so on, carrying the given device type
// and ROM version in bytes 29 and 30.
QString defaultSettingsBlock(int romVersion, int deviceType = 0);

// `block` with byte `index` set to `value` (upper-case hex). A block too short to hold that
// byte is returned unchanged, so a deliberately odd block set by a test survives.
QString withByte(const QString &block, int index, int value);

} // namespace zxsim
