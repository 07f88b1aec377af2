// Prints what the command exchange costs:
//  - CPU seconds burnt while a command waits out its 3 s time-out, against a busy-polling
//    wait of the same length measured in the same run;
//  - the time from the last character of a reply reaching the port to SendCommand returning.
// The far end is a pseudo-terminal driven from the same event loop.
#include "link/serial_link.h"
#include "platform/message_boxes.h"
#include "platform/message_line.h"
#include "platform/port_catalog.h"
#include "platform/qt_serial_port.h"
#include "platform/waiter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

struct SilentBoxes : MessageBoxes {
    Answer show(const QString &, Icon, Buttons) override { return Answer::Ok; }
};
struct NullLine : MessageLine {
    void ShowMessage(const QString &, int) override {}
};

double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("pseudo-terminal");
        return 1;
    }
    const QString slave = QString::fromLocal8Bit(ptsname(master));
    termios raw {};
    const int s = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    tcgetattr(s, &raw);
    cfmakeraw(&raw);
    tcsetattr(s, TCSANOW, &raw);

    QtSerialPort port(PortCatalog::fromEntries({{1, slave, QString()}}));
    PortChoice choice;
    choice.ComPortNo = 1;
    Waiter waiter;
    SilentBoxes boxes;
    NullLine line;
    SerialLink link(port, choice, waiter, boxes, line);
    link.OpenPort({});
    if (!link.isOpen()) {
        std::fprintf(stderr, "could not open %s\n", qPrintable(slave));
        return 1;
    }

    // 1. CPU during a time-out.
    double c0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    link.SendCommand("sr", "\r");
    const double eventWaitCpu = cpuSeconds() - c0;
    const double eventWaitWall = wall.elapsed() / 1000.0;

    c0 = cpuSeconds();
    wall.restart();
    while (wall.elapsed() < 3000)
        QCoreApplication::processEvents();
    const double busyCpu = cpuSeconds() - c0;

    std::printf("time-out wait (3 s): %.3f s wall, %.4f CPU s; busy-polling wait: %.3f CPU s; ratio %.3f%%\n",
                eventWaitWall, eventWaitCpu, busyCpu, 100.0 * eventWaitCpu / busyCpu);

    // 2. Reply latency: answer each "sr" with a 68-character reply; time from the write of
    // the last character to SendCommand returning.
    char drain[256];
    while (::read(master, drain, sizeof drain) > 0) {}
    const QByteArray reply = "sr" + QByteArray(64, 'A') + "0\r";
    QElapsedTimer clock;
    clock.start();
    qint64 lastByteAt = 0;
    QSocketNotifier notifier(master, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        while (::read(master, drain, sizeof drain) > 0) {}
        QTimer::singleShot(2, [&] {
            ::write(master, reply.constData(), reply.size());
            lastByteAt = clock.nsecsElapsed();
        });
    });
    std::vector<double> latencies;
    const int rounds = argc > 1 ? std::max(5, atoi(argv[1])) : 50;
    for (int i = 0; i < rounds; ++i) {
        link.setCommError(false);
        link.SendCommand("sr", "\r");
        const qint64 done = clock.nsecsElapsed();
        if (link.CommError() || link.RecvData().size() != reply.size()) {
            std::fprintf(stderr, "round %d: no complete reply\n", i);
            return 1;
        }
        latencies.push_back((done - lastByteAt) / 1e6);
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("reply latency over %d exchanges: median %.3f ms, max %.3f ms\n", rounds,
                latencies[latencies.size() / 2], latencies.back());
    ::close(s);
    ::close(master);
    return 0;
}
