#include "editor/field_words.h"

#include "numtext/number_text.h"
#include "settings/field_table.h"

#include <QCoreApplication>

namespace fieldwords {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("FieldWords", text);
}

} // namespace

QString unit(int index)
{
    const QLatin1String shown(fields::row(index).unit);
    if (shown == QLatin1String("Hz"))
        return tr("hertz");
    if (shown == QLatin1String("uS"))
        return tr("microseconds");
    if (shown == QLatin1String("V"))
        return tr("volts");
    if (shown == QLatin1String("A"))
        return tr("amperes");
    if (shown == QLatin1String("Sec"))
        return tr("seconds");
    if (shown == QLatin1String("%"))
        return tr("percent");
    return shown;
}

QString description(int index, const QString &changeMark)
{
    const FieldSpec &s = fields::row(index);
    QString text =
        tr("%1, %2 to %3").arg(unit(index), numtext::shortestText(s.minimum), numtext::shortestText(s.maximum));
    if (!changeMark.isEmpty())
        text += QStringLiteral(", ") + changeMark;
    return text;
}

QString increase(int index)
{
    return tr("Increase %1").arg(QLatin1String(fields::row(index).caption));
}

QString decrease(int index)
{
    return tr("Decrease %1").arg(QLatin1String(fields::row(index).caption));
}

} // namespace fieldwords
