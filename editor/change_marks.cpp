#include "editor/change_marks.h"

#include "numtext/number_text.h"
#include "settings/settings_block.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ChangeMarks", text);
}

bool sameValue(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    // "5" and "5.0" hold the same number; "5x" and "5" do not (the first cannot be written).
    return numtext::isCompleteNumber(a) && numtext::isCompleteNumber(b)
        && numtext::readSingle(a) == numtext::readSingle(b);
}

} // namespace

ChangeMarks::Shown ChangeMarks::shownBy(QStringView block)
{
    Shown shown;
    for (const block::Step &step : block::read(block)) {
        if (step.kind == block::Step::Kind::Field)
            shown.texts[size_t(step.index)] = step.text;
    }
    // The controller reports its limiter off as 480 A; the editor then ticks "Off" and
    // blanks the field.
    QString &limit = shown.texts[fields::CurrentLimit];
    if (numtext::readSingle(limit) == 480.0f) {
        shown.curLimOff = true;
        limit.clear();
    }
    return shown;
}

void ChangeMarks::setBaseline(const Shown &shown, BlockSource source)
{
    m_baseline = Baseline {shown, source};
}

std::optional<QString> ChangeMarks::fieldWas(int i, const QString &current, bool curLimOffNow) const
{
    if (!m_baseline || (i == fields::CurrentLimit && curLimOffNow))
        return std::nullopt;
    const QString &was = m_baseline->shown.texts.at(size_t(i));
    if (sameValue(was, current))
        return std::nullopt;
    return was;
}

std::optional<bool> ChangeMarks::offWas(bool curLimOffNow) const
{
    if (!m_baseline || m_baseline->shown.curLimOff == curLimOffNow)
        return std::nullopt;
    return m_baseline->shown.curLimOff;
}

int ChangeMarks::writtenChanges(const Texts &current, bool curLimOffNow) const
{
    if (!m_baseline)
        return 0;
    int count = 0;
    for (int i : fields::visibleOrder()) {
        // Field 7 and "Off" are one byte: a change of either is one changed value.
        const bool changed = i == fields::CurrentLimit
            ? offWas(curLimOffNow) || fieldWas(i, current.at(size_t(i)), curLimOffNow)
            : bool(fieldWas(i, current.at(size_t(i)), curLimOffNow));
        count += changed ? 1 : 0;
    }
    return count;
}

QString ChangeMarks::tooltipLine(const QString &was) const
{
    const QString value = was.isEmpty() ? tr("(blank)") : was;
    const bool fromFile = m_baseline && m_baseline->source == BlockSource::File;
    return (fromFile ? tr("In the file: %1") : tr("In the ZX: %1")).arg(value);
}

QString ChangeMarks::describedAsChanged(const QString &was)
{
    return tr("changed, was %1").arg(was.isEmpty() ? tr("(blank)") : was);
}

QString ChangeMarks::describedAsChanged(bool wasTicked)
{
    return wasTicked ? tr("changed, was on") : tr("changed, was off");
}

QString ChangeMarks::writeButtonTip(int count)
{
    if (count <= 0)
        return tr("No field changed");
    if (count == 1)
        return tr("Writes 1 changed field");
    return tr("Writes %1 changed fields").arg(count);
}
