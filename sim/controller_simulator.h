#pragma once
#include "sim/controller_protocol.h"
#include "sim/pty_line.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class QSocketNotifier;
class ReplyWriter;

// A stand-in for the controller on a pseudo-terminal. The program opens portPath() as its
// serial port; the simulator answers there from the event loop of the thread it lives in,
// so a test can run it beside the program in one thread.
class ControllerSimulator : public QObject {
    Q_OBJECT
public:
    explicit ControllerSimulator(QObject *parent = nullptr);
    ~ControllerSimulator() override;

    // Opens the line and makes `linkPath` (default: "port" in a fresh folder under the
    // temporary directory) a symbolic link to it. False with errorString() on failure.
    bool start(const QString &linkPath = {});
    // Closes the line and removes the link.
    void stop();
    bool isRunning() const { return m_line.isOpen(); }
    QString portPath() const { return m_linkPath; }
    QString errorString() const { return m_error; }

    // Drops the line now, as a pulled cable: the program's port sees an error.
    void hangUp();
    // A fresh line behind the same portPath(); the program must open its port again.
    bool reconnect();

    void setRomVersion(int version) { m_protocol.setRomVersion(version); }
    int romVersion() const { return m_protocol.romVersion(); }
    void setDeviceType(int type) { m_protocol.setDeviceType(type); }
    int deviceType() const { return m_protocol.deviceType(); }
    void setSettingsBlock(const QString &block) { m_protocol.setSettingsBlock(block); }
    QString settingsBlock() const { return m_protocol.settingsBlock(); }
    QString defaultSettingsBlock() const { return m_protocol.defaultSettingsBlock(); }
    void setRunLog(const RunLog &log) { m_protocol.setRunLog(log); }
    RunLog runLog() const { return m_protocol.runLog(); }
    void setProcessingDelayMs(int ms) { m_protocol.setProcessingDelayMs(ms); }
    void setMisbehaviour(const Misbehaviour &misbehaviour) { m_protocol.setMisbehaviour(misbehaviour); }
    Misbehaviour misbehaviour() const { return m_protocol.misbehaviour(); }

    // Real line rate (about 1.15 ms a character) instead of everything at once.
    void setPacing(bool paced);
    bool pacing() const;
    // Paced characters handed over together (ReplyWriter::setDeliveryGroup).
    void setDeliveryGroup(int chars);
    // True when no reply is waiting to go out.
    bool isIdle() const;

    QList<ReceivedCommand> received() const { return m_received; }
    // Just the texts of received(), e.g. {"sr", "sw", <block>, "sr"}.
    QStringList receivedTexts() const;
    // Every byte the program sent, garbage and line endings included.
    QByteArray receivedBytes() const { return m_receivedBytes; }
    void clearReceived();

Q_SIGNALS:
    void commandReceived(const ReceivedCommand &command);
    void lineDropped();

private:
    void readLine();
    void take(const QByteArray &input);
    void attachLine();
    void detachLine();

    ControllerProtocol m_protocol;
    PtyLine m_line;
    std::unique_ptr<QTemporaryDir> m_linkDir;
    QString m_linkPath;
    QString m_error;
    QSocketNotifier *m_notifier = nullptr;
    // Tells when the program closed its port, so the line is put back for the next one.
    QSocketNotifier *m_hangUpNotifier = nullptr;
    ReplyWriter *m_writer = nullptr;
    QElapsedTimer m_clock;
    QList<ReceivedCommand> m_received;
    QByteArray m_receivedBytes;
    qint64 m_inputFreeNs = 0; // when the last character sent to us has crossed the wire
};
