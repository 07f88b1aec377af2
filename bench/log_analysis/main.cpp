// Costs of the log window's analysis tools: one cursor move (event, readout and the
// repaint of the overlay) at the window's initial size, the statistics of a full log,
// and one full layout-and-draw pass while zoomed, with and without a compared run.
#include "logview/frm_log.h"
#include "logview/graph_overlay.h"
#include "logdata/log_statistics.h"
#include "logdata/log_store.h"

#include "platform/gui/image_surface.h"
#include "platform/ini_file.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void fillLog(LogStore &store, double shift = 0)
{
    for (int t = 0; t < LogStore::SampleCount; ++t) {
        const double burst = std::fmod(t, 20.0) < 5 ? 1.0 : 0.0;
        store.CurData[t] = float(std::round((15 + 220 * burst) / 10) * 10);
        store.VoltData[t] = float(std::round((8.4 + shift - 1.5 * t / 512 - 0.0075 * store.CurData[t]) * 10) / 10);
    }
}

void report(const char *what, int runs, const std::function<void()> &run)
{
    std::vector<double> us;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        us.push_back(timer.nsecsElapsed() / 1e3);
    }
    std::sort(us.begin(), us.end());
    std::printf("%-52s median %9.1f us, min %9.1f us, max %9.1f us over %d runs\n", what, us[us.size() / 2], us.front(),
                us.back(), runs);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("bench.ini")));
    LogStore store;
    fillLog(store);

    volatile double sink = 0;
    report("statistics of a full log (512 s, both values)", 20000,
           [&] { sink = sink + computeStatistics(store).energyWh; });

    FrmLog window(store, ini, {0, 0}, nullptr);
    window.storeChanged();
    window.show();
    window.setSize(FrmLog::InitialWidth, FrmLog::InitialHeight);
    QApplication::processEvents();
    ImageSurface *pic = window.PicLog;
    int x = 3;
    report("cursor move at the initial size (event + repaint)", 2000, [&] {
        x = x >= pic->width() - 3 ? 3 : x + 1;
        QMouseEvent move(QEvent::MouseMove, QPointF(x, pic->height() / 2.0), pic->mapToGlobal(QPointF(x, 10)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pic, &move);
        window.Overlay->repaint();
    });

    window.zoomTo(100, 250);
    report("full redraw while zoomed to 100..250 s", 200, [&] {
        window.Form_Resize();
        pic->picture();
    });
    LogStore other;
    fillLog(other, -0.5);
    window.setComparison(other);
    report("full redraw while zoomed, with a compared run", 200, [&] {
        window.Form_Resize();
        pic->picture();
    });
    window.resetZoom();
    report("full redraw at the default view, with a compared run", 200, [&] {
        window.Form_Resize();
        pic->picture();
    });
    std::printf("(surface %d x %d twips, %d x %d px)\n", pic->innerWidth(), pic->innerHeight(), pic->picture().width(),
                pic->picture().height());
    return 0;
}
