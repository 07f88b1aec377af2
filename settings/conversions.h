#pragma once
#include <QString>

// Conversions between the physical units shown in the fields and the byte values the
// controller keeps. The steps held in single precision are deliberate: they decide how
// the exact halves fall (3.3 V lands on 42.5 and rounds to 42), and the controller's
// own tool wrote its bytes that way, so a read-back compares equal.
//
// The *ToHex routines return the byte: the rounded value's low eight bits (the fields
// are range-checked before a value outside 0..255 could get here).
// The HexTo* routines take the byte as the block or the run log holds it.

// amperes -> byte; 255 stands for 480 A, one step is about 1.88 A.
int CurrentToHex(float amperes);
// byte -> amperes rounded to a multiple of 10 (0xFF gives 480, the "limiter off" code).
float HexToCurrent(int byte);

// volts -> byte; 255 stands for 19.8 V.
int VoltToHex(float volts);
// byte -> volts with one decimal (0x40 gives 5, not 4.969...).
float HexToVolt(int byte);

// percent -> byte; 255 stands for 100 %.
int PercentToHex(float percent);
// byte -> percent as a whole-number text ("50").
QString HexToPercent(int byte);
