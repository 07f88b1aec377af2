#include "settings/conversions.h"
#include "numtext/number_text.h"

#include <cfloat>
#include <cmath>

namespace {

// Rounds an intermediate result to single precision; saturates instead of invoking the
// undefined out-of-range conversion.
float single(double v)
{
    if (v > FLT_MAX)
        return INFINITY;
    if (v < -FLT_MAX)
        return -INFINITY;
    return static_cast<float>(v);
}

// Halves to even; the low eight bits are the byte, as the controller keeps it.
int roundedByte(double x)
{
    return int(numtext::roundHalfEven(x) & 0xFF);
}

} // namespace

int CurrentToHex(float amperes)
{
    return roundedByte(double(amperes) * 0.00625 * 255 / 3);
}

float HexToCurrent(int byte)
{
    const float v = single(double(byte) * 3 / 0.00625 / 255);
    return single(double(numtext::fix(double(v) / 10 + 0.5)) * 10);
}

int VoltToHex(float volts)
{
    return roundedByte(single(double(volts) / 66.0f * 10.0f * 255.0f / 3.0f));
}

float HexToVolt(int byte)
{
    return numtext::readSingle(numtext::fixedText(double(byte) * 3 * 66 / 2550, 1));
}

int PercentToHex(float percent)
{
    return roundedByte(single(double(percent) * 255 / 100));
}

QString HexToPercent(int byte)
{
    return numtext::fixedText(double(byte) * 100 / 255, 0);
}
