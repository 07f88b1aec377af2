#include "qt_serial_port.h"

#include "posix_system.h"

#include <QFileInfo>
#include <algorithm>

QtSerialPort::QtSerialPort(PortCatalog catalog, QObject *parent) : QtSerialPort([catalog] { return catalog; }, parent)
{}

QtSerialPort::QtSerialPort(CatalogSource catalog, QObject *parent) : SerialPort(parent), m_catalog(std::move(catalog))
{
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::takeWaitingInput);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
    m_quietCheck.setSingleShot(true);
    connect(&m_quietCheck, &QTimer::timeout, this, &QtSerialPort::checkQuietLine);
}

QtSerialPort::~QtSerialPort()
{
    m_port.close();
}

bool QtSerialPort::open(int number, QString *why)
{
    close();
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
    m_missing = 0;
    m_batch = 0; // a terminal opened again starts from Qt's settings
    m_quietCheck.stop();
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
    const QByteArray data = m_port.isOpen() ? m_port.readAll() : QByteArray();
    if (m_missing > 0)
        batchInput(m_missing - int(std::min<qsizetype>(data.size(), m_missing)));
    return data;
}

void QtSerialPort::expectReplyLength(int chars)
{
    batchInput(std::max(chars, 0));
}

// Gathers up to the characters still missing, so that the last batch ends the reply.
void QtSerialPort::batchInput(int missing)
{
    m_missing = missing;
    const int batch = m_port.isOpen() && missing > 1 ? std::min(missing, 255) : 0;
    if (batch != m_batch && posixsystem::setInputBatch(int(m_port.handle()), batch))
        m_batch = batch;
    m_lastPending = -1;
    if (m_batch > 0)
        lookAgainAfter(m_batch);
    else
        m_quietCheck.stop();
}

// Linux hands a read() no more than 64 characters while the terminal gathers more than that
// (VMIN), and keeps the rest back until a whole batch waits again: one wake-up for every 64
// characters. Whatever waits is taken in the same wake-up instead; the link's next
// readAll() sets the batch again.
void QtSerialPort::takeWaitingInput()
{
    const int fd = int(m_port.handle());
    if (m_batch > 0 && posixsystem::pendingInput(fd) > 0 && posixsystem::setInputBatch(fd, 0)) {
        m_batch = 0;
        m_port.waitForReadyRead(0); // reads without reporting again: Qt does not recurse
    }
    Q_EMIT dataArrived();
}

void QtSerialPort::lookAgainAfter(int chars)
{
    m_quietCheck.start(int(std::max(chars, 0) * CharacterMs) + QuietGraceMs);
}

// Characters that wait unchanged for a whole check are all the line is going to send for
// now: report them instead of holding them back for a batch that is not coming.
void QtSerialPort::checkQuietLine()
{
    const int pending = m_port.isOpen() ? posixsystem::pendingInput(int(m_port.handle())) : -1;
    if (pending < 0 || (pending > 0 && pending == m_lastPending)) {
        batchInput(0);
        return;
    }
    // Nothing yet (the controller has not begun), or still coming: give the rest its time.
    m_lastPending = pending;
    lookAgainAfter(m_batch - pending);
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
