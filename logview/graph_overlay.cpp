#include "graph_overlay.h"

#include <QPainter>
#include <algorithm>

namespace {
constexpr int Border = 2; // the surface's sunken border
}

GraphOverlay::GraphOverlay(QWidget *surface) : QWidget(surface)
{
    setObjectName(QStringLiteral("GraphOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

QRect GraphOverlay::cursorStrip(int x) const
{
    return QRect(x - 1, 0, 3, height());
}

QRect GraphOverlay::bandRect() const
{
    if (m_bandFrom < 0 || m_bandTo < 0)
        return {};
    const int left = std::min(m_bandFrom, m_bandTo);
    return QRect(left, Border, std::abs(m_bandTo - m_bandFrom) + 1, height() - 2 * Border);
}

void GraphOverlay::setCursorX(int x)
{
    if (x == m_cursorX)
        return;
    if (m_cursorX >= 0)
        update(cursorStrip(m_cursorX));
    m_cursorX = x;
    if (m_cursorX >= 0)
        update(cursorStrip(m_cursorX));
}

void GraphOverlay::setBand(int from, int to)
{
    update(bandRect());
    m_bandFrom = from;
    m_bandTo = to;
    update(bandRect());
}

void GraphOverlay::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect inner = rect().adjusted(Border, Border, -Border, -Border);
    p.setClipRect(inner);
    if (const QRect band = bandRect(); band.isValid())
        p.fillRect(band, QColor(0, 0, 0, 40));
    if (m_cursorX >= 0)
        p.fillRect(QRect(m_cursorX, inner.top(), 1, inner.height()), Qt::black);
    if (parentWidget() && parentWidget()->hasFocus()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(inner.adjusted(0, 0, -1, -1));
    }
}
