// Layout and drawing of the log window: every position and every line of the picture
// is computed here, from the window's size and the log store, on each pass.
#include "frm_log.h"
#include "line_sample.h"
#include "log_store.h"

#include "platform/drawing_surface.h"
#include "platform/image_surface.h"
#include "settings/number_text.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

// Rounding to whole twips, halves to the even neighbour. It is applied exactly where the
// drawing rules round and nowhere else, so the picture matches the scales to the twip.
double R(double v)
{
    return double(numtext::roundHalfEven(v));
}

constexpr double VoltTop = 9.99;  // the voltage at the upper edge
constexpr double VoltSpan = 10;
constexpr double CurTop = 299.7;  // the current at the upper edge
constexpr double CurSpan = 300;
constexpr double TimeSpan = 540;  // seconds across the surface

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

    DrawingSurface &s = *m_surface;
    const int PW = s.innerWidth();
    const int PH = s.innerHeight();
    s.fillRect(0, 0, PW, PH, Background);

    // Voltage scale at the left: ticks (or full-width lines) at "0" to "9.0".
    const bool voltLines = ChkScaleLine[0]->isChecked();
    for (int k = 0; k <= 10; ++k) {
        m_geo.setTop(LblVolt[k], (picHeight - 50) * (10 - k) / 10 + picTop - 65);
        m_geo.setLeft(LblVolt[k], m_geo.left(LblVolt[0]));
        if (k < 10) {
            const double y = R(double((10 - k) * PH) / 10);
            s.line(0, y, voltLines ? PW : ShortTick, y, GridColour, 1);
        }
    }

    // Current scale at the right: a tick, then the line the option asks for.
    m_geo.setLeft(LblCur[0], picWidth + picLeft + 120);
    const bool curLines = ChkScaleLine[1]->isChecked();
    for (int k = 0; k <= 6; ++k) {
        m_geo.setTop(LblCur[k], (picHeight - 50) * (6 - k) / 6 + picTop - 65);
        m_geo.setLeft(LblCur[k], m_geo.left(LblCur[0]));
        if (k < 6) {
            const double tickY = double((6 - k) * PH) / 6;
            s.line(PW - ShortTick, tickY, PW, tickY, GridColour, 1);
            const double y = R(tickY);
            s.line(curLines ? 0 : PW - ShortTick, y, PW, y, GridColour, 1);
        }
    }

    // Time scale: captions every 60 s, full-height lines every 30 s.
    m_geo.setTop(LblTime, picHeight + picTop + 300);
    m_geo.setLeft(LblTime, picWidth / 2 + picLeft - m_geo.width(LblTime) / 2);
    m_geo.setTop(LblS[0], picHeight + picTop + 60);
    for (int k = 0; k <= 9; ++k) {
        m_geo.setTop(LblS[k], m_geo.top(LblS[0]));
        m_geo.setLeft(LblS[k], (picWidth - 30) * k / 9 + picLeft - m_geo.width(LblS[0]) / 2 + 40);
        if (k < 9) {
            const double x = R(double(k) * PW / 9);
            s.line(x, 0, x, PH, GridColour, 1);
            const double half = R((k + 0.5) * PW / 9);
            s.line(half, 0, half, PH, GridColour, 1);
        }
    }

    DrawGraph();
}

void FrmLog::DrawGraph()
{
    DrawingSurface &s = *m_surface;
    const int PW = s.innerWidth();
    const int PH = s.innerHeight();
    const auto &volt = m_store.VoltData;
    const auto &cur = m_store.CurData;
    const int voltColour = Line1->BorderColor();
    const int curColour = Line2->BorderColor();

    // Each segment joins the previous sample to this one. Only this sample is tested for
    // "no value": a segment after a gap rises from where -1 lies, below the lower edge.
    for (int i = 1; i <= LogStore::SampleCount; ++i) {
        const int p = i == 1 ? 0 : i - 2;
        const double xa = R(double(p) * PW / TimeSpan);
        const double xb = R(double(i - 1) * PW / TimeSpan);
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
