#include "qt_serial_port.h"

#include "posix_system.h"

#include <QFileInfo>

QtSerialPort::QtSerialPort(PortCatalog catalog, QObject *parent) : QtSerialPort([catalog] { return catalog; }, parent)
{}

QtSerialPort::QtSerialPort(CatalogSource catalog, QObject *parent) : SerialPort(parent), m_catalog(std::move(catalog))
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPort::dataArrived);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort()
{
    m_port.close();
}

bool QtSerialPort::open(int number, QString *why)
{
    if (m_port.isOpen())
        m_port.close();
    const auto entry = (m_catalog ? m_catalog() : PortCatalog()).entry(number);
    m_failure = Failure::None;
    if (!entry) {
        m_failure = Failure::NotConnected;
        if (why)
            *why = tr("Com%1 is not connected to this computer.").arg(number);
        return false;
    }
    m_port.setPortName(entry->devicePath);
    // Line settings go in before opening: a pseudo-terminal refuses a parity change later.
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setParity(QSerialPort::OddParity);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_opening = true;
    bool ok = m_port.open(QIODevice::ReadWrite);
    if (!ok && m_port.error() == QSerialPort::UnsupportedOperationError)
        ok = openPast(m_port);
    if (ok)
        m_port.setDataTerminalReady(false); // fails on a pseudo-terminal; that is harmless
    m_opening = false;
    if (!ok) {
        const QString text = openFailureText(entry->devicePath);
        if (why)
            *why = text;
        m_port.clearError();
        return false;
    }
    m_port.clearError();
    return true;
}

// A pseudo-terminal never keeps parity. Qt accepts that when its other settings change
// something, as at the first open; but a terminal left exactly as a killed program set it
// up changes nothing, and Qt then takes the lost parity for a refusal. Opening with the
// other parity first makes the change Qt looks for, and odd parity is set after that.
bool QtSerialPort::openPast(QSerialPort &port)
{
    port.clearError();
    port.setParity(QSerialPort::EvenParity);
    const bool opened = port.open(QIODevice::ReadWrite);
    const bool odd = opened && port.setParity(QSerialPort::OddParity);
    if (opened && !odd)
        port.close();
    // Whatever happened, the next open asks for odd parity again.
    port.setParity(QSerialPort::OddParity);
    return odd;
}

QString QtSerialPort::openFailureText(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        m_failure = Failure::Missing;
        return tr("%1 does not exist (is the adapter plugged in?).").arg(path);
    }
    if (!posixsystem::canReadAndWrite(path)) {
        m_failure = Failure::NoPermission;
        return tr("No permission to use %1. Add your user to the 'dialout' group "
                  "(sudo usermod -aG dialout $USER) and log in again.")
            .arg(path);
    }
    if (m_port.error() == QSerialPort::PermissionError) {
        m_failure = Failure::InUse;
        return tr("%1 is in use by another program (for example ModemManager or brltty).").arg(path);
    }
    m_failure = Failure::Other;
    return tr("%1 could not be opened: %2").arg(path, m_port.errorString());
}

void QtSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool QtSerialPort::isOpen() const
{
    return m_port.isOpen();
}

void QtSerialPort::discardInput()
{
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}

bool QtSerialPort::write(const QByteArray &data)
{
    if (!m_port.isOpen())
        return false;
    return m_port.write(data) == data.size();
}

QByteArray QtSerialPort::readAll()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    if (m_opening || error == QSerialPort::NoError || !m_port.isOpen())
        return;
    // Only failures of the line itself end it; a refused setting (DTR on a pseudo-terminal)
    // or a write time-out does not.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError && error != QSerialPort::WriteError)
        return;
    const QString why = m_port.errorString();
    // Close on the first error: Qt would otherwise report it again in a tight loop.
    m_port.close();
    m_port.clearError();
    Q_EMIT lineLost(why);
}
