// The simulated controller: its replies worked out without a line, then the program as the
// end-to-end runs start it, on a real pseudo-terminal.
#include "sim/controller_simulator.h"
#include "sim/settings_block.h"

#include <QProcess>
#include <QSerialPort>
#include <QtTest>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

Q_DECLARE_METATYPE(Misbehaviour)

namespace {

const QByteArray Rom5 = "D007401FF0054C046C070000000000000640556A6432330A500085C80000050A";
const QByteArray Other = "E803E8032C01DC05B0040000000000000A3C55FF50326408A00085C80000050B";

QByteArray withRom(const QByteArray &block, const char *version)
{
    return QByteArray(block).replace(60, 2, version);
}

bool openPort(QSerialPort &port, const QString &path)
{
    port.setPortName(path);
    port.setBaudRate(QSerialPort::Baud9600);
    port.setParity(QSerialPort::OddParity);
    return port.open(QIODevice::ReadWrite);
}

// Sends `command` and returns the ms until a whole settings reply was in (-1: never).
qint64 readSettings(QSerialPort &port, const QByteArray &command, QByteArray &reply)
{
    QElapsedTimer clock;
    clock.start();
    reply.clear();
    port.write(command);
    return QTest::qWaitFor([&] { return (reply += port.readAll()).size() >= 68; }, 5000) ? clock.elapsed() : -1;
}

// User plus system time of another process, in seconds.
double cpuSeconds(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
    return (fields[12].toLongLong() + fields[13].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

} // namespace

class TestSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each chunk arrives `gapMs` after the one before.
    void replies_data()
    {
        QTest::addColumn<int>("rom");
        QTest::addColumn<Misbehaviour>("m");
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QByteArray>("replies");
        QTest::addColumn<QByteArray>("held");
        const QByteArray rom3 = withRom(Rom5, "03"), erased = "br" + QByteArray(2048, 'F') + "\r";
        const auto writeRow = [](const char *name, const QByteArrayList &chunks, const QByteArray &block) {
            QTest::newRow(name) << 5 << Misbehaviour {} << chunks << 0 << QStringList {"sw", block, "sr"}
                                << "sw" + block + "sr" + block + "0\r" << block;
        };
        QTest::newRow("sr, ROM 5") << 5 << Misbehaviour {} << QByteArrayList {"sr"} << 0 << QStringList {"sr"}
                                   << "sr" + Rom5 + "0\r" << Rom5;
        QTest::newRow("sr, ROM 3") << 3 << Misbehaviour {} << QByteArrayList {"sr"} << 0 << QStringList {"sr"}
                                   << "sr" + rom3 + "0\r" << rom3;
        QTest::newRow("br, every sample") << 5 << Misbehaviour {} << QByteArrayList {"br"} << 0 << QStringList {"br"}
                                          << "br6C00" + QByteArray(2040, 'F') + "01FE\r" << Rom5;
        QTest::newRow("rt") << 5 << Misbehaviour {} << QByteArrayList {"rt"} << 0 << QStringList {"rt"}
                            << QByteArray("rt") << Rom5;
        QTest::newRow("ae restores, ROM 5") << 5 << Misbehaviour {} << QByteArrayList {"sw" + Other, "ae"} << 0
                                            << QStringList {"sw", Other, "ae"} << "sw" + Other + "ae\r" << Rom5;
        QTest::newRow("ae, ROM 4") << 4 << Misbehaviour {} << QByteArrayList {"ae"} << 0 << QStringList {"ae"}
                                   << QByteArray("ae\r") << withRom(Rom5, "04");
        QTest::newRow("ae restores, ROM 3") << 3 << Misbehaviour {} << QByteArrayList {"sw" + Other, "ae"} << 0
                                            << QStringList {"sw", Other, "ae"} << "sw" + Other + "ae" << rom3;
        QTest::newRow("be erases, ROM 5") << 5 << Misbehaviour {} << QByteArrayList {"be", "br"} << 0
                                          << QStringList {"be", "br"} << "be\r" + erased << Rom5;
        QTest::newRow("be erases, ROM 3") << 3 << Misbehaviour {} << QByteArrayList {"be", "br"} << 0
                                          << QStringList {"be", "br"} << "be" + erased << rom3;
        writeRow("sw and block at once", {"sw" + Other + "sr"}, Other);
        writeRow("block in pieces", {"sw", Other.left(1), Other.mid(1, 40), Other.mid(41), "sr"}, Other);
        writeRow("lower case kept as sent", {"sw", Other.toLower(), "sr"}, Other.toLower());
        writeRow("command letters inside a block", {"sw", QByteArray("srbeae").repeated(11).left(64), "sr"},
                 QByteArray("srbeae").repeated(11).left(64));
        QTest::newRow("noise before") << 5 << Misbehaviour {} << QByteArrayList {QByteArray("\x00\xff#rt", 5)} << 0
                                      << QStringList {"rt"} << QByteArray("rt") << Rom5;
        QTest::newRow("doubled letter") << 5 << Misbehaviour {} << QByteArrayList {"rrt"} << 0 << QStringList {"rt"}
                                        << QByteArray("rt") << Rom5;
        QTest::newRow("upper case, unknown pair")
            << 5 << Misbehaviour {} << QByteArrayList {"RTarrt"} << 0 << QStringList {"rt"} << QByteArray("rt") << Rom5;
        QTest::newRow("line endings between") << 5 << Misbehaviour {} << QByteArrayList {"rt\r\nsw"} << 0
                                              << QStringList {"rt", "sw"} << QByteArray("rtsw") << Rom5;
        QTest::newRow("split over reads")
            << 5 << Misbehaviour {} << QByteArrayList {"r", "t"} << 0 << QStringList {"rt"} << QByteArray("rt") << Rom5;
        QTest::newRow("stale half command")
            << 5 << Misbehaviour {} << QByteArrayList {"r", "t"} << 5001 << QStringList {} << QByteArray() << Rom5;
        QTest::newRow("stale half block") << 5 << Misbehaviour {} << QByteArrayList {"sw" + Other.left(10), "rt"}
                                          << 5001 << QStringList {"sw", "rt"} << QByteArray("swrt") << Rom5;
        // Trailing bytes that reach the program only after it has taken the reply in.
        QTest::newRow("garbage after") << 5
                                       << Misbehaviour {.garbage = "zz", .garbageAt = Misbehaviour::GarbageAt::After}
                                       << QByteArrayList {"rt"} << 0 << QStringList {"rt"} << QByteArray("rtzz")
                                       << Rom5;
    }
    void replies()
    {
        QFETCH(int, rom);
        QFETCH(Misbehaviour, m);
        QFETCH(QByteArrayList, chunks);
        QFETCH(int, gapMs);
        ControllerProtocol protocol;
        protocol.setRomVersion(rom);
        protocol.setMisbehaviour(m);
        RunLog log = zxsim::emptyRunLog();
        log[0] = {0x6C, 0x00};
        log[511] = {0x01, 0xFE};
        protocol.setRunLog(log);
        QStringList commands;
        QByteArray replies;
        qint64 now = 0;
        for (const QByteArray &chunk : chunks) {
            for (const Exchange &exchange : protocol.feed(chunk, now += gapMs)) {
                commands << exchange.command.text;
                QCOMPARE(exchange.command.isSettingsBlock, exchange.command.text.size() == 64);
                for (const ReplyPart &part : exchange.reply)
                    replies += part.bytes;
            }
        }
        QTEST(commands, "commands");
        QTEST(replies, "replies");
        QTEST(protocol.settingsBlock().toLatin1(), "held");
    }

    // The recorded measurements are the inverse of the program's conversions; 255 would
    // read as a missing sample.
    void measurementBytes()
    {
        QCOMPARE(zxsim::voltageByte(5.0), 0x40);
        QCOMPARE(zxsim::currentByte(50), 0x1B);
        QCOMPARE(zxsim::voltageByte(19.8), 254);
        QCOMPARE(zxsim::currentByte(480), 254);
    }

    // The program as started for a demo: it replaces a dangling link, answers at the line
    // rate, logs each command, idles while nobody has the port open, and cleans up.
    // A program that dies holding the line leaves it exclusive and set up its own way; the
    // simulator undoes both once the program's end is closed, so the next one opens it.
    void lineIsPutBackAfterTheProgramGoes()
    {
        ControllerSimulator sim;
        QVERIFY(sim.start());
        const QByteArray path = QFile::encodeName(sim.portPath());
        int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        termios tio {};
        QVERIFY(::ioctl(fd, TIOCEXCL) == 0 && ::tcgetattr(fd, &tio) == 0);
        tio.c_cflag |= CLOCAL | PARENB | PARODD; // as a serial port library leaves it
        tio.c_iflag |= IGNPAR;
        QVERIFY(::tcsetattr(fd, TCSANOW, &tio) == 0);
        ::close(fd); // no clean-up, as when the process is killed
        const auto putBack = [&] {
            const int check = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            int exclusive = 1;
            termios now {};
            const bool fresh = check >= 0 && ::ioctl(check, TIOCGEXCL, &exclusive) == 0 && ::tcgetattr(check, &now) == 0
                && !exclusive && now.c_iflag == 0 && !(now.c_cflag & CLOCAL);
            if (check >= 0)
                ::close(check);
            return fresh;
        };
        QVERIFY(QTest::qWaitFor(putBack, 2000));
        QSerialPort port;
        QVERIFY2(openPort(port, sim.portPath()), qPrintable(port.errorString()));
    }

    void executableRoundTrip()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath("com1");
        QVERIFY(QFile::link("/nonexistent", link));
        QProcess sim;
        sim.start(ZX_SIM_EXECUTABLE, {"--rom", "3", "--pace", "--stdin-exit", "--link", link});
        QVERIFY(QTest::qWaitFor([&] { return sim.canReadLine(); }, 5000));
        QCOMPARE(QString::fromLocal8Bit(sim.readLine()).trimmed(), link);
        QVERIFY(QFileInfo(link).symLinkTarget().startsWith("/dev/"));

        QSerialPort port;
        QByteArray reply;
        QVERIFY(openPort(port, link));
        const qint64 ms = readSettings(port, "sr", reply);
        // 68 characters of 11 bits at 9600 baud take 78 ms.
        QVERIFY2(ms >= 70 && ms < 3000, qPrintable(QString::number(ms)));
        QCOMPARE(reply, "sr" + withRom(Rom5, "03") + "0\r");
        QVERIFY(QTest::qWaitFor([&] { return sim.canReadLine(); }, 5000));
        QVERIFY(sim.readLine().trimmed().endsWith(" sr"));

        port.close();
        const double cpuBefore = cpuSeconds(sim.processId());
        QVERIFY(cpuBefore >= 0);
        QTest::qWait(300);
        QVERIFY2(cpuSeconds(sim.processId()) - cpuBefore < 0.15, "simulator busy while the port is closed");
        QVERIFY(openPort(port, link));
        QVERIFY(readSettings(port, "sr", reply) >= 0);
        port.close();

        sim.closeWriteChannel();
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());

        // Never overwrites something that is not a link.
        QFile plain(dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("keep") == 4);
        plain.close();
        QCOMPARE(QProcess::execute(ZX_SIM_EXECUTABLE, {"--link", plain.fileName()}), 1);
        QCOMPARE(plain.size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
