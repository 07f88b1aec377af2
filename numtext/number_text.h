#pragma once
#include <QString>
#include <QStringView>
#include <cstdint>

// How the program reads numbers from texts and writes them back. Every field, file and
// device reply goes through these rules, so a value typed by the user, read from a
// settings file or decoded from the controller is treated the same way everywhere.
//
// Reading (leadingNumber):
//   - blanks (space, tab, CR, LF) are skipped wherever they stand: " 1 000" reads 1000;
//   - an optional sign, digits and one period as the decimal point; reading stops at the
//     first character that cannot continue the number: "5x" reads 5, "3.5.1" reads 3.5;
//   - a text beginning with "&H" (any case) is hexadecimal: "&H1B" reads 27, "&HFF" 255;
//     the value is always taken as unsigned;
//   - a text that does not begin with a number reads 0 ("", "-", ".", "x5", "&H").
//   There is no exponent form: the program never writes one.
//
// Writing:
//   - shortestText: plain decimal, at most 7 significant digits, no trailing zeros, no
//     exponent (100, 2.5, 6, 10000, 0.0001);
//   - fixedText: a fixed number of decimals ("0.0", "0" patterns), halves away from zero.
//
// Whole numbers:
//   - roundHalfEven: nearest integer, exact halves to the even neighbour (2.5 -> 2);
//   - fix: drops the fraction (toward zero).
//
// Single precision: values that the program holds as single-precision floats go through
// readSingle, so 3.55 is held as 3.5499999523... and decides rounding accordingly.
namespace numtext {

double leadingNumber(QStringView text);
float readSingle(QStringView text);

// True when the text begins with a number (after blanks), i.e. leadingNumber did not
// fall back to 0 for lack of one.
bool hasLeadingNumber(QStringView text);

// True when the whole text, blanks aside, is one number: "150", "-2.5", "3.", ".5",
// "&H1F". False for "", "5x", "-", ".", "&H", "1 a".
bool isCompleteNumber(QStringView text);

std::int64_t roundHalfEven(double value);
std::int64_t fix(double value);

QString shortestText(double value);
QString fixedText(double value, int decimals);

// Upper-case hexadecimal without leading zeros ("0", "1B", "FF"). A negative number is
// written as its 32-bit two's complement, the way a byte routine that is handed one
// would see it; callers that keep only the last two digits then get the low byte.
QString hexText(std::int64_t value);

// Exactly `count` hexadecimal digits (either case) and nothing else: the strict form
// used where a device reply must hold a plain number. Returns -1 when not.
std::int64_t strictHex(QStringView digits, int count);

} // namespace numtext
