#pragma once
#include <QFrame>

class QLabel;

// The strip along the bottom of the log window: the run's statistics on the left (wrapping
// between items: one line on a wide window, up to three on the narrowest), the second
// under the cursor on the right.
// Its height is fixed, so that the area above it never moves when the texts change.
class LogStatusStrip : public QFrame {
    Q_OBJECT
public:
    explicit LogStatusStrip(QWidget *parent);

    // Three lines of the given font and the strip's margins, in pixels.
    static int heightFor(const QFont &font);

    void setStatistics(const QString &text);
    void setCursorText(const QString &text);
    QString statisticsText() const;
    QString cursorText() const;

private:
    QLabel *m_statistics;
    QLabel *m_cursor;
};
