// The settings fields from the keyboard: arrow keys step a field, and a value typed out
// of range shows the field's range at once instead of waiting for the mouse to hover.
#include "editor/settings_editor.h"
#include "editor/spin_button.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolTip>

bool SettingsEditor::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease)
        return QObject::eventFilter(watched, event);
    int i = 0;
    while (i < fields::Count && TxtData(i) != watched)
        ++i;
    if (i == fields::Count)
        return QObject::eventFilter(watched, event);

    const auto *key = static_cast<QKeyEvent *>(event);
    const bool arrow = (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)
        && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (press && arrow) {
        key->key() == Qt::Key_Up ? UpDownData(i)->stepUp() : UpDownData(i)->stepDown();
        return true;
    }
    // A tooltip hides itself on every key; the one telling the range comes back after it.
    if (!press && i == m_tipField)
        updateRangeTip(i);
    return QObject::eventFilter(watched, event);
}

void SettingsEditor::updateRangeTip(int i)
{
    QLineEdit *field = TxtData(i);
    if (isOutOfRange(i) && field->isVisible()) {
        m_tipField = i;
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), field->toolTip(), field);
        return;
    }
    if (m_tipField == i) {
        m_tipField = -1;
        QToolTip::hideText();
    }
}
