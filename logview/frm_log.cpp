#include "frm_log.h"
#include "graph_interaction.h"
#include "graph_menu.h"
#include "graph_overlay.h"
#include "line_sample.h"
#include "log_status_strip.h"

#include "platform/gui/image_surface.h"
#include "platform/ini_file.h"
#include "platform/gui/twips.h"
#include "numtext/number_text.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QResizeEvent>

namespace {

QString arrayName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

FrmLog::FrmLog(LogStore &store, IniFile &ini, std::array<int, 2> scaleLine, QWidget *mainWindow,
               DrawingSurface *drawTarget)
    : QWidget(mainWindow, Qt::Window), m_store(store), m_ini(ini)
{
    setObjectName(QStringLiteral("FrmLog"));
    setWindowTitle(tr("Log Data"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The layout tables are drawn for a small dialog font; captions must fit 13-pixel labels.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    buildWidgets();
    m_surface = drawTarget ? drawTarget : static_cast<DrawingSurface *>(PicLog);
    connect(PicLog, &ImageSurface::redrawNeeded, this, &FrmLog::Form_Resize);
    buildTools();
    applyOuterSize();
    Form_Load(scaleLine, mainWindow);
}

FrmLog::~FrmLog() = default;

void FrmLog::buildWidgets()
{
    Frame2 = new QGroupBox(tr("Voltage(V)"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    m_geo.place(Frame2, {120, 180, 1395, 675});
    Frame1 = new QGroupBox(tr("Current(A)"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    m_geo.place(Frame1, {3420, 180, 1395, 690});

    QGroupBox *frames[2] = {Frame2, Frame1};
    for (int i = 0; i < 2; ++i) {
        ChkScaleLine[i] = new QCheckBox(tr("Scale Line"), frames[i]);
        ChkScaleLine[i]->setObjectName(arrayName("ChkScaleLine", i));
        m_geo.place(ChkScaleLine[i], {180, 360, 1155, 255});
        connect(ChkScaleLine[i], &QCheckBox::toggled, this, [this, i] { ChkScaleLine_Click(i); });
    }
    // Both boxes read "Scale Line"; a screen reader needs to hear which scale each one draws.
    ChkScaleLine[0]->setAccessibleName(tr("Voltage scale lines"));
    ChkScaleLine[1]->setAccessibleName(tr("Current scale lines"));
    Line1 = new LineSample(Frame2, VoltColour, 2);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setLine(m_geo, {180, 300}, {1080, 300});
    Line2 = new LineSample(Frame1, CurColour, 2);
    Line2->setObjectName(QStringLiteral("Line2"));
    Line2->setLine(m_geo, {180, 300}, {1080, 300});

    PicLog = new ImageSurface(this);
    PicLog->setObjectName(QStringLiteral("PicLog"));
    m_geo.place(PicLog, {540, 1020, 3855, 495});
    PicLog->setAccessibleName(tr("Run log graph"));

    CmdClose = new QPushButton(tr("Close"), this);
    CmdClose->setObjectName(QStringLiteral("CmdClose"));
    m_geo.place(CmdClose, {1680, 300, 1575, 495});
    connect(CmdClose, &QPushButton::clicked, this, &FrmLog::CmdClose_Click);

    auto label = [this](const QString &name, Qt::Alignment align, const QRectF &at) {
        auto *l = new QLabel(this);
        l->setObjectName(name);
        l->setAlignment(align | Qt::AlignTop);
        m_geo.place(l, at);
        return l;
    };
    LblVolt.append(label(arrayName("LblVolt", 0), Qt::AlignRight, {0, 960, 435, 195}));
    LblCur.append(label(arrayName("LblCur", 0), Qt::AlignLeft, {4500, 960, 435, 195}));
    LblS.append(label(arrayName("LblS", 0), Qt::AlignHCenter, {360, 1560, 435, 195}));
    LblTime = label(QStringLiteral("LblTime"), Qt::AlignHCenter, {2160, 1740, 675, 195});
    LblTime->setText(tr("Time(s)"));
}

QLabel *FrmLog::copyLabel(QLabel *first)
{
    auto *l = new QLabel(this);
    l->setFont(first->font());
    l->setAlignment(first->alignment());
    m_geo.place(l, m_geo.rect(first));
    l->setVisible(true);
    return l;
}

// Element 0 is captioned "0"; elements 1..last are copies of it captioned by `caption`.
void FrmLog::growLabels(QList<QLabel *> &labels, const char *name, int last, const std::function<QString(int)> &caption)
{
    labels[0]->setText(QStringLiteral("0"));
    for (int k = 1; k <= last; ++k) {
        QLabel *l = copyLabel(labels[0]);
        l->setObjectName(arrayName(name, k));
        l->setText(caption(k));
        labels.append(l);
    }
}

void FrmLog::Form_Load(std::array<int, 2> scaleLine, QWidget *mainWindow)
{
    // Scale captions: one decimal for volts in the user's decimal separator, whole
    // numbers for amperes and seconds.
    const QString point = QLocale().decimalPoint();
    growLabels(LblVolt, "LblVolt", 10,
               [&point](int k) { return numtext::fixedText(k, 1).replace(QLatin1Char('.'), point); });
    growLabels(LblCur, "LblCur", 6, [](int k) { return QString::number(50 * k); });
    growLabels(LblS, "LblS", 9, [](int k) { return QString::number(60 * k); });

    // A box set to a state it does not have yet behaves as a click: the option is
    // written back and the graph redrawn. Any non-zero start-up value means "on".
    for (int i = 0; i < 2; ++i)
        ChkScaleLine[i]->setChecked(scaleLine[i] != 0);

    setSize(InitialWidth, InitialHeight);
    if (mainWindow) {
        // Only the left edge is prescribed; the top follows the main window's.
        const QRect main = mainWindow->frameGeometry();
        move(main.left() + twips::toPixels(OffsetFromMain), main.top());
    }
}

void FrmLog::ChkScaleLine_Click(int index)
{
    m_ini.WriteIni(QStringLiteral("Chart"), QStringLiteral("ScaleLine") + QString::number(index),
                   ChkScaleLine[index]->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    Form_Resize();
}

void FrmLog::CmdClose_Click()
{
    close();
}

QSize FrmLog::frameExtra() const
{
    // Frame and title bar, once the window system has decorated the window.
    if (!isWindow() || !windowHandle())
        return {0, 0};
    return frameGeometry().size() - size();
}

void FrmLog::applyOuterSize()
{
    m_appliedExtra = frameExtra();
    resize(requestedClient());
}

QSize FrmLog::requestedClient() const
{
    // The strip lies below the layout area, which keeps the size that was set.
    const QSize px(twips::toPixels(m_outer.width()), twips::toPixels(m_outer.height()) + m_stripPx);
    return (px - m_appliedExtra).expandedTo(QSize(1, 1));
}

void FrmLog::setWidth(int twipsWidth)
{
    setSize(twipsWidth, m_outer.height());
}

void FrmLog::setHeight(int twipsHeight)
{
    setSize(m_outer.width(), twipsHeight);
}

void FrmLog::setSize(int widthTwips, int heightTwips)
{
    m_outer = QSize(widthTwips, heightTwips);
    applyOuterSize();
}

void FrmLog::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const QSize extra = frameExtra();
    if (extra != m_appliedExtra && event->size() == requestedClient() && !isMinimized()) {
        // The window system added its frame only now, on the first showing: the outer
        // size that was set still holds, and the client area gives way to the frame.
        applyOuterSize();
    } else {
        // Keep the twip size that was set while the window still has the pixels it gave;
        // a size from anywhere else (the user dragging) is taken from the pixels.
        const QSize px = event->size() + extra - QSize(0, m_stripPx);
        if (px.width() != twips::toPixels(m_outer.width()))
            m_outer.setWidth(twips::fromPixels(px.width()));
        if (px.height() != twips::toPixels(m_outer.height()))
            m_outer.setHeight(twips::fromPixels(px.height()));
    }
    Strip->setGeometry(0, height() - m_stripPx, width(), m_stripPx);
    Form_Resize();
}
