// zx316b-cli as a process against the simulated controller on a pseudo-terminal, with no
// display: every command, every exit status, and the same files as the window's.
#include "cli/exit_status.h"
#include "sim/settings_block.h"
#include "tests/link/operations_world.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

struct Run {
    int exit = -1;
    QString out;
    QString err;
};

enum Scenario { Normal, Silent, ReadBackFlip, Deleted, OtherType, Unreadable, LineLost };

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

} // namespace

class TestCliE2e : public QObject {
    Q_OBJECT

    ControllerSimulator *m_sim = nullptr;
    QTemporaryDir m_dir;
    QString m_ini;

    // Runs the program in the test folder with `args` after --ini, without a display, while
    // the simulator answers from this thread's event loop.
    Run cli(const QStringList &args, int timeoutMs = 60000)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_dir.path());
        p.start(ZX_CLI_EXECUTABLE, QStringList {"--ini", m_ini} + args);
        p.closeWriteChannel(); // not a terminal, and nothing to read
        Run r;
        if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, timeoutMs)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    void useIni(const QByteArray &extraPorts = {})
    {
        m_ini = m_dir.filePath("cli.ini");
        writeFile(m_ini,
                  "[RS232C]\nCommPort=1\n\n[Ports]\nCom1=" + QFile::encodeName(m_sim->portPath()) + "\n" + extraPorts);
    }

    void setUp(Scenario s)
    {
        Misbehaviour m;
        switch (s) {
        case Normal:
            break;
        case Silent:
            m.silent = true;
            break;
        case ReadBackFlip:
            m.readBack = Misbehaviour::ReadBack::FlipCharacter;
            m.readBackIndex = 3;
            break;
        case Deleted:
            m_sim->setDeviceType(0xFF);
            break;
        case OtherType:
            m_sim->setDeviceType(0x01);
            break;
        case Unreadable:
            m_sim->setSettingsBlock(QString(m_sim->settingsBlock()).replace(10, 1, "G"));
            break;
        case LineLost:
            m.onlyFor = QStringList {"br"};
            m.hangUpAfter = 500;
            break;
        }
        m_sim->setMisbehaviour(m);
    }

