// The simulated controller on a real pseudo-terminal, read through QSerialPort in the same
// thread, as the end-to-end tests use it.
#include "sim/controller_simulator.h"

#include <QProcess>
#include <QSerialPort>
#include <QtTest>

#include <sys/resource.h>

Q_DECLARE_METATYPE(Misbehaviour)

namespace {

const QByteArray Rom5Block = "D007401FF0054C046C070000000000000640556A6432330A500085C80000050A";

bool openPort(QSerialPort &port, const QString &path)
{
    port.setPortName(path);
    port.setBaudRate(QSerialPort::Baud9600);
    port.setParity(QSerialPort::OddParity);
    port.setDataBits(QSerialPort::Data8);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    return port.open(QIODevice::ReadWrite);
}

// Sends `command` and collects `length` characters of reply; returns how long that took in
// ms (-1: time-out) and the first piece read in `firstPiece`.
qint64 exchange(QSerialPort &port, const QByteArray &command, QByteArray *reply, qsizetype length,
                QByteArray *firstPiece = nullptr, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    port.write(command);
    const bool done = QTest::qWaitFor([&] {
        const QByteArray piece = port.readAll();
        if (firstPiece && reply->isEmpty())
            *firstPiece = piece;
        *reply += piece;
        return reply->size() >= length;
    }, timeoutMs);
    return done ? clock.elapsed() : -1;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

class TestSimLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsSettingsAndRecordsTheCommand()
    {
        ControllerSimulator sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        QSignalSpy announced(&sim, &ControllerSimulator::commandReceived);
        QSerialPort port;
        QVERIFY(openPort(port, sim.portPath()));
        QByteArray reply;
        QVERIFY(exchange(port, "sr", &reply, 68) >= 0);
        QCOMPARE(reply, "sr" + Rom5Block + "0\r");
        QCOMPARE(sim.receivedTexts(), QStringList{"sr"});
        QCOMPARE(sim.receivedBytes(), QByteArray("sr"));
        QVERIFY(sim.received().first().receivedAt.isValid());
        QCOMPARE(announced.count(), 1);

        // The program closing and reopening its port must find the line as it left it,
        // without the simulator spinning on a master that has lost its slave.
        port.close();
        const double cpuBefore = cpuSeconds();
        QTest::qWait(300);
        QVERIFY2(cpuSeconds() - cpuBefore < 0.15, "simulator busy while the port is closed");
        QVERIFY(openPort(port, sim.portPath()));
        reply.clear();
        QVERIFY(exchange(port, "sr", &reply, 68) >= 0);
        QCOMPARE(reply.size(), 68);
    }

    void timing_data()
    {
        QTest::addColumn<bool>("paced");
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("firstPiece");
        QTest::addColumn<int>("minimumMs");
        Misbehaviour m;
        // 68 characters of 11 bits at 9600 baud are 78 ms on the wire.
        QTest::newRow("paced") << true << m << QByteArray("sr") << "sr" + Rom5Block + "0\r" << QByteArray() << 70;
        QTest::newRow("closing CR after processing") << false << m << QByteArray("ae") << QByteArray("ae\r")
                                                     << QByteArray("ae") << 100;
        m.delayMs = 300;
        QTest::newRow("late") << false << m << QByteArray("rt") << QByteArray("rt") << QByteArray("rt") << 300;
        m = {};
        m.splitSize = 1;
        m.splitGapMs = 100;
        QTest::newRow("split echo") << false << m << QByteArray("sw") << QByteArray("sw") << QByteArray("s") << 100;
    }
    void timing()
    {
        QFETCH(bool, paced);
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, firstPiece);
        QFETCH(int, minimumMs);
        ControllerSimulator sim;
        QVERIFY(sim.start());
        sim.setPacing(paced);
        sim.setMisbehaviour(misbehaviour);
        QSerialPort port;
        QVERIFY(openPort(port, sim.portPath()));
        QByteArray received, first;
        const qint64 ms = exchange(port, command, &received, reply.size(), &first);
        QCOMPARE(received, reply);
        if (!firstPiece.isEmpty())
            QCOMPARE(first, firstPiece);
        QVERIFY2(ms >= minimumMs && ms < 3000, qPrintable(QString::number(ms)));
    }

