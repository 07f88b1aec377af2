#include "settings/conversions.h"
#include "settings/number_text.h"

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

} // namespace

QString CurrentToHex(float amperes)
{
    const double x = double(amperes) * 0.00625 * 255 / 3;
    return numtext::hexText(numtext::roundHalfEven(x));
}

float HexToCurrent(const QString &byteText)
{
    const float v = single(numtext::leadingNumber(byteText) * 3 / 0.00625 / 255);
    return single(double(numtext::fix(double(v) / 10 + 0.5)) * 10);
}

QString VoltToHex(float volts)
{
    const float x = single(double(volts) / 66.0f * 10.0f * 255.0f / 3.0f);
    return numtext::hexText(numtext::roundHalfEven(x));
}

float HexToVolt(const QString &byteText)
{
    const double y = numtext::leadingNumber(byteText) * 3 * 66 / 2550;
    return numtext::readSingle(numtext::fixedText(y, 1));
}

QString PercentToHex(float percent)
{
    const float x = single(double(percent) * 255 / 100);
    return numtext::hexText(numtext::roundHalfEven(x));
}

QString HexToPercent(const QString &byteText)
{
    return numtext::fixedText(numtext::leadingNumber(byteText) * 100 / 255, 0);
}
