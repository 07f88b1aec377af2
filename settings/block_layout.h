#pragma once

// Where things sit in the controller's settings block. The 32 bytes always travel as 64
// hexadecimal characters: byte n at characters 2n+1 and 2n+2 (counted from 1), high
// nibble first, 16-bit values low byte first. Positions below count characters from 1.
namespace block {

constexpr int Length = 64;

// What the controller sends for "sr": its echo, the block and two more characters, one
// of them the closing carriage return.
constexpr int ReplyLength = 68;

constexpr int TypePosition = 59; // device type byte: 00 this controller, FF deleted
constexpr int VersionPosition = 61; // ROM version byte
constexpr int ModeDigitPosition = 64; // low nibble of the last byte: the four mode flags

// Bytes the controller expects to hold fixed values; the tool writes them as given.
struct FixedBytes {
    int position;
    const char *text;
};
// 21..32: six unused 16-bit values; 37: a constant the controller keeps; 51..56: the
// limiter's fixed settings (0, 250 A, 200).
inline constexpr FixedBytes Fixed[] = {{21, "000000000000"}, {37, "55"}, {51, "00"}, {53, "85"}, {55, "C8"}};

} // namespace block
