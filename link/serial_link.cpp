#include "serial_link.h"

#include "platform/message_boxes.h"
#include "platform/message_line.h"
#include "platform/serial_port.h"
#include "platform/waiter.h"

namespace {
const char *const CannotOpen = QT_TRANSLATE_NOOP("SerialLink", "ComPort cannot be opened.");
const char *const Initialized = QT_TRANSLATE_NOOP("SerialLink", "CommPort was initialized.");
const char *const NoReply = QT_TRANSLATE_NOOP("SerialLink", "RS232 communication fault.");
const char *const PartialReply = QT_TRANSLATE_NOOP("SerialLink", "ZX cannot be set.");
// The longest reply, the run log, is 2,051 characters; a line that babbles beyond this
// during an exchange cannot be sending a reply we wait for.
constexpr int MaxReplyChars = 64 * 1024;
} // namespace

SerialLink::SerialLink(SerialPort &port, PortChoice &choice, Waiter &waiter, MessageBoxes &boxes, MessageLine &line,
                       QObject *parent)
    : QObject(parent), m_port(port), m_choice(choice), m_waiter(waiter), m_boxes(boxes), m_line(line)
{
    m_tmrComm.setSingleShot(true);
    m_tmrComm.setTimerType(Qt::PreciseTimer);
    connect(&m_tmrComm, &QTimer::timeout, this, [this] {
        m_tmrComm.stop();
        if (m_replyComplete)
            return; // the awaited text came first; the exchange is decided
        m_commTimeout = true;
        m_waiter.wake();
    });
    connect(&m_port, &SerialPort::dataArrived, this, &SerialLink::onDataArrived);
    connect(&m_port, &SerialPort::lineLost, this, &SerialLink::onLineLost);
}

int SerialLink::timeoutFor(const QString &command)
{
    const QString head = command.left(2);
    if (head == QLatin1String("ae") || head == QLatin1String("be"))
        return 12000;
    if (head == QLatin1String("ar") || head == QLatin1String("br"))
        return 10000;
    return 3000; // "rt", "sw", "sr" and everything else, the settings block included
}

void SerialLink::OpenPort(const std::function<bool(const QString &)> &askForPort)
{
    for (;;) {
        if (m_choice.ComPortNo == 0) {
            m_line.ShowMessage(tr(CannotOpen), MessageLine::Red);
            return;
        }
        QString why;
        if (m_port.isOpen() || m_port.open(m_choice.ComPortNo, &why)) {
            m_closedReported = false;
            m_line.ShowMessage(tr(Initialized), MessageLine::Black);
            Q_EMIT portStateChanged(true);
            return;
        }
        m_line.ShowMessage(tr(CannotOpen), MessageLine::Red);
        if (!askForPort || !askForPort(why))
            return;
    }
}

void SerialLink::ClosePort()
{
    if (m_port.isOpen()) {
        m_port.close();
        Q_EMIT portStateChanged(false);
    }
}

bool SerialLink::isOpen() const
{
    return m_port.isOpen();
}

void SerialLink::SendCommand(const QString &command, const QString &terminator, int replyLength)
{
    m_busy = true;
    Q_EMIT busyChanged(true);
    const int timeout = timeoutFor(command);
    m_recvData.clear();
    m_port.discardInput();
    m_port.expectReplyLength(replyLength);
    m_commTimeout = false;
    m_replyComplete = false;
    m_terminator = terminator;

    m_awaiting = true;
    if (!m_port.isOpen() || !m_port.write(command.toLatin1())) {
        // Nothing can arrive on a closed line: end as a time-out with nothing received
        // instead of making the user wait for it.
        m_commTimeout = true;
    } else {
        m_tmrComm.start(timeout);
        m_waiter.waitUntil([&] { return m_commTimeout || m_replyComplete; }, -1);
        m_tmrComm.stop();
    }
    m_awaiting = false;
    m_port.expectReplyLength(0);
    if (m_waiter.cancelled())
        return; // the program is ending: nobody is left to tell
    if (m_commTimeout)
        reportTimeout();
}

void SerialLink::reportTimeout()
{
    m_commError = true;
    const bool nothing = m_recvData.isEmpty();
    const QString text = tr(nothing ? NoReply : PartialReply);
    // A closed line is reported once: the remaining commands of an operation fail quietly
    // instead of raising one box each.
    const bool closed = !m_port.isOpen();
    if (!(closed && m_closedReported))
        m_boxes.show(text, nothing ? MessageBoxes::Icon::Exclamation : MessageBoxes::Icon::Information,
                     MessageBoxes::Buttons::Ok);
    m_closedReported = closed;
    m_line.ShowMessage(text, MessageLine::Red);
}

void SerialLink::beginOperation()
{
    m_commError = false;
    m_closedReported = false;
}

void SerialLink::onDataArrived()
{
    const QByteArray bytes = m_port.readAll();
    // Nobody waits: the next command would discard it anyway, and keeping it would let a
    // babbling line grow the buffer without end.
    if (!m_awaiting)
        return;
    const qsizetype room = MaxReplyChars - m_recvData.size();
    if (room <= 0)
        return;
    const qsizetype before = m_recvData.size();
    m_recvData += QString::fromLatin1(bytes.left(room));
    // Only the new characters, and the few before them that a split terminator may
    // begin with, can complete the awaited text.
    const qsizetype from = qMax<qsizetype>(0, before - m_terminator.size() + 1);
    if (m_replyComplete || m_recvData.indexOf(m_terminator, from) < 0)
        return;
    // Decided now, by when the text arrived: a modal dialog that keeps the wait from
    // returning must not turn a complete reply into a time-out.
    m_replyComplete = true;
    m_tmrComm.stop();
    m_waiter.wake();
}

void SerialLink::onLineLost(const QString &why)
{
    Q_EMIT portStateChanged(false);
    m_closedReported = true;
    m_commTimeout = true; // a running exchange ends now; nothing more can arrive
    m_waiter.wake();
    m_line.ShowMessage(tr(CannotOpen), MessageLine::Red);
    m_boxes.show(tr("The connection to the controller was lost: %1\n"
                    "Check the cable, then choose the port again with ComPort.")
                     .arg(why),
                 MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
}

void SerialLink::endBusy()
{
    m_busy = false;
    Q_EMIT busyChanged(false);
}
