#include "image_surface.h"
#include "colours.h"
#include "twips.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

// Lines are cut to the picture (plus a margin for the pen) before they reach the
// rasteriser: values far outside the scales would otherwise cost time or precision.
constexpr double ClipMarginTwips = 150.0;

bool finite(double a, double b, double c, double d)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

int outCode(double x, double y, const QRectF &r)
{
    return (x < r.left() ? 1 : 0) | (x > r.right() ? 2 : 0) | (y < r.top() ? 4 : 0) | (y > r.bottom() ? 8 : 0);
}

// Cohen-Sutherland: shortens the segment to the part inside `r`; false when nothing is
// left. Each cut sets one coordinate to the edge exactly and interpolates the other from
// the original ends, so a level line running far out on both sides keeps its level.
bool clipToRect(double &x1, double &y1, double &x2, double &y2, const QRectF &r)
{
    int c1 = outCode(x1, y1, r);
    int c2 = outCode(x2, y2, r);
    for (int step = 0; step < 8; ++step) {
        if (!(c1 | c2))
            return true;
        if (c1 & c2)
            return false;
        const int c = c1 ? c1 : c2;
        double x = 0;
        double y = 0;
        if (c & 4) {
            x = x1 + (x2 - x1) * ((r.top() - y1) / (y2 - y1));
            y = r.top();
        } else if (c & 8) {
            x = x1 + (x2 - x1) * ((r.bottom() - y1) / (y2 - y1));
            y = r.bottom();
        } else if (c & 1) {
            y = y1 + (y2 - y1) * ((r.left() - x1) / (x2 - x1));
            x = r.left();
        } else {
            y = y1 + (y2 - y1) * ((r.right() - x1) / (x2 - x1));
            x = r.right();
        }
        if (!std::isfinite(x) || !std::isfinite(y))
            return false;
        if (c == c1) {
            x1 = x;
            y1 = y;
            c1 = outCode(x1, y1, r);
        } else {
            x2 = x;
            y2 = y;
            c2 = outCode(x2, y2, r);
        }
    }
    return !(c1 | c2);
}

} // namespace

ImageSurface::ImageSurface(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_pen.setCosmetic(true);
    m_pen.setCapStyle(Qt::SquareCap);
    m_pen.setJoinStyle(Qt::RoundJoin);
}

ImageSurface::~ImageSurface() = default;

void ImageSurface::setTwipGeometry(const QRectF &twips)
{
    m_twips = twips;
    setGeometry(QRect(int(std::lround(twips.left() / twips::PerPixel)), int(std::lround(twips.top() / twips::PerPixel)),
                      std::max(0, int(std::lround(twips.width() / twips::PerPixel))),
                      std::max(0, int(std::lround(twips.height() / twips::PerPixel)))));
    finishPainting();
}

int ImageSurface::innerWidth() const
{
    return std::max(0, int(std::lround(m_twips.width())) - 2 * twips::fromPixels(BorderPixels));
}

int ImageSurface::innerHeight() const
{
    return std::max(0, int(std::lround(m_twips.height())) - 2 * twips::fromPixels(BorderPixels));
}

QSize ImageSurface::innerPixels() const
{
    return QSize(std::max(0, width() - 2 * BorderPixels), std::max(0, height() - 2 * BorderPixels));
}

bool ImageSurface::ensureImage()
{
    const QSize inner = innerPixels();
    const qreal ratio = devicePixelRatioF();
    const QSize device(int(std::ceil(inner.width() * ratio)), int(std::ceil(inner.height() * ratio)));
    if (device.isEmpty())
        return false;
    if (m_image.size() != device || m_ratio != ratio) {
        m_image = QImage(device, QImage::Format_RGB32);
        m_image.fill(Qt::white);
        m_ratio = ratio;
    }
    return true;
}

QPainter &ImageSurface::painter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>();
        if (ensureImage() && innerWidth() > 0 && innerHeight() > 0) {
            // The image is kept in raw device pixels and the painter left untransformed:
            // the twip-to-pixel scale is applied to the coordinates here, which keeps the
            // rasteriser on its fast path for wide smoothed lines (several times faster
            // than a painter transform) and lets pens be exactly their width in pixels.
            m_painter->begin(&m_image);
            m_toDevice =
                QTransform::fromScale(double(m_image.width()) / innerWidth(), double(m_image.height()) / innerHeight());
        }
        update();
    }
    return *m_painter;
}

