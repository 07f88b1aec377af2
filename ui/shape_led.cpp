#include "shape_led.h"

#include "platform/gui/colours.h"

#include <QPainter>

ShapeLed::ShapeLed(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ShapeLed::setFillColour(int bgr)
{
    if (bgr == m_bgr)
        return;
    m_bgr = bgr;
    update();
}

void ShapeLed::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.fillRect(rect().adjusted(1, 1, -1, -1), colourFromBgr(m_bgr));
}
