// The log window's analysis tools: statistics, cursor, zoom, comparison and export.
#include "ui/file_commands.h"
#include "ui/graph_files.h"
#include "logview/frm_log.h"
#include "logview/graph_interaction.h"
#include "logview/graph_menu.h"
#include "logview/graph_overlay.h"
#include "logview/graph_summary.h"
#include "logview/log_status_strip.h"
#include "logdata/log_strip_text.h"
#include "logview/log_viewer.h"
#include "platform/gui/image_surface.h"
#include "platform/ini_file.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/recording_surface.h"
#include "tests/support/scripted_file_dialogs.h"
#include "tests/support/test_output.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using Line = RecordingSurface::Line;

namespace {
// A sample as (seconds, volts, amps); every other second holds nothing.
struct Sample {
    int t;
    float v, i;
};
LogStore storeOf(std::initializer_list<Sample> samples)
{
    LogStore s;
    s.VoltData.fill(LogStore::Missing), s.CurData.fill(LogStore::Missing);
    for (const Sample &x : samples)
        s.VoltData[x.t] = x.v, s.CurData[x.t] = x.i;
    return s;
}
// A full run: a slow sag and bursts of current every 20 s.
LogStore fullRun(double voltShift = 0, double ampScale = 1)
{
    LogStore s;
    for (int t = 0; t < LogStore::SampleCount; ++t) {
        const double amps = (std::fmod(t, 20.0) < 5 ? 220 : 20) * ampScale;
        s.CurData[t] = float(std::round(amps / 10) * 10);
        s.VoltData[t] = float(std::round((8.2 + voltShift - 1.5 * t / 512 - 0.004 * amps) * 10) / 10);
    }
    return s;
}
QString nb(QString text) // "~" stands for a no-break space, "." for the separator between items
{
    return text.replace(u'~', QChar(0x00A0)).replace(QStringLiteral(" . "), QStringLiteral(" \u00B7 "));
}

struct World {
    QTemporaryDir dir;
    IniFile ini {dir.filePath(QStringLiteral("ZX316B Link.ini"))};
    LogStore store = fullRun();
    RecordingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    GraphFiles files {dialogs, boxes, [] { return QDateTime(QDate(2024, 5, 1), QTime(13, 45, 12)); }};
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
};
// A shown window on its own surface, at an outer size in twips.
struct Shown : World {
    FrmLog window {store, ini, {0, 0}, nullptr};
    explicit Shown(QSize outer = {7000, 5200})
    {
        window.setFileAccess(&files);
        window.storeChanged();
        window.show();
        window.setSize(outer.width(), outer.height());
    }
    bool ready() { return QTest::qWaitForWindowExposed(&window); }
};

int count(const QImage &image, QRgb colour)
{
    const QImage i = image.convertToFormat(QImage::Format_RGB32);
    const auto *px = reinterpret_cast<const QRgb *>(i.constBits());
    return int(std::count(px, px + qsizetype(i.width()) * i.height(), colour));
}

} // namespace
Q_DECLARE_METATYPE(LogStore)

