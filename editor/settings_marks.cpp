// Marking the values changed since the last block shown.
#include "editor/field_words.h"
#include "editor/settings_editor.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

// Bold on top of whatever font the window gives; off hands the font back to the window.
void setBold(QWidget *w, bool bold)
{
    if (w->font().bold() == bold)
        return;
    QFont f;
    f.setBold(true);
    w->setFont(bold ? f : QFont());
}

} // namespace

void SettingsEditor::markWritten(const QString &block)
{
    m_marks.setBaseline(ChangeMarks::shownBy(block), BlockSource::Device);
    refreshMarks();
}

void SettingsEditor::refreshMarks()
{
    if (m_holdMarks)
        return;
    ChangeMarks::Texts texts;
    for (int i = 0; i < fields::Count; ++i) {
        refreshMark(i);
        texts[size_t(i)] = TxtData(i)->text();
    }
    refreshOffMark();
    const int count = m_marks.writtenChanges(texts, ChkCurLimOff()->isChecked());
    if (count != m_changedCount) {
        m_changedCount = count;
        Q_EMIT changesCounted(count);
    }
}

void SettingsEditor::refreshMark(int i)
{
    QLineEdit *field = TxtData(i);
    const std::optional<QString> was = m_marks.fieldWas(i, field->text(), ChkCurLimOff()->isChecked());
    setBold(field, was.has_value());
    QString tip = fields::tooltip(i);
    if (was)
        tip += u'\n' + m_marks.tooltipLine(*was);
    if (field->toolTip() != tip)
        field->setToolTip(tip);
    const QString description = fieldwords::description(i, was ? ChangeMarks::describedAsChanged(*was) : QString());
    if (field->accessibleDescription() != description)
        field->setAccessibleDescription(description);
}

void SettingsEditor::refreshOffMark()
{
    QCheckBox *box = ChkCurLimOff();
    const std::optional<bool> was = m_marks.offWas(box->isChecked());
    setBold(box, was.has_value());
    const QString description = was ? ChangeMarks::describedAsChanged(*was) : QString();
    if (box->accessibleDescription() != description)
        box->setAccessibleDescription(description);
}

QList<QWidget *> SettingsEditor::readingOrder() const
{
    QList<QWidget *> order;
    for (int i : fields::visibleOrder()) {
        order << TxtData(i);
        if (i == fields::CurrentLimit)
            order << ChkCurLimOff();
    }
    return order;
}