private Q_SLOTS:
    void init()
    {
        m_sim = new ControllerSimulator(this);
        QVERIFY2(m_sim->start(), qPrintable(m_sim->errorString()));
        m_sim->setRomVersion(5);
        useIni();
    }
    void cleanup()
    {
        delete m_sim;
        m_sim = nullptr;
    }

    // Each command against each kind of controller: exit status, what reached the
    // controller, and what the user was told.
    void commands_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("scenario");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("said"); // a part of standard error or output
        const QString B = OperationsWorld::Block;
        using E = cli::Exit;
        QTest::newRow("read") << QStringList {"read"} << int(Normal) << int(E::Done) << QStringList {"sr"}
                              << "PWM frequency(at Min. load)    2000 Hz";
        QTest::newRow("read silent") << QStringList {"read"} << int(Silent) << int(E::Failed) << QStringList {"sr"}
                                     << "RS232 communication fault.";
        QTest::newRow("read deleted") << QStringList {"read"} << int(Deleted) << int(E::Refused) << QStringList {"sr"}
                                      << "Setting Data is deleted.";
        QTest::newRow("read other type") << QStringList {"read"} << int(OtherType) << int(E::Refused)
                                         << QStringList {"sr"} << "ZX type is different.";
        QTest::newRow("read unreadable") << QStringList {"read"} << int(Unreadable) << int(E::Refused)
                                         << QStringList {"sr"} << "could not be read";
        QTest::newRow("write") << QStringList {"write", "--set", "dead band=7"} << int(Normal) << int(E::Done)
                               << QStringList {"sr", "sw", B, "sr"} << "Dead Band                      6 -> 7";
        QTest::newRow("write verify NG") << QStringList {"write", "--set", "Dead Band=7"} << int(ReadBackFlip)
                                         << int(E::VerifyNg) << QStringList {"sr", "sw", B, "sr"} << "Verify was NG.";
        QTest::newRow("write refused value")
            << QStringList {"write", "--set", "Current Limiter=305"} << int(Normal) << int(E::Refused) << QStringList {}
            << "Current Limiter: 305 (310) is out of range (50～300 A).";
        QTest::newRow("write hidden caption") << QStringList {"write", "--set", "Neutral=1500"} << int(Normal)
                                              << int(E::Usage) << QStringList {} << "--set takes";
        QTest::newRow("write dry run") << QStringList {"write", "--dry-run", "--set", "Current Limiter=off"}
                                       << int(Normal) << int(E::Done) << QStringList {"sr"}
                                       << "Current Limiter Off            no -> yes";
        QTest::newRow("defaults without --yes")
            << QStringList {"defaults"} << int(Normal) << int(E::Usage) << QStringList {} << "give --yes";
        QTest::newRow("defaults") << QStringList {"defaults", "--yes"} << int(Normal) << int(E::Done)
                                  << QStringList {"sr", "ae", "rt", "sr"} << "ROM Version                    5";
        QTest::newRow("log clear without --yes")
            << QStringList {"log", "clear"} << int(Normal) << int(E::Usage) << QStringList {} << "Nothing was sent.";
        QTest::newRow("log clear") << QStringList {"log", "clear", "--yes"} << int(Normal) << int(E::Done)
                                   << QStringList {"sr", "be"} << "Completion";
        QTest::newRow("log get") << QStringList {"log", "get"} << int(Normal) << int(E::Done) << QStringList {"br"}
                                 << "Seconds with data: 300";
        QTest::newRow("log get line lost") << QStringList {"log", "get"} << int(LineLost) << int(E::Failed)
                                           << QStringList {"br"} << "The connection to the controller was lost";
        QTest::newRow("unknown option") << QStringList {"read", "--frob"} << int(Normal) << int(E::Usage)
                                        << QStringList {} << "unknown option --frob";
        QTest::newRow("port missing") << QStringList {"--port", "/nonexistent/tty", "read"} << int(Normal)
                                      << int(E::Failed) << QStringList {} << "does not exist";
        QTest::newRow("port not mapped") << QStringList {"--port", "2", "read"} << int(Normal) << int(E::Failed)
                                         << QStringList {} << "Com2 is not connected";
        QTest::newRow("port out of range")
            << QStringList {"--port", "17", "read"} << int(Normal) << int(E::Usage) << QStringList {} << "from 1 to 16";
        QTest::newRow("port by path") << QStringList {"--port", "<sim>", "read"} << int(Normal) << int(E::Done)
                                      << QStringList {"sr"} << "Completion";
    }
    void commands()
    {
        QFETCH(QStringList, args);
        QFETCH(int, scenario);
        QFETCH(int, exit);
        QFETCH(QStringList, sent);
        QFETCH(QString, said);
        setUp(Scenario(scenario));
        args.replaceInStrings("<sim>", m_sim->portPath());
        const Run r = cli(args);
        QVERIFY2(r.exit == exit, qPrintable(QStringLiteral("exit %1\n%2%3").arg(r.exit).arg(r.out, r.err)));
        QTest::qWait(50); // the last echo may still be on its way into the simulator
        QStringList got;
        for (const ReceivedCommand &c : m_sim->received())
            got << OperationsWorld::textOf(c);
        QCOMPARE(got, sent);
        QVERIFY2((r.err + r.out).contains(said), qPrintable(r.err + r.out));
    }

    // A silent controller is given the window's 3 seconds, no more and no less.
    void silentControllerTimesOut()
    {
        setUp(Silent);
        QElapsedTimer clock;
        clock.start();
        const Run r = cli({"-q", "read"});
        QCOMPARE(r.exit, int(cli::Exit::Failed));
        QVERIFY(clock.elapsed() >= 3000);
        QCOMPARE(r.err, QStringLiteral("RS232 communication fault.\n"));
        QVERIFY(r.out.isEmpty());
    }

    // The files are the window's: read -o and log get -o write what File > Save writes
    // for the same settings and the same log.
    void filesAsTheWindowSavesThem()
    {
        QString block = zxsim::defaultSettingsBlock(5);
        for (auto [index, value] : {std::pair {0, 0x10}, {1, 0x27}, {16, 9}, {19, 0xFF}})
            block = zxsim::withByte(block, index, value);
        m_sim->setSettingsBlock(block);
        const Run r = cli({"read", "-o", "cli.set"});
        QCOMPARE(r.exit, 0);
        QVERIFY(cli({"log", "get", "-o", "cli.csv"}).exit == 0);

        m_sim->stop();
        OperationsWorld w(5);
        w.sim.setSettingsBlock(block);
        w.click(0); // Setting Data Read
        w.dialogs.paths = {m_dir.filePath("window.set")};
        w.files->mnuSave_Click();
        w.click(3); // Data Get
        w.dialogs.paths = {m_dir.filePath("window.csv")};
        w.files->mnuSaveLog_Click();
        QCOMPARE(fileBytes(m_dir.filePath("cli.set")), fileBytes(m_dir.filePath("window.set")));
        QCOMPARE(fileBytes(m_dir.filePath("cli.csv")), fileBytes(m_dir.filePath("window.csv")));
        QCOMPARE(fileBytes(m_dir.filePath("cli.csv")).count("\r\n"), 513);
    }

    // A settings file goes to the controller as it is, with --set on top.
    void writeSettingsFile()
    {
        QString block = zxsim::withByte(zxsim::defaultSettingsBlock(5), 16, 9);
        writeFile(m_dir.filePath("mine.set"), block.toLatin1());
        const Run r = cli({"write", "mine.set", "--set", "Brake Max. Duty=50"});
        QVERIFY2(r.exit == 0, qPrintable(r.err));
        QCOMPARE(m_sim->settingsBlock(), zxsim::withByte(block, 20, 50));
        // A file of a deleted controller is refused before anything is sent.
        m_sim->clearReceived();
        writeFile(m_dir.filePath("deleted.set"), zxsim::withByte(block, 29, 0xFF).toLatin1());
        QCOMPARE(cli({"write", "deleted.set"}).exit, int(cli::Exit::Refused));
        QVERIFY(m_sim->received().isEmpty());
    }

    void jsonRead()
    {
        const Run r = cli({"--json", "read"});
        QCOMPARE(r.exit, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(o["block"].toString(), m_sim->settingsBlock());
        QCOMPARE(o["rom_version"].toInt(), 5);
        QCOMPARE(o["current_limiter_off"].toBool(), false);
        const QJsonObject fieldValues = o["fields"].toObject();
        QCOMPARE(fieldValues.size(), 9);
        QCOMPARE(fieldValues["PWM frequency(at Min. load)"].toDouble(), 2000.0);
        QCOMPARE(fieldValues["Low Batt. Protection"].toDouble(), 5.0);

        m_sim->setSettingsBlock(zxsim::withByte(m_sim->settingsBlock(), 19, 0xFF));
        const QJsonObject off = QJsonDocument::fromJson(cli({"--json", "read"}).out.toUtf8()).object();
        QVERIFY(off["current_limiter_off"].toBool());
        QVERIFY(off["fields"].toObject()["Current Limiter"].isNull());
    }

    void logPictureWithoutDisplay()
    {
        const Run r = cli({"-q", "log", "get", "--png", "log.png"});
        QVERIFY2(r.exit == 0, qPrintable(r.err));
        const QImage picture(m_dir.filePath("log.png"));
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.pixelColor(400, 2), QColor(0xE0, 0xE0, 0xE0)); // the graph's background
        // Both traces are drawn: the voltage in blue, the current in purple.
        bool blue = false, purple = false;
        for (int x = 0; x < picture.width(); ++x)
            for (int y = 0; y < picture.height(); ++y) {
                const QColor c = picture.pixelColor(x, y);
                blue |= c == QColor(0, 0, 0xFF);
                purple |= c == QColor(0xC0, 0, 0xC0);
            }
        QVERIFY(blue && purple);
    }

    void ports()
    {
        useIni("Com4=/nonexistent/ttyUSB9\n");
        const Run r = cli({"ports"});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.contains(QStringLiteral("Com1   %1  -  free").arg(m_sim->portPath())), qPrintable(r.out));
        QVERIFY2(r.out.contains("Com4   /nonexistent/ttyUSB9  -  missing"), qPrintable(r.out));
        const QJsonArray list = QJsonDocument::fromJson(cli({"--json", "ports"}).out.toUtf8()).array();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[1].toObject().keys(), QStringList({"com", "description", "path", "status"}));
        QCOMPARE(list[1].toObject()["com"].toInt(), 4);
        QCOMPARE(list[1].toObject()["status"].toString(), QStringLiteral("missing"));
        QVERIFY(m_sim->received().isEmpty());
    }

    // Files decoded without a controller: good ones printed as read and log get print them,
    // bad ones refused.
    void show_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("said");
        const QByteArray block = zxsim::defaultSettingsBlock(5).toLatin1();
        QByteArray log = "Time(s),Voltage(V),Current(A)\r\n";
        for (int i = 0; i < 512; ++i)
            log += QByteArray::number(i) + (i < 10 ? ",7.5,100\r\n" : ",,\r\n");
        QTest::newRow("settings") << "a.set" << block << 0 << "Dead Band                      6 uS";
        QTest::newRow("no extension") << "a" << block << 0 << "ZX Type                        ZX316B";
        QTest::newRow("line end added") << "b.set" << block + "\r\n" << 3 << "exactly 64 characters";
        QTest::newRow("deleted") << "c.set" << zxsim::withByte(block, 29, 0xFF).toLatin1() << 3
                                 << "Setting Data is deleted.";
        QTest::newRow("not hex") << "d.set" << QByteArray(block).replace(5, 1, "x") << 3 << "Trouble is found in data.";
        QTest::newRow("log") << "l.csv" << log << 0 << "Seconds with data: 10";
        QTest::newRow("log gap") << "m.csv" << QByteArray(log).replace("\r\n4,", "\r\n5,") << 3
                                 << "Trouble is found in data.";
        QTest::newRow("empty log") << "e.csv" << QByteArray() << 3 << "is empty";
        QTest::newRow("missing") << "" << QByteArray() << 3 << "Trouble is found in data.";
    }
    void show()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, exit);
        QFETCH(QString, said);
        if (!name.isEmpty())
            writeFile(m_dir.filePath(name), content);
        const Run r = cli({"show", name.isEmpty() ? QStringLiteral("gone.set") : name});
        QVERIFY2(r.exit == exit, qPrintable(r.err + r.out));
        QVERIFY2((r.out + r.err).contains(said), qPrintable(r.out + r.err));
        QVERIFY(m_sim->received().isEmpty());
    }

    void helpAndVersion_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("said");
        QTest::newRow("help") << QStringList {"--help"} << "Usage: zx316b-cli [global options] COMMAND [options]";
        QTest::newRow("version") << QStringList {"--version"} << "zx316b-cli 1.";
        QTest::newRow("ports") << QStringList {"ports", "--help"} << "Usage: zx316b-cli [global options] ports\n";
        QTest::newRow("read") << QStringList {"read", "-h"} << "read [-o FILE.set]";
        QTest::newRow("write") << QStringList {"write", "--help"} << "--dry-run";
        QTest::newRow("defaults") << QStringList {"defaults", "--help"} << "\"Default Data Write\"";
        QTest::newRow("log get") << QStringList {"log", "get", "--help"} << "--png FILE.png";
        QTest::newRow("log clear") << QStringList {"log", "clear", "--help"} << "\"Data Clear\"";
        QTest::newRow("show") << QStringList {"show", "--help"} << "show FILE";
    }
    void helpAndVersion()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, said);
        const Run r = cli(args);
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.out.contains(said), qPrintable(r.out));
        QVERIFY(r.err.isEmpty());
    }
};

QTEST_MAIN(TestCliE2e)
#include "tst_cli_e2e.moc"
