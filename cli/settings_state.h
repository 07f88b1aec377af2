#pragma once
#include "settings/field_table.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// The settings fields as the window's editor would hold them, without a widget: each
// field's text and out-of-range mark, the current limiter's "Off" switch, the mode flags,
// type and version. A block is taken in as the editor shows it, a value is set as if typed
// into the field, and the block to write is built by the same assembly the window uses.
class SettingsState {
public:
    enum class Decode {
        Accepted,
        Deleted, // "Setting Data is deleted."
        OtherType, // "ZX type is different."
        Unreadable // not a block of 64 hexadecimal digits
    };
    // The window's words for a refused block; empty for an unreadable one.
    static QString refusalText(Decode d);

    // Shows `block` in the fields as the window does; on anything but Accepted the state
    // is left as it was.
    Decode show(QStringView block);

    // The visible field whose caption is `caption` (letter case aside), or -1.
    static int visibleField(const QString &caption);

    // Puts `value` into field `index` as typed there ("off" and "on" for the current
    // limiter work its "Off" switch). False with the reason in `why` when the field would
    // not take it: not a number, or out of range after the editor's snapping.
    bool set(int index, const QString &value, QString *why);

    // The 64 characters to write, or nothing with the window's refusal (plus which field
    // and why) in `why`. Bytes the tool does not own come from `copySource`, else from the
    // last block shown.
    std::optional<QString> build(const QString &copySource, QString *why) const;

    // The text field `index` shows (blank while the limiter is off, for field 7).
    const QString &text(int index) const { return m_text.at(size_t(index)); }
    bool outOfRange(int index) const { return m_red.at(size_t(index)); }
    bool curLimOff() const { return m_curLimOff; }
    bool modeFlag(int bit) const { return (m_modeBits >> bit) & 1; }
    const QString &zxType() const { return m_zxType; }
    const QString &version() const { return m_version; }
    bool isEmpty() const { return m_shownBlock.isEmpty(); }

private:
    void type(int index, const QString &text);
    void turnLimiterOff();

    std::array<QString, fields::Count> m_text;
    std::array<bool, fields::Count> m_red {};
    bool m_curLimOff = false;
    float m_curLimData = 0;
    int m_modeBits = 0;
    QString m_zxType;
    QString m_version;
    QString m_shownBlock;
};
