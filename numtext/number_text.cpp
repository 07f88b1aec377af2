#include "numtext/number_text.h"

#include <QByteArray>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <limits>

namespace numtext {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool isDecimalDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

struct Scan {
    double value = 0;
    bool found = false; // the text begins with a number
    bool complete = false; // ... and nothing but blanks follows it
};

// Converts "[-]digits[.digits]" without the C locale's help: the process locale may use
// a decimal comma, and the program's texts always use a period.
double decimalValue(const QByteArray &canon)
{
    const char *first = canon.constData();
    const char *last = first + canon.size();
    const bool negative = *first == '-';
    if (negative)
        ++first;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: decide which by the integer part.
        bool large = false;
        for (const char *p = first; p != last && *p != '.'; ++p)
            large = large || *p != '0';
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc() || ptr != last) {
        value = 0; // cannot happen for a scanned text, but never hand back garbage
    }
    return negative ? -value : value;
}

Scan scan(QStringView t)
{
    const qsizetype n = t.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlank(t[i]))
            ++i;
    };
    skipBlanks();
    if (i + 1 < n && t[i] == u'&' && (t[i + 1] == u'H' || t[i + 1] == u'h')) {
        i += 2;
        Scan s;
        for (;;) {
            skipBlanks();
            const int d = i < n ? hexDigit(t[i]) : -1;
            if (d < 0)
                break;
            s.value = s.value * 16 + d;
            s.found = true;
            ++i;
        }
        s.complete = s.found && i == n;
        return s;
    }

    QByteArray canon;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) {
        if (t[i] == u'-')
            canon += '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (;;) {
        skipBlanks();
        if (i >= n)
            break;
        const QChar c = t[i];
        if (isDecimalDigit(c)) {
            canon += char(c.unicode());
            digits = true;
        } else if (c == u'.' && !point) {
            canon += '.';
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digits)
        return {};
    return {decimalValue(canon), true, i == n};
}

} // namespace

double leadingNumber(QStringView text)
{
    return scan(text).value;
}

float readSingle(QStringView text)
{
    const double v = leadingNumber(text);
    // Out-of-range double-to-float conversion is undefined; saturate to infinity instead.
    if (v > FLT_MAX)
        return std::numeric_limits<float>::infinity();
    if (v < -FLT_MAX)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

bool hasLeadingNumber(QStringView text)
{
    return scan(text).found;
}

bool isCompleteNumber(QStringView text)
{
    return scan(text).complete;
}

std::int64_t roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double limit = 9.2e18; // just inside the 64-bit range
    if (value >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -limit)
        return std::numeric_limits<std::int64_t>::min();
    const double floor = std::floor(value);
    const double rest = value - floor;
    auto whole = static_cast<std::int64_t>(floor);
    if (rest > 0.5 || (rest == 0.5 && whole % 2 != 0))
        ++whole;
    return whole;
}

std::int64_t fix(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double limit = 9.2e18;
    if (value >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::trunc(value));
}

QString shortestText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (value == 0)
        return QStringLiteral("0"); // also for -0

    // "d.dddddde+XX": seven correctly rounded significant digits and the exponent.
    const QString e = QString::number(std::fabs(value), 'e', 6);
    const qsizetype ePos = e.indexOf(u'e');
    QString digits = e.left(ePos).remove(u'.');
    const int exponent = e.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    const int pointPos = exponent + 1; // digits before the decimal point
    QString out;
    if (pointPos <= 0)
        out = QStringLiteral("0.") + QString(-pointPos, u'0') + digits;
    else if (pointPos >= digits.size())
        out = digits + QString(pointPos - digits.size(), u'0');
    else
        out = digits.left(pointPos) + u'.' + digits.mid(pointPos);
    return value < 0 ? u'-' + out : out;
}

QString fixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        return shortestText(value);
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    double whole = std::trunc(scaled);
    // A value meant as an exact half (2.675 with two decimals) is often a hair below it
    // in binary; treat anything that close to a half as the half and go away from zero.
    const double rest = std::fabs(scaled - whole);
    if (rest > 0.5 || std::fabs(rest - 0.5) <= 1e-9 * std::max(1.0, std::fabs(scaled)))
        whole += scaled < 0 ? -1 : 1;
    if (whole == 0)
        return QString::number(0.0, 'f', decimals);
    const QString text = QString::number(std::fabs(whole) / scale, 'f', decimals);
    return whole < 0 ? u'-' + text : text;
}

QString hexText(std::int64_t value)
{
    const auto bits = value < 0 ? static_cast<std::uint64_t>(value) & 0xFFFFFFFFu : static_cast<std::uint64_t>(value);
    return QString::number(bits, 16).toUpper();
}

std::int64_t strictHex(QStringView digits, int count)
{
    if (digits.size() != count)
        return -1;
    std::int64_t value = 0;
    for (QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0)
            return -1;
        value = value * 16 + d;
    }
    return value;
}

} // namespace numtext
