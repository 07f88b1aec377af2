#pragma once
#include "port_choice.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class MessageBoxes;
class MessageLine;
class SerialPort;
class Waiter;

// The serial line to the controller and its one primitive: send a command and wait, with
// the window alive, until an awaited text arrives or the command's time-out expires.
// Everything received since the last send collects in RecvData.
class SerialLink : public QObject {
    Q_OBJECT
public:
    // Busy indicator colours (0xBBGGRR).
    static constexpr int LedIdle = 0x404000;   // dark teal, until the first command
    static constexpr int LedBright = 0x00FF00;  // bright green
    static constexpr int LedDark = 0x004000;    // dark green, resting colour after an operation

    SerialLink(SerialPort &port, PortChoice &choice, Waiter &waiter, MessageBoxes &boxes,
               MessageLine &line, QObject *parent = nullptr);

    // Reply time-out for a command, chosen by its first two characters.
    static int timeoutFor(const QString &command);

    // Opens the configured port and reports the outcome in the message line. When the open
    // fails, `askForPort(why)` shows the port dialog (why: a plain reason for the user) and
    // returns true when it was left with OK; the open is then tried again with the new choice.
    void OpenPort(const std::function<bool(const QString &why)> &askForPort);
    void ClosePort();
    bool isOpen() const;

    // Writes `command` unchanged and waits until `terminator` has arrived or the time-out
    // has expired; a time-out sets CommError and is reported (box and red message line).
    // On a closed port the exchange ends at once as a time-out with nothing received.
    void SendCommand(const QString &command, const QString &terminator);

    // A device operation starts: no failure yet, and a closed line is reported again, once.
    void beginOperation();

    const QString &RecvData() const { return m_recvData; }
    bool CommError() const { return m_commError; }
    void setCommError(bool on) { m_commError = on; }
    bool CommTimeout() const { return m_commTimeout; }

    int ledColour() const { return m_ledColour; }
    // Ends the blinking and leaves the indicator dark green.
    void stopBusyIndicator();

    QTimer &TmrComm() { return m_tmrComm; }
    QTimer &TmrLed() { return m_tmrLed; }

Q_SIGNALS:
    void ledColourChanged(int bgr);
    void portStateChanged(bool open);

private:
    void onDataArrived();
    void onLineLost(const QString &why);
    void setLed(int bgr);
    void reportTimeout();

    SerialPort &m_port;
    PortChoice &m_choice;
    Waiter &m_waiter;
    MessageBoxes &m_boxes;
    MessageLine &m_line;
    QString m_recvData;
    bool m_commError = false;
    bool m_commTimeout = false;
    bool m_closedReported = false; // reported in this operation; later failures stay quiet
    bool m_awaiting = false;       // a command waits for its reply
    bool m_replyComplete = false;  // the awaited text has arrived
    QString m_terminator;
    int m_ledColour = LedIdle;
    QTimer m_tmrComm;
    QTimer m_tmrLed;
};
