// Start-up time, from starting the process to the main window's first paint, and the
// resident memory of the idle program. Runs the real start-up (INI file, serial port on
// the controller simulator, every widget) in child processes of its own and prints:
//   startup_ms  median, min and max of several starts
//   idle_rss_kb resident set size after two idle seconds
#include "app/application.h"
#include "ui/frm_main.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int Runs = 5;
constexpr int IdleMs = 2000;

double monotonicMs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Prints the time of the main window's first paint, then the memory after an idle spell.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // After the paint has been delivered, not before it.
            QTimer::singleShot(0, [] { std::printf("shown_at_ms %.3f\n", monotonicMs()); });
            QTimer::singleShot(IdleMs, [] {
                std::printf("idle_rss_kb %ld\n", residentKb());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

int child(int argc, char **argv, const QString &folder)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    Application shell({folder, folder + QStringLiteral("/zx316b-link"), folder, folder});
    FirstPaint probe;
    if (!shell.Main())
        return 1;
    // Main() shows the window and returns; its first paint comes from the event loop.
    shell.frmMain().installEventFilter(&probe);
    return app.exec();
}

struct Figures {
    double startupMs = -1;
    long rssKb = -1;
};

Figures runChild(const QString &self, const QString &folder)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (env.value(QStringLiteral("DISPLAY")).isEmpty() && env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double started = monotonicMs();
    p.start(self, {QStringLiteral("--child"), folder});
    p.waitForFinished(30000);
    Figures f;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.size() == 2 && w[0] == "shown_at_ms")
            f.startupMs = w[1].toDouble() - started;
        else if (w.size() == 2 && w[0] == "idle_rss_kb")
            f.rssKb = w[1].toLong();
    }
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QString portLine = QStringLiteral("CommPort=0"); // no simulator: the port stays closed
    QProcess sim;
#ifdef ZX_SIM_PATH
    sim.start(QStringLiteral(ZX_SIM_PATH),
              {QStringLiteral("--quiet"), QStringLiteral("--link"), dir.filePath(QStringLiteral("port"))});
    if (sim.waitForReadyRead(10000)) {
        const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
        portLine = QStringLiteral("CommPort=1\n\n[Ports]\nCom1=") + path;
    }
#endif
    {
        QFile ini(dir.filePath(QStringLiteral("ZX316B Link.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            return 1;
        ini.write(("[RS232C]\n" + portLine + "\n").toUtf8());
    }

    QList<double> times;
    long rss = -1;
    for (int i = 0; i < Runs; ++i) {
        const Figures f = runChild(QCoreApplication::applicationFilePath(), dir.path());
        if (f.startupMs < 0) {
            std::fprintf(stderr, "bench_startup: run %d did not show the window\n", i + 1);
            continue;
        }
        times << f.startupMs;
        rss = std::max(rss, f.rssKb);
    }
    sim.terminate();
    sim.waitForFinished(3000);
    if (times.isEmpty())
        return 1;
    std::sort(times.begin(), times.end());
    std::printf("port: %s\n", portLine.startsWith(QLatin1String("CommPort=1")) ? "simulator" : "none (closed)");
    std::printf("startup_ms median %.1f  min %.1f  max %.1f  (%lld runs, process start to first paint)\n",
                times[times.size() / 2], times.first(), times.last(), qlonglong(times.size()));
    std::printf("idle_rss_kb %ld  (resident memory after %d idle seconds, largest of the runs)\n", rss, IdleMs / 1000);
    return 0;
}
