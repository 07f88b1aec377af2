#include "time_view.h"

#include <algorithm>
#include <cmath>

void TimeView::reset()
{
    m_start = 0;
    m_span = FullSpan;
}

void TimeView::clampStart()
{
    m_start = std::clamp(m_start, 0.0, FullSpan - m_span);
}

void TimeView::zoomTo(double a, double b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return;
    if (a > b)
        std::swap(a, b);
    a = std::clamp(a, 0.0, FullSpan);
    b = std::clamp(b, 0.0, FullSpan);
    m_span = std::clamp(b - a, MinSpan, FullSpan);
    m_start = (a + b) / 2 - m_span / 2;
    clampStart();
    if (m_span == FullSpan)
        reset();
}

void TimeView::zoomAround(double anchor, double factor)
{
    if (!std::isfinite(anchor) || !(factor > 0))
        return;
    const double span = std::clamp(m_span * factor, MinSpan, FullSpan);
    const double share = (anchor - m_start) / m_span; // where the anchor sits, 0 at the left
    m_start = anchor - share * span;
    m_span = span;
    clampStart();
    if (m_span == FullSpan)
        reset();
}

void TimeView::reveal(double second)
{
    if (second < m_start)
        m_start = second;
    else if (second > end())
        m_start = second - m_span;
    clampStart();
}

double TimeView::secondAt(double x, int PW) const
{
    return PW > 0 ? m_start + x * m_span / PW : m_start;
}

int TimeView::nearestSecond(double x, int PW) const
{
    const double t = std::clamp(secondAt(x, PW), m_start, end());
    const int first = std::max(0, int(std::ceil(m_start)));
    const int last = std::min(LastSecond, int(std::floor(end())));
    return std::clamp(int(std::lround(t)), first, std::max(first, last));
}

int TimeView::gridLines(int step) const
{
    const double first = std::ceil(m_start / step);
    const double beyond = std::ceil(end() / step); // lines at end() itself are not in view
    return int(beyond - first);
}

int TimeView::gridStep() const
{
    for (int step : {1, 2, 5, 10, 30})
        if (gridLines(step) <= 18)
            return step;
    return 60;
}
