// What the log window offers beyond drawing the run: the status strip, the cursor, zoom,
// a compared run and the picture of the graph. None of it changes the default drawing.
#include "frm_log.h"
#include "graph_interaction.h"
#include "graph_summary.h"
#include "graph_menu.h"
#include "graph_overlay.h"
#include "log_file_access.h"
#include "log_status_strip.h"
#include "logdata/log_strip_text.h"
#include "picture_surface.h"

#include "platform/gui/image_surface.h"
#include "platform/gui/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

void FrmLog::buildTools()
{
    m_stripPx = LogStatusStrip::heightFor(font());
    Strip = new LogStatusStrip(this);

    Overlay = new GraphOverlay(PicLog);
    Overlay->setGeometry(PicLog->rect());
    m_interaction = new GraphInteraction(PicLog, m_view, Overlay);
    connect(m_interaction, &GraphInteraction::viewChanged, this, &FrmLog::viewChanged);
    connect(m_interaction, &GraphInteraction::cursorChanged, this, &FrmLog::showCursor);
    connect(m_interaction, &GraphInteraction::menuRequested, this, &FrmLog::openMenu);

    Menu = new GraphMenu(this);
    connect(Menu->ZoomIn, &QAction::triggered, m_interaction, [this] { m_interaction->zoomBy(0.5); });
    connect(Menu->ZoomOut, &QAction::triggered, m_interaction, [this] { m_interaction->zoomBy(2); });
    connect(Menu->ResetZoom, &QAction::triggered, this, &FrmLog::resetZoom);
    connect(Menu->Compare, &QAction::triggered, this, &FrmLog::compareWithLogFile);
    connect(Menu->ClearComparison, &QAction::triggered, this, &FrmLog::clearComparison);
    connect(Menu->SavePng, &QAction::triggered, this, &FrmLog::saveGraphPicture);
    connect(Menu->CopyGraph, &QAction::triggered, this, &FrmLog::copyGraph);

    // Keyboard: left box, "Close", right box, then the graph.
    setTabOrder(ChkScaleLine[0], CmdClose);
    setTabOrder(CmdClose, ChkScaleLine[1]);
    setTabOrder(ChkScaleLine[1], PicLog);
    CmdClose->installEventFilter(this);
    storeChanged();
}

void FrmLog::storeChanged()
{
    m_statistics = computeStatistics(m_store);
    showStatistics();
    showCursor(cursorSecond());
}

void FrmLog::showStatistics()
{
    PicLog->setAccessibleDescription(graphSummary(m_statistics));
    Strip->setStatistics(striptext::statistics(m_statistics, m_comparison ? &m_comparisonStatistics : nullptr));
}

void FrmLog::showCursor(int second)
{
    if (second < 0 || second >= LogStore::SampleCount) {
        Strip->setCursorText(QString());
        return;
    }
    Strip->setCursorText(striptext::cursor(second, m_store.VoltData[size_t(second)], m_store.CurData[size_t(second)]));
}

int FrmLog::cursorSecond() const
{
    return m_interaction ? m_interaction->cursor() : -1;
}

void FrmLog::setCursorSecond(int second)
{
    m_interaction->setCursor(second);
}

void FrmLog::viewChanged()
{
    Form_Resize();
}

void FrmLog::zoomTo(double fromSecond, double toSecond)
{
    m_view.zoomTo(fromSecond, toSecond);
    Form_Resize();
}

void FrmLog::resetZoom()
{
    m_view.reset();
    Form_Resize();
}

void FrmLog::setComparison(const LogStore &other)
{
    m_comparison = other;
    m_comparisonStatistics = computeStatistics(other);
    showStatistics();
    Form_Resize();
}

void FrmLog::compareWithLogFile()
{
    if (!m_files)
        return;
    // Rows a file does not list are samples without a value, not left-overs.
    LogStore other;
    other.VoltData.fill(LogStore::Missing);
    other.CurData.fill(LogStore::Missing);
    if (m_files->openComparison(other))
        setComparison(other);
}

void FrmLog::clearComparison()
{
    if (!m_comparison)
        return;
    m_comparison.reset();
    showStatistics();
    Form_Resize();
}

void FrmLog::openMenu(const QPoint &globalPos)
{
    Menu->refresh(!m_view.isDefault(), hasComparison());
    Menu->popup(globalPos);
}

QImage FrmLog::graphPicture()
{
    constexpr int Scale = 2;
    // From just above the top voltage caption down to the time axis title.
    const int top = twips::toPixels(int(m_geo.top(LblVolt.last())) - 45);
    const int bottom = twips::toPixels(int(m_geo.rect(LblTime).bottom()) + 60);
    const QRect region(0, top, width(), std::max(1, bottom - top));
    QImage out(region.size() * Scale, QImage::Format_RGB32);
    out.fill(palette().color(QPalette::Window));

    const bool cursorShown = Overlay->isVisible();
    Overlay->hide();
    QPainter p(&out);
    p.scale(Scale, Scale);
    render(&p, QPoint(), QRegion(region), QWidget::DrawChildren);
    // The graph itself is drawn again at the picture's resolution, not enlarged.
    const int border = ImageSurface::BorderPixels;
    const QSize inner(PicLog->width() - 2 * border, PicLog->height() - 2 * border);
    if (!inner.isEmpty()) {
        PictureSurface picture(QSize(PicLog->innerWidth(), PicLog->innerHeight()), inner * Scale, Scale);
        drawPicture(picture);
        const QPoint at = PicLog->pos() + QPoint(border, border) - region.topLeft();
        p.drawImage(QRectF(QRect(at, inner)), picture.image());
    }
    p.end();
    Overlay->setVisible(cursorShown);
    return out;
}

void FrmLog::saveGraphPicture()
{
    if (m_files)
        m_files->savePicture(graphPicture());
}

void FrmLog::copyGraph()
{
    if (QClipboard *clipboard = QApplication::clipboard())
        clipboard->setImage(graphPicture());
}

void FrmLog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        CmdClose_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool FrmLog::eventFilter(QObject *watched, QEvent *event)
{
    // Enter presses the focused button, as in the program's dialogs.
    if (watched == CmdClose && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CmdClose->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
