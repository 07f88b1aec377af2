#pragma once
#include "port_catalog.h"
#include "serial_port.h"

#include <QSerialPort>
#include <QTimer>
#include <functional>

// The real serial port, numbered through a PortCatalog.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    // Asked at each open: the numbering follows the INI file and the adapters plugged in.
    using CatalogSource = std::function<PortCatalog()>;

    explicit QtSerialPort(CatalogSource catalog, QObject *parent = nullptr);
    explicit QtSerialPort(PortCatalog catalog, QObject *parent = nullptr);
    ~QtSerialPort() override;

    bool open(int number, QString *why = nullptr) override;
    // Why the last open failed (None after a successful one), for whoever lists the ports.
    enum class Failure { None, NotConnected, Missing, NoPermission, InUse, Other };
    Failure lastFailure() const { return m_failure; }
    void close() override;
    bool isOpen() const override;
    void discardInput() override;
    bool write(const QByteArray &data) override;
    QByteArray readAll() override;
    // A long reply is reported in batches of up to 255 characters instead of one wake-up
    // of the program per character. A batch is looked at again once its characters have
    // had their time on the line plus QuietGraceMs; a line found quiet twice in a row ends
    // the batching, and what has come is reported.
    void expectReplyLength(int chars) override;

    static constexpr int QuietGraceMs = 50;
    static constexpr double CharacterMs = 11 * 1000.0 / 9600; // start, 8 data, parity, stop bit

private:
    void batchInput(int missing);
    void checkQuietLine();
    void takeWaitingInput();
    void lookAgainAfter(int chars);
    void onError(QSerialPort::SerialPortError error);
    QString openFailureText(const QString &path);
    static bool openPast(QSerialPort &port);

    CatalogSource m_catalog;
    QSerialPort m_port;
    bool m_opening = false;
    Failure m_failure = Failure::None;
    int m_missing = 0; // characters of the expected reply not read yet
    int m_batch = 0; // characters the terminal gathers before it reports input; 0: none
    int m_lastPending = -1; // characters waiting at the previous quiet-line check
    QTimer m_quietCheck;
};
