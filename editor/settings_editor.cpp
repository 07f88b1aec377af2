#include "editor/settings_editor.h"
#include "numtext/number_text.h"
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

    if (fields::row(i).snapsToTens()) {
        // Two-digit entries 50..99 and three-digit entries up to 399 are taken as meant
        // to the nearest ten; 10..49 are left as typed, they may be the start of 100..499.
        const double first = numtext::leadingNumber(text.left(1));
        if ((text.size() == 2 && first >= 5) || (text.size() == 3 && first <= 3)) {
            v = float(double(numtext::fix(double(v) / 10 + 0.5)) * 10);
            setFieldText(i, numtext::shortestText(v));
        }
    }

    const bool inRange = MinData(i) <= v && v <= MaxData(i);
    setFieldColour(i, inRange ? Black : Red);
    if (!inRange)
        return;
    // Works on the single-precision value: 3.55 is held just below 3.55 and gives 35.
    const double spin = i == fields::LowBattery ? double(v) * 10 : double(v);
    UpDownData(i)->setValue(int(numtext::roundHalfEven(spin)));
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
        const int spin = UpDownData(i)->value();
        setFieldText(i, i == fields::LowBattery ? numtext::shortestText(spin / 10.0) : QString::number(spin));
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
    if (m_curLimData == 480.0f)
        m_curLimData = 300.0f;
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
