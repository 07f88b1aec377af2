#include "log_strip_text.h"
#include "log_statistics.h"
#include "log_store.h"

#include "numtext/number_text.h"

#include <QCoreApplication>
#include <QStringList>

namespace striptext {

namespace {
// The strip's words in the user's language; numbers and units stay as they are.
QString word(const char *english)
{
    return QCoreApplication::translate("LogStrip", english);
}
} // namespace
namespace {

const QChar Space(0x00A0); // keeps a number with its unit on one line
const QString Separator = QStringLiteral(" \u00B7 ");

QString amount(double value, int decimals, const char *unit)
{
    return numtext::fixedText(value, decimals) + Space + QLatin1String(unit);
}

QString item(const QStringList &words)
{
    return words.join(Space);
}

} // namespace

QString statistics(const LogStatistics &s, const LogStatistics *compared)
{
    const QString vs = Space + word("vs") + Space;
    if (s.empty()) {
        if (!compared)
            return word("No data");
        return word("No data") + Separator + item({word("compared:"), statistics(*compared)});
    }
    // Charge and energy come first: they are what a run is read for, and they stay in
    // view however narrow the window.
    QStringList items;
    if (!compared || compared->empty()) {
        items << amount(s.chargeMah, 0, "mAh") << amount(s.energyWh, 2, "Wh");
        if (compared)
            items << item({word("compared:"), word("No"), word("data")});
    } else {
        items << amount(s.chargeMah, 0, "mAh") + vs + amount(compared->chargeMah, 0, "mAh")
              << amount(s.energyWh, 2, "Wh") + vs + amount(compared->energyWh, 2, "Wh");
    }
    QString span = amount(s.seconds, 0, "s");
    if (s.missing > 0)
        span += u',' + Space + QString::number(s.missing) + Space + word("missing");
    items << span;
    if (s.voltSamples > 0) {
        items << item({word("min"), amount(s.voltMin, 2, "V"), word("at"), amount(s.voltMinAt, 0, "s")})
              << item({word("avg"), amount(s.voltAvg, 2, "V") + u',', word("max"), amount(s.voltMax, 2, "V")});
    } else {
        items << item({word("no"), word("voltage")});
    }
    if (s.curSamples > 0) {
        items << item({word("peak"), amount(s.curPeak, 1, "A"), word("at"), amount(s.curPeakAt, 0, "s")})
              << item({word("avg"), amount(s.curAvg, 1, "A")});
    } else {
        items << item({word("no"), word("current")});
    }
    return items.join(Separator);
}

QString cursor(int second, float volts, float amps)
{
    const QString v = volts == LogStore::Missing ? QStringLiteral("-") : numtext::fixedText(volts, 2);
    const QString a = amps == LogStore::Missing ? QStringLiteral("-") : numtext::fixedText(amps, 1);
    return QString::number(second) + Space + QStringLiteral("s\n") + v + Space + QStringLiteral("V  ") + a + Space
        + QStringLiteral("A");
}

} // namespace striptext
