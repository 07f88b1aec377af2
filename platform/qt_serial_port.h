#pragma once
#include "port_catalog.h"
#include "serial_port.h"

#include <QSerialPort>

// The real serial port, numbered through a PortCatalog.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(PortCatalog catalog, QObject *parent = nullptr);
    ~QtSerialPort() override;

    void setCatalog(PortCatalog catalog) { m_catalog = std::move(catalog); }
    const PortCatalog &catalog() const { return m_catalog; }

    bool open(int number, QString *why = nullptr) override;
    void close() override;
    bool isOpen() const override;
    void discardInput() override;
    bool write(const QByteArray &data) override;
    QByteArray readAll() override;

private:
    void onError(QSerialPort::SerialPortError error);
    QString openFailureText(const QString &path) const;
    static bool openPast(QSerialPort &port);

    PortCatalog m_catalog;
    QSerialPort m_port;
    bool m_opening = false;
};
