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
        m.silent = s == Silent;
        if (s == ReadBackFlip)
            m.readBack = Misbehaviour::ReadBack::FlipCharacter, m.readBackIndex = 3;
        if (s == Deleted || s == OtherType)
            m_sim->setDeviceType(s == Deleted ? 0xFF : 0x01);
        if (s == Unreadable)
            m_sim->setSettingsBlock(QString(m_sim->settingsBlock()).replace(10, 1, "G"));
        if (s == LineLost)
            m.onlyFor = QStringList {"br"}, m.hangUpAfter = 500;
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
        using E = cli::Exit;
        struct Row {
            const char *name, *args; // split at commas
            Scenario scenario;
            E exit;
            const char *sent, *said; // `sent`: the commands the controller got, split at commas
        };
        for (const Row &r : std::initializer_list<Row> {
                 {"read", "read", Normal, E::Done, "sr", "PWM frequency(at Min. load)    2000 Hz"},
                 {"read silent", "-q,read", Silent, E::Failed, "sr", "RS232 communication fault."},
                 {"read deleted", "read", Deleted, E::Refused, "sr", "Setting Data is deleted."},
                 {"read other type", "read", OtherType, E::Refused, "sr", "ZX type is different."},
                 {"read unreadable", "read", Unreadable, E::Refused, "sr", "could not be read"},
                 {"write", "write,--set,dead band=7", Normal, E::Done, "sr,sw,<block>,sr",
                  "Dead Band                      6 -> 7"},
                 {"write verify NG", "write,--set,Dead Band=7", ReadBackFlip, E::VerifyNg, "sr,sw,<block>,sr",
                  "Verify was NG."},
                 {"write refused value", "write,--set,Current Limiter=305", Normal, E::Refused, "",
                  "Current Limiter: 305 (310) is out of range (50～300 A)."},
                 {"write hidden caption", "write,--set,Neutral=1500", Normal, E::Usage, "", "--set takes"},
                 {"write dry run", "write,--dry-run,--set,Current Limiter=off", Normal, E::Done, "sr",
                  "Current Limiter Off            no -> yes"},
                 {"defaults without --yes", "defaults", Normal, E::Usage, "", "give --yes"},
                 {"defaults", "defaults,--yes", Normal, E::Done, "sr,ae,rt,sr", "ROM Version                    5"},
                 {"log clear without --yes", "log,clear", Normal, E::Usage, "", "Nothing was sent."},
                 {"log clear", "log,clear,--yes", Normal, E::Done, "sr,be", "Completion"},
                 {"log get", "log,get", Normal, E::Done, "br", "Seconds with data: 300"},
                 {"log get line lost", "log,get", LineLost, E::Failed, "br",
                  "The connection to the controller was lost"},
                 {"unknown option", "read,--frob", Normal, E::Usage, "", "unknown option --frob"},
                 {"port missing", "--port,/nonexistent/tty,read", Normal, E::Failed, "", "does not exist"},
                 {"port not mapped", "--port,2,read", Normal, E::Failed, "", "Com2 is not connected"},
                 {"port out of range", "--port,17,read", Normal, E::Usage, "", "from 1 to 16"},
                 {"port by path", "--port,<sim>,read", Normal, E::Done, "sr", "Completion"}})
            QTest::newRow(r.name) << QString(r.args).split(',') << int(r.scenario) << int(r.exit)
                                  << QString(r.sent).split(',', Qt::SkipEmptyParts) << QString(r.said);
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
        QElapsedTimer clock;
        clock.start();
        const Run r = cli(args);
        // A silent controller is given the window's 3 seconds, no more and no less; with -q the
        // fault is all that is printed, once.
        QVERIFY(scenario != Silent || clock.elapsed() >= 3000);
        QVERIFY(!args.contains("-q") || (r.out.isEmpty() && r.err == said + '\n'));
        QVERIFY2(r.exit == exit, qPrintable(QStringLiteral("exit %1\n%2%3").arg(r.exit).arg(r.out, r.err)));
        QTest::qWait(50); // the last echo may still be on its way into the simulator
        QStringList got;
        for (const ReceivedCommand &c : m_sim->received())
            got << OperationsWorld::textOf(c);
        QCOMPARE(got, sent);
        QVERIFY2((r.err + r.out).contains(said), qPrintable(r.err + r.out));
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
