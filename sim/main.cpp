// zx316b-sim: the simulated controller as a program of its own, for demos and manual tests.
// Prints the port path on the first line of its output, then one line per command.
#include "sim/controller_simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A signal handler can reach nothing but a global; it only writes a byte to this pipe and
// the event loop does the rest.
int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(g_signalPipe[1], &byte, 1);
}

void quitOnSignals(QCoreApplication &app)
{
    if (::pipe(g_signalPipe) != 0)
        return;
    ::fcntl(g_signalPipe[1], F_SETFL, O_NONBLOCK);
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

void quitWhenStdinCloses(QCoreApplication &app)
{
    auto *notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier, &app] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
            notifier->setEnabled(false);
            app.quit();
        }
    });
}

void printLine(const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zx316b-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated ZX316B controller on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption link(
        QStringLiteral("link"),
        QStringLiteral("Symbolic link to create for the port (default: under the temporary folder)."),
        QStringLiteral("path"));
    const QCommandLineOption rom(QStringLiteral("rom"), QStringLiteral("ROM version (default 5)."), QStringLiteral("n"),
                                 QStringLiteral("5"));
    const QCommandLineOption type(
        QStringLiteral("device-type"),
        QStringLiteral("Device type byte: 0 this controller, 255 settings deleted, other another model."),
        QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption pace(QStringLiteral("pace"), QStringLiteral("Reply at the real line rate (9600 baud)."));
    const QCommandLineOption emptyLog(QStringLiteral("empty-log"), QStringLiteral("Start with an erased run log."));
    const QCommandLineOption quiet(QStringLiteral("quiet"), QStringLiteral("Do not print the commands received."));
    const QCommandLineOption stdinExit(QStringLiteral("stdin-exit"),
                                       QStringLiteral("Exit when standard input closes."));
    parser.addOptions({link, rom, type, pace, emptyLog, quiet, stdinExit});
    parser.process(app);

    bool romOk = false;
    bool typeOk = false;
    const int romVersion = parser.value(rom).toInt(&romOk, 0);
    const int deviceType = parser.value(type).toInt(&typeOk, 0);
    if (!romOk || romVersion < 0 || romVersion > 255 || !typeOk || deviceType < 0 || deviceType > 255) {
        std::fputs("zx316b-sim: --rom and --device-type take a number from 0 to 255\n", stderr);
        return 2;
    }

    ControllerSimulator simulator;
    simulator.setRomVersion(romVersion);
    simulator.setDeviceType(deviceType);
    simulator.setPacing(parser.isSet(pace));
    if (parser.isSet(emptyLog))
        simulator.setRunLog(zxsim::emptyRunLog());
    if (!simulator.start(parser.value(link))) {
        std::fprintf(stderr, "zx316b-sim: %s\n", qPrintable(simulator.errorString()));
        return 1;
    }
    if (!parser.isSet(quiet)) {
        QObject::connect(&simulator, &ControllerSimulator::commandReceived, [](const ReceivedCommand &c) {
            printLine(QStringLiteral("%1 %2").arg(c.elapsedMs / 1000.0, 0, 'f', 3).arg(c.text));
        });
    }
    printLine(simulator.portPath());

    quitOnSignals(app);
    if (parser.isSet(stdinExit))
        quitWhenStdinCloses(app);
    const int status = app.exec();
    simulator.stop();
    return status;
}
