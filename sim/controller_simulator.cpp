#include "sim/controller_simulator.h"
#include "sim/reply_writer.h"

#include <QDir>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

#include <cerrno>
#include <unistd.h>

ControllerSimulator::ControllerSimulator(QObject *parent) : QObject(parent), m_writer(new ReplyWriter(this))
{
    m_clock.start();
    connect(m_writer, &ReplyWriter::hangUpDue, this, &ControllerSimulator::hangUp);
}

ControllerSimulator::~ControllerSimulator()
{
    stop();
}

bool ControllerSimulator::start(const QString &linkPath)
{
    stop();
    m_linkPath = linkPath;
    if (m_linkPath.isEmpty()) {
        m_linkDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/zx316b-sim-XXXXXX"));
        if (!m_linkDir->isValid()) {
            m_error = m_linkDir->errorString();
            return false;
        }
        m_linkPath = m_linkDir->filePath(QStringLiteral("port"));
    }
    m_clock.restart();
    return reconnect();
}

void ControllerSimulator::stop()
{
    detachLine();
    m_line.close();
    m_line.removeLink();
    m_linkDir.reset();
    m_linkPath.clear();
}

bool ControllerSimulator::reconnect()
{
    detachLine();
    if (m_linkPath.isEmpty()) {
        m_error = QStringLiteral("the simulator has not been started");
        return false;
    }
    if (!m_line.open(m_linkPath, &m_error))
        return false;
    attachLine();
    return true;
}

void ControllerSimulator::hangUp()
{
    if (!m_line.isOpen())
        return;
    detachLine();
    m_line.close();
    Q_EMIT lineDropped();
}

void ControllerSimulator::attachLine()
{
    m_notifier = new QSocketNotifier(m_line.masterFd(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ControllerSimulator::readLine);
    m_writer->setFd(m_line.masterFd());
    if (m_line.hangUpFd() >= 0) {
        m_hangUpNotifier = new QSocketNotifier(m_line.hangUpFd(), QSocketNotifier::Read, this);
        connect(m_hangUpNotifier, &QSocketNotifier::activated, this, [this] { m_line.settle(); });
    }
}

void ControllerSimulator::detachLine()
{
    m_writer->setFd(-1);
    if (m_notifier) {
        // Later, not now: this may run inside the notifier's own signal, when a listener of
        // commandReceived stops the simulator.
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    if (m_hangUpNotifier) {
        m_hangUpNotifier->setEnabled(false);
        m_hangUpNotifier->deleteLater();
        m_hangUpNotifier = nullptr;
    }
}

void ControllerSimulator::setPacing(bool paced)
{
    m_writer->setPacing(paced);
}

void ControllerSimulator::setDeliveryGroup(int chars)
{
    m_writer->setDeliveryGroup(chars);
}

bool ControllerSimulator::pacing() const
{
    return m_writer->pacing();
}

bool ControllerSimulator::isIdle() const
{
    return m_writer->isIdle();
}

QStringList ControllerSimulator::receivedTexts() const
{
    QStringList texts;
    for (const ReceivedCommand &command : m_received)
        texts.append(command.text);
    return texts;
}

void ControllerSimulator::clearReceived()
{
    m_received.clear();
    m_receivedBytes.clear();
}

void ControllerSimulator::readLine()
{
    QByteArray input;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_line.masterFd(), buffer, sizeof buffer);
        if (n > 0) {
            input.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (input.isEmpty())
        return;
    if (!pacing()) {
        take(input);
        return;
    }
    // At the line rate the PC's characters take their time on the wire too: each is taken
    // in once its last bit would have arrived, after those before it.
    const qint64 nowNs = m_clock.nsecsElapsed();
    m_inputFreeNs = std::max(nowNs, m_inputFreeNs) + input.size() * ReplyWriter::CharacterNs;
    const int waitMs = int((m_inputFreeNs - nowNs + 999'999) / 1'000'000);
    QTimer::singleShot(waitMs, Qt::PreciseTimer, this, [this, input] { take(input); });
}

void ControllerSimulator::take(const QByteArray &input)
{
    m_receivedBytes += input;

    const qint64 now = m_clock.elapsed();
    const QList<Exchange> exchanges = m_protocol.feed(input, now);
    for (const Exchange &exchange : exchanges) {
        ReceivedCommand command = exchange.command;
        command.elapsedMs = now;
        command.receivedAt = QDateTime::currentDateTime();
        m_received.append(command);
        m_writer->enqueue(exchange.reply, exchange.misbehaviour);
    }
    // Announced only after every reply is queued: a listener may stop or hang up the line.
    const qsizetype first = m_received.size() - exchanges.size();
    const QList<ReceivedCommand> fresh = m_received.mid(first);
    for (const ReceivedCommand &command : fresh)
        Q_EMIT commandReceived(command);
}
