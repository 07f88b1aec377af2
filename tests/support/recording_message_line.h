#pragma once
#include "platform/message_line.h"
#include <QList>
#include <QPair>

// Keeps every message line text with its colour, oldest first.
class RecordingMessageLine : public MessageLine {
public:
    void ShowMessage(const QString &text, int colour) override { lines.append({text, colour}); }
    QString lastText() const { return lines.isEmpty() ? QString() : lines.last().first; }
    int lastColour() const { return lines.isEmpty() ? -1 : lines.last().second; }

    QList<QPair<QString, int>> lines;
};
