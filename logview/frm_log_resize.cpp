// Layout and drawing of the log window: every position and every line of the picture
// is computed here, from the window's size and the log store, on each pass.
#include "frm_log.h"
#include "graph_painter.h"
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

graphpainter::Look FrmLog::look() const
{
    graphpainter::Look look;
    look.voltLines = ChkScaleLine[0]->isChecked();
    look.curLines = ChkScaleLine[1]->isChecked();
    look.view = m_view;
    look.voltColour = Line1->BorderColor();
    look.curColour = Line2->BorderColor();
    look.comparison = m_comparison ? &*m_comparison : nullptr;
    return look;
}

void FrmLog::drawScales(DrawingSurface &s)
{
    graphpainter::drawScales(s, look());
}

void FrmLog::DrawGraph()
{
    drawTraces(*m_surface);
}

void FrmLog::drawTraces(DrawingSurface &s)
{
    graphpainter::drawTraces(s, m_store, look());
}
