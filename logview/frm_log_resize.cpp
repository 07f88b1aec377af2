// Layout and drawing of the log window: every position and every line of the picture
// is computed here, from the window's size and the log store, on each pass.
#include "comparison_trace.h"
#include "frm_log.h"
#include "graph_interaction.h"
#include "line_sample.h"
#include "logdata/log_store.h"

#include "platform/gui/drawing_surface.h"
#include "platform/gui/image_surface.h"
#include "platform/gui/twips.h"
#include "numtext/number_text.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>

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

void FrmLog::Form_Resize()
{
    // A minimized window reports sizes that mean nothing to the layout.
    if (isMinimized())
        return;
    const int W = Width();
    const int H = Height();
    if (W < MinWidth) {
        setWidth(MinWidth); // the size change runs the layout again
        return;
    }
    if (H < MinHeight) {
        setHeight(MinHeight);
        return;
    }

    m_geo.setLeft(CmdClose, W / 2.0 - m_geo.width(CmdClose) / 2);
    m_geo.setLeft(Frame1, W - m_geo.width(Frame1) - 210);
    m_geo.setWidth(PicLog, W - 2 * m_geo.left(PicLog) - 120);
    m_geo.setHeight(PicLog, H - m_geo.top(PicLog) - 1080);
    const double picLeft = m_geo.left(PicLog);
    const double picTop = m_geo.top(PicLog);
    const double picWidth = m_geo.width(PicLog);
    const double picHeight = m_geo.height(PicLog);

    // Voltage captions at the left, "0" to "10.0".
    for (int k = 0; k <= 10; ++k) {
        m_geo.setTop(LblVolt[k], (picHeight - 50) * (10 - k) / 10 + picTop - 65);
        m_geo.setLeft(LblVolt[k], m_geo.left(LblVolt[0]));
    }
    // Current captions at the right, "0" to "300".
    m_geo.setLeft(LblCur[0], picWidth + picLeft + 120);
    for (int k = 0; k <= 6; ++k) {
        m_geo.setTop(LblCur[k], (picHeight - 50) * (6 - k) / 6 + picTop - 65);
        m_geo.setLeft(LblCur[k], m_geo.left(LblCur[0]));
    }
    // Time captions below, every 60 s unless zoomed.
    m_geo.setTop(LblTime, picHeight + picTop + 300);
    m_geo.setLeft(LblTime, picWidth / 2 + picLeft - m_geo.width(LblTime) / 2);
    m_geo.setTop(LblS[0], picHeight + picTop + 60);
    placeTimeCaptions(picLeft, picWidth, m_surface->innerWidth());

    drawScales(*m_surface);
    DrawGraph();
    if (m_interaction)
        m_interaction->placeCursorLine();
}

void FrmLog::placeTimeCaptions(double picLeft, double picWidth, int PW)
{
    const double captionWidth = m_geo.width(LblS[0]);
    if (m_view.isDefault()) {
        if (m_timeCaptionsMoved) {
            for (int k = 0; k <= 9; ++k) {
                LblS[k]->setText(QString::number(60 * k));
                LblS[k]->setVisible(true);
            }
            m_timeCaptionsMoved = false;
        }
        for (int k = 0; k <= 9; ++k) {
            m_geo.setTop(LblS[k], m_geo.top(LblS[0]));
            m_geo.setLeft(LblS[k], (picWidth - 30) * k / 9 + picLeft - captionWidth / 2 + 40);
        }
        return;
    }
    // Zoomed: a caption on every other grid line in view, centred under it.
    m_timeCaptionsMoved = true;
    const int every = 2 * m_view.gridStep();
    const double border = twips::fromPixels(ImageSurface::BorderPixels);
    const double scale = PW > 0 ? (picWidth - 2 * border) / PW : 0;
    int t = every * int(std::ceil(m_view.start() / every));
    for (int k = 0; k <= 9; ++k, t += every) {
        const bool shown = t <= m_view.end() + 1e-9;
        LblS[k]->setVisible(shown);
        if (!shown)
            continue;
        LblS[k]->setText(QString::number(t));
        m_geo.setTop(LblS[k], m_geo.top(LblS[0]));
        m_geo.setLeft(LblS[k], picLeft + border + m_view.xOf(t, PW) * scale - captionWidth / 2);
    }
}

