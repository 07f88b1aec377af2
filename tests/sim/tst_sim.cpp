// The simulated controller: its replies without a line, then the executable on a pseudo-terminal.
#include "sim/controller_simulator.h"
#include "sim/settings_block.h"

#include <QProcess>
#include <QSerialPort>
#include <QtTest>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
const QByteArray Rom5 = "D007401FF0054C046C070000000000000640556A6432330A500085C80000050A";
const QByteArray Other = "E803E8032C01DC05B0040000000000000A3C55FF50326408A00085C80000050B";

const auto defaults = [](int rom) { return zxsim::defaultSettingsBlock(rom).toLatin1(); };

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

// True when the terminal behind `path` is neither exclusive nor left with another program's settings.
bool putBack(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    int exclusive = 1;
    termios now {};
    const bool fresh = fd >= 0 && ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && ::tcgetattr(fd, &now) == 0 && !exclusive
        && now.c_iflag == 0 && !(now.c_cflag & CLOCAL);
    if (fd >= 0)
        ::close(fd);
    return fresh;
}

// Chunks fed `gapMs` apart, and the commands, replies and settings block the controller made of them.
struct Replies {
    const char *name;
    QByteArrayList chunks;
    QStringList commands;
    QByteArray replies;
    int rom = 5;
    QByteArray held = Rom5;
    int gapMs = 0;
    Misbehaviour m = {};
};
} // namespace
Q_DECLARE_METATYPE(Replies)

class TestSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replies_data()
    {
        QTest::addColumn<Replies>("r");
        const auto write = [](const char *name, const QByteArrayList &chunks, const QByteArray &block) {
            return Replies {name, chunks, {"sw", block, "sr"}, "sw" + block + "sr" + block + "0\r", 5, block};
        };
        const QByteArray letters = QByteArray("srbeae").repeated(11).left(64);
        const QByteArray noise("\x00\xff#rrtRTarrt", 12); // a doubled letter, upper case, an unknown pair
        const Misbehaviour garbageAfter {.garbage = "zz", .garbageAt = Misbehaviour::GarbageAt::After};
        for (const Replies &r : std::initializer_list<Replies> {
                 {"br, every sample", {"br"}, {"br"}, "br6C00" + QByteArray(2040, 'F') + "01FE\r"},
                 {"ae, ROM 4 ends with CR", {"ae"}, {"ae"}, "ae\r", 4, defaults(4)},
                 {"ae restores, ROM 3", {"sw" + Other, "ae"}, {"sw", Other, "ae"}, "sw" + Other + "ae", 3, defaults(3)},
                 // The block is stored as sent, whatever its case and letters.
                 write("sw, block and sr at once", {"sw" + Other.toLower() + "sr"}, Other.toLower()),
                 write("command letters inside a block in pieces",
                       {"sw", letters.left(1), letters.mid(1, 40), letters.mid(41), "sr"}, letters),
                 {"noise, line ends, split reads", {noise, "r", "t\r\nsw"}, {"rt", "rt", "rt", "sw"}, "rtrtrtsw"},
                 {"stale half command", {"r", "t"}, {}, "", 5, Rom5, 5001},
                 {"stale half block", {"sw" + Other.left(10), "rt"}, {"sw", "rt"}, "swrt", 5, Rom5, 5001},
                 // Trailing bytes that reach the program only after it has taken the reply in.
                 {"garbage after", {"rt"}, {"rt"}, "rtzz", 5, Rom5, 0, garbageAfter}})
            QTest::newRow(r.name) << r;
    }
    void replies()
    {
        QFETCH(Replies, r);
        ControllerProtocol protocol;
        protocol.setRomVersion(r.rom);
        protocol.setMisbehaviour(r.m);
        RunLog log = zxsim::emptyRunLog();
        log[0] = {0x6C, 0x00};
        log[511] = {0x01, 0xFE};
        protocol.setRunLog(log);
        QStringList commands;
        QByteArray replies;
        qint64 now = 0;
        for (const QByteArray &chunk : r.chunks) {
            for (const Exchange &exchange : protocol.feed(chunk, now += r.gapMs)) {
                commands << exchange.command.text;
                for (const ReplyPart &part : exchange.reply)
                    replies += part.bytes;
            }
        }
        QCOMPARE(commands, r.commands);
        QCOMPARE(replies, r.replies);
        QCOMPARE(protocol.settingsBlock().toLatin1(), r.held);
    }

    // The inverse of the program's conversions; 255 would read as a missing sample.
    void measurementBytes()
    {
        QCOMPARE(zxsim::voltageByte(5.0), 0x40);
        QCOMPARE(zxsim::currentByte(50), 0x1B);
        QCOMPARE(zxsim::voltageByte(19.8), 254);
        QCOMPARE(zxsim::currentByte(480), 254);
    }

    // As started for a demo: replaces a dangling link, answers at the line rate, logs, cleans up. A program
    // killed holding the line leaves it exclusive and set up its own way: undone; idle while the port is closed.
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

        QByteArray reply;
        {
            QSerialPort killed;
            QVERIFY(openPort(killed, link));
            const qint64 ms = readSettings(killed, "sr", reply);
            // 68 characters of 11 bits at 9600 baud take 78 ms.
            QVERIFY2(ms >= 70 && ms < 3000, qPrintable(QString::number(ms)));
            ::close(int(killed.handle())); // no clean-up, as when the process is killed
        }
        QCOMPARE(reply, "sr" + defaults(3) + "0\r");
        QVERIFY(QTest::qWaitFor([&] { return sim.canReadLine(); }, 5000));
        QVERIFY(sim.readLine().trimmed().endsWith(" sr"));
        QVERIFY(QTest::qWaitFor([&] { return putBack(link); }, 2000));
        const double cpuBefore = cpuSeconds(sim.processId());
        QVERIFY(cpuBefore >= 0);
        QTest::qWait(300);
        QVERIFY2(cpuSeconds(sim.processId()) - cpuBefore < 0.15, "simulator busy while the port is closed");
        QSerialPort port;
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
