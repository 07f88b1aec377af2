#pragma once
#include "settings/field_table.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// Where a settings block came from: a reply of the controller or a settings file.
enum class BlockSource { Device, File };

// What the settings shown last held, so the editor can tell the user which values they
// have changed since: each field's text and the "Off" switch as that block left them.
// Plain values, no widget: the editor compares the widgets with it after every change.
class ChangeMarks {
public:
    using Texts = std::array<QString, fields::Count>;

    struct Shown {
        Texts texts;
        bool curLimOff = false;
    };

    // What a readable block of the device's own type shows once the editor has handled
    // it: the decoded texts, and a limiter reported off (480 A) as a blank field with
    // "Off" ticked.
    static Shown shownBy(QStringView block);

    // A block was shown: from now on changes are counted against it.
    void setBaseline(const Shown &shown, BlockSource source);
    // Nothing is shown any more: nothing counts as changed.
    void clear() { m_baseline.reset(); }
    bool hasBaseline() const { return m_baseline.has_value(); }

    // What field `i` held when the block was shown, when `current` no longer equals it;
    // nothing when the field is unchanged. Texts of the same number are equal ("5",
    // "5.0"). Field 7 counts as unchanged while the limiter is off: "Off" carries it.
    std::optional<QString> fieldWas(int i, const QString &current, bool curLimOffNow) const;
    // The "Off" switch as the block showed it, when it has been changed since.
    std::optional<bool> offWas(bool curLimOffNow) const;

    // How many of the values a write sends differ from the block: the visible fields,
    // with field 7 and its "Off" switch counting once, as they share one byte.
    int writtenChanges(const Texts &current, bool curLimOffNow) const;

    // "In the ZX: 2000" / "In the file: (blank)", the tooltip's extra line.
    QString tooltipLine(const QString &was) const;
    // "changed, was 2000", the end of the accessible description.
    static QString describedAsChanged(const QString &was);
    static QString describedAsChanged(bool wasTicked); // "changed, was on" for a ticked box
    // "Writes 3 changed fields", "Writes 1 changed field", "No field changed".
    static QString writeButtonTip(int count);

private:
    struct Baseline {
        Shown shown;
        BlockSource source;
    };
    std::optional<Baseline> m_baseline;
};
