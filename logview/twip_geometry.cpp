#include "twip_geometry.h"

#include "platform/gui/image_surface.h"
#include "platform/gui/twips.h"

#include <QWidget>
#include <cmath>

namespace {
int pixels(double t)
{
    return int(std::lround(t / twips::PerPixel));
}
} // namespace

void TwipGeometry::place(QWidget *w, const QRectF &twips)
{
    m_rects.insert(w, twips);
    // The drawing surface needs its exact twip size for its coordinate scale.
    if (auto *surface = qobject_cast<ImageSurface *>(w)) {
        surface->setTwipGeometry(twips);
        return;
    }
    const QRect px(pixels(twips.left()), pixels(twips.top()), std::max(0, pixels(twips.width())),
                   std::max(0, pixels(twips.height())));
    if (w->geometry() != px)
        w->setGeometry(px);
}

void TwipGeometry::setLeft(QWidget *w, double v)
{
    QRectF r = rect(w);
    r.moveLeft(v);
    place(w, r);
}

void TwipGeometry::setTop(QWidget *w, double v)
{
    QRectF r = rect(w);
    r.moveTop(v);
    place(w, r);
}

void TwipGeometry::setWidth(QWidget *w, double v)
{
    QRectF r = rect(w);
    r.setWidth(v);
    place(w, r);
}

void TwipGeometry::setHeight(QWidget *w, double v)
{
    QRectF r = rect(w);
    r.setHeight(v);
    place(w, r);
}
