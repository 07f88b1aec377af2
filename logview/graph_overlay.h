#pragma once
#include <QWidget>

// Drawn over the graph without touching its picture: the cursor line, the band of a
// time range being dragged out, and a focus frame. Moving the cursor repaints only the
// strips it leaves and enters.
class GraphOverlay : public QWidget {
    Q_OBJECT
public:
    explicit GraphOverlay(QWidget *surface);

    // Positions in pixels of the surface widget; -1 hides the cursor or the band.
    void setCursorX(int x);
    int cursorX() const { return m_cursorX; }
    void setBand(int from, int to);
    void clearBand() { setBand(-1, -1); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect cursorStrip(int x) const;
    QRect bandRect() const;

    int m_cursorX = -1;
    int m_bandFrom = -1;
    int m_bandTo = -1;
};
