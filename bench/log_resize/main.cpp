// Time of one full layout-and-draw pass of the log window (background, grid, captions and
// both traces, 1024 segments) at the window's initial size and at the size of a 4K screen.
#include "logview/frm_log.h"
#include "logdata/log_store.h"

#include "platform/gui/image_surface.h"
#include "platform/ini_file.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

void fillLog(LogStore &store)
{
    for (int t = 0; t < LogStore::SampleCount; ++t) {
        const double burst = std::fmod(t, 20.0) < 5 ? 1.0 : 0.0;
        store.CurData[t] = float(std::round((15 + 220 * burst) / 10) * 10);
        store.VoltData[t] = float(std::round((8.4 - 1.5 * t / 512 - 0.0075 * store.CurData[t]) * 10) / 10);
    }
}

void measure(FrmLog &window, int widthTwips, int heightTwips, int passes)
{
    window.setSize(widthTwips, heightTwips);
    QApplication::processEvents();
    std::vector<double> ms;
    for (int i = 0; i < passes; ++i) {
        QElapsedTimer timer;
        timer.start();
        window.Form_Resize();
        window.PicLog->picture(); // the drawing is complete once the painter is done
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("window %5d x %5d twips, surface %5d x %5d twips (%4d x %4d px): median %.3f ms, "
                "min %.3f ms, max %.3f ms over %d passes\n",
                window.Width(), window.Height(), window.PicLog->innerWidth(), window.PicLog->innerHeight(),
                window.PicLog->picture().width(), window.PicLog->picture().height(), ms[ms.size() / 2], ms.front(),
                ms.back(), passes);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("bench.ini")));
    LogStore store;
    fillLog(store);
    FrmLog window(store, ini, {1, 1}, nullptr);
    window.show();
    measure(window, FrmLog::InitialWidth, FrmLog::InitialHeight, 300);
    measure(window, 3840 * 15, 2160 * 15, 40);
    std::printf("target: under 2 ms at the initial size\n");
    return 0;
}
