#include "settings_state.h"

#include "numtext/number_text.h"
#include "settings/block_assembly.h"
#include "settings/field_rules.h"
#include "settings/settings_block.h"

#include <QCoreApplication>

QString SettingsState::refusalText(Decode d)
{
    switch (d) {
    case Decode::Deleted:
        return QStringLiteral("Setting Data is deleted.");
    case Decode::OtherType:
        return QStringLiteral("ZX type is different.");
    case Decode::Accepted:
    case Decode::Unreadable:
        break;
    }
    return {};
}

SettingsState::Decode SettingsState::show(QStringView block)
{
    if (!block::isReadable(block))
        return Decode::Unreadable;
    switch (block::deviceOf(block)) {
    case block::Device::Deleted:
        return Decode::Deleted;
    case block::Device::Other:
        return Decode::OtherType;
    case block::Device::Zx316b:
        break;
    }
    for (const block::Step &step : block::read(block)) {
        switch (step.kind) {
        case block::Step::Kind::ZxType:
            m_zxType = step.text;
            break;
        case block::Step::Kind::Field:
            type(step.index, step.text);
            break;
        case block::Step::Kind::CurLimOffCheck: {
            // The controller reports its limiter off as 480 A.
            const bool off = numtext::readSingle(m_text[fields::CurrentLimit]) == fieldrules::LimiterOffCurrent;
            m_curLimOff = off;
            if (off)
                turnLimiterOff();
            break;
        }
        case block::Step::Kind::Version:
            m_version = step.text;
            break;
        case block::Step::Kind::ModeFlags:
            m_modeBits = step.bits;
            break;
        }
    }
    m_shownBlock = block.left(block::Length).toString();
    return Decode::Accepted;
}

// A text put into a field, as the editor's change handling leaves it.
void SettingsState::type(int index, const QString &text)
{
    const fieldrules::Entry e = fieldrules::typed(index, text);
    m_text[size_t(index)] = e.text;
    if (!e.text.isEmpty() && !e.text.endsWith(u'.'))
        m_red[size_t(index)] = !e.valid;
    if (index == fields::CurrentLimit && e.valid)
        m_curLimData = numtext::readSingle(e.text);
}

void SettingsState::turnLimiterOff()
{
    QString &text = m_text[fields::CurrentLimit];
    if (numtext::hasLeadingNumber(text))
        m_curLimData = numtext::readSingle(text);
    text.clear();
}

int SettingsState::visibleField(const QString &caption)
{
    for (int i : fields::visibleOrder())
        if (caption.trimmed().compare(QLatin1String(fields::row(i).caption), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool SettingsState::set(int index, const QString &value, QString *why)
{
    const FieldSpec &f = fields::row(index);
    const QString v = value.trimmed();
    if (index == fields::CurrentLimit && v.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0) {
        if (!m_curLimOff) {
            m_curLimOff = true;
            turnLimiterOff();
        }
        return true;
    }
    if (index == fields::CurrentLimit && v.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0) {
        if (m_curLimOff) {
            m_curLimOff = false;
            m_curLimData = fieldrules::currentLimitWhenOn(m_curLimData);
            type(index, numtext::shortestText(m_curLimData));
        }
        return true;
    }
    const QString range = fields::tooltip(index) + QLatin1Char(' ') + QLatin1String(f.unit);
    if (!numtext::isCompleteNumber(v)) {
        *why = QCoreApplication::translate("cli", "%1: \"%2\" is not a number (%3).")
                   .arg(QLatin1String(f.caption), value, range);
        return false;
    }
    const fieldrules::Entry e = fieldrules::typed(index, v);
    if (!e.valid) {
        *why = QCoreApplication::translate("cli", "%1: %2 is out of range (%3).")
                   .arg(QLatin1String(f.caption), e.text == v ? v : v + QStringLiteral(" (") + e.text + u')', range);
        return false;
    }
    if (index == fields::CurrentLimit)
        m_curLimOff = false;
    type(index, v);
    return true;
}

std::optional<QString> SettingsState::build(const QString &copySource, QString *why) const
{
    assembly::FieldStates states;
    assembly::FieldTexts texts;
    for (int i = 0; i < fields::Count; ++i) {
        texts[size_t(i)] = m_text[size_t(i)];
        states[size_t(i)] = {m_text[size_t(i)], m_red[size_t(i)]};
    }
    const int bad = assembly::firstUnusableField(states, m_curLimOff);
    if (bad >= 0) {
        const FieldSpec &f = fields::row(bad);
        const QString shown =
            m_text[size_t(bad)].isEmpty() ? QCoreApplication::translate("cli", "blank") : m_text[size_t(bad)];
        *why = QStringLiteral("Data is abnormal!!\nPlease set it correctly.\n")
            + QCoreApplication::translate("cli", "%1 is %2; its range is %3 %4.")
                  .arg(QLatin1String(f.caption), shown, fields::tooltip(bad), QLatin1String(f.unit));
        return std::nullopt;
    }
    const QString &source = assembly::isCopySource(copySource) ? copySource : m_shownBlock;
    if (!assembly::isCopySource(source)) {
        *why = QCoreApplication::translate("cli", "No setting data has been read from the ZX yet.");
        return std::nullopt;
    }
    return assembly::build(texts, m_curLimOff, source);
}
