#pragma once
#include "settings/block_assembly.h"
#include "settings/field_table.h"
#include "settings/settings_reply.h"
#include "editor/change_marks.h"
#include "editor/settings_widgets.h"

#include <QList>
#include <QObject>
#include <QString>
#include <array>

class MessageBoxes;
class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;
class SpinButton;

// What ShowReadData made of a block.
enum class DecodeResult {
    Accepted, // every widget shows the block
    Deleted, // the controller's settings are deleted; nothing shown
    OtherType, // a controller of another type; only the type box was blanked
    Unreadable // not a block of hexadecimal digits; nothing shown
};

// The settings editor of the main window: thirteen range-checked fields with their spin
// buttons, the current limiter's "Off" switch, the mode flags, type and version. It
// shows a settings block in the widgets and builds the block to write from them.
//
// Every text or value the program writes runs the same handlers as typing does, so
// fields filled from a reply or a file are checked and coloured like typed ones.
//
// Once a block is shown, each value the user changes afterwards is marked: bold text, a
// tooltip line with the block's value and "changed, was …" for screen readers. The
// marks go when the next block is shown or a write has been verified.
class SettingsEditor : public QObject {
    Q_OBJECT
public:
    using BlockSource = ::BlockSource;
    using DecodeResult = ::DecodeResult;

    // Colours of the validity mark (0xBBGGRR).
    static constexpr int Black = 0x000000;
    static constexpr int Red = 0x0000FF;
    // What the user is told when a settings reply from the controller cannot be read.

    SettingsEditor(QWidget *window, QWidget *fraTmp, MessageBoxes &boxes, QObject *parent = nullptr);

    // Limits, tooltips, spin bounds and steps, blank fields.
    void MainIni();
    // Unticks "Off", blanks the fields, unticks the mode boxes, blanks type and version.
    void ClearDisplay();

    // Shows a block in the widgets. On the device path the user is told about a reply
    // that cannot be read; on the file path the caller reports it.
    DecodeResult ShowReadData(const QString &block, BlockSource source);

    // Checks the fields and builds the block to write into WriteData. Bytes the tool
    // does not own come from `readData`, the controller's last reply; when there is
    // none, from the last block accepted from a settings file.
    // When it refuses values, the focus goes to the first one on screen after the box.
    bool MakeWriteData(const QString &readData);
    const QString &WriteData() const { return m_writeData; }
    // The field the last refusal put the focus on; null when it named none.
    QLineEdit *refusedField() const { return m_refusedField; }

    // A write of `block` was read back unchanged: the controller now holds it, so the
    // values are counted as changed against it from now on.
    void markWritten(const QString &block);
    // Visible values changed since the last block shown (field 7 and "Off" count once).
    int changedCount() const { return m_changedCount; }

    // The visible editing widgets in reading order: fields top to bottom, "Off" right
    // after the current limiter field.
    QList<QWidget *> readingOrder() const;

    // The editor's handlers; the widgets' signals call them.
    void TxtData_Change(int index);
    void UpDownData_Change(int index);
    void ChkCurLimOff_Click();

    QLineEdit *TxtData(int i) const { return m_w.txtData.at(size_t(i)); }
    SpinButton *UpDownData(int i) const { return m_w.upDownData.at(size_t(i)); }
    QLabel *caption(int i) const { return m_w.captions.at(size_t(i)); }
    QLabel *unitLabel(int i) const { return m_w.units.at(size_t(i)); }
    QCheckBox *ChkCurLimOff() const { return m_w.chkCurLimOff; }
    QLabel *LblCurLim() const { return m_w.lblCurLim; }
    QCheckBox *ChkMode(int b) const { return m_w.chkMode.at(size_t(b)); }
    QLineEdit *TxtZxType() const { return m_w.txtZxType; }
    QLineEdit *TxtVer() const { return m_w.txtVer; }

    float MinData(int i) const { return fields::row(i).minimum; }
    float MaxData(int i) const { return fields::row(i).maximum; }
    float CurLimData() const { return m_curLimData; }
    // Text colour of a field as 0xBBGGRR; Red marks a value out of range.
    int fieldColour(int i) const;
    bool isOutOfRange(int i) const { return m_outOfRange.at(size_t(i)); }

Q_SIGNALS:
    // "Setting Data Write" may (true) or may not (false) be used now.
    void writeAllowed(bool enabled);
    // The number of changed values a write would send has become `count`.
    void changesCounted(int count);

protected:
    // Up and Down in a field step it like its spin button; a field the user has typed
    // out of range shows its range beside it.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setFieldText(int i, const QString &text);
    void setFieldColour(int i, int bgr);
    void setCurrentLimiterEnabled(bool enabled);
    void turnCurrentLimiterOff();
    void applyOffCheck();
    DecodeResult refuse(DecodeResult result, const QString &message);
    QLineEdit *firstRefused(const assembly::FieldStates &states, bool curLimOff) const;
    void refreshMarks();
    void refreshMark(int i);
    void refreshOffMark();
    void updateRangeTip(int i);

    MessageBoxes &m_boxes;
    SettingsWidgets m_w;
    // The validity mark of each field; the text colour shows it.
    std::array<bool, fields::Count> m_outOfRange {};
    float m_curLimData = 0;
    QString m_writeData;
    QString m_lastFileBlock;
    ChangeMarks m_marks;
    int m_changedCount = -1; // -1 until first counted, so the first count is told
    int m_tipField = -1; // the field whose range tip is showing
    QLineEdit *m_refusedField = nullptr;
    int m_editedField = -1; // the field the user has just edited, until its change is handled
    bool m_holdMarks = false; // a block is being shown or blanked: mark once at its end
};
