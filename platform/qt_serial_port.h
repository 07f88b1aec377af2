#pragma once
#include "port_catalog.h"
#include "serial_port.h"

#include <QSerialPort>
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

private:
    void onError(QSerialPort::SerialPortError error);
    QString openFailureText(const QString &path);
    static bool openPast(QSerialPort &port);

    CatalogSource m_catalog;
    QSerialPort m_port;
    bool m_opening = false;
    Failure m_failure = Failure::None;
};
