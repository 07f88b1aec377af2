#include "message_line_edit.h"

#include "platform/gui/colours.h"

#include <QAccessible>
#include <QCoreApplication>

MessageLineEdit::MessageLineEdit(QWidget *parent) : QLineEdit(parent)
{
    setReadOnly(true);
    // Tab reaches it, so the keyboard can select and copy a message.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QCoreApplication::translate("MessageLineEdit", "Message"));
}

void MessageLineEdit::ShowMessage(const QString &text, int colour)
{
    // Colour first, then text, so the line never shows a new message in the old colour.
    m_colour = colour;
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::Text, colourFromBgr(colour));
    p.setColor(QPalette::Inactive, QPalette::Text, colourFromBgr(colour));
    setPalette(p);
    // What the colour says, for those who do not see it.
    const QString meaning = colour == Red ? QCoreApplication::translate("MessageLineEdit", "error") : QString();
    if (accessibleDescription() != meaning)
        setAccessibleDescription(meaning);
    setText(text);
    setCursorPosition(0); // a long message shows its beginning, not its end
    // Announced each time, even when a message repeats the last one.
    QAccessibleValueChangeEvent changed(this, text);
    QAccessible::updateAccessibility(&changed);
    Q_EMIT messageShown(text, colour);
}
