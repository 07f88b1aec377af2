#pragma once
#include <QPointF>
#include <QWidget>

class TwipGeometry;

// A straight line drawn on a window, as a legend sample: its colour is the colour of the
// trace it stands for.
class LineSample : public QWidget {
    Q_OBJECT
public:
    LineSample(QWidget *parent, int bgr, int widthPx);

    // Places the line between two points given in twips of the parent.
    void setLine(TwipGeometry &geometry, QPointF from, QPointF to);

    int BorderColor() const { return m_bgr; }
    void setBorderColor(int bgr);
    int BorderWidth() const { return m_widthPx; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_bgr;
    int m_widthPx;
    QPointF m_from; // in the widget's own twips
    QPointF m_to;
};
