// Prints, for each of the five device operations against the simulated controller at
// 9600 baud (11 bits a character, in both directions: the controller takes in the PC's
// characters at the line rate too), the time from the click to "Completion" over its floor
// (the characters' time on the line both ways plus the operation's fixed pauses), and the
// CPU time of the user-interface thread as a share of the operation's wall time, its mean per
// operation, and how often the thread was woken in one operation.
// The program is built as main() builds it and its window is shown; run it under Xvfb
// (xvfb-run) to count what a real window costs. The controller runs in a thread of its own
// so that its work is not counted.
//
//   bench_operations [rounds [index [group]]]   (default 5 rounds of every operation, with the
//   received characters handed over one at a time and then 8 at a time; index 0..4 measures
//   one operation only and group 1 or 8 one way of handing over, for profiling)
#include "app/program.h"
#include "link/device_operations.h"
#include "link/port_choice.h"
#include "link/serial_link.h"
#include "logdata/log_store.h"
#include "platform/file_dialogs.h"
#include "platform/ini_file.h"
#include "platform/message_boxes.h"
#include "platform/qt_serial_port.h"
#include "platform/waiter.h"
#include "sim/controller_simulator.h"
#include "sim/reply_writer.h"
#include "ui/frm_main.h"
#include "ui/message_line_edit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <vector>

namespace {

double threadCpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Times the user-interface thread went to sleep and was woken again: on a virtual machine
// each costs far more CPU than the work done in it.
long threadWakeUps()
{
    rusage u {};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_nvcsw;
}

struct CountingBoxes : MessageBoxes {
    QStringList shown;
    // Questions (erase the log? restore the defaults?) are answered Yes and not counted.
    Answer show(const QString &text, Icon, Buttons buttons) override
    {
        if (buttons != Buttons::Ok)
            return Answer::Yes;
        shown << text;
        return Answer::Ok;
    }
};

struct NoDialogs : FileDialogs {
    QString openFile(const QString &) override { return {}; }
    QString saveFile(const QString &) override { return {}; }
};

// Notes the moment "Completion" is shown: the end of an operation as the user sees it.
struct CompletionClock {
    QElapsedTimer *clock = nullptr;
    qint64 completedNs = -1;
    double completedCpuMs = 0;
    long completedWakeUps = 0;
    void shown(const QString &text)
    {
        if (text == QLatin1String("Completion")) {
            completedNs = clock->nsecsElapsed();
            completedCpuMs = threadCpuMs();
            completedWakeUps = threadWakeUps();
        }
    }
};

struct Operation {
    const char *name;
    int index;
    int sentCharacters; // characters the PC sends
    int replyCharacters; // characters the controller sends back
    double pausesMs; // fixed pauses of the operation
};

// ROM version 5 with the version already known: "ae" and "be" end with a carriage return.
const Operation Operations[] = {
    {"Setting Data Read", 0, 2, 68, 0}, // sr
    {"Setting Data Write", 1, 2 + 64 + 2, 2 + 64 + 68, 1000}, // sw, block, sr; 0.5 s twice
    {"Default Data Write", 2, 2 + 2 + 2, 3 + 2 + 68, 1000}, // ae CR, rt, sr; 0.5 s twice
    {"Data Get", 3, 2, 2 + 2048 + 1, 0}, // br
    {"Data Clear", 4, 2 + 2, 68 + 3, 300}, // sr, be CR; 0.3 s
};

// How many received characters the line hands over at once: a pseudo-terminal fed one
// character at a time wakes the program for each of them; a UART gathers a few first.
const int DeliveryGroups[] = {1, 8};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const int only = argc > 2 ? atoi(argv[2]) : -1;
    const int onlyGroup = argc > 3 ? atoi(argv[3]) : 0;

    QThread simThread;
    QObject simContext;
    simContext.moveToThread(&simThread);
    simThread.start();
    ControllerSimulator *sim = nullptr;
    QString simPath;
    QMetaObject::invokeMethod(
        &simContext,
        [&] {
            sim = new ControllerSimulator;
            if (sim->start()) {
                sim->setRomVersion(5);
                sim->setProcessingDelayMs(0);
                sim->setPacing(true);
                simPath = sim->portPath();
            }
        },
        Qt::BlockingQueuedConnection);
    if (simPath.isEmpty()) {
        std::fprintf(stderr, "the simulator could not start\n");
        return 1;
    }

