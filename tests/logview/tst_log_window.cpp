#include "settings/settings_block.h"
#include "logview/frm_log.h"
#include "logdata/log_store.h"
#include "logview/log_viewer.h"
#include "platform/gui/image_surface.h"
#include "platform/ini_file.h"
#include "settings/conversions.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_output.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>

using Line = RecordingSurface::Line;

namespace {
struct World {
    QTemporaryDir dir;
    IniFile ini {dir.filePath(QStringLiteral("ZX316B Link.ini"))};
    LogStore store;
    QStringList options() const { return {ini.ReadIni("Chart", "ScaleLine0"), ini.ReadIni("Chart", "ScaleLine1")}; }
};

// A window drawing on a recorder of the given inner size, over a store in which no sample has a value.
struct Drawing : World {
    RecordingSurface surface;
    FrmLog window;
    Drawing(int pw, int ph, std::array<int, 2> options = {0, 0})
        : surface(pw, ph), window(store, ini, options, nullptr, &surface)
    {
        store.VoltData.fill(LogStore::Missing), store.CurData.fill(LogStore::Missing), surface.clear();
    }
};

// A five-minute run: the pack sags under each burst of current and drifts down; after 300 s no value (FF).
QString realisticRunDataReply()
{
    QString reply = QStringLiteral("br");
    for (int t = 0; t < 512; ++t) {
        const double burst =
            std::max(0.0, 1.0 - std::fmod(t + 7.0, 21.0) / 6.0) * (0.55 + 0.45 * std::sin(M_PI * t / 300.0));
        const double amps = t < 8 || t == 300 ? 0.0 : 12 + 250 * burst + 6 * std::sin(t * 1.7);
        const double volts = 8.4 - 1.2 * t / 300.0 - 0.3 * std::pow(t / 300.0, 4) - amps * 0.0075;
        const QString pair = block::byteText(VoltToHex(float(volts))) + block::byteText(CurrentToHex(float(amps)));
        reply += t > 300 ? QStringLiteral("FFFF") : pair;
    }
    return reply + u'\r';
}

// The pixels of one colour, as a polygon of their top left corners' unit squares.
QPolygonF pixelsOf(const QImage &image, QRgb colour)
{
    const QImage i = image.convertToFormat(QImage::Format_RGB32);
    QPolygonF out;
    for (int y = 0; y < i.height(); ++y)
        for (int x = 0; x < i.width(); ++x)
            if (i.pixel(x, y) == colour)
                out << QPointF(x, y) << QPointF(x + 1, y + 1);
    return out;
}

// Start-up option values: any value but 0 ticks the box, which writes its key as 1.
struct Grid {
    const char *name;
    int pw, ph, voltLines, curLines;
};
// One sample (and the one before it) in an otherwise empty store; its colour says which trace.
struct Segment {
    const char *name;
    int pw, ph, index;
    float previous, value;
    Line segment;
};
// `request` is an outer size set in twips, or (when `dragged`) dragged to in pixels; `outer` in twips.
struct Layout {
    const char *name;
    QSize request;
    bool dragged;
    QSize outer;
    double closeLeft;
    QPointF time;
    double lblS9Left;
};
} // namespace
Q_DECLARE_METATYPE(Grid)
Q_DECLARE_METATYPE(Segment)
Q_DECLARE_METATYPE(Layout)

class TstLogWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void grid_data()
    {
        QTest::addColumn<Grid>("g");
        for (const Grid &g : std::initializer_list<Grid> {{"initial, ticks", 5800, 3100, 0, 0},
                                                          {"minimum, ticks", 3870, 2500, 0, 0},
                                                          {"minimum, both lines", 3870, 2500, 5, -3}})
            QTest::newRow(g.name) << g;
    }
    void grid()
    {
        QFETCH(Grid, g);
        Drawing w(g.pw, g.ph, {g.voltLines, g.curLines});
        QVERIFY(w.window.ChkScaleLine[0]->isChecked() == (g.voltLines != 0)
                && w.window.ChkScaleLine[1]->isChecked() == (g.curLines != 0));
        QCOMPARE(w.options(), QStringList({g.voltLines ? "1" : IniFile::Missing, g.curLines ? "1" : IniFile::Missing}));
        w.window.Form_Resize();
        // The background is filled once, over the whole surface, before any line.
        const auto fill = w.surface.fills.value(0);
        QVERIFY(w.surface.fills.size() == 1 && fill.x1 == 0 && fill.y1 == 0 && fill.x2 == g.pw && fill.y2 == g.ph);
        QVERIFY(fill.bgr == 0xE0E0E0 && fill.linesBefore == 0);
        const int G = FrmLog::GridColour;
        QList<Line> expected;
        for (int k = 0; k < 10; ++k)
            expected.append({0, g.ph * (10 - k) / 10.0, g.voltLines ? double(g.pw) : 70, g.ph * (10 - k) / 10.0, G, 1});
        // Current levels "0" .. "250": the tick is not rounded, the line is (2583.3 -> 2583).
        for (int k = 0; k < 6; ++k) {
            const double tickY = (6 - k) * g.ph / 6.0, lineY = qRound(tickY);
            expected.append({g.pw - 70.0, tickY, double(g.pw), tickY, G, 1});
            expected.append({g.curLines ? 0.0 : g.pw - 70.0, lineY, double(g.pw), lineY, G, 1});
        }
        for (int k = 0; k < 18; ++k) // times 0 s, 30 s ... 510 s on whole twips (322.2 -> 322)
            expected.append({double(qRound(k * g.pw / 18.0)), 0, double(qRound(k * g.pw / 18.0)), double(g.ph), G, 1});
        QCOMPARE(w.surface.lines, expected); // and nothing else: the store is empty
    }

    void traceSegments_data()
    {
        QTest::addColumn<Segment>("s");
        const int V = FrmLog::VoltColour, C = FrmLog::CurColour;
        for (const Segment &s : std::initializer_list<Segment> {
                 {"9.99 V on the top edge", 5800, 3100, 5, 9.99f, 9.99f, {43, 0, 54, 0, V, 2}},
                 {"12 V above the top", 5800, 3100, 5, 5, 12, {43, 1547, 54, -623, V, 2}},
                 {"299.7 A on the top edge", 5800, 3100, 5, 150, 299.7f, {43, 1547, 54, 0, C, 2}},
                 {"last sample", 5800, 3100, 511, 2.5, 5, {5478, 2322, 5489, 1547, V, 2}},
                 {"volts after a gap", 5800, 3100, 20, -1, 5, {204, 3407, 215, 1547, V, 2}},
                 {"first sample: no length", 5800, 3100, 0, 0, 5, {0, 1547, 0, 1547, V, 2}},
                 // minimum surface: exact halves go to the even neighbour (64.5 -> 64, 1872.5 -> 1872)
                 {"min: 0 V", 3870, 2500, 3, 0, 0, {14, 2498, 22, 2498, V, 2}},
                 {"min: 2.5 V at 9 s", 3870, 2500, 9, 2.5, 2.5, {57, 1872, 64, 1872, V, 2}},
                 {"min: last sample", 3870, 2500, 511, 0, 150, {3655, 2498, 3662, 1248, C, 2}}})
            QTest::newRow(s.name) << s;
    }
    void traceSegments()
    {
        QFETCH(Segment, s);
        Drawing w(s.pw, s.ph);
        const bool current = s.segment.bgr == FrmLog::CurColour;
        auto &data = current ? w.store.CurData : w.store.VoltData;
        data[std::max(s.index - 1, 0)] = s.previous, data[s.index] = s.value;
        w.window.Form_Resize();
        const QList<Line> trace = w.surface.linesOf(s.segment.bgr);
        // A missing sample ends no segment: one segment per sample that has a value.
        QCOMPARE(trace.size(), (s.index > 0 && s.previous != -1) ? 2 : 1);
        QCOMPARE(trace.last(), s.segment);
        QVERIFY(w.surface.linesOf(current ? FrmLog::VoltColour : FrmLog::CurColour).isEmpty());
    }

    void layoutAfterResize_data()
    {
        QTest::addColumn<Layout>("l");
        for (const Layout &l : std::initializer_list<Layout> {
                 {"initial", {7000, 5200}, false, {7000, 5200}, 2712.5, {3102.5, 4420}, 6132.5},
                 {"too narrow", {4000, 6000}, false, {5070, 6000}, 1747.5, {2137.5, 5220}, 4202.5},
                 {"too low", {9000, 3000}, false, {9000, 4600}, 3712.5, {4102.5, 3820}, 8132.5},
                 {"dragged tiny", {20, 20}, true, {5070, 4600}, 1747.5, {2137.5, 3820}, 4202.5},
                 {"dragged large", {800, 600}, true, {12000, 9000}, 5212.5, {5602.5, 8220}, 11132.5}})
            QTest::newRow(l.name) << l;
    }
    void layoutAfterResize()
    {
        QFETCH(Layout, l);
        World w;
        FrmLog f(w.store, w.ini, {0, 0}, nullptr);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        // The status strip lies below the layout area: the window is that much taller.
        const QSize strip(0, f.stripHeight());
        l.dragged ? f.resize(l.request - (f.frameGeometry().size() - f.size()) + strip)
                  : f.setSize(l.request.width(), l.request.height());
        QTRY_COMPARE(QSize(f.Width(), f.Height()), l.outer);
        const QRectF pic(540, 1020, l.outer.width() - 1200, l.outer.height() - 2100);
        QTRY_COMPARE(f.twipRect(f.PicLog), pic);
        QCOMPARE(f.frameGeometry().size(),
                 QSize(qRound(l.outer.width() / 15.0), qRound(l.outer.height() / 15.0)) + strip);
        QCOMPARE(f.twipRect(f.CmdClose), QRectF(l.closeLeft, 300, 1575, 495));
        QCOMPARE(f.twipRect(f.Frame1), QRectF(l.outer.width() - 1605, 180, 1395, 690));
        QCOMPARE(f.PicLog->innerWidth(), int(pic.width()) - 60); // inside the 2-pixel border
        // The scales' "0" level with the graph's foot, their tops with its top.
        QCOMPARE(f.twipRect(f.LblVolt[0]).topLeft(), QPointF(0, pic.height() + 905));
        QCOMPARE(f.twipRect(f.LblCur[6]).topLeft(), QPointF(l.outer.width() - 540, 955));
        QCOMPARE(f.twipRect(f.LblTime).topLeft(), l.time);
        QCOMPARE(f.twipRect(f.LblS[0]).topLeft(), QPointF(362.5, l.outer.height() - 1020));
        QCOMPARE(f.twipRect(f.LblS[9]).topLeft(), QPointF(l.lblS9Left, l.outer.height() - 1020));
        QCOMPARE(f.LblVolt[10]->text() + f.LblCur[6]->text() + f.LblS[9]->text(), QStringLiteral("10.0300540"));
        // Widgets sit on the nearest whole pixel of their twip rectangles.
        QCOMPARE(f.PicLog->geometry(), QRect(36, 68, qRound(pic.width() / 15), qRound(pic.height() / 15)));
    }

    void lifecycleAndClicks()
    {
        World w;
        QWidget mainWindow;
        mainWindow.setGeometry(100, 50, 400, 300), mainWindow.show();
        RecordingSurface recorder;
        const std::array<int, 2> scaleLine {1, 0};
        LogViewer viewer(w.store, w.ini, scaleLine, &mainWindow, &recorder);
        QVERIFY(!viewer.window());
        viewer.SetGraph(QStringLiteral("br") + QStringLiteral("401B").repeated(512));
        QPointer<FrmLog> first = viewer.window();
        QVERIFY(first && first->isVisible() && first->windowTitle() == QStringLiteral("Log Data"));
        QCOMPARE(first->frameGeometry().left(), mainWindow.frameGeometry().left() + 133); // 2000 twips
        QCOMPARE(recorder.lines.last(), (Line {5478, 2580, 5489, 2580, FrmLog::CurColour, 2}));
        recorder.clear(); // each click writes its key and redraws at once
        QTest::mouseClick(first->ChkScaleLine[0], Qt::LeftButton);
        QCOMPARE(recorder.lines[0].x2, 70.0); // voltage "0": a tick again
        recorder.clear();
        QTest::mouseClick(first->ChkScaleLine[1], Qt::LeftButton);
        QCOMPARE(recorder.lines[11].x1, 0.0); // current "0": full width now
        QCOMPARE(w.options(), QStringList({"0", "1"}));
        viewer.SetGraphFile();
        QCOMPARE(viewer.window(), first.data()); // an open window is reused
        QTest::mouseClick(first->CmdClose, Qt::LeftButton);
        QTRY_VERIFY(!first && !viewer.window());
        QCOMPARE(w.store.CurData[0], 50.0f); // closing leaves the log alone
        // Reopened, the window starts from the start-up values and writes them back.
        viewer.SetGraphFile();
        QVERIFY(viewer.window()->ChkScaleLine[0]->isChecked() && !viewer.window()->ChkScaleLine[1]->isChecked());
        QCOMPARE(w.options(), QStringList({"1", "1"}));
        // Minimized, it is not redrawn nor pushed back to the minimum size.
        FrmLog *f = viewer.window();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->setWindowState(Qt::WindowMinimized);
        recorder.clear(), f->resize(10, 10);
        QTest::qWait(20);
        QVERIFY(recorder.lines.isEmpty() && f->size() == QSize(10, 10));
    }

    // The surface keeps its picture across repaints; pens stay as many logical pixels wide as asked, at any pixel ratio.
    void surfaceKeepsItsPicture()
    {
        QWidget parent;
        ImageSurface s(&parent);
        s.setTwipGeometry(QRectF(0, 0, 3060, 1560)); // 204 x 104 px, 200 x 100 inside
        parent.resize(500, 300), parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QVERIFY(s.innerWidth() == 3000 && s.innerHeight() == 1500);
        s.fillRect(0, 0, 3000, 1500, 0xE0E0E0);
        s.line(1500, 0, 1500, 1500, 0x0000FF, 1); // red, 1 px, at x = 100 px
        s.line(0, 750, 3000, 750, 0xFF0000, 2); // blue, 2 px, at y = 50 px
        s.line(-1e30, 1200, 1e30, 1200, 0x00FF00, 2); // far outside: cut, not lost
        s.line(2400, 1e300, 2400, -1e300, 0x00FF00, 2);
        s.line(0, std::nan(""), 10, 10, 0x000000, 5); // not a number: ignored
        const QImage pic = s.picture();
        const qreal ratio = s.devicePixelRatioF();
        QVERIFY(pic.devicePixelRatio() == ratio && pic.size() == QSize(qCeil(200 * ratio), qCeil(100 * ratio)));
        const auto at = [&](double x, double y) { return pic.pixelColor(int(x * ratio), int(y * ratio)); };
        QVERIFY(at(20, 20) == QColor(0xE0, 0xE0, 0xE0) && at(100, 20) == QColor(255, 0, 0)
                && at(20, 50) == QColor(0, 0, 255));
        QVERIFY(at(50, 80) == QColor(0, 255, 0) && at(160, 30) == QColor(0, 255, 0));
        double ink = 0; // across the blue line, the ink adds up to its width
        for (int y = 0; y < int(65 * ratio); ++y)
            ink += (0xE0 - pic.pixelColor(int(20 * ratio), y).red()) / double(0xE0);
        QVERIFY2(std::abs(ink - 2 * ratio) < 0.35, qPrintable(QString::number(ink)));
        // Covered and uncovered: the widget paints the same picture without a redraw.
        const QImage shown = s.grab().toImage();
        QCOMPARE(shown.pixelColor(QPoint(2 + 100, 2 + 20) * shown.devicePixelRatio()), QColor(255, 0, 0));
        s.update();
        QCOMPARE(s.grab().toImage(), shown);
        // The sunken border: grey and dark grey at the top left, white and light grey at the bottom right.
        const auto px = [&](int x, int y) { return shown.pixelColor(QPoint(x, y) * shown.devicePixelRatio()).rgb(); };
        QCOMPARE((QList<QRgb> {px(0, 0), px(1, 1), px(203, 103), px(202, 102)}),
                 (QList<QRgb> {0xFF808080, 0xFF404040, 0xFFFFFFFF, 0xFFD4D0C8}));
    }

    // A realistic run on screen (README picture); each frame's legend is a 2-pixel line of its
    // trace's colour, 180 to 1080 twips across at 300 down.
    void screenshotOfRealisticLog()
    {
        World w;
        const std::array<int, 2> scaleLine {0, 1};
        LogViewer viewer(w.store, w.ini, scaleLine, nullptr);
        viewer.SetGraph(realisticRunDataReply());
        FrmLog *f = viewer.window();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QVERIFY(saveScreenshot(f, QStringLiteral("log-window.png")));
        for (auto [frame, rgb] : {std::pair {f->Frame2, qRgb(0, 0, 255)}, {f->Frame1, qRgb(0xC0, 0, 0xC0)}}) {
            const QImage legend = frame->grab().toImage();
            const qreal r = legend.devicePixelRatio();
            QCOMPARE(pixelsOf(legend, rgb).boundingRect(), QRectF(QPointF(12, 19) * r, QSizeF(60, 2) * r));
        }
    }
};

QTEST_MAIN(TstLogWindow)
#include "tst_log_window.moc"
