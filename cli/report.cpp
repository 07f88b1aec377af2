#include "report.h"
#include "settings_state.h"

#include "logdata/log_statistics.h"
#include "logdata/log_store.h"
#include "logdata/log_strip_text.h"
#include "numtext/number_text.h"
#include "settings/field_table.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonValue>

namespace report {
namespace {

constexpr int CaptionWidth = 30;

QString tr(const char *text)
{
    return QCoreApplication::translate("cli", text);
}

QString row(const QString &caption, const QString &value)
{
    return caption.leftJustified(CaptionWidth) + u' ' + value + u'\n';
}

QString yesNo(bool on)
{
    return on ? tr("yes") : tr("no");
}

QString fieldValue(const SettingsState &s, int i)
{
    QString value = s.text(i);
    if (s.outOfRange(i))
        value += QStringLiteral(" (") + tr("out of range %1").arg(fields::tooltip(i)) + u')';
    return value;
}

QJsonValue number(const QString &text)
{
    if (text.isEmpty() || !numtext::isCompleteNumber(text))
        return QJsonValue::Null;
    return numtext::leadingNumber(text);
}

// Mode flags as the window stacks them: the highest bit on top.
QList<int> modeOrder()
{
    QList<int> bits;
    for (int b = fields::ModeFlagCount - 1; b >= 0; --b)
        bits << b;
    return bits;
}

} // namespace

QString settingsText(const SettingsState &s)
{
    QString out;
    for (int i : fields::visibleOrder()) {
        const FieldSpec &f = fields::row(i);
        QString value = fieldValue(s, i);
        if (!value.isEmpty())
            value += u' ' + QLatin1String(f.unit);
        out += row(QLatin1String(f.caption), value);
    }
    out += row(tr("Current Limiter Off"), yesNo(s.curLimOff()));
    for (int b : modeOrder())
        out += row(fields::modeCaption(b), yesNo(s.modeFlag(b)));
    out += row(tr("ZX Type"), s.zxType());
    out += row(tr("ROM Version"), s.version());
    return out;
}

QJsonObject settingsJson(const QString &block, const SettingsState &s)
{
    QJsonObject fieldValues;
    for (int i : fields::visibleOrder())
        fieldValues.insert(QLatin1String(fields::row(i).caption), number(s.text(i)));
    QJsonObject modes;
    for (int b : modeOrder())
        modes.insert(fields::modeCaption(b), s.modeFlag(b));
    return QJsonObject {{"block", block},
                        {"rom_version", s.version().toInt()},
                        {"current_limiter_off", s.curLimOff()},
                        {"fields", fieldValues},
                        {"mode_flags", modes},
                        {"zx_type", s.zxType()}};
}

QList<Change> changes(const SettingsState &now, const SettingsState &then)
{
    QList<Change> out;
    for (int i : fields::visibleOrder()) {
        if (now.text(i) != then.text(i))
            out.append({QLatin1String(fields::row(i).caption), now.text(i), then.text(i)});
        if (i == fields::CurrentLimit && now.curLimOff() != then.curLimOff())
            out.append({tr("Current Limiter Off"), yesNo(now.curLimOff()), yesNo(then.curLimOff())});
    }
    return out;
}

QString changesText(const QList<Change> &changes)
{
    if (changes.isEmpty())
        return tr("No field changes.\n");
    QString out;
    for (const Change &c : changes)
        out += row(c.caption,
                   (c.now.isEmpty() ? tr("(blank)") : c.now) + QStringLiteral(" -> ")
                       + (c.then.isEmpty() ? tr("(blank)") : c.then));
    return out;
}

QJsonObject changesJson(const QList<Change> &changes)
{
    QJsonArray list;
    for (const Change &c : changes)
        list.append(QJsonObject {{"field", c.caption}, {"now", c.now}, {"then", c.then}});
    return QJsonObject {{"changes", list}};
}

QString logText(const LogStore &store)
{
    const LogStatistics s = computeStatistics(store);
    // The strip keeps numbers and units together with no-break spaces; a terminal needs none.
    return tr("Seconds with data: %1").arg(s.seconds) + u'\n' + striptext::statistics(s).replace(QChar(0xA0), u' ')
        + u'\n';
}

QJsonObject logJson(const LogStore &store)
{
    const LogStatistics s = computeStatistics(store);
    QJsonObject o {{"seconds", s.seconds}, {"missing", s.missing}};
    if (s.voltSamples > 0) {
        o.insert("voltage_min", s.voltMin);
        o.insert("voltage_min_at", s.voltMinAt);
        o.insert("voltage_avg", s.voltAvg);
        o.insert("voltage_max", s.voltMax);
    }
    if (s.curSamples > 0) {
        o.insert("current_peak", s.curPeak);
        o.insert("current_peak_at", s.curPeakAt);
        o.insert("current_avg", s.curAvg);
        o.insert("charge_mah", s.chargeMah);
    }
    if (s.voltSamples > 0 && s.curSamples > 0)
        o.insert("energy_wh", s.energyWh);
    return o;
}

} // namespace report
