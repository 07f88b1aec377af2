#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>

// The serial line to the controller, by port number 1..16. Opening applies the fixed line
// settings: 9600 baud, odd parity, 8 data bits, 1 stop bit, no flow control, DTR off.
class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override = default;

    // Opens port `number`. On failure returns false and, when `why` is given, fills it with
    // a plain sentence for the user (no such port, no permission, in use by another program).
    virtual bool open(int number, QString *why = nullptr) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Drops everything received and not read yet.
    virtual void discardInput() = 0;
    // Writes the bytes unchanged. False when the port is closed or the write failed.
    virtual bool write(const QByteArray &data) = 0;
    // Everything waiting to be read.
    virtual QByteArray readAll() = 0;
    // The reply now awaited is `chars` characters long (0: unknown). A port may then report
    // arrival in fewer, larger pieces, but it still reports whatever has come soon after
    // the line goes quiet, so a shorter or cut-off reply is seen all the same.
    virtual void expectReplyLength(int chars) { Q_UNUSED(chars); }

Q_SIGNALS:
    // Characters have arrived.
    void dataArrived();
    // The open line failed (adapter unplugged, far end gone). The port is already closed
    // when this is emitted, and it is emitted once per failure, never in a loop.
    void lineLost(const QString &why);
};
