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
    SerialLink(SerialPort &port, PortChoice &choice, Waiter &waiter, MessageBoxes &boxes, MessageLine &line,
               QObject *parent = nullptr);

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
    // `replyLength`, when known, lets the port report a long reply in larger pieces.
    void SendCommand(const QString &command, const QString &terminator, int replyLength = 0);

    // A device operation starts: no failure yet, and a closed line is reported again, once.
    void beginOperation();

    const QString &RecvData() const { return m_recvData; }
    bool CommError() const { return m_commError; }
    void setCommError(bool on) { m_commError = on; }
    bool CommTimeout() const { return m_commTimeout; }

    // The operation that sent the commands has ended: the line is no longer busy.
    void endBusy();
    bool isBusy() const { return m_busy; }

    QTimer &TmrComm() { return m_tmrComm; }

Q_SIGNALS:
    // True when a command is sent (each time), false when the operation ends.
    void busyChanged(bool busy);
    void portStateChanged(bool open);

private:
    void onDataArrived();
    void onLineLost(const QString &why);
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
    bool m_awaiting = false; // a command waits for its reply
    bool m_replyComplete = false; // the awaited text has arrived
    QString m_terminator;
    bool m_busy = false;
    QTimer m_tmrComm;
};
