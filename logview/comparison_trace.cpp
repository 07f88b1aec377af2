#include "comparison_trace.h"
#include "logdata/log_store.h"
#include "time_view.h"

#include "platform/gui/drawing_surface.h"

#include <algorithm>
#include <cmath>

namespace comparison {

int lighter(int bgr)
{
    int out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int c = (bgr >> shift) & 0xFF;
        out |= (c + (255 - c) / 2) << shift;
    }
    return out;
}

namespace {

// Lays the dash pattern along a polyline, carrying its phase from one segment to the next.
class Dasher {
public:
    Dasher(DrawingSurface &s, int bgr, int widthPx) : m_s(s), m_bgr(bgr), m_width(widthPx) {}

    void restart() { m_phase = 0; }

    void segment(double x1, double y1, double x2, double y2)
    {
        const double length = std::hypot(x2 - x1, y2 - y1);
        if (!(length > 0) || !std::isfinite(length))
            return;
        const double period = DashTwips + GapTwips;
        double done = 0;
        while (done < length) {
            const bool on = m_phase < DashTwips;
            const double left = on ? DashTwips - m_phase : period - m_phase;
            const double step = std::min(left, length - done);
            if (on) {
                const double a = done / length;
                const double b = (done + step) / length;
                m_s.line(x1 + (x2 - x1) * a, y1 + (y2 - y1) * a, x1 + (x2 - x1) * b, y1 + (y2 - y1) * b, m_bgr,
                         m_width);
            }
            done += step;
            m_phase = std::fmod(m_phase + step, period);
        }
    }

private:
    DrawingSurface &m_s;
    int m_bgr;
    int m_width;
    double m_phase = 0;
};

} // namespace

void drawTrace(DrawingSurface &s, const std::array<float, 512> &data, double top, double divisor, const TimeView &view,
               int bgr, int widthPx)
{
    const int PW = s.innerWidth();
    const int PH = s.innerHeight();
    // Values far off the scale (a file may hold any number) are brought near it first, so
    // the dash walk stays short; the surface cuts what lies outside.
    const auto y = [&](float v) { return std::clamp((top - double(v)) * PH / divisor, -2.0 * PH, 3.0 * PH); };
    const int first = std::max(1, int(std::floor(view.start())));
    const int last = std::min(int(data.size()) - 1, int(std::ceil(view.end())));
    Dasher dasher(s, lighter(bgr), widthPx);
    for (int t = first; t <= last; ++t) {
        const float a = data[size_t(t - 1)];
        const float b = data[size_t(t)];
        if (a == LogStore::Missing || b == LogStore::Missing) {
            dasher.restart();
            continue;
        }
        dasher.segment(view.xOf(t - 1, PW), y(a), view.xOf(t, PW), y(b));
    }
}

} // namespace comparison
