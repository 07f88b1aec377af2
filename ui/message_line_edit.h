#pragma once
#include "platform/message_line.h"

#include <QLineEdit>

// The main window's message line, TxtMsg: one line of status text whose colour tells
// progress (black) from failure (red). The user can select and copy it but not edit it.
class MessageLineEdit : public QLineEdit, public MessageLine {
    Q_OBJECT
public:
    explicit MessageLineEdit(QWidget *parent = nullptr);

    void ShowMessage(const QString &text, int colour) override;
    // The colour of the last message as 0xBBGGRR.
    int textColour() const { return m_colour; }

Q_SIGNALS:
    // Each message as it is shown, even one that repeats the last.
    void messageShown(const QString &text, int colour);

private:
    int m_colour = Black;
};
