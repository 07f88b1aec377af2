#include "message_line_edit.h"

#include "platform/gui/colours.h"

MessageLineEdit::MessageLineEdit(QWidget *parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setFocusPolicy(Qt::ClickFocus);
}

void MessageLineEdit::ShowMessage(const QString &text, int colour)
{
    // Colour first, then text, so the line never shows a new message in the old colour.
    m_colour = colour;
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::Text, colourFromBgr(colour));
    p.setColor(QPalette::Inactive, QPalette::Text, colourFromBgr(colour));
    setPalette(p);
    setText(text);
    setCursorPosition(0); // a long message shows its beginning, not its end
    Q_EMIT messageShown(text, colour);
}
