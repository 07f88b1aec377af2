#pragma once
#include <QList>
#include <QString>
#include <QStringView>

// The controller's 32-byte settings block as it travels: 64 hexadecimal characters,
// byte n at characters 2n+1 and 2n+2 (counted from 1), high nibble first, 16-bit values
// low byte first. This file knows where each value sits and how to read it; it touches
// no widget, so the decoding can be tested and fuzzed on its own.
namespace block {

constexpr int Length = 64;
constexpr int TypePosition = 59;    // device type byte
constexpr int VersionPosition = 61; // ROM version byte
constexpr int ModeDigitPosition = 64;

inline const QString ZxTypeName = QStringLiteral("ZX316B");

enum class Device { Zx316b, Deleted, Other };

// The two characters of the byte at `position` (1-based); fewer at the end of a short text.
QString byteChars(QStringView block, int position);

// The byte at `position` read leniently: "&H" and its two characters read as a number,
// so characters that are not hexadecimal digits read as 0. The type byte and the bytes
// shown through a unit conversion are read this way.
int lenientByte(QStringView block, int position);

Device deviceOf(QStringView block);

// True when the text holds a whole block: at least 64 characters, the first 64 all
// hexadecimal digits (either case). Nothing else may be shown, kept or written back: a
// stray character copied back verbatim would reach the controller.
bool isReadable(QStringView text);

// One thing the decoder shows, in the order it must be shown: later steps depend on
// the editor having handled earlier ones (the "Off" check reads field 7 back).
struct Step {
    enum class Kind { ZxType, Field, CurLimOffCheck, Version, ModeFlags };
    Kind kind;
    int index = 0; // field index for Kind::Field
    QString text;  // text to show (ZxType, Field, Version)
    int bits = 0;  // low nibble of the last byte for ModeFlags
};

struct Reading {
    QList<Step> steps;
    // False when a position read as a plain number held a character that is not a
    // hexadecimal digit; `steps` then ends just before the field that could not be read.
    bool complete = false;
};

// Decodes a block of the device's own type. Characters after the 64th are ignored; a
// text shorter than 64 characters gives no steps and is not complete.
Reading read(QStringView block);

} // namespace block
