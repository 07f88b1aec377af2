#pragma once
#include "sim/misbehaviour.h"
#include "sim/run_log.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

// One command (or settings block) as the simulated controller took it in.
struct ReceivedCommand {
    // "sr", "sw", "ae", "be", "br", "rt", or the 64 characters of a block sent after "sw".
    QString text;
    bool isSettingsBlock = false;
    // Milliseconds since the simulator started, and the wall-clock time.
    qint64 elapsedMs = 0;
    QDateTime receivedAt;
};
Q_DECLARE_METATYPE(ReceivedCommand)

// A piece of a reply, sent `delayMs` after the piece before it has gone out.
struct ReplyPart {
    int delayMs = 0;
    QByteArray bytes;
    bool operator==(const ReplyPart &) const = default;
};

// A command and what the controller sends back for it.
struct Exchange {
    ReceivedCommand command;
    QList<ReplyPart> reply;
    // The misbehaviour in force for this reply (default when it behaves); its transport
    // faults (delay, split, hang-up) are for whoever puts the reply on the line.
    Misbehaviour misbehaviour;
};

// The controller's command handling, free of any line: bytes in, commands and replies out.
// Commands are two lower-case letters; anything that does not form one is skipped a
// character at a time, so the parser falls back in step after line noise.
class ControllerProtocol {
public:
    // A half-received command or block is dropped after this long without a byte, so a
    // lost block cannot swallow the commands that follow it for ever.
    static constexpr qint64 StaleInputMs = 5000;

    ControllerProtocol();

    // Selects the "ae"/"be" reply (ROM 4 and later end it with a carriage return) and is
    // written into byte 30 of the held and the default block.
    void setRomVersion(int version);
    int romVersion() const { return m_romVersion; }
    // Written into byte 29 of the held and the default block: 0x00 this controller,
    // 0xFF settings deleted, anything else another model.
    void setDeviceType(int type);
    int deviceType() const { return m_deviceType; }

    // The block "sr" returns, sent exactly as held (a test may hold an odd one).
    void setSettingsBlock(const QString &block) { m_block = block; }
    QString settingsBlock() const { return m_block; }
    QString defaultSettingsBlock() const;

    void setRunLog(const RunLog &log) { m_log = log; }
    RunLog runLog() const { return m_log; }

    // Time the controller takes to restore defaults or erase the log before it sends the
    // closing carriage return.
    void setProcessingDelayMs(int ms) { m_processingDelayMs = ms; }
    int processingDelayMs() const { return m_processingDelayMs; }

    void setMisbehaviour(const Misbehaviour &misbehaviour) { m_misbehaviour = misbehaviour; }
    Misbehaviour misbehaviour() const { return m_misbehaviour; }

    // Takes bytes received at `nowMs` (any monotonic clock); returns each command they
    // complete, in order, with its reply. The returned commands carry no timestamps.
    QList<Exchange> feed(const QByteArray &bytes, qint64 nowMs);

private:
    Exchange execute(const QByteArray &command);
    Exchange finishBlock();
    QList<ReplyPart> settingsReply();
    QList<ReplyPart> closingReply(const QByteArray &echo) const;
    void misbehave(Exchange &exchange);

    int m_romVersion = 5;
    int m_deviceType = 0;
    QString m_block;
    RunLog m_log;
    int m_processingDelayMs = 100;
    Misbehaviour m_misbehaviour;

    char m_pending = 0;
    bool m_collectingBlock = false;
    QByteArray m_blockInput;
    bool m_blockWritten = false;
    qint64 m_lastInputMs = 0;
};
