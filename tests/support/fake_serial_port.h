#pragma once
#include "platform/serial_port.h"
#include <QByteArray>
#include <QSet>
#include <QTimer>
#include <functional>

// An in-memory serial port. `openable` lists the port numbers that open; everything
// written is kept in `written`; `feed()` delivers bytes as if they had arrived.
class FakeSerialPort : public SerialPort {
public:
    using SerialPort::SerialPort;

    bool open(int number, QString *why = nullptr) override
    {
        ++openAttempts;
        if (!openable.contains(number)) {
            if (why)
                *why = QStringLiteral("No such serial port.");
            return false;
        }
        m_open = true;
        openNumber = number;
        return true;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void discardInput() override { m_input.clear(); }
    bool write(const QByteArray &data) override
    {
        if (!m_open)
            return false;
        written += data;
        if (onWrite)
            onWrite(data);
        return true;
    }
    QByteArray readAll() override
    {
        QByteArray out = m_input;
        m_input.clear();
        return out;
    }

    // Delivers bytes now (synchronously emits dataArrived).
    void feed(const QByteArray &bytes)
    {
        m_input += bytes;
        Q_EMIT dataArrived();
    }
    // Delivers bytes from the event loop after `ms` milliseconds.
    void feedLater(const QByteArray &bytes, int ms)
    {
        QTimer::singleShot(ms, this, [this, bytes] { feed(bytes); });
    }
    // Simulates the adapter being unplugged.
    void lose(const QString &why = QStringLiteral("The serial adapter was unplugged."))
    {
        m_open = false;
        Q_EMIT lineLost(why);
    }

    QSet<int> openable;
    QByteArray written;
    int openAttempts = 0;
    int openNumber = 0;
    std::function<void(const QByteArray &)> onWrite;

private:
    bool m_open = false;
    QByteArray m_input;
};