void FrmLog::drawPicture(DrawingSurface &s)
{
    drawScales(s);
    drawTraces(s);
}

void FrmLog::drawScales(DrawingSurface &s)
{
    const int PW = s.innerWidth();
    const int PH = s.innerHeight();
    s.fillRect(0, 0, PW, PH, Background);

    // Voltage scale at the left: ticks (or full-width lines) at "0" to "9.0".
    const bool voltLines = ChkScaleLine[0]->isChecked();
    for (int k = 0; k < 10; ++k) {
        const double y = R(double((10 - k) * PH) / 10);
        s.line(0, y, voltLines ? PW : ShortTick, y, GridColour, 1);
    }

    // Current scale at the right: a tick, then the line the option asks for.
    const bool curLines = ChkScaleLine[1]->isChecked();
    for (int k = 0; k < 6; ++k) {
        const double tickY = double((6 - k) * PH) / 6;
        s.line(PW - ShortTick, tickY, PW, tickY, GridColour, 1);
        const double y = R(tickY);
        s.line(curLines ? 0 : PW - ShortTick, y, PW, y, GridColour, 1);
    }

    // Time scale: full-height lines every 30 s, or at the zoomed view's grid step.
    if (m_view.isDefault()) {
        for (int k = 0; k < 9; ++k) {
            const double x = R(double(k) * PW / 9);
            s.line(x, 0, x, PH, GridColour, 1);
            const double half = R((k + 0.5) * PW / 9);
            s.line(half, 0, half, PH, GridColour, 1);
        }
    } else {
        const int step = m_view.gridStep();
        for (int t = step * int(std::ceil(m_view.start() / step)); t < m_view.end(); t += step) {
            const double x = R(m_view.xOf(t, PW));
            s.line(x, 0, x, PH, GridColour, 1);
        }
    }

    // A compared run lies behind this one.
    if (m_comparison) {
        const int width = 2;
        comparison::drawTrace(s, m_comparison->VoltData, VoltTop, VoltSpan, m_view, Line1->BorderColor(), width);
        comparison::drawTrace(s, m_comparison->CurData, CurTop, CurSpan, m_view, Line2->BorderColor(), width);
    }
}

void FrmLog::DrawGraph()
{
    drawTraces(*m_surface);
}

void FrmLog::drawTraces(DrawingSurface &s)
{
    const int PW = s.innerWidth();
    const int PH = s.innerHeight();
    const auto &volt = m_store.VoltData;
    const auto &cur = m_store.CurData;
    const int voltColour = Line1->BorderColor();
    const int curColour = Line2->BorderColor();
    // Zoomed, only the segments that reach into the view are drawn.
    const int first = std::max(1, int(std::floor(m_view.start())));
    const int last = std::min(LogStore::SampleCount, int(std::ceil(m_view.end())) + 1);

    // Each segment joins the previous sample to this one. Only this sample is tested for
    // "no value": a segment after a gap rises from where -1 lies, below the lower edge.
    for (int i = first; i <= last; ++i) {
        const int p = i == 1 ? 0 : i - 2;
        const double xa = R(m_view.xOf(p, PW));
        const double xb = R(m_view.xOf(i - 1, PW));
        if (volt[i - 1] != LogStore::Missing) {
            const double ya = R((VoltTop - double(volt[p])) * PH / VoltSpan);
            const double yb = R((VoltTop - double(volt[i - 1])) * PH / VoltSpan);
            s.line(xa, ya, xb, yb, voltColour, 2);
        }
        if (cur[i - 1] != LogStore::Missing) {
            const double ya = R((CurTop - double(cur[p])) * PH / CurSpan);
            const double yb = R((CurTop - double(cur[i - 1])) * PH / CurSpan);
            s.line(xa, ya, xb, yb, curColour, 2);
        }
    }
}
