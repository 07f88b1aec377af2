// The log window: layout, drawing, its life beside the main window, and its analysis tools
// (statistics, cursor, zoom, comparison and the picture of the graph).
#include "logdata/log_store.h"
#include "logdata/log_strip_text.h"
#include "logview/frm_log.h"
#include "logview/graph_interaction.h"
#include "logview/graph_menu.h"
#include "logview/graph_overlay.h"
#include "logview/graph_summary.h"
#include "logview/log_status_strip.h"
#include "logview/log_viewer.h"
#include "platform/gui/image_surface.h"
#include "platform/ini_file.h"
#include "settings/conversions.h"
#include "settings/settings_block.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/recording_surface.h"
#include "tests/support/scripted_file_dialogs.h"
#include "tests/support/test_output.h"
#include "ui/file_commands.h"
#include "ui/graph_files.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>

using Line = RecordingSurface::Line;

namespace {
int count(const QImage &image, QRgb colour)
{
    const QImage i = image.convertToFormat(QImage::Format_RGB32);
    const auto *px = reinterpret_cast<const QRgb *>(i.constBits());
    return int(std::count(px, px + qsizetype(i.width()) * i.height(), colour));
}

// Samples as (seconds, volts, amps); every other second holds nothing.
LogStore storeOf(std::initializer_list<std::tuple<int, float, float>> samples)
{
    LogStore s;
    s.VoltData.fill(LogStore::Missing);
    s.CurData.fill(LogStore::Missing);
    for (const auto &[t, v, i] : samples) {
        s.VoltData[t] = v;
        s.CurData[t] = i;
    }
    return s;
}

struct World {
    QTemporaryDir dir;
    IniFile ini {dir.filePath(QStringLiteral("ZX316B Link.ini"))};
    LogStore store;
    RecordingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    GraphFiles files {dialogs, boxes, [] { return QDateTime(QDate(2024, 5, 1), QTime(13, 45, 12)); }};
    explicit World(const LogStore &s = storeOf({})) : store(s) {}
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    QStringList options() const { return {ini.ReadIni("Chart", "ScaleLine0"), ini.ReadIni("Chart", "ScaleLine1")}; }
};

// A window drawing on a recorder of the given inner size, by default over a store in which no sample has a value.
struct Drawing : World {
    RecordingSurface surface;
    FrmLog window;
    Drawing(int pw, int ph, std::array<int, 2> options = {0, 0}, const LogStore &s = storeOf({}))
        : World(s), surface(pw, ph), window(store, ini, options, nullptr, &surface)
    {
        surface.clear();
    }
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
// A run as a pack gives it: the voltage sags under each burst of current and drifts down.
LogStore fullRun(double voltShift = 0, double ampScale = 1)
{
    LogStore s;
    for (int t = 0; t < LogStore::SampleCount; ++t) {
        const double burst =
            std::max(0.0, 1.0 - std::fmod(t + 7.0, 21.0) / 6.0) * (0.55 + 0.45 * std::sin(M_PI * t / 300.0));
        const double amps = (t < 8 || t == 300 ? 0.0 : 12 + 250 * burst + 6 * std::sin(t * 1.7)) * ampScale;
        s.CurData[t] = float(amps);
        s.VoltData[t] = float(8.4 + voltShift - 1.2 * t / 300.0 - 0.3 * std::pow(t / 300.0, 4) - amps * 0.0075);
    }
    return s;
}
// Its first five minutes as the device sends them after "Data Get"; no value (FF) after 300 s.
QString runDataReply()
{
    const LogStore run = fullRun();
    QString reply = QStringLiteral("br");
    for (int t = 0; t < LogStore::SampleCount; ++t)
        reply += t > 300 ? QStringLiteral("FFFF")
                         : block::byteText(VoltToHex(run.VoltData[t])) + block::byteText(CurrentToHex(run.CurData[t]));
    return reply + u'\r';
}
QString nb(QString text) // "~" stands for a no-break space, "." for the separator between items
{
    return text.replace(u'~', QChar(0x00A0)).replace(QStringLiteral(" . "), QStringLiteral(" \u00B7 "));
}

} // namespace
Q_DECLARE_METATYPE(Segment)
Q_DECLARE_METATYPE(Layout)
Q_DECLARE_METATYPE(LogStore)

class TstLogWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The scales alone, as ticks or as lines across; any start-up value but 0 ticks a box, which writes its key as 1.
    void grid()
    {
        for (const auto &[pw, ph, voltLines, curLines] :
             std::initializer_list<std::array<int, 4>> {{5800, 3100, 0, 0}, {3870, 2500, 5, -3}}) {
            Drawing w(pw, ph, {voltLines, curLines});
            QCOMPARE(w.options(), QStringList({voltLines ? "1" : IniFile::Missing, curLines ? "1" : IniFile::Missing}));
            w.window.Form_Resize();
            const auto fill = w.surface.fills.value(0); // once, over the whole surface, before any line
            QVERIFY(w.surface.fills.size() == 1 && fill.x1 == 0 && fill.y1 == 0 && fill.x2 == pw && fill.y2 == ph
                    && fill.bgr == 0xE0E0E0 && fill.linesBefore == 0);
            const int G = FrmLog::GridColour;
            QList<Line> expected;
            for (int k = 0; k < 10; ++k)
                expected.append({0, ph * (10 - k) / 10.0, voltLines ? double(pw) : 70, ph * (10 - k) / 10.0, G, 1});
            // Current levels "0" .. "250": the tick is not rounded, the line is (2583.3 -> 2583).
            for (int k = 0; k < 6; ++k) {
                const double tickY = (6 - k) * ph / 6.0;
                expected.append({pw - 70.0, tickY, double(pw), tickY, G, 1});
                expected.append(
                    {curLines ? 0.0 : pw - 70.0, double(qRound(tickY)), double(pw), double(qRound(tickY)), G, 1});
            }
            for (int k = 0; k < 18; ++k) // times 0 s, 30 s ... 510 s on whole twips (322.2 -> 322)
                expected.append({double(qRound(k * pw / 18.0)), 0, double(qRound(k * pw / 18.0)), double(ph), G, 1});
            QCOMPARE(w.surface.lines, expected); // and nothing else: the store is empty
        }
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
                 {"min: 2.5 V at 9 s", 3870, 2500, 9, 2.5, 2.5, {57, 1872, 64, 1872, V, 2}}})
            QTest::newRow(s.name) << s;
    }
    void traceSegments()
    {
        QFETCH(Segment, s);
        Drawing w(s.pw, s.ph);
        auto &data = s.segment.bgr == FrmLog::CurColour ? w.store.CurData : w.store.VoltData;
        data[std::max(s.index - 1, 0)] = s.previous, data[s.index] = s.value;
        w.window.Form_Resize();
        const QList<Line> trace = w.surface.linesOf(s.segment.bgr);
        // A missing sample ends no segment: one segment per sample that has a value.
        QCOMPARE(trace.size(), (s.index > 0 && s.previous != -1) ? 2 : 1);
        QCOMPARE(trace.last(), s.segment);
    }

    void layoutAfterResize_data()
    {
        QTest::addColumn<Layout>("l");
        for (const Layout &l : std::initializer_list<Layout> {
                 {"initial", {7000, 5200}, false, {7000, 5200}, 2712.5, {3102.5, 4420}, 6132.5},
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
        // The scales' "0" level with the graph's foot, their tops with its top.
        QCOMPARE(f.twipRect(f.LblVolt[0]).topLeft(), QPointF(0, pic.height() + 905));
        QCOMPARE(f.twipRect(f.LblCur[6]).topLeft(), QPointF(l.outer.width() - 540, 955));
        QCOMPARE(f.twipRect(f.LblTime).topLeft(), l.time);
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
        viewer.SetGraph(QStringLiteral("br") + QStringLiteral("401B").repeated(512));
        QPointer<FrmLog> first = viewer.window();
        QVERIFY(first && first->isVisible() && first->windowTitle() == QStringLiteral("Log Data"));
        QCOMPARE(first->frameGeometry().left(), mainWindow.frameGeometry().left() + 133); // 2000 twips
        QCOMPARE(recorder.lines.last(), (Line {5478, 2580, 5489, 2580, FrmLog::CurColour, 2}));
        QTest::mouseClick(first->ChkScaleLine[0], Qt::LeftButton); // each click writes its key and redraws at once
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
        ImageSurface s;
        s.setTwipGeometry(QRectF(0, 0, 3060, 1560)); // 204 x 104 px, 200 x 100 inside
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
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

    // The run's figures in the strip, and in one sentence for a screen reader.
    void statistics_data()
    {
        QTest::addColumn<LogStore>("store");
        QTest::addColumn<QString>("strip");
        QTest::addColumn<QString>("sentence");
        auto row = [](const char *name, const LogStore &store, const char *strip, const char *sentence) {
            QTest::newRow(name) << store << nb(strip) << QString(sentence);
        };
        // Gaps: no volts at 2 s, no amps at 3 s, nothing at 4 s, nothing after 5 s. Of equal extremes the first
        // second is named. Charge (10+40+30+40) / 3.6 = 33.3 mAh; energy (8.5x10 + 7.5x40 + 7x40) / 3600 = 0.185 Wh.
        row("gaps, ties", storeOf({{0, 8.5, 10}, {1, 7.5, 40}, {2, -1, 30}, {3, 7, -1}, {5, 7, 40}}),
            "33~mAh . 0.18~Wh . 5~s,~3~missing . min~7.00~V~at~3~s . avg~7.50~V,~max~8.50~V . peak~40.0~A~at~1~s . "
            "avg~30.0~A",
            "Run of 5 s with 3 s missing: voltage 7.00 to 8.50 V, lowest at 3 s; current peak 40.0 A at 1 s, "
            "average 30.0 A; 33 mAh drawn.");
        row("all missing", storeOf({}), "No data", "The run log holds no data.");
        row("no current", storeOf({{0, 8, -1}}),
            "0~mAh . 0.00~Wh . 1~s,~1~missing . min~8.00~V~at~0~s . avg~8.00~V,~max~8.00~V . no~current",
            "Run of 1 s with 1 s missing: voltage 8.00 to 8.00 V, lowest at 0 s; no current.");
        row("no voltage", storeOf({{6, -1, 50}, {7, -1, 60}}),
            "31~mAh . 0.00~Wh . 2~s,~8~missing . no~voltage . peak~60.0~A~at~7~s . avg~55.0~A",
            "Run of 2 s with 8 s missing: no voltage; current peak 60.0 A at 7 s, average 55.0 A; 31 mAh drawn.");
    }
    void statistics()
    {
        QFETCH(LogStore, store);
        const LogStatistics s = computeStatistics(store);
        QTEST(striptext::statistics(s), "strip");
        QTEST(graphSummary(s), "sentence");
        QCOMPARE(striptext::cursor(132, 7.2f, 120), nb("132~s\n7.20~V  120.0~A"));
        QCOMPARE(striptext::cursor(5, -1, 0.05f), nb("5~s\n-~V  0.1~A"));
    }

    // The step between time lines keeps 6 to 18 of them in view, down to the shortest span allowed.
    void gridStep()
    {
        for (const auto &[from, to, step] : std::initializer_list<std::tuple<double, double, int>> {
                 {0, 200, 30}, {100, 200, 10}, {3.5, 40.2, 5}, {300, 330, 2}, {50, 60, 1}, {50, 52, 1}}) {
            TimeView v;
            v.zoomTo(from, to);
            QCOMPARE(v.gridStep(), step);
            QVERIFY(v.span() >= TimeView::MinSpan && v.start() >= 0 && v.end() <= 540);
            QVERIFY(v.gridLines(step) >= 6 && v.gridLines(step) <= 18);
        }
    }

    // Zoomed, a caption stands under every other grid line in view; zooming back leaves exactly the
    // drawing and captions the window had.
    void zoomRoundTrip()
    {
        Drawing d(5800, 3100, {0, 1}, fullRun());
        FrmLog &f = d.window;
        auto captions = [&f] {
            QStringList out;
            for (QLabel *l : f.LblS)
                out << l->text() + u'@' + QString::number(f.twipRect(l).left()) + (l->isHidden() ? "h" : "");
            return out;
        };
        f.Form_Resize();
        const QList<Line> initial = d.surface.lines;
        const QStringList initialCaptions = captions();
        d.surface.clear();
        f.zoomTo(100, 160); // captions 100 .. 160 every 10 s; after the 22 scale lines, time lines 100, 105 .. 155 s
        QCOMPARE(captions().filter(QStringLiteral("h")).size(), 3);
        QCOMPARE(f.LblS[0]->text() + u' ' + f.LblS[6]->text(), QStringLiteral("100 160"));
        const int G = FrmLog::GridColour;
        QCOMPARE(d.surface.lines.mid(22, 2), (QList<Line> {{0, 0, 0, 3100, G, 1}, {483, 0, 483, 3100, G, 1}}));
        d.surface.clear();
        f.resetZoom();
        QCOMPARE(d.surface.lines.mid(d.surface.lines.size() - initial.size()), initial);
        QCOMPARE(captions(), initialCaptions);
    }

    // The window's mouse and keys. At the minimum size, zoomed at the end of the log: the second under the mouse,
    // its line, and wheel zoom.
    void keyboardAndMouse()
    {
        World w(fullRun());
        FrmLog f(w.store, w.ini, {0, 0}, nullptr);
        f.show();
        f.setSize(5070, 4600);
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.zoomTo(490, 540);
        ImageSurface *pic = f.PicLog; // 254 pixels inside its border, 50 s: 15 twips a pixel
        // The nearest second within the view and the log (x, second, line), from the surface's size alone.
        for (const auto &[x, second, lineX] : std::initializer_list<std::array<int, 3>> {
                 {2, 490, 2}, {3, 490, 2}, {86, 507, 88}, {129, 511, 109}, {255, 511, 109}, {257, 511, 109}}) {
            QTest::mouseMove(pic, QPoint(x, pic->height() / 2));
            QCOMPARE(f.cursorSecond(), second);
            QCOMPARE(f.Overlay->cursorX(), lineX);
        }
        // Wheel zoom keeps the second under the mouse (506.5 s at x = 86) where it was, within a pixel (0.2 s).
        QWheelEvent wheel(QPointF(86, 10), pic->mapToGlobal(QPointF(86, 10)), {}, {0, 240}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(pic, &wheel);
        QVERIFY(f.timeView().span() < 50 || f.timeView().span() == TimeView::MinSpan);
        QVERIFY(std::abs(f.interaction()->exactSecondAtPixel(86) - 506.5) < 0.2);
        // Both boxes read "Scale Line"; a screen reader tells them apart, and hears what the graph is.
        auto name = [](QObject *o) { return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name); };
        QCOMPARE(
            (QStringList {f.ChkScaleLine[0]->text(), f.ChkScaleLine[1]->text(), name(f.ChkScaleLine[0]),
                          name(f.ChkScaleLine[1]), name(f.PicLog)}),
            (QStringList {"Scale Line", "Scale Line", "Voltage scale lines", "Current scale lines", "Run log graph"}));
        // Tab: left box, "Close", right box, graph, and round again.
        f.ChkScaleLine[0]->setFocus();
        for (QWidget *next : QWidgetList {f.CmdClose, f.ChkScaleLine[1], f.PicLog, f.ChkScaleLine[0]}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // Arrows move the cursor on the focused graph; past the view's edge the view follows.
        f.PicLog->setFocus();
        f.setCursorSecond(100);
        QTest::keyClick(f.PicLog, Qt::Key_Right);
        QTest::keyClick(f.PicLog, Qt::Key_Left, Qt::ShiftModifier);
        QVERIFY(f.cursorSecond() == 91 && f.Strip->cursorText().startsWith(QStringLiteral("91")));
        f.zoomTo(80, 100);
        QTest::keyClick(f.PicLog, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(f.cursorSecond(), 101);
        QVERIFY(f.timeView().end() >= 101 && f.timeView().span() == 20);
        QTest::keyClick(f.PicLog, Qt::Key_Home);
        // Dragging from the left border darkens the band under the mouse and shows from 0 s.
        const int w4 = (pic->width() - 4) / 4;
        const QPoint inBand(w4 / 2, pic->height() / 2);
        const QColor plain = pic->grab().toImage().pixelColor(inBand);
        QTest::mousePress(pic, Qt::LeftButton, {}, QPoint(0, 30));
        QTest::mouseMove(pic, QPoint(2 + w4, 40));
        QVERIFY(pic->grab().toImage().pixelColor(inBand).lightness() < plain.lightness());
        QTest::mouseRelease(pic, Qt::LeftButton, {}, QPoint(2 + w4, 40));
        QVERIFY(f.timeView().start() == 0 && std::abs(f.timeView().end() - 135) < 3);
        QTest::mouseDClick(pic, Qt::LeftButton, {}, QPoint(100, 20)); // back to the whole run
        QVERIFY(f.timeView().isDefault());
        // Enter presses the focused button (not a release alone, of a key pressed elsewhere); Escape closes.
        f.setAttribute(Qt::WA_DeleteOnClose, false);
        f.CmdClose->setFocus();
        QTest::keyRelease(f.CmdClose, Qt::Key_Return);
        QVERIFY(f.isVisible());
        QTest::keyClick(f.CmdClose, Qt::Key_Return);
        QVERIFY(!f.isVisible());
        f.show();
        QTest::keyClick(f.PicLog, Qt::Key_Escape);
        QVERIFY(!f.isVisible());
    }

    // A compared run is read like Log Data > Open, refused by the same rules, and never enters the store.
    void comparison_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("box"); // "-": shown without a box
        const QByteArray header = "Time(s),Voltage(V),Current(A)\r\n";
        const QString trouble = "Trouble is found in data.";
        QTest::newRow("good") << header + "0,8.1,100\r\n1,8,120\r\n2,,\r\n3,7.9,90\r\n"
                              << "-";
        QTest::newRow("row skipped") << header + "0,8.1,100\r\n2,8,120\r\n" << trouble;
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("no such file") << QByteArray("none") << trouble;
    }
    void comparison()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, box);
        Drawing w(5800, 3100, {0, 0}, fullRun());
        FrmLog &f = w.window;
        f.setFileAccess(&w.files);
        QFile other(w.path("other.csv"));
        QVERIFY(file == "none" || (other.open(QIODevice::WriteOnly) && other.write(file) == file.size()));
        other.close();
        w.dialogs.paths << other.fileName();
        const LogStore before = w.store;
        f.Menu->Compare->trigger();
        QCOMPARE(w.dialogs.filters, QStringList {QStringLiteral("ZX Log data (*.csv)|*.csv|ALL files(*.*)|*.*")});
        QCOMPARE(f.hasComparison(), box == "-");
        QCOMPARE(w.boxes.texts(), box.isEmpty() || box == "-" ? QStringList() : QStringList {box});
        QVERIFY(w.boxes.shown.isEmpty() || w.boxes.shown[0].icon == MessageBoxes::Icon::Critical);
        QVERIFY(w.store.VoltData == before.VoltData && w.store.CurData == before.CurData);
        if (box != "-") {
            QVERIFY(w.surface.lines.isEmpty() && !f.Strip->statisticsText().contains(QStringLiteral("vs")));
            return;
        }
        // Lighter and dashed, behind this run: drawn before its traces, in pieces of at most 8 pixels.
        const QList<Line> light = w.surface.linesOf(0xFF7F7F);
        QVERIFY(!light.isEmpty() && !w.surface.linesOf(0xDF7FDF).isEmpty());
        QVERIFY(w.surface.lines.indexOf(light.last())
                < w.surface.lines.indexOf(w.surface.linesOf(FrmLog::VoltColour)[0]));
        for (const Line &l : light)
            QVERIFY(std::hypot(l.x2 - l.x1, l.y2 - l.y1) <= 120.001 && l.widthPx == 2);
        // Charge and energy side by side: (100 + 120 + 90) / 3.6 = 86 mAh, (810 + 960 + 711) / 3600 = 0.69 Wh.
        QCOMPARE(f.Strip->statisticsText(),
                 nb("5094~mAh~vs~86~mAh . 32.65~Wh~vs~0.69~Wh . 512~s . min~3.70~V~at~511~s . avg~6.60~V,~max~8.40~V . "
                    "peak~261.8~A~at~119~s . avg~35.8~A"));
        f.Menu->ClearComparison->trigger();
        QVERIFY(!f.hasComparison() && !f.Strip->statisticsText().contains(QStringLiteral("vs")));
    }

    // The strip lies below the layout and shows the run's figures; each frame's legend is a 2-pixel line of its
    // trace's colour, 180 to 1080 twips across at 300 down. The picture: twice the pixels on screen, both runs'
    // traces, cursor left out; saved as PNG where log files went last, named by date and time; a failure told
    // like other failed saves.
    void stripAndPicture()
    {
        World w(fullRun());
        const std::array<int, 2> scaleLine {0, 1};
        LogViewer viewer(w.store, w.ini, scaleLine, nullptr);
        viewer.setFileAccess(&w.files);
        viewer.SetGraphFile();
        FrmLog *f = viewer.window();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QTRY_COMPARE(f->Strip->geometry(), QRect(0, f->height() - f->stripHeight(), f->width(), f->stripHeight()));
        QVERIFY(f->Strip->findChild<QLabel *>()->height() >= 3 * f->fontMetrics().lineSpacing()); // three lines
        // Data Get puts a new log in the store: the figures and the graph's description follow.
        viewer.SetGraph(runDataReply());
        QVERIFY(f->Strip->statisticsText().contains(nb(" . 301~s . min~")));
        QVERIFY(f->PicLog->accessibleDescription().startsWith(QStringLiteral("Run of 301 s:")));
        QVERIFY(saveScreenshot(f, QStringLiteral("log-window.png")));
        for (auto [frame, rgb] : {std::pair {f->Frame2, qRgb(0, 0, 255)}, {f->Frame1, qRgb(0xC0, 0, 0xC0)}}) {
            const QImage legend = frame->grab().toImage();
            const int r = qRound(legend.devicePixelRatio());
            QCOMPARE(count(legend.copy(QRect(QPoint(12, 19) * r, QSize(60, 2) * r)), rgb), 120 * r * r);
            QCOMPARE(count(legend, rgb), 120 * r * r);
        }
        f->setComparison(fullRun(-0.4, 1.2));
        f->zoomTo(60, 240);
        f->setCursorSecond(132);
        QVERIFY(saveScreenshot(f, QStringLiteral("log-window-analysis.png")));

        const QImage pic = f->graphPicture();
        // From the top voltage caption down to below the time axis title.
        QVERIFY(pic.width() == 2 * f->width() && pic.height() < 2 * f->height()
                && pic.height() / 2 > f->LblTime->geometry().bottom() - f->LblVolt.last()->geometry().top());
        QVERIFY(count(pic, qRgb(0, 0, 255)) > 500 && count(pic, qRgb(0xC0, 0, 0xC0)) > 500); // this run
        QVERIFY(count(pic, qRgb(127, 127, 255)) > 200 && count(pic, qRgb(0xDF, 0x7F, 0xDF)) > 200); // the compared one
        QVERIFY(f->Overlay->isVisible() && f->Overlay->cursorX() > 0); // hidden only for the picture
        QVERIFY(count(pic, qRgb(0x80, 0x80, 0x80)) > 15 * pic.height()); // 18 time lines, each its full height
        w.files.rememberLogPath(w.path("runs.csv"));
        w.dialogs.paths << w.path("graph.png") << w.path("graph.png") << w.path("no/such/folder/graph.png");
        f->Menu->SavePng->trigger();
        QCOMPARE(w.dialogs.suggestions.first(), w.path("2024-05-01 13-45-12.png"));
        const QImage saved(w.path("graph.png"), "PNG");
        QVERIFY(saved.size() == pic.size() && count(saved, qRgb(127, 127, 255)) > 200 && w.boxes.shown.isEmpty());
        // A picture already there is replaced only when the user says so.
        QVERIFY(QFile::resize(w.path("graph.png"), 10));
        w.boxes.answers = {MessageBoxes::Answer::No};
        f->Menu->SavePng->trigger();
        QCOMPARE(w.boxes.texts(), QStringList {FileCommands::OverwriteQuestion});
        QCOMPARE(QFileInfo(w.path("graph.png")).size(), 10);
        w.boxes.shown.clear();
        f->Menu->SavePng->trigger();
        QCOMPARE(w.boxes.texts().value(0).section(QStringLiteral("\r\n"), 0, 1),
                 "The file was not saved.\r\n" + w.path("no/such/folder/graph.png"));
        QCOMPARE(w.boxes.shown[0].icon, MessageBoxes::Icon::Critical);
        f->Menu->CopyGraph->trigger();
        QCOMPARE(QApplication::clipboard()->image().size(), pic.size());
    }
};

QTEST_MAIN(TstLogWindow)
#include "tst_log_window.moc"
