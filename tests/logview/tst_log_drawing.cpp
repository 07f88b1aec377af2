// What the log window draws, recorded line by line: the grid and its options, and the
// trace segments for chosen samples, at the initial and at the minimum surface size.
#include "logview/frm_log.h"
#include "logview/log_store.h"

#include "platform/ini_file.h"
#include "tests/support/recording_surface.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>

using Line = RecordingSurface::Line;
Q_DECLARE_METATYPE(Line)

namespace QTest {
template <>
char *toString(const Line &l)
{
    return qstrdup(qPrintable(QStringLiteral("(%1,%2)-(%3,%4) #%5 %6px").arg(l.x1).arg(l.y1).arg(l.x2).arg(l.y2)
                                  .arg(l.bgr, 6, 16, QLatin1Char('0')).arg(l.widthPx)));
}
} // namespace QTest

namespace {

// A window drawing on a recorder, over a store in which no sample has a value.
struct World {
    QTemporaryDir dir;
    IniFile ini{dir.filePath(QStringLiteral("test.ini"))};
    LogStore store;
    RecordingSurface surface;
    std::unique_ptr<FrmLog> window;

    World(int pw, int ph, std::array<int, 2> options = {0, 0}) : surface(pw, ph)
    {
        store.VoltData.fill(LogStore::Missing);
        store.CurData.fill(LogStore::Missing);
        window = std::make_unique<FrmLog>(store, ini, options, nullptr, &surface);
        surface.clear();
    }
};

} // namespace

