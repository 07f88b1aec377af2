#include "editor/settings_editor.h"
#include "numtext/number_text.h"
#include "settings/field_rules.h"
#include "editor/spin_button.h"
#include "platform/gui/colours.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <utility>

SettingsEditor::SettingsEditor(QWidget *window, QWidget *fraTmp, MessageBoxes &boxes, QObject *parent)
    : QObject(parent), m_boxes(boxes), m_w(window, fraTmp)
{
    for (int i = 0; i < fields::Count; ++i) {
        // A user's edit is told (textEdited) before the change is handled (textChanged).
        connect(TxtData(i), &QLineEdit::textEdited, this, [this, i] { m_editedField = i; });
        connect(TxtData(i), &QLineEdit::textChanged, this, [this, i] {
            TxtData_Change(i);
            refreshMarks();
            if (std::exchange(m_editedField, -1) == i)
                updateRangeTip(i);
        });
        connect(UpDownData(i), &SpinButton::valueChanged, this, [this, i] { UpDownData_Change(i); });
        TxtData(i)->installEventFilter(this);
    }
    connect(ChkCurLimOff(), &QCheckBox::toggled, this, [this] {
        ChkCurLimOff_Click();
        refreshMarks();
    });
}

void SettingsEditor::MainIni()
{
    for (const FieldSpec &s : fields::table()) {
        const int i = s.index;
        TxtData(i)->setToolTip(fields::tooltip(i));
        UpDownData(i)->setMinimum(s.spinMinimum);
        UpDownData(i)->setMaximum(s.spinMaximum);
        UpDownData(i)->setSingleStep(s.spinStep);
        setFieldText(i, QString());
    }
}

void SettingsEditor::ClearDisplay()
{
    m_holdMarks = true;
    ChkCurLimOff()->setChecked(false);
    for (int i = 0; i < fields::Count; ++i) {
        setFieldText(i, QString());
        if (i < 4)
            ChkMode(i)->setChecked(false);
    }
    TxtZxType()->setText(QString());
    TxtVer()->setText(QString());
    // Nothing is shown any more, so nothing counts as changed.
    m_marks.clear();
    m_holdMarks = false;
    refreshMarks();
}

void SettingsEditor::TxtData_Change(int i)
{
    const QString text = TxtData(i)->text();
    // Empty, or a number still being typed ("3."): leave colour and spin alone.
    if (text.isEmpty() || text.endsWith(u'.'))
        return;
    float v = numtext::readSingle(text);
    if (const auto snapped = fieldrules::snappedText(i, text)) {
        v = numtext::readSingle(*snapped);
        setFieldText(i, *snapped);
    }

    const bool inRange = fieldrules::inRange(i, v);
    setFieldColour(i, inRange ? Black : Red);
    if (!inRange)
        return;
    UpDownData(i)->setValue(fieldrules::spinValue(i, v));
    if (i == fields::CurrentLimit)
        m_curLimData = v;
}

void SettingsEditor::UpDownData_Change(int i)
{
    const float v = numtext::readSingle(TxtData(i)->text());
    const float low = MinData(i);
    const float high = MaxData(i);
    if (v < low) {
        setFieldText(i, numtext::shortestText(low));
    } else if (v <= high) {
        setFieldText(i, fieldrules::spinText(i, UpDownData(i)->value()));
    } else {
        setFieldText(i, numtext::shortestText(high));
    }
}

void SettingsEditor::ChkCurLimOff_Click()
{
    if (ChkCurLimOff()->isChecked()) {
        turnCurrentLimiterOff();
        return;
    }
    // 480 A is how the controller reports the limiter off; bring the field back at its top.
    m_curLimData = fieldrules::currentLimitWhenOn(m_curLimData);
    setFieldText(fields::CurrentLimit, numtext::shortestText(m_curLimData));
    setCurrentLimiterEnabled(true);
}

void SettingsEditor::turnCurrentLimiterOff()
{
    const QString text = TxtData(fields::CurrentLimit)->text();
    // A field without a number (still blank, say) keeps the last value: unticking then
    // shows that value, or a red 0 when there never was one, rather than an invented one.
    if (numtext::hasLeadingNumber(text))
        m_curLimData = numtext::readSingle(text);
    setFieldText(fields::CurrentLimit, QString());
    setCurrentLimiterEnabled(false);
}

void SettingsEditor::setCurrentLimiterEnabled(bool enabled)
{
    TxtData(fields::CurrentLimit)->setEnabled(enabled);
    UpDownData(fields::CurrentLimit)->setEnabled(enabled);
    LblCurLim()->setEnabled(enabled);
}

void SettingsEditor::setFieldText(int i, const QString &text)
{
    TxtData(i)->setText(text); // runs TxtData_Change when the text differs
}

void SettingsEditor::setFieldColour(int i, int bgr)
{
    m_outOfRange[size_t(i)] = bgr == Red;
    QLineEdit *field = TxtData(i);
    QPalette p = field->palette();
    p.setColor(QPalette::Text, colourFromBgr(bgr));
    field->setPalette(p);
    if (bgr == Black && i == m_tipField)
        updateRangeTip(i); // back in range: the range need not stand beside it any more
}

int SettingsEditor::fieldColour(int i) const
{
    return m_outOfRange.at(size_t(i)) ? Red : Black;
}
