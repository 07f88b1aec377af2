#pragma once
#include <functional>
#include "twip_geometry.h"

#include <QList>
#include <QSize>
#include <QWidget>
#include <array>

class DrawingSurface;
class ImageSurface;
class IniFile;
class LineSample;
class LogStore;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The log window: voltage and current of the log store against time, over a grey grid,
// with a "Scale Line" option for each scale. Every position is in twips; the whole layout
// and picture are recomputed by Form_Resize, which runs on every size change.
class FrmLog : public QWidget {
    Q_OBJECT
public:
    static constexpr int MinWidth = 5070;
    static constexpr int MinHeight = 4600;
    static constexpr int InitialWidth = 7000;
    static constexpr int InitialHeight = 5200;
    static constexpr int OffsetFromMain = 2000;
    static constexpr int GridColour = 0x808080;
    static constexpr int Background = 0xE0E0E0;
    static constexpr int VoltColour = 0xFF0000;
    static constexpr int CurColour = 0xC000C0;
    static constexpr int ShortTick = 70;

    // `scaleLine` are the option values read at start-up (0 off, anything else on).
    // `drawTarget`, when given, receives the drawing instead of the window's own surface.
    FrmLog(LogStore &store, IniFile &ini, std::array<int, 2> scaleLine, QWidget *mainWindow,
           DrawingSurface *drawTarget = nullptr);
    ~FrmLog() override;

    void Form_Resize();
    void DrawGraph();
    void ChkScaleLine_Click(int index);
    void CmdClose_Click();

    // The window's outer size in twips, frame and title bar included.
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

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildWidgets();
    void Form_Load(std::array<int, 2> scaleLine, QWidget *mainWindow);
    QLabel *copyLabel(QLabel *first);
    void growLabels(QList<QLabel *> &labels, const char *name, int last, const std::function<QString(int)> &caption);
    QSize frameExtra() const;
    void applyOuterSize();
    QSize requestedClient() const;

    LogStore &m_store;
    IniFile &m_ini;
    TwipGeometry m_geo;
    DrawingSurface *m_surface = nullptr;
    QSize m_outer{InitialWidth, InitialHeight};
    QSize m_appliedExtra; // frame and title bar when the outer size was last applied
};
