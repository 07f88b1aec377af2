#include "posix_system.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace posixsystem {
namespace {

constexpr int TerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end of the self-pipe. A signal handler may touch nothing but such a value:
// it writes one byte, and the event loop does the work.
int signalPipeWriteEnd = -1;

extern "C" void onSignal(int signal)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipeWriteEnd, &byte, 1);
    // One orderly end is offered; a second request is not asked twice.
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    ::sigemptyset(&fallback.sa_mask);
    for (const int s : TerminationSignals)
        ::sigaction(s, &fallback, nullptr);
    errno = savedErrno;
}

bool setFlags(int fd)
{
    return ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0 && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK) == 0;
}

} // namespace

bool canReadAndWrite(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}

bool isTerminal(StandardStream stream)
{
    const int fd = stream == StandardStream::Input ? STDIN_FILENO
        : stream == StandardStream::Output         ? STDOUT_FILENO
                                                   : STDERR_FILENO;
    return ::isatty(fd) == 1;
}

bool onTerminationSignal(std::function<void()> handler)
{
    if (signalPipeWriteEnd >= 0 || !QCoreApplication::instance())
        return false;
    int ends[2] = {-1, -1};
    if (::pipe(ends) != 0)
        return false;
    if (!setFlags(ends[0]) || !setFlags(ends[1])) {
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    signalPipeWriteEnd = ends[1];
    const int readEnd = ends[0];
    auto *notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [readEnd, handler = std::move(handler)] {
        unsigned char bytes[16];
        while (::read(readEnd, bytes, sizeof bytes) > 0) {}
        if (handler)
            handler();
    });

    struct sigaction action = {};
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : TerminationSignals)
        ::sigaction(s, &action, nullptr);
    return true;
}

bool setInputBatch(int fd, int chars)
{
    termios t {};
    if (::tcgetattr(fd, &t) != 0)
        return false;
    // With VTIME 0, poll() reports a terminal readable once VMIN characters wait; VMIN 0
    // (what Qt sets) reports the first character.
    t.c_cc[VMIN] = cc_t(chars > 1 ? std::min(chars, 255) : 0);
    t.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

int pendingInput(int fd)
{
    int waiting = 0;
    return ::ioctl(fd, FIONREAD, &waiting) == 0 ? waiting : -1;
}

} // namespace posixsystem
