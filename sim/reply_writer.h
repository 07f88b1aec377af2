#pragma once
#include "sim/controller_protocol.h"

#include <QElapsedTimer>
#include <QObject>
#include <QQueue>
#include <QTimer>
#include <algorithm>

// Puts replies on the line one after another: at once, or at the real line rate
// (9600 baud, 11 bits a character), with the delays, splits and hang-ups a misbehaviour asks for.
class ReplyWriter : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 CharacterNs = 11'000'000'000LL / 9600;
    // Pause between the last character sent and a hang-up, so those characters reach the
    // program before the line drops.
    static constexpr int HangUpGraceMs = 50;

    explicit ReplyWriter(QObject *parent = nullptr);

    // Descriptor written to (non-blocking); -1 drops everything queued.
    void setFd(int fd);
    void setPacing(bool paced) { m_paced = paced; }
    bool pacing() const { return m_paced; }
    // Paced characters handed over together: 1 (the default) gives the program one character
    // at a time; a PC's UART with a receive FIFO hands its driver about 8 at once. The last
    // characters of a reply go as soon as they are in, as after the FIFO's time-out.
    void setDeliveryGroup(int chars) { m_group = std::max(chars, 1); }

    void enqueue(const QList<ReplyPart> &reply, const Misbehaviour &misbehaviour);
    bool isIdle() const { return m_queue.isEmpty(); }

Q_SIGNALS:
    // A misbehaviour's hang-up point has been reached; the line should be closed now.
    void hangUpDue();

private:
    struct Segment {
        qint64 gapNs = 0;
        QByteArray bytes;
        bool hangUp = false;
    };

    void startHead(qint64 referenceNs);
    void pump();
    qint64 writeSome(const char *data, qint64 size);
    void wakeIn(qint64 ns);

    int m_fd = -1;
    bool m_paced = false;
    int m_group = 1;
    QQueue<Segment> m_queue;
    QElapsedTimer m_clock;
    QTimer m_timer;
    qint64 m_headReadyNs = 0;
    qsizetype m_headSent = 0;
    // When the last character put on the line has been fully transmitted.
    qint64 m_lineFreeNs = 0;
};
