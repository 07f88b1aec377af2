#include "sim/pty_line.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyLine::~PtyLine()
{
    close();
}

bool PtyLine::open(const QString &linkPath, QString *why)
{
    close();
    if (!openPair(why))
        return false;
    if (!pointLink(linkPath, why)) {
        close();
        return false;
    }
    return true;
}

bool PtyLine::openPair(QString *why)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        *why = systemError("posix_openpt");
        return false;
    }
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *why = systemError("grantpt/unlockpt");
        return false;
    }
#ifdef __linux__
    char name[128] = {};
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        *why = systemError("ptsname");
        return false;
    }
#else
    const char *name = ::ptsname(m_master);
    if (!name) {
        *why = systemError("ptsname");
        return false;
    }
#endif
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        *why = systemError("open slave");
        return false;
    }
    // Raw, so a carriage return in a reply reaches the program unchanged.
    termios tio {};
    if (::tcgetattr(m_slave, &tio) != 0) {
        *why = systemError("tcgetattr");
        return false;
    }
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0) {
        *why = systemError("tcsetattr");
        return false;
    }
    m_settings = QByteArray(reinterpret_cast<const char *>(&tio), sizeof tio);
#ifdef __linux__
    // Told of every close of the terminal by a program (our own end stays open).
    m_hangUpWatch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_hangUpWatch >= 0 && ::inotify_add_watch(m_hangUpWatch, name, IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        ::close(m_hangUpWatch);
        m_hangUpWatch = -1;
    }
#endif
    return true;
}

void PtyLine::settle()
{
    if (m_slave < 0)
        return;
    char events[4096];
    while (m_hangUpWatch >= 0 && ::read(m_hangUpWatch, events, sizeof events) > 0) {}
    // A program that was killed never undid what it set up: its exclusive claim would
    // refuse the next program, and its line settings would make that program's own
    // settings look refused.
    ::ioctl(m_slave, TIOCNXCL);
    termios tio {};
    if (m_settings.size() == int(sizeof tio)) {
        std::memcpy(&tio, m_settings.constData(), sizeof tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
}

bool PtyLine::pointLink(const QString &linkPath, QString *why)
{
    const QFileInfo existing(linkPath);
    if (existing.exists() && !existing.isSymLink()) {
        *why = QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath);
        return false;
    }
    // Made beside the target and renamed over it, so a program opening the path never
    // finds it missing while the terminal behind it is being replaced.
    const QByteArray target = m_slavePath.toLocal8Bit();
    const QByteArray finalName = QFile::encodeName(linkPath);
    const QByteArray tempName = finalName + ".new" + QByteArray::number(::getpid());
    ::unlink(tempName.constData());
    if (::symlink(target.constData(), tempName.constData()) != 0) {
        *why = systemError("symlink");
        return false;
    }
    if (::rename(tempName.constData(), finalName.constData()) != 0) {
        *why = systemError("rename");
        ::unlink(tempName.constData());
        return false;
    }
    m_linkPath = linkPath;
    return true;
}

void PtyLine::close()
{
    if (m_hangUpWatch >= 0)
        ::close(m_hangUpWatch);
    m_hangUpWatch = -1;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = -1;
    m_master = -1;
}

void PtyLine::removeLink()
{
    if (m_linkPath.isEmpty())
        return;
    // Another simulator may have taken the path over since; its link is not ours to remove.
    const QByteArray link = QFile::encodeName(m_linkPath);
    char target[512] = {};
    const ssize_t length = ::readlink(link.constData(), target, sizeof target - 1);
    if (length > 0 && QString::fromLocal8Bit(target, length) == m_slavePath)
        ::unlink(link.constData());
    m_linkPath.clear();
}
