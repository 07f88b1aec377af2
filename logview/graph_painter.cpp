#include "graph_painter.h"
#include "comparison_trace.h"

#include "logdata/log_store.h"
#include "numtext/number_text.h"
#include "platform/gui/drawing_surface.h"

#include <algorithm>
#include <cmath>

namespace graphpainter {
namespace {

// Rounding to whole twips, halves to the even neighbour. It is applied exactly where the
// drawing rules round and nowhere else, so the picture matches the scales to the twip.
double R(double v)
{
    return double(numtext::roundHalfEven(v));
}

constexpr double VoltTop = 9.99; // the voltage at the upper edge
constexpr double VoltSpan = 10;
constexpr double CurTop = 299.7; // the current at the upper edge
constexpr double CurSpan = 300;

} // namespace

void drawScales(DrawingSurface &s, const Look &look)
{
    const int PW = s.innerWidth();
    const int PH = s.innerHeight();
    const TimeView &view = look.view;
    s.fillRect(0, 0, PW, PH, Background);

    // Voltage scale at the left: ticks (or full-width lines) at "0" to "9.0".
    for (int k = 0; k < 10; ++k) {
        const double y = R(double((10 - k) * PH) / 10);
        s.line(0, y, look.voltLines ? PW : ShortTick, y, GridColour, 1);
    }

    // Current scale at the right: a tick, then the line the option asks for.
    for (int k = 0; k < 6; ++k) {
        const double tickY = double((6 - k) * PH) / 6;
        s.line(PW - ShortTick, tickY, PW, tickY, GridColour, 1);
        const double y = R(tickY);
        s.line(look.curLines ? 0 : PW - ShortTick, y, PW, y, GridColour, 1);
    }

    // Time scale: full-height lines every 30 s, or at the zoomed view's grid step.
    if (view.isDefault()) {
        for (int k = 0; k < 9; ++k) {
            const double x = R(double(k) * PW / 9);
            s.line(x, 0, x, PH, GridColour, 1);
            const double half = R((k + 0.5) * PW / 9);
            s.line(half, 0, half, PH, GridColour, 1);
        }
    } else {
        const int step = view.gridStep();
        for (int t = step * int(std::ceil(view.start() / step)); t < view.end(); t += step) {
            const double x = R(view.xOf(t, PW));
            s.line(x, 0, x, PH, GridColour, 1);
        }
    }

    // A compared run lies behind this one.
    if (look.comparison) {
        const int width = 2;
        comparison::drawTrace(s, look.comparison->VoltData, VoltTop, VoltSpan, view, look.voltColour, width);
        comparison::drawTrace(s, look.comparison->CurData, CurTop, CurSpan, view, look.curColour, width);
    }
}

void drawTraces(DrawingSurface &s, const LogStore &store, const Look &look)
{
    const int PW = s.innerWidth();
    const int PH = s.innerHeight();
    const TimeView &view = look.view;
    const auto &volt = store.VoltData;
    const auto &cur = store.CurData;
    // Zoomed, only the segments that reach into the view are drawn.
    const int first = std::max(1, int(std::floor(view.start())));
    const int last = std::min(LogStore::SampleCount, int(std::ceil(view.end())) + 1);

    // Each segment joins the previous sample to this one. Only this sample is tested for
    // "no value": a segment after a gap rises from where -1 lies, below the lower edge.
    for (int i = first; i <= last; ++i) {
        const int p = i == 1 ? 0 : i - 2;
        const double xa = R(view.xOf(p, PW));
        const double xb = R(view.xOf(i - 1, PW));
        if (volt[i - 1] != LogStore::Missing) {
            const double ya = R((VoltTop - double(volt[p])) * PH / VoltSpan);
            const double yb = R((VoltTop - double(volt[i - 1])) * PH / VoltSpan);
            s.line(xa, ya, xb, yb, look.voltColour, 2);
        }
        if (cur[i - 1] != LogStore::Missing) {
            const double ya = R((CurTop - double(cur[p])) * PH / CurSpan);
            const double yb = R((CurTop - double(cur[i - 1])) * PH / CurSpan);
            s.line(xa, ya, xb, yb, look.curColour, 2);
        }
    }
}

} // namespace graphpainter
