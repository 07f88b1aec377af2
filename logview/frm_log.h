#pragma once
#include <functional>
#include "logdata/log_statistics.h"
#include "logdata/log_store.h"
#include "graph_painter.h"
#include "time_view.h"
#include "twip_geometry.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QWidget>
#include <array>
#include <optional>

class DrawingSurface;
class GraphInteraction;
class GraphMenu;
class GraphOverlay;
class ImageSurface;
class IniFile;
class LineSample;
class LogFileAccess;
class LogStatusStrip;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The log window: voltage and current of the log store against time, over a grey grid,
// with a "Scale Line" option for each scale. Every position is in twips; the whole layout
// and picture are recomputed by Form_Resize, which runs on every size change.
// Below that area a status strip gives the run's statistics and the value under the
// cursor; the graph can be zoomed in time, compared with another log file and exported.
class FrmLog : public QWidget {
    Q_OBJECT
public:
    static constexpr int MinWidth = 5070;
    static constexpr int MinHeight = 4600;
    static constexpr int InitialWidth = 7000;
    static constexpr int InitialHeight = 5200;
    static constexpr int OffsetFromMain = 2000;
    static constexpr int GridColour = graphpainter::GridColour;
    static constexpr int Background = graphpainter::Background;
    static constexpr int VoltColour = graphpainter::VoltColour;
    static constexpr int CurColour = graphpainter::CurColour;
    static constexpr int ShortTick = graphpainter::ShortTick;

    // `scaleLine` are the option values read at start-up (0 off, anything else on).
    // `drawTarget`, when given, receives the drawing instead of the window's own surface.
    FrmLog(LogStore &store, IniFile &ini, std::array<int, 2> scaleLine, QWidget *mainWindow,
           DrawingSurface *drawTarget = nullptr);
    ~FrmLog() override;

    void Form_Resize();
    void DrawGraph();
    void ChkScaleLine_Click(int index);
    void CmdClose_Click();

    // The store has new contents: the statistics and the readout are taken afresh.
    void storeChanged();
    void setFileAccess(LogFileAccess *files) { m_files = files; }

    // Zoom in time; the value scales never change.
    const TimeView &timeView() const { return m_view; }
    void zoomTo(double fromSecond, double toSecond);
    void resetZoom();

    // The second under the cursor line (-1: none), as the mouse or the arrow keys set it.
    int cursorSecond() const;
    void setCursorSecond(int second);
    GraphInteraction *interaction() const { return m_interaction; }

    // A second run drawn behind this one; it is never part of the log store.
    bool hasComparison() const { return m_comparison.has_value(); }
    void setComparison(const LogStore &other);
    void compareWithLogFile();
    void clearComparison();

    // The graph with its scales and captions at twice the pixels on screen, cursor hidden.
    QImage graphPicture();
    void saveGraphPicture();
    void copyGraph();

    // Draws background, grid, comparison and traces on `s` for the current view.
    void drawPicture(DrawingSurface &s);

    // The strip's height in pixels; the window is that much taller than its layout area.
    int stripHeight() const { return m_stripPx; }

    // The window's layout size in twips, frame and title bar included, strip excluded.
    int Width() const { return m_outer.width(); }
    int Height() const { return m_outer.height(); }
    void setWidth(int twips);
    void setHeight(int twips);
    void setSize(int widthTwips, int heightTwips);

    // Position and size of a widget of this window in twips, as the layout set them.
    QRectF twipRect(const QWidget *w) const { return m_geo.rect(w); }

    QGroupBox *Frame1;
    QGroupBox *Frame2;
    std::array<QCheckBox *, 2> ChkScaleLine;
    LineSample *Line1;
    LineSample *Line2;
    ImageSurface *PicLog;
    QPushButton *CmdClose;
    QLabel *LblTime;
    QList<QLabel *> LblVolt;
    QList<QLabel *> LblCur;
    QList<QLabel *> LblS;
    LogStatusStrip *Strip;
    GraphOverlay *Overlay;
    GraphMenu *Menu;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWidgets();
    void Form_Load(std::array<int, 2> scaleLine, QWidget *mainWindow);
    QLabel *copyLabel(QLabel *first);
    void growLabels(QList<QLabel *> &labels, const char *name, int last, const std::function<QString(int)> &caption);
    QSize frameExtra() const;
    void applyOuterSize();
    QSize requestedClient() const;
    void buildTools();
    void drawScales(DrawingSurface &s);
    void drawTraces(DrawingSurface &s);
    graphpainter::Look look() const;
    void placeTimeCaptions(double picLeft, double picWidth, int PW);
    void showStatistics();
    void showCursor(int second);
    void viewChanged();
    void openMenu(const QPoint &globalPos);

    LogStore &m_store;
    IniFile &m_ini;
    TwipGeometry m_geo;
    DrawingSurface *m_surface = nullptr;
    QSize m_outer {InitialWidth, InitialHeight};
    QSize m_appliedExtra; // frame and title bar when the outer size was last applied
    int m_stripPx = 0;
    TimeView m_view;
    bool m_timeCaptionsMoved = false; // the zoomed view has re-captioned the time scale
    std::optional<LogStore> m_comparison;
    LogStatistics m_statistics;
    LogStatistics m_comparisonStatistics;
    GraphInteraction *m_interaction = nullptr;
    LogFileAccess *m_files = nullptr;
};
