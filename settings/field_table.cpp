#include "settings/field_table.h"

#include <QtGlobal>
#include "numtext/number_text.h"

namespace fields {
namespace {

using C = Conversion;

// clang-format off
constexpr std::array<FieldSpec, Count> kTable{{
    { 0, "1",  QT_TRANSLATE_NOOP("SettingsEditor", "PWM frequency(at Min. load)"), QT_TRANSLATE_NOOP("SettingsEditor", "Hz"),  100.0f, 10000.0f,  100, 10000,  1, 5,  1, 2, C::Plain},
    { 1, "2",  QT_TRANSLATE_NOOP("SettingsEditor", "PWM frequency(at Max. load)"), QT_TRANSLATE_NOOP("SettingsEditor", "Hz"),  100.0f, 10000.0f,  100, 10000,  1, 5,  5, 2, C::Plain},
    { 2, "H1", QT_TRANSLATE_NOOP("SettingsEditor", "Neutral"),                     QT_TRANSLATE_NOOP("SettingsEditor", "uS"), 1020.0f,  2020.0f, 1020,  2020,  1, 4,  9, 2, C::Plain},
    { 3, "H2", QT_TRANSLATE_NOOP("SettingsEditor", "High point(forward)"),         QT_TRANSLATE_NOOP("SettingsEditor", "uS"),  720.0f,  2320.0f,  720,  2320,  1, 4, 13, 2, C::Plain},
    { 4, "H3", QT_TRANSLATE_NOOP("SettingsEditor", "High point(brake)"),           QT_TRANSLATE_NOOP("SettingsEditor", "uS"),  720.0f,  2320.0f,  720,  2320,  1, 4, 17, 2, C::Plain},
    { 5, "3",  QT_TRANSLATE_NOOP("SettingsEditor", "Dead Band"),                   QT_TRANSLATE_NOOP("SettingsEditor", "uS"),    2.0f,    50.0f,    2,    50,  1, 2, 33, 1, C::Plain},
    { 6, "4",  QT_TRANSLATE_NOOP("SettingsEditor", "Low Batt. Protection"),        QT_TRANSLATE_NOOP("SettingsEditor", "V"),     2.5f,     6.0f,   25,    60,  1, 4, 35, 1, C::Volt},
    { 7, "5",  QT_TRANSLATE_NOOP("SettingsEditor", "Current Limiter"),             QT_TRANSLATE_NOOP("SettingsEditor", "A"),    50.0f,   300.0f,   50,   300, 10, 3, 39, 1, C::Current},
    { 8, "8",  QT_TRANSLATE_NOOP("SettingsEditor", "Brake Max. Duty"),             QT_TRANSLATE_NOOP("SettingsEditor", "%"),     0.0f,   100.0f,    0,   100,  1, 3, 41, 1, C::Plain},
    { 9, "H4", QT_TRANSLATE_NOOP("SettingsEditor", "Reverse Max Duty"),            QT_TRANSLATE_NOOP("SettingsEditor", "%"),     0.0f,   100.0f,    0,   100,  1, 3, 43, 1, C::Plain},
    {10, "9",  QT_TRANSLATE_NOOP("SettingsEditor", "Neutral Brake"),               QT_TRANSLATE_NOOP("SettingsEditor", "%"),     0.0f,   100.0f,    0,   100,  1, 3, 45, 1, C::Percent},
    {11, "7",  QT_TRANSLATE_NOOP("SettingsEditor", "Current Limit timer"),         QT_TRANSLATE_NOOP("SettingsEditor", "Sec"),   0.0f,   240.0f,    0,   240,  1, 3, 47, 1, C::Plain},
    {12, "6",  QT_TRANSLATE_NOOP("SettingsEditor", "Current Limiter(Time Limit)"), QT_TRANSLATE_NOOP("SettingsEditor", "A"),    50.0f,   300.0f,   50,   300, 10, 3, 49, 1, C::Current},
}};
// clang-format on

constexpr std::array<int, 9> kVisible {0, 1, 5, 6, 7, 12, 11, 8, 10};
constexpr std::array<int, 4> kHidden {2, 3, 4, 9};

} // namespace

const std::array<FieldSpec, Count> &table()
{
    return kTable;
}

const FieldSpec &row(int index)
{
    return kTable.at(static_cast<size_t>(index));
}

QString tooltip(int index)
{
    const FieldSpec &s = row(index);
    return numtext::shortestText(s.minimum) + QChar(0xFF5E) + numtext::shortestText(s.maximum);
}

const std::array<int, 9> &visibleOrder()
{
    return kVisible;
}

const std::array<int, 4> &hiddenOrder()
{
    return kHidden;
}

QString modeCaption(int bit)
{
    static const char *const Captions[ModeFlagCount] = {
        QT_TRANSLATE_NOOP("SettingsEditor", "Virgin Bit"), QT_TRANSLATE_NOOP("SettingsEditor", "Reverse Mode"),
        QT_TRANSLATE_NOOP("SettingsEditor", "Rev Cancel"), QT_TRANSLATE_NOOP("SettingsEditor", "Lipo Mode")};
    return bit >= 0 && bit < ModeFlagCount ? QLatin1String(Captions[bit]) : QString();
}

} // namespace fields