void ImageSurface::finishPainting()
{
    if (m_painter) {
        if (m_painter->isActive())
            m_painter->end();
        m_painter.reset();
    }
}

// Drawing is cut a little outside the surface, so that wide pens still reach its edges.
QRectF ImageSurface::clipLimit() const
{
    return QRectF(-ClipMarginTwips, -ClipMarginTwips, innerWidth() + 2 * ClipMarginTwips,
                  innerHeight() + 2 * ClipMarginTwips);
}

// The painter for a drawing call, or null when the call has nothing to draw on or with.
QPainter *ImageSurface::readyPainter(double x1, double y1, double x2, double y2)
{
    if (!finite(x1, y1, x2, y2))
        return nullptr;
    QPainter &p = painter();
    return p.isActive() ? &p : nullptr;
}

void ImageSurface::fillRect(double x1, double y1, double x2, double y2, int bgr)
{
    QPainter *active = readyPainter(x1, y1, x2, y2);
    if (!active)
        return;
    QPainter &p = *active;
    const QRectF limit = clipLimit();
    const QRectF area = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized().intersected(limit);
    if (!area.isEmpty()) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(m_toDevice.mapRect(area), colourFromBgr(bgr));
    }
}

void ImageSurface::line(double x1, double y1, double x2, double y2, int bgr, int widthPx)
{
    QPainter *active = readyPainter(x1, y1, x2, y2);
    if (!active)
        return;
    QPainter &p = *active;
    const QRectF limit = clipLimit();
    if (!clipToRect(x1, y1, x2, y2, limit))
        return;
    const int width = std::max(1, widthPx);
    const QColor colour = colourFromBgr(bgr);
    const qreal penWidth = width * m_ratio;
    if (m_pen.color() != colour || m_pen.widthF() != penWidth) {
        m_pen.setColor(colour);
        m_pen.setWidthF(penWidth);
    }
    // Thin lines stay crisp on the pixel grid; wide ones (the traces) are smoothed.
    p.setRenderHint(QPainter::Antialiasing, width > 1);
    p.setPen(m_pen);
    p.drawLine(m_toDevice.map(QLineF(x1, y1, x2, y2)));
}

QImage ImageSurface::picture()
{
    finishPainting();
    QImage copy = m_image;
    copy.setDevicePixelRatio(m_ratio);
    return copy;
}

void ImageSurface::resizeEvent(QResizeEvent *event)
{
    finishPainting();
    QWidget::resizeEvent(event);
}

void ImageSurface::paintEvent(QPaintEvent *)
{
    finishPainting();
    QPainter p(this);
    // Sunken two-pixel border, filled rather than stroked so that it covers every device
    // pixel at any pixel ratio.
    const int w = width();
    const int h = height();
    auto edges = [&](int inset, const QColor &topLeft, const QColor &bottomRight) {
        p.fillRect(QRect(inset, inset, w - 2 * inset, 1), topLeft);
        p.fillRect(QRect(inset, inset, 1, h - 2 * inset), topLeft);
        p.fillRect(QRect(inset, h - 1 - inset, w - 2 * inset, 1), bottomRight);
        p.fillRect(QRect(w - 1 - inset, inset, 1, h - 2 * inset), bottomRight);
    };
    edges(0, QColor(0x80, 0x80, 0x80), Qt::white);
    edges(1, QColor(0x40, 0x40, 0x40), QColor(0xD4, 0xD0, 0xC8));

    const QRect inner(BorderPixels, BorderPixels, innerPixels().width(), innerPixels().height());
    if (m_image.isNull()) {
        p.fillRect(inner, Qt::white);
        return;
    }
    p.drawImage(QRectF(inner), m_image, QRectF(m_image.rect()));
    if (m_ratio != devicePixelRatioF() && !m_redrawRequested) {
        // Moved to a screen with another pixel ratio: the picture is drawn scaled until
        // the owner has drawn it again at the new resolution.
        m_redrawRequested = true;
        QTimer::singleShot(0, this, [this] {
            m_redrawRequested = false;
            Q_EMIT redrawNeeded();
        });
    }
}
