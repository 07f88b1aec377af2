#include "graph_summary.h"

#include "logdata/log_statistics.h"
#include "numtext/number_text.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("GraphSummary", text);
}

QString number(double value, int decimals)
{
    return numtext::fixedText(value, decimals);
}

} // namespace

QString graphSummary(const LogStatistics &s)
{
    if (s.empty())
        return tr("The run log holds no data.");
    QString text = tr("Run of %1 s").arg(s.seconds);
    if (s.missing > 0)
        text += tr(" with %1 s missing").arg(s.missing);
    if (s.voltSamples > 0)
        text += tr(": voltage %1 to %2 V, lowest at %3 s")
                    .arg(number(s.voltMin, 2), number(s.voltMax, 2), QString::number(s.voltMinAt));
    else
        text += tr(": no voltage");
    if (s.curSamples > 0)
        text +=
            tr("; current peak %1 A at %2 s, average %3 A; %4 mAh drawn")
                .arg(number(s.curPeak, 1), QString::number(s.curPeakAt), number(s.curAvg, 1), number(s.chargeMah, 0));
    else
        text += tr("; no current");
    return text + u'.';
}
