// The real serial port on a pseudo-terminal, as other programs may leave it.
#include "platform/qt_serial_port.h"
#include "sim/pty_line.h"

#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestQtSerialPort : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A program killed with the port open leaves the terminal just as the port sets it up
    // (a pseudo-terminal having dropped the parity); opening it again is no failure.
    void opensATerminalLeftByAKilledProgram()
    {
        QTemporaryDir dir;
        PtyLine line; // a bare terminal: nobody puts it back
        QString why;
        QVERIFY2(line.open(dir.filePath("port"), &why), qPrintable(why));
        const PortCatalog catalog = PortCatalog::fromEntries({{1, line.linkPath(), QString()}});
        {
            QSerialPort killed; // what a killed program leaves: its own settings, never undone
            killed.setPortName(line.linkPath());
            killed.setParity(QSerialPort::OddParity);
            QVERIFY(killed.open(QIODevice::ReadWrite));
            ::close(int(killed.handle())); // gone with the process; the clean-up below finds nothing to undo
        }
        for (int start = 0; start < 2; ++start) { // the second after a clean close
            QtSerialPort port(catalog);
            QVERIFY2(port.open(1, &why), qPrintable(why));
            QVERIFY(port.isOpen() && port.write("rt"));
            port.close();
        }
    }
};

QTEST_MAIN(TestQtSerialPort)
#include "tst_qt_serial_port.moc"