    void hangUpMidReplyAndComeBack()
    {
        ControllerSimulator sim;
        QVERIFY(sim.start());
        QSignalSpy dropped(&sim, &ControllerSimulator::lineDropped);
        Misbehaviour m;
        m.onlyFor = {"br"};
        m.hangUpAfter = 10;
        sim.setMisbehaviour(m);
        QSerialPort port;
        QVERIFY(openPort(port, sim.portPath()));
        QByteArray partial;
        port.write("br");
        QVERIFY(QTest::qWaitFor([&] {
            partial += port.readAll();
            return port.error() != QSerialPort::NoError;
        }, 5000));
        QVERIFY(port.error() == QSerialPort::ReadError || port.error() == QSerialPort::ResourceError);
        // What got through before the drop is the start of the reply, never more than asked.
        const QByteArray fullReply = "br" + zxsim::runLogHex(sim.runLog());
        QVERIFY2(partial.size() <= 10 && fullReply.startsWith(partial), partial.constData());
        QCOMPARE(dropped.count(), 1);
        QVERIFY(!sim.isRunning());
        port.close();
        QVERIFY(!openPort(port, sim.portPath()));

        sim.setMisbehaviour({});
        QVERIFY(sim.reconnect());
        QVERIFY(openPort(port, sim.portPath()));
        QByteArray reply;
        QVERIFY(exchange(port, "sr", &reply, 68) >= 0);
        QCOMPARE(reply.size(), 68);
        QCOMPARE(sim.receivedTexts(), (QStringList{"br", "sr"}));
    }

    void listenerMayDropTheLine()
    {
        ControllerSimulator sim;
        QVERIFY(sim.start());
        connect(&sim, &ControllerSimulator::commandReceived, &sim, &ControllerSimulator::hangUp);
        QSignalSpy dropped(&sim, &ControllerSimulator::lineDropped);
        QSerialPort port;
        QVERIFY(openPort(port, sim.portPath()));
        port.write("srsr");
        QVERIFY(dropped.wait(5000));
        QCOMPARE(sim.receivedTexts(), (QStringList{"sr", "sr"}));
        QVERIFY(!sim.isRunning());
    }

    void linkPathLifecycle()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath("com1"), plain = dir.filePath("plain");
        QVERIFY(QFile::link("/nonexistent", link));
        ControllerSimulator sim;
        QVERIFY2(sim.start(link), qPrintable(sim.errorString()));
        QVERIFY(QFileInfo(link).symLinkTarget().startsWith("/dev/"));
        sim.stop();
        QVERIFY(!QFileInfo(link).isSymLink());
        // Never overwrites something that is not a link.
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!sim.start(plain) && !sim.errorString().isEmpty());
        QVERIFY(QFileInfo(plain).isFile());
    }

    void executableServesUntilStdinCloses()
    {
        QProcess process;
        process.start(ZX_SIM_EXECUTABLE, {"--rom", "3", "--stdin-exit"});
        QVERIFY(QTest::qWaitFor([&] { return process.canReadLine(); }, 5000));
        const QString path = QString::fromLocal8Bit(process.readLine()).trimmed();
        QSerialPort port;
        QVERIFY(openPort(port, path));
        QByteArray reply;
        QVERIFY(exchange(port, "sr", &reply, 68) >= 0);
        QCOMPARE(reply.mid(62, 2), QByteArray("03"));
        QVERIFY(QTest::qWaitFor([&] { return process.canReadLine(); }, 5000));
        QVERIFY(process.readLine().trimmed().endsWith(" sr"));
        port.close();
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(!QFileInfo(path).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestSimLine)
#include "tst_sim_line.moc"
