#pragma once
#include <QString>

// Conversions between the physical units shown in the fields and the byte values the
// controller keeps. The steps held in single precision are deliberate: they decide how
// the exact halves fall (3.3 V lands on 42.5 and rounds to 42), and the controller's
// own tool wrote its bytes that way, so a read-back compares equal.
//
// The *ToHex routines return upper-case hexadecimal without leading zeros ("0", "1B",
// "FF"); callers pad to two digits. The HexTo* routines read their argument with the
// number-text rules, so "&H1B" and "27" both mean 27 and a text that is not a number
// means 0.

// amperes -> byte; 255 stands for 480 A, one step is about 1.88 A.
QString CurrentToHex(float amperes);
// byte -> amperes rounded to a multiple of 10 (0xFF gives 480, the "limiter off" code).
float HexToCurrent(const QString &byteText);

// volts -> byte; 255 stands for 19.8 V.
QString VoltToHex(float volts);
// byte -> volts with one decimal (0x40 gives 5, not 4.969...).
float HexToVolt(const QString &byteText);

// percent -> byte; 255 stands for 100 %.
QString PercentToHex(float percent);
// byte -> percent as a whole-number text ("50").
QString HexToPercent(const QString &byteText);
