#include "picture_surface.h"

#include "platform/gui/colours.h"

#include <cmath>

namespace {

// Liang-Barsky: keeps the part of the segment inside `r`; false when none is left.
bool clip(QLineF &l, const QRectF &r)
{
    const double dx = l.dx();
    const double dy = l.dy();
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {l.x1() - r.left(), r.right() - l.x1(), l.y1() - r.top(), r.bottom() - l.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF a = l.p1();
    l = QLineF(a + QPointF(dx, dy) * t0, a + QPointF(dx, dy) * t1);
    return true;
}

} // namespace

PictureSurface::PictureSurface(QSize twips, QSize pixels, double penScale)
    : m_twips(twips), m_image(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32), m_penScale(penScale)
{
    m_image.fill(Qt::white);
    m_painter.begin(&m_image);
    if (!twips.isEmpty())
        m_toPixels =
            QTransform::fromScale(double(m_image.width()) / twips.width(), double(m_image.height()) / twips.height());
}

void PictureSurface::fillRect(double x1, double y1, double x2, double y2, int bgr)
{
    if (!m_painter.isActive())
        return;
    const QRectF area = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.fillRect(m_toPixels.mapRect(area).intersected(QRectF(m_image.rect())), colourFromBgr(bgr));
}

void PictureSurface::line(double x1, double y1, double x2, double y2, int bgr, int widthPx)
{
    if (!m_painter.isActive() || !std::isfinite(x1 + y1 + x2 + y2))
        return;
    QLineF l(x1, y1, x2, y2);
    const double margin = 150; // lets wide pens reach the edges
    if (!clip(l, QRectF(-margin, -margin, m_twips.width() + 2 * margin, m_twips.height() + 2 * margin)))
        return;
    const int width = std::max(1, widthPx);
    QPen pen(colourFromBgr(bgr), width * m_penScale);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::RoundJoin);
    m_painter.setRenderHint(QPainter::Antialiasing, width > 1);
    m_painter.setPen(pen);
    m_painter.drawLine(m_toPixels.map(l));
}

QImage PictureSurface::image()
{
    if (m_painter.isActive())
        m_painter.end();
    return m_image;
}
