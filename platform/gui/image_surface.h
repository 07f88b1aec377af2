#pragma once
#include "drawing_surface.h"

#include <QImage>
#include <QPen>
#include <QRectF>
#include <QTransform>
#include <QWidget>
#include <memory>

class QPainter;

// A drawing surface widget that keeps its picture in an image and repaints from it
// whenever the window system asks, so a covered and uncovered window shows its graph
// without the owner drawing again. Drawing coordinates are twips mapped onto the area
// inside a sunken border; pen widths are logical pixels, also on high-DPI screens.
class ImageSurface : public QWidget, public DrawingSurface {
    Q_OBJECT
public:
    static constexpr int BorderPixels = 2;

    explicit ImageSurface(QWidget *parent = nullptr);
    ~ImageSurface() override;

    // Places the surface in its parent at a rectangle given in twips. The drawable area is
    // that rectangle less the border. The kept picture is cleared when its size changes.
    void setTwipGeometry(const QRectF &twips);
    QRectF twipGeometry() const { return m_twips; }

    int innerWidth() const override;
    int innerHeight() const override;
    void fillRect(double x1, double y1, double x2, double y2, int bgr) override;
    void line(double x1, double y1, double x2, double y2, int bgr, int widthPx) override;

    // The kept picture in device pixels (its device pixel ratio set), border excluded.
    QImage picture();

Q_SIGNALS:
    // The kept picture no longer fits the screen it is shown on (its pixel ratio changed);
    // the owner should draw it again.
    void redrawNeeded();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRectF clipLimit() const;
    QPainter &painter();
    QPainter *readyPainter(double x1, double y1, double x2, double y2);
    void finishPainting();
    bool ensureImage();
    QSize innerPixels() const;

    QRectF m_twips;
    QImage m_image; // device pixels
    qreal m_ratio = 1.0;
    QTransform m_toDevice; // twips to device pixels of the image
    std::unique_ptr<QPainter> m_painter;
    QPen m_pen;
    bool m_redrawRequested = false;
};
