#pragma once
#include <QString>

class Console;

// A bar on the terminal that counts the characters of a long reply as they arrive, drawn
// over itself on one line and cleared when the reply is complete.
class ProgressBar {
public:
    ProgressBar(Console &console, int total);
    ~ProgressBar();

    void update(int received);
    void finish();

    // "[#######            ]  812/2051 characters"
    static QString text(int received, int total, int width = 30);

private:
    Console &m_console;
    int m_total;
    int m_shown = -1;
    bool m_drawn = false;
};