class TstLogDrawing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void grid_data()
    {
        QTest::addColumn<int>("pw");
        QTest::addColumn<int>("ph");
        QTest::addColumn<bool>("voltLines");
        QTest::addColumn<bool>("curLines");
        QTest::addColumn<QList<double>>("voltY"); // levels "0" .. "9.0"
        QTest::addColumn<QList<double>>("curY");  // levels "0" .. "250", rounded
        QTest::addColumn<QList<double>>("timeX"); // 0 s, 30 s ... 510 s
        const QList<double> iv{3100, 2790, 2480, 2170, 1860, 1550, 1240, 930, 620, 310};
        const QList<double> ic{3100, 2583, 2067, 1550, 1033, 517};
        const QList<double> it{0, 322, 644, 967, 1289, 1611, 1933, 2256, 2578,
                               2900, 3222, 3544, 3867, 4189, 4511, 4833, 5156, 5478};
        const QList<double> mv{2500, 2250, 2000, 1750, 1500, 1250, 1000, 750, 500, 250};
        const QList<double> mc{2500, 2083, 1667, 1250, 833, 417};
        const QList<double> mt{0, 215, 430, 645, 860, 1075, 1290, 1505, 1720,
                               1935, 2150, 2365, 2580, 2795, 3010, 3225, 3440, 3655};
        QTest::newRow("initial, ticks") << 5800 << 3100 << false << false << iv << ic << it;
        QTest::newRow("initial, voltage lines") << 5800 << 3100 << true << false << iv << ic << it;
        QTest::newRow("initial, current lines") << 5800 << 3100 << false << true << iv << ic << it;
        QTest::newRow("minimum, ticks") << 3870 << 2500 << false << false << mv << mc << mt;
        QTest::newRow("minimum, both lines") << 3870 << 2500 << true << true << mv << mc << mt;
    }
    void grid()
    {
        QFETCH(int, pw);
        QFETCH(int, ph);
        QFETCH(bool, voltLines);
        QFETCH(bool, curLines);
        QFETCH(QList<double>, voltY);
        QFETCH(QList<double>, curY);
        QFETCH(QList<double>, timeX);
        World w(pw, ph, {voltLines, curLines});
        w.window->Form_Resize();

        // The background is filled once, over the whole surface, before any line.
        QCOMPARE(w.surface.fills.size(), 1);
        const auto fill = w.surface.fills.first();
        QVERIFY(fill.x1 == 0 && fill.y1 == 0 && fill.x2 == pw && fill.y2 == ph && fill.bgr == 0xE0E0E0);
        QCOMPARE(fill.linesBefore, 0);

        const int G = FrmLog::GridColour;
        QList<Line> expected;
        for (double y : voltY)
            expected.append({0, y, voltLines ? double(pw) : 70, y, G, 1});
        for (int k = 0; k < 6; ++k) {
            const double tickY = (6 - k) * ph / 6.0; // the tick is not rounded
            expected.append({pw - 70.0, tickY, double(pw), tickY, G, 1});
            expected.append({curLines ? 0.0 : pw - 70.0, curY[k], double(pw), curY[k], G, 1});
        }
        for (double x : timeX)
            expected.append({x, 0, x, double(ph), G, 1});
        QCOMPARE(w.surface.lines, expected); // and nothing else: the store is empty
    }

    void clickRedrawsAtOnce()
    {
        World w(5800, 3100);
        w.window->ChkScaleLine[1]->click();
        QCOMPARE(w.surface.lines[0].x2, 70.0);   // voltage "0": still a tick
        QCOMPARE(w.surface.lines[11].x1, 0.0);   // current "0": full width now
        w.surface.clear();
        w.window->ChkScaleLine[0]->click();
        QCOMPARE(w.surface.lines[0].x2, 5800.0);
    }

    // One sample (and the one before it) in an otherwise empty store; the trace's last
    // segment must be exactly the expected one.
    void traceSegments_data()
    {
        QTest::addColumn<int>("pw");
        QTest::addColumn<int>("ph");
        QTest::addColumn<int>("index");
        QTest::addColumn<float>("previous");
        QTest::addColumn<float>("value");
        QTest::addColumn<Line>("segment"); // its colour says which trace
        const int V = FrmLog::VoltColour;
        const int C = FrmLog::CurColour;
        QTest::newRow("0 V") << 5800 << 3100 << 5 << 0.0f << 0.0f << Line{43, 3097, 54, 3097, V, 2};
        QTest::newRow("9.99 V on the top edge") << 5800 << 3100 << 5 << 9.99f << 9.99f << Line{43, 0, 54, 0, V, 2};
        QTest::newRow("12 V above the top") << 5800 << 3100 << 5 << 5.0f << 12.0f << Line{43, 1547, 54, -623, V, 2};
        QTest::newRow("300 A above the top") << 5800 << 3100 << 5 << 0.0f << 300.0f << Line{43, 3097, 54, -3, C, 2};
        QTest::newRow("299.7 A on the top edge") << 5800 << 3100 << 5 << 150.0f << 299.7f << Line{43, 1547, 54, 0, C, 2};
        QTest::newRow("last sample") << 5800 << 3100 << 511 << 2.5f << 5.0f << Line{5478, 2322, 5489, 1547, V, 2};
        QTest::newRow("volts after a gap") << 5800 << 3100 << 20 << -1.0f << 5.0f << Line{204, 3407, 215, 1547, V, 2};
        QTest::newRow("amps after a gap") << 5800 << 3100 << 20 << -1.0f << 150.0f << Line{204, 3107, 215, 1547, C, 2};
        QTest::newRow("first sample: no length") << 5800 << 3100 << 0 << 0.0f << 5.0f << Line{0, 1547, 0, 1547, V, 2};
        // minimum surface: exact halves go to the even neighbour (64.5 -> 64, 1872.5 -> 1872)
        QTest::newRow("min: 0 V") << 3870 << 2500 << 3 << 0.0f << 0.0f << Line{14, 2498, 22, 2498, V, 2};
        QTest::newRow("min: 2.5 V at 9 s") << 3870 << 2500 << 9 << 2.5f << 2.5f << Line{57, 1872, 64, 1872, V, 2};
        QTest::newRow("min: 12 V") << 3870 << 2500 << 9 << 9.99f << 12.0f << Line{57, 0, 64, -502, V, 2};
        QTest::newRow("min: 300 A") << 3870 << 2500 << 5 << 299.7f << 300.0f << Line{29, 0, 36, -3, C, 2};
        QTest::newRow("min: last sample") << 3870 << 2500 << 511 << 0.0f << 150.0f << Line{3655, 2498, 3662, 1248, C, 2};
        QTest::newRow("min: after a gap") << 3870 << 2500 << 20 << -1.0f << 0.0f << Line{136, 2748, 143, 2498, V, 2};
    }
    void traceSegments()
    {
        QFETCH(int, pw);
        QFETCH(int, ph);
        QFETCH(int, index);
        QFETCH(float, previous);
        QFETCH(float, value);
        QFETCH(Line, segment);
        World w(pw, ph);
        const bool current = segment.bgr == FrmLog::CurColour;
        auto &data = current ? w.store.CurData : w.store.VoltData;
        if (index > 0)
            data[index - 1] = previous;
        data[index] = value;
        w.window->Form_Resize();
        const QList<Line> trace = w.surface.linesOf(segment.bgr);
        // A missing sample ends no segment: one segment per sample that has a value.
        QCOMPARE(trace.size(), (index > 0 && previous != -1) ? 2 : 1);
        QCOMPARE(trace.last(), segment);
        QVERIFY(w.surface.linesOf(current ? FrmLog::VoltColour : FrmLog::CurColour).isEmpty());
    }
};

QTEST_MAIN(TstLogDrawing)
#include "tst_log_drawing.moc"
