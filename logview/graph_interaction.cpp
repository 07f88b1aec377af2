#include "graph_interaction.h"
#include "graph_overlay.h"
#include "time_view.h"

#include "platform/gui/image_surface.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {
constexpr int Border = ImageSurface::BorderPixels;
}

GraphInteraction::GraphInteraction(ImageSurface *surface, TimeView &view, GraphOverlay *overlay)
    : QObject(surface), m_surface(surface), m_view(view), m_overlay(overlay)
{
    surface->setMouseTracking(true);
    surface->setFocusPolicy(Qt::StrongFocus);
    surface->setContextMenuPolicy(Qt::DefaultContextMenu);
    surface->installEventFilter(this);
}

double GraphInteraction::twipsPerPixel() const
{
    const int innerPx = m_surface->width() - 2 * Border;
    return innerPx > 0 ? double(m_surface->innerWidth()) / innerPx : 0;
}

double GraphInteraction::exactSecondAtPixel(int x) const
{
    return m_view.secondAt((x - Border) * twipsPerPixel(), m_surface->innerWidth());
}

int GraphInteraction::secondAtPixel(int x) const
{
    return m_view.nearestSecond((x - Border) * twipsPerPixel(), m_surface->innerWidth());
}

int GraphInteraction::pixelOfSecond(double second) const
{
    const double perPixel = twipsPerPixel();
    if (perPixel <= 0)
        return -1;
    return Border + int(std::lround(m_view.xOf(second, m_surface->innerWidth()) / perPixel));
}

void GraphInteraction::placeCursorLine()
{
    m_overlay->setCursorX(m_cursor >= 0 ? pixelOfSecond(m_cursor) : -1);
}

void GraphInteraction::setCursor(int second)
{
    if (second >= 0)
        second = std::clamp(second, 0, TimeView::LastSecond);
    if (second == m_cursor)
        return;
    m_cursor = second;
    placeCursorLine();
    Q_EMIT cursorChanged(m_cursor);
}

void GraphInteraction::moveCursor(int seconds)
{
    const int from = m_cursor >= 0 ? m_cursor : int(std::lround(m_view.start() + m_view.span() / 2));
    const int to = std::clamp(from + (m_cursor >= 0 ? seconds : 0), 0, TimeView::LastSecond);
    if (to < m_view.start() || to > m_view.end()) {
        // The cursor leaves the view: the view follows it.
        m_view.reveal(to);
        Q_EMIT viewChanged();
    }
    setCursor(to);
}

void GraphInteraction::zoomBy(double factor)
{
    const double anchor = m_cursor >= 0 ? m_cursor : m_view.start() + m_view.span() / 2;
    m_view.zoomAround(anchor, factor);
    Q_EMIT viewChanged();
}

void GraphInteraction::resetZoom()
{
    m_view.reset();
    Q_EMIT viewChanged();
}

bool GraphInteraction::keyPress(int key, Qt::KeyboardModifiers modifiers)
{
    const int step = modifiers & Qt::ShiftModifier ? 10 : 1;
    switch (key) {
    case Qt::Key_Left:
        moveCursor(-step);
        return true;
    case Qt::Key_Right:
        moveCursor(step);
        return true;
    case Qt::Key_Home:
        resetZoom();
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomBy(0.5);
        return true;
    case Qt::Key_Minus:
        zoomBy(2);
        return true;
    default:
        return false;
    }
}

bool GraphInteraction::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_surface)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const int x = static_cast<QMouseEvent *>(event)->position().toPoint().x();
        if (m_dragFrom >= 0 && std::abs(x - m_dragFrom) >= DragThreshold)
            m_dragging = true;
        if (m_dragging)
            m_overlay->setBand(m_dragFrom, std::clamp(x, Border, m_surface->width() - Border - 1));
        setCursor(secondAtPixel(x));
        return true;
    }
    case QEvent::Leave:
        if (m_dragFrom < 0)
            setCursor(-1);
        return false;
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        m_surface->setFocus(Qt::MouseFocusReason);
        m_dragFrom = e->position().toPoint().x();
        m_dragging = false;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() != Qt::LeftButton || m_dragFrom < 0)
            return false;
        const int from = m_dragFrom;
        const bool dragged = m_dragging;
        m_dragFrom = -1;
        m_dragging = false;
        m_overlay->clearBand();
        if (dragged) {
            m_view.zoomTo(exactSecondAtPixel(from), exactSecondAtPixel(e->position().toPoint().x()));
            Q_EMIT viewChanged();
        }
        return true;
    }
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            return false;
        m_dragFrom = -1;
        resetZoom();
        return true;
    case QEvent::Wheel: {
        auto *e = static_cast<QWheelEvent *>(event);
        const double notches = e->angleDelta().y() / 120.0;
        if (notches == 0)
            return true;
        const int x = e->position().toPoint().x();
        m_view.zoomAround(exactSecondAtPixel(x), std::pow(WheelZoom, notches));
        Q_EMIT viewChanged();
        setCursor(secondAtPixel(x));
        return true;
    }
    case QEvent::KeyPress: {
        auto *e = static_cast<QKeyEvent *>(event);
        return keyPress(e->key(), e->modifiers());
    }
    case QEvent::ContextMenu:
        Q_EMIT menuRequested(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    case QEvent::Resize:
        m_overlay->setGeometry(m_surface->rect());
        placeCursorLine();
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        m_overlay->update();
        return false;
    default:
        return false;
    }
}
