#pragma once
#include <QHash>
#include <QRectF>

class QWidget;

// Widget positions and sizes in twips, kept exactly as they were set: the layout reads
// its own results back (a surface 5800 twips wide stays 5800, not the 5805 that its
// 387 pixels would give). Every change moves the widget to the nearest whole pixel.
class TwipGeometry {
public:
    void place(QWidget *w, const QRectF &twips);
    QRectF rect(const QWidget *w) const { return m_rects.value(w); }

    double left(const QWidget *w) const { return rect(w).left(); }
    double top(const QWidget *w) const { return rect(w).top(); }
    double width(const QWidget *w) const { return rect(w).width(); }
    double height(const QWidget *w) const { return rect(w).height(); }

    void setLeft(QWidget *w, double v);
    void setTop(QWidget *w, double v);
    void setWidth(QWidget *w, double v);
    void setHeight(QWidget *w, double v);

private:
    QHash<const QWidget *, QRectF> m_rects;
};
