#pragma once
#include <QObject>
#include <QPoint>

class GraphOverlay;
class ImageSurface;
class TimeView;

// What the mouse and the keyboard do on the graph: point at a second, zoom the time axis
// (wheel, dragging out a range, + and -), go back to the full view (Home, double-click)
// and ask for the graph's menu. The view is changed here; redrawing is the window's job.
class GraphInteraction : public QObject {
    Q_OBJECT
public:
    static constexpr double WheelZoom = 0.8; // span factor per wheel notch toward the user
    static constexpr int DragThreshold = 4; // pixels a press must travel to select a range

    GraphInteraction(ImageSurface *surface, TimeView &view, GraphOverlay *overlay);

    // The second under the cursor line, or -1 when there is none.
    int cursor() const { return m_cursor; }
    void setCursor(int second);
    void moveCursor(int seconds);

    // Mapping between the surface widget's pixels and seconds of the current view.
    int secondAtPixel(int x) const;
    double exactSecondAtPixel(int x) const;
    int pixelOfSecond(double second) const;

    void zoomBy(double factor);
    void resetZoom();

    // Puts the cursor line where the current view draws its second (after a redraw).
    void placeCursorLine();

Q_SIGNALS:
    void viewChanged();
    void cursorChanged(int second);
    void menuRequested(const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    double twipsPerPixel() const;
    bool keyPress(int key, Qt::KeyboardModifiers modifiers);

    ImageSurface *m_surface;
    TimeView &m_view;
    GraphOverlay *m_overlay;
    int m_cursor = -1;
    int m_dragFrom = -1; // pixel where the left button went down, -1 when not pressed
    bool m_dragging = false;
};