    QElapsedTimer clock;
    clock.start();
    QTemporaryDir dir;
    QtSerialPort port(PortCatalog::fromEntries({{1, simPath, QString()}}));
    CountingBoxes boxes;
    NoDialogs dialogs;
    Waiter waiter;
    LogStore store;
    IniFile ini(dir.filePath(QStringLiteral("bench.ini")));
    PortChoice choice {1, false};
    const std::array<int, 2> scaleLine {0, 0};
    Program program({port, boxes, dialogs, waiter, store, ini, choice, scaleLine});
    CompletionClock line {&clock};
    QObject::connect(program.window().TxtMsg(), &MessageLineEdit::messageShown,
                     [&line](const QString &text) { line.shown(text); });
    program.link().OpenPort({});
    program.MainIni();
    program.window().show();
    DeviceOperations &ops = program.operations();

    // One read first: the version is then known and the fields hold settings to write.
    ops.CmdZxCom_Click(0);
    if (line.completedNs < 0 || !boxes.shown.isEmpty()) {
        std::fprintf(stderr, "the first read failed: %s\n", qPrintable(boxes.shown.join(' ')));
        return 1;
    }

    const double characterMs = ReplyWriter::CharacterNs / 1e6;
    std::printf("%d rounds, 9600 baud (%.4f ms a character both ways), ROM version 5, platform %s\n", rounds,
                characterMs, qPrintable(QGuiApplication::platformName()));
    bool allWithinTarget = true;
    for (const int group : DeliveryGroups) {
        if (onlyGroup > 0 && group != onlyGroup)
            continue;
        QMetaObject::invokeMethod(
            &simContext, [&] { sim->setDeliveryGroup(group); }, Qt::BlockingQueuedConnection);
        std::printf("\nreceived characters handed to the program %d at a time (%s)\n", group,
                    group == 1 ? "a pseudo-terminal" : "as a UART's receive FIFO does");
        std::printf("%-20s %9s %11s %14s %13s %8s %8s %9s\n", "operation", "floor ms", "median ms", "overhead med",
                    "overhead max", "CPU %", "CPU ms", "wake-ups");
        for (const Operation &op : Operations) {
            if (only >= 0 && op.index != only)
                continue;
            std::vector<double> overheads;
            double cpuMs = 0, wallMs = 0;
            long wakeUps = 0;
            const double floorMs = (op.sentCharacters + op.replyCharacters) * characterMs + op.pausesMs;
            std::vector<double> took;
            for (int r = 0; r < rounds; ++r) {
                line.completedNs = -1;
                waiter.WaitSeconds(0.05); // let the controller's side settle between rounds
                const qint64 startNs = clock.nsecsElapsed();
                const double startCpu = threadCpuMs();
                const long startWakeUps = threadWakeUps();
                ops.CmdZxCom_Click(op.index);
                if (line.completedNs < 0 || !boxes.shown.isEmpty()) {
                    std::fprintf(stderr, "%s failed: %s\n", op.name, qPrintable(boxes.shown.join(' ')));
                    return 1;
                }
                const double ms = (line.completedNs - startNs) / 1e6;
                took.push_back(ms);
                overheads.push_back(ms - floorMs);
                wallMs += ms;
                cpuMs += line.completedCpuMs - startCpu;
                wakeUps += line.completedWakeUps - startWakeUps;
            }
            std::sort(took.begin(), took.end());
            std::sort(overheads.begin(), overheads.end());
            const double medianOverhead = overheads[overheads.size() / 2];
            const double cpuShare = 100.0 * cpuMs / wallMs;
            allWithinTarget = allWithinTarget && medianOverhead < 20 && cpuShare < 2;
            std::printf("%-20s %9.1f %11.1f %14.1f %13.1f %8.2f %8.1f %9ld\n", op.name, floorMs, took[took.size() / 2],
                        medianOverhead, overheads.back(), cpuShare, cpuMs / rounds, wakeUps / rounds);
        }
    }
    std::printf("targets (overhead under 20 ms, CPU under 2%%): %s\n", allWithinTarget ? "met" : "NOT met");

    QMetaObject::invokeMethod(
        &simContext, [&] { delete sim; }, Qt::BlockingQueuedConnection);
    simThread.quit();
    simThread.wait();
    return 0;
}
