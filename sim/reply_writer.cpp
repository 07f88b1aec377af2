#include "sim/reply_writer.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

constexpr qint64 NsPerMs = 1'000'000;
// Retry interval when the terminal's buffer is full (nobody is reading the slave).
constexpr qint64 RetryNs = 5 * NsPerMs;

} // namespace

ReplyWriter::ReplyWriter(QObject *parent) : QObject(parent)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReplyWriter::pump);
}

void ReplyWriter::setFd(int fd)
{
    m_fd = fd;
    if (fd < 0) {
        m_queue.clear();
        m_timer.stop();
    }
}

void ReplyWriter::enqueue(const QList<ReplyPart> &reply, const Misbehaviour &misbehaviour)
{
    if (m_fd < 0)
        return;
    const bool wasIdle = m_queue.isEmpty();
    qint64 budget = misbehaviour.hangUpAfter >= 0 ? misbehaviour.hangUpAfter : -1;
    qint64 gapNs = qint64(misbehaviour.delayMs) * NsPerMs;
    for (const ReplyPart &part : reply) {
        gapNs += qint64(part.delayMs) * NsPerMs;
        QByteArray bytes = part.bytes;
        if (budget >= 0) {
            bytes.truncate(budget);
            budget -= bytes.size();
        }
        const qsizetype piece = misbehaviour.splitSize > 0 ? misbehaviour.splitSize : bytes.size();
        for (qsizetype at = 0; at < bytes.size(); at += piece) {
            m_queue.enqueue({gapNs, bytes.mid(at, piece)});
            gapNs = qint64(misbehaviour.splitGapMs) * NsPerMs;
        }
        if (budget == 0)
            break;
    }
    if (budget >= 0)
        m_queue.enqueue({HangUpGraceMs * NsPerMs, {}, true});
    if (wasIdle && !m_queue.isEmpty()) {
        startHead(std::max(m_clock.nsecsElapsed(), m_lineFreeNs));
        pump();
    }
}

void ReplyWriter::startHead(qint64 referenceNs)
{
    m_headReadyNs = referenceNs + m_queue.head().gapNs;
    m_headSent = 0;
}

void ReplyWriter::pump()
{
    m_timer.stop();
    while (!m_queue.isEmpty() && m_fd >= 0) {
        const qint64 now = m_clock.nsecsElapsed();
        if (now < m_headReadyNs) {
            wakeIn(m_headReadyNs - now);
            return;
        }
        const Segment &head = m_queue.head();
        if (head.hangUp) {
            m_queue.clear();
            Q_EMIT hangUpDue();
            return;
        }
        const qsizetype left = head.bytes.size() - m_headSent;
        if (m_paced) {
            // A character is handed over once its last bit would have left the wire.
            const qint64 start = std::max(m_headReadyNs, m_lineFreeNs);
            qint64 due = std::min<qint64>(left, (now - start) / CharacterNs);
            if (due < left)
                due -= due % m_group;
            const qint64 written = due > 0 ? writeSome(head.bytes.constData() + m_headSent, due) : 0;
            m_headSent += written;
            m_lineFreeNs = start + written * CharacterNs;
            if (m_headSent < head.bytes.size()) {
                const qint64 next = std::min<qint64>(m_group, left - written);
                wakeIn(written < due ? RetryNs : m_lineFreeNs + next * CharacterNs - now);
                return;
            }
        } else {
            m_headSent += writeSome(head.bytes.constData() + m_headSent, left);
            m_lineFreeNs = now;
            if (m_headSent < head.bytes.size()) {
                wakeIn(RetryNs);
                return;
            }
        }
        m_queue.dequeue();
        if (!m_queue.isEmpty())
            startHead(m_lineFreeNs);
    }
}

qint64 ReplyWriter::writeSome(const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    return done;
}

void ReplyWriter::wakeIn(qint64 ns)
{
    m_timer.start(int((std::max<qint64>(ns, 0) + NsPerMs - 1) / NsPerMs));
}
