#include "line_sample.h"
#include "twip_geometry.h"

#include "platform/gui/colours.h"
#include "platform/gui/twips.h"

#include <QPainter>
#include <algorithm>

LineSample::LineSample(QWidget *parent, int bgr, int widthPx) : QWidget(parent), m_bgr(bgr), m_widthPx(widthPx)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineSample::setLine(TwipGeometry &geometry, QPointF from, QPointF to)
{
    // The widget covers the line plus the pen on every side.
    const double pad = twips::fromPixels(m_widthPx);
    const QRectF box = QRectF(from, to).normalized().adjusted(-pad, -pad, pad, pad);
    m_from = from - box.topLeft();
    m_to = to - box.topLeft();
    geometry.place(this, box);
    update();
}

void LineSample::setBorderColor(int bgr)
{
    m_bgr = bgr;
    update();
}

void LineSample::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(colourFromBgr(m_bgr), m_widthPx);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    const double s = 1.0 / twips::PerPixel;
    p.drawLine(QLineF(m_from * s, m_to * s));
}