class TstLogAnalysis : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Both boxes read "Scale Line"; a screen reader tells them apart, and hears the run.
    void accessibleNames()
    {
        World w;
        FrmLog f(w.store, w.ini, {0, 0}, nullptr);
        auto text = [](QObject *o, QAccessible::Text t) { return QAccessible::queryAccessibleInterface(o)->text(t); };
        QCOMPARE(f.ChkScaleLine[0]->text() + '/' + f.ChkScaleLine[1]->text(), "Scale Line/Scale Line");
        QCOMPARE(text(f.ChkScaleLine[0], QAccessible::Name), "Voltage scale lines");
        QCOMPARE(text(f.ChkScaleLine[1], QAccessible::Name), "Current scale lines");
        QCOMPARE(text(f.PicLog, QAccessible::Name), "Run log graph");
        w.store = storeOf({});
        f.storeChanged();
        QCOMPARE(text(f.PicLog, QAccessible::Description), "The run log holds no data.");
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
        // Gaps: no volts at 2 s, no amps at 3 s, nothing at 4 s, nothing after 5 s.
        // Charge (10+20+30+40) / 3.6 = 27.8 mAh; energy (8x10 + 7.5x20 + 8.5x40) / 3600 = 0.158 Wh.
        row("gaps", storeOf({{0, 8, 10}, {1, 7.5, 20}, {2, -1, 30}, {3, 7, -1}, {5, 8.5, 40}}),
            "28~mAh . 0.16~Wh . 5~s,~3~missing . min~7.00~V~at~3~s . avg~7.75~V,~max~8.50~V . peak~40.0~A~at~5~s . "
            "avg~25.0~A",
            "Run of 5 s with 3 s missing: voltage 7.00 to 8.50 V, lowest at 3 s; current peak 40.0 A at 5 s, "
            "average 25.0 A; 28 mAh drawn.");
        row("all missing", storeOf({}), "No data", "The run log holds no data.");
        // 7.4 V x 120 A for one second: 33.3 mAh, 0.247 Wh.
        row("one sample", storeOf({{0, 7.4f, 120}}),
            "33~mAh . 0.25~Wh . 1~s . min~7.40~V~at~0~s . avg~7.40~V,~max~7.40~V . peak~120.0~A~at~0~s . avg~120.0~A",
            "Run of 1 s: voltage 7.40 to 7.40 V, lowest at 0 s; current peak 120.0 A at 0 s, average 120.0 A; "
            "33 mAh drawn.");
        // Equal extremes: the first second is named. Current only at the end: no energy there.
        row("ties, current only at the end", storeOf({{6, 6, 50}, {7, 6, 50}, {8, -1, 50}}),
            "42~mAh . 0.17~Wh . 3~s,~7~missing . min~6.00~V~at~6~s . avg~6.00~V,~max~6.00~V . peak~50.0~A~at~6~s . "
            "avg~50.0~A",
            "Run of 3 s with 7 s missing: voltage 6.00 to 6.00 V, lowest at 6 s; current peak 50.0 A at 6 s, "
            "average 50.0 A; 42 mAh drawn.");
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

    void gridStep_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<int>("step");
        QTest::newRow("200 s") << 0.0 << 200.0 << 30;
        QTest::newRow("100 s") << 100.0 << 200.0 << 10;
        QTest::newRow("36.7 s") << 3.5 << 40.2 << 5;
        QTest::newRow("30 s") << 300.0 << 330.0 << 2;
        QTest::newRow("closest") << 50.0 << 60.0 << 1;
        QTest::newRow("closer than allowed") << 50.0 << 52.0 << 1;
    }
    void gridStep()
    {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(int, step);
        TimeView v;
        v.zoomTo(from, to);
        QCOMPARE(v.gridStep(), step);
        QVERIFY(v.span() >= TimeView::MinSpan && v.start() >= 0 && v.end() <= 540);
        QVERIFY2(v.gridLines(step) >= 6 && v.gridLines(step) <= 18, qPrintable(QString::number(v.gridLines(step))));
    }

    // The second under the mouse, at three window sizes and while zoomed; the line sits on it.
    void mouseToSecond_data()
    {
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::newRow("minimum") << QSize(5070, 4600) << 0.0 << 540.0;
        QTest::newRow("large") << QSize(12000, 9000) << 0.0 << 540.0;
        QTest::newRow("initial, zoomed") << QSize(7000, 5200) << 100.0 << 160.0;
        QTest::newRow("minimum, zoomed at the end") << QSize(5070, 4600) << 490.0 << 540.0;
    }
    void mouseToSecond()
    {
        QFETCH(QSize, outer);
        QFETCH(double, from);
        QFETCH(double, to);
        Shown w(outer);
        QVERIFY(w.ready());
        if (from != 0 || to != 540)
            w.window.zoomTo(from, to);
        ImageSurface *pic = w.window.PicLog;
        const int inner = pic->width() - 2 * ImageSurface::BorderPixels;
        for (int x : {2, 3, 2 + inner / 3, 2 + inner / 2, 2 + inner - 1, pic->width() - 1}) {
            QTest::mouseMove(pic, QPoint(x, pic->height() / 2));
            // The nearest second, within the view and the log, from the surface's size alone.
            const double exact = std::clamp(from + (x - 2) * (to - from) / inner, from, to);
            const int t = std::clamp(int(std::lround(exact)), int(std::ceil(from)), std::min(511, int(to)));
            QCOMPARE(w.window.cursorSecond(), t);
            QCOMPARE(w.window.Overlay->cursorX(), 2 + qRound((t - from) * inner / (to - from)));
        }
        // Wheel zoom keeps the second under the mouse where it was.
        const int x = 2 + inner / 3;
        QTest::mouseMove(pic, QPoint(x, 10));
        const int before = w.window.cursorSecond();
        QWheelEvent wheel(QPointF(x, 10), pic->mapToGlobal(QPointF(x, 10)), {}, {0, 240}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(pic, &wheel);
        QVERIFY(w.window.timeView().span() < (to - from) || w.window.timeView().span() == TimeView::MinSpan);
        QVERIFY(std::abs(w.window.interaction()->exactSecondAtPixel(x) - before) < (to - from) / inner + 0.51);
    }

    // Zoomed, a caption stands under every other grid line in view; zooming in and out and back
    // leaves exactly the drawing and captions the window had.
    void zoomRoundTrip()
    {
        World w;
        RecordingSurface surface;
        FrmLog f(w.store, w.ini, {0, 1}, nullptr, &surface);
        auto captions = [&f] {
            QStringList out;
            for (QLabel *l : f.LblS)
                out << l->text() + u'@' + QString::number(f.twipRect(l).left()) + (l->isHidden() ? "h" : "");
            return out;
        };
        surface.clear();
        f.Form_Resize();
        const QList<Line> initial = surface.lines;
        const QStringList initialCaptions = captions();
        f.zoomTo(100, 160); // captions 100 .. 160 every 10 s, grid lines 100, 105 .. 155 s
        QCOMPARE(captions().filter(QStringLiteral("h")).size(), 3);
        QCOMPARE(f.LblS[0]->text() + u' ' + f.LblS[6]->text(), QStringLiteral("100 160"));
        QList<Line> grid;
        for (const Line &l : surface.lines)
            if (l.bgr == FrmLog::GridColour && l.x1 == l.x2 && l.y1 == 0)
                grid << l;
        QVERIFY(grid[grid.size() - 12].x1 == 0.0 && grid[grid.size() - 11].x1 == double(qRound(5 * 5800 / 60.0)));
        surface.clear();
        f.interaction()->zoomBy(2);
        f.interaction()->zoomBy(0.25);
        f.resetZoom();
        QCOMPARE(surface.lines.mid(surface.lines.size() - initial.size()), initial);
        QCOMPARE(captions(), initialCaptions);

        // Dragging from the left border darkens the band under the mouse and shows from 0 s.
        Shown s;
        QVERIFY(s.ready());
        ImageSurface *pic = s.window.PicLog;
        const int w4 = (pic->width() - 4) / 4;
        const QPoint inBand(w4 / 2, pic->height() / 2);
        const QColor plain = pic->grab().toImage().pixelColor(inBand);
        QTest::mousePress(pic, Qt::LeftButton, {}, QPoint(0, 30));
        QTest::mouseMove(pic, QPoint(2 + w4, 40));
        QVERIFY(pic->grab().toImage().pixelColor(inBand).lightness() < plain.lightness());
        QTest::mouseRelease(pic, Qt::LeftButton, {}, QPoint(2 + w4, 40));
        QVERIFY(s.window.timeView().start() == 0 && std::abs(s.window.timeView().end() - 135) < 3);
        QTest::mouseDClick(pic, Qt::LeftButton, {}, QPoint(100, 20)); // back to the whole run
        QVERIFY(s.window.timeView().isDefault());
    }

    void keyboard()
    {
        Shown w;
        FrmLog &f = w.window;
        QVERIFY(w.ready());
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        // Tab: left box, "Close", right box, graph, and round again.
        f.ChkScaleLine[0]->setFocus();
        QList<QWidget *> order;
        for (int i = 0; i < 5; ++i) {
            order << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order,
                 (QList<QWidget *> {f.ChkScaleLine[0], f.CmdClose, f.ChkScaleLine[1], f.PicLog, f.ChkScaleLine[0]}));
        // Arrows move the cursor on the focused graph; past the view's edge the view follows.
        f.PicLog->setFocus();
        f.setCursorSecond(100);
        QTest::keyClick(f.PicLog, Qt::Key_Right);
        QCOMPARE(f.cursorSecond(), 101);
        QTest::keyClick(f.PicLog, Qt::Key_Left, Qt::ShiftModifier);
        QVERIFY(f.cursorSecond() == 91 && f.Strip->cursorText().startsWith(QStringLiteral("91")));
        f.zoomTo(80, 100);
        QTest::keyClick(f.PicLog, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(f.cursorSecond(), 101);
        QVERIFY(f.timeView().end() >= 101 && f.timeView().span() == 20);
        QTest::keyClick(f.PicLog, Qt::Key_Home);
        QVERIFY(f.timeView().isDefault());
        // Enter presses the focused button (a release alone, of a key pressed elsewhere, does
        // not); Escape closes like "Close".
        f.setAttribute(Qt::WA_DeleteOnClose, false);
        f.CmdClose->setFocus();
        QTest::keyRelease(f.CmdClose, Qt::Key_Return);
        QVERIFY(f.isVisible());
        QTest::keyClick(f.CmdClose, Qt::Key_Return);
        QVERIFY(!f.isVisible());
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
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
        World w;
        RecordingSurface surface;
        FrmLog f(w.store, w.ini, {0, 0}, nullptr, &surface);
        f.setFileAccess(&w.files);
        QFile other(w.path("other.csv"));
        QVERIFY(file == "none" || (other.open(QIODevice::WriteOnly) && other.write(file) == file.size()));
        other.close();
        w.dialogs.paths << other.fileName();
        const LogStore before = w.store;
        surface.clear();
        f.Menu->Compare->trigger();
        QCOMPARE(w.dialogs.filters, QStringList {QStringLiteral("ZX Log data (*.csv)|*.csv|ALL files(*.*)|*.*")});
        QCOMPARE(f.hasComparison(), box == "-");
        QCOMPARE(w.boxes.texts(), box.isEmpty() || box == "-" ? QStringList() : QStringList {box});
        QVERIFY(w.boxes.shown.isEmpty() || w.boxes.shown[0].icon == MessageBoxes::Icon::Critical);
        QVERIFY(w.store.VoltData == before.VoltData && w.store.CurData == before.CurData);
        if (box != "-") {
            QVERIFY(surface.lines.isEmpty() && !f.Strip->statisticsText().contains(QStringLiteral("vs")));
            return;
        }
        // Lighter and dashed, behind this run: drawn before its traces, in pieces of at most 8 pixels.
        const QList<Line> light = surface.linesOf(0xFF7F7F);
        QVERIFY(!light.isEmpty() && !surface.linesOf(0xDF7FDF).isEmpty());
        QVERIFY(surface.lines.indexOf(light.last()) < surface.lines.indexOf(surface.linesOf(FrmLog::VoltColour)[0]));
        for (const Line &l : light)
            QVERIFY(std::hypot(l.x2 - l.x1, l.y2 - l.y1) <= 120.001 && l.widthPx == 2);
        // Charge and energy side by side: (100 + 120 + 90) / 3.6 = 86 mAh, (810 + 960 + 711) / 3600 = 0.69 Wh.
        const LogStatistics run = computeStatistics(w.store);
        QCOMPARE(f.Strip->statisticsText(),
                 nb("%1~mAh~vs~86~mAh . %2~Wh~vs~0.69~Wh . ").arg(qRound(run.chargeMah)).arg(run.energyWh, 0, 'f', 2)
                     + striptext::statistics(run).section(QStringLiteral(" \u00B7 "), 2));
        f.Menu->ClearComparison->trigger();
        QVERIFY(!f.hasComparison() && !f.Strip->statisticsText().contains(QStringLiteral("vs")));
    }

    // The strip lies below the layout and shows the run's figures. The picture: twice the pixels on
    // screen, both runs' traces, cursor left out; saved as PNG where log files went last, named by
    // date and time; a failure told like other failed saves.
    void stripAndPicture()
    {
        World w;
        const std::array<int, 2> scaleLine {0, 0};
        LogViewer viewer(w.store, w.ini, scaleLine, nullptr);
        viewer.setFileAccess(&w.files);
        viewer.SetGraphFile();
        FrmLog *f = viewer.window();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QTRY_COMPARE(f->Strip->geometry(), QRect(0, f->height() - f->stripHeight(), f->width(), f->stripHeight()));
        // Three lines of figures fit in it.
        QVERIFY(f->Strip->findChild<QLabel *>()->height() >= 3 * f->fontMetrics().lineSpacing());
        QVERIFY(f->Strip->statisticsText().contains(nb(" . 512~s . min~")));
        // Data Get puts a new log in the store: the figures follow.
        viewer.SetGraph(QStringLiteral("br") + QStringLiteral("FFFF").repeated(512));
        QCOMPARE(f->Strip->statisticsText(), QStringLiteral("No data"));
        w.store = fullRun();
        viewer.SetGraphFile();
        f->setComparison(fullRun(-0.4, 1.2));
        f->zoomTo(60, 240);
        f->setCursorSecond(132);
        QVERIFY(saveScreenshot(f, QStringLiteral("log-window-analysis.png")));

        const QImage pic = f->graphPicture();
        QCOMPARE(pic.width(), 2 * f->width());
        QVERIFY(pic.height() > 2 * f->PicLog->height() && pic.height() < 2 * f->height());
        // From the top voltage caption down to below the time axis title.
        QVERIFY(pic.height() / 2 > f->LblTime->geometry().bottom() - f->LblVolt.last()->geometry().top());
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

QTEST_MAIN(TstLogAnalysis)
#include "tst_log_analysis.moc"
