#pragma once
#include <QString>

// The one-line status text at the bottom of the main window.
// Colours are 0xBBGGRR values; the program uses 0 (black) and 255 (red).
class MessageLine {
public:
    static constexpr int Black = 0;
    static constexpr int Red = 255;

    virtual ~MessageLine() = default;
    virtual void ShowMessage(const QString &text, int colour) = 0;
};
