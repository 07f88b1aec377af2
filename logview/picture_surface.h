#pragma once
#include "platform/gui/drawing_surface.h"

#include <QImage>
#include <QPainter>
#include <QPen>

// A drawing surface that paints into an image of a chosen pixel size: the graph drawn
// again for export, with pens scaled by the same factor as the picture.
class PictureSurface : public DrawingSurface {
public:
    // `twips` is the inner size the drawing is laid out for; `pixels` the image size.
    PictureSurface(QSize twips, QSize pixels, double penScale);

    int innerWidth() const override { return m_twips.width(); }
    int innerHeight() const override { return m_twips.height(); }
    void fillRect(double x1, double y1, double x2, double y2, int bgr) override;
    void line(double x1, double y1, double x2, double y2, int bgr, int widthPx) override;

    // The picture; drawing ends with the first call.
    QImage image();

private:
    QSize m_twips;
    QImage m_image;
    QPainter m_painter;
    QTransform m_toPixels;
    double m_penScale;
};
