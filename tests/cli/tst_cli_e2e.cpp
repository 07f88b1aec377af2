// zx316b-cli as a process against the simulated controller on a pseudo-terminal, with no
// display: one path through each command, and the same files as the window's.
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

enum Scenario { Normal, Silent, Deleted, LineLost };

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

    std::unique_ptr<ControllerSimulator> m_sim;
    QTemporaryDir m_dir;
    QString m_ini;

    // Runs the program in the test folder with `args` after --ini, without a display, while
    // the simulator answers from this thread's event loop.
    Run cli(const QStringList &args)
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
        if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 60000))
            return {}; // a hung program is killed with `p`
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    void useIni(const QByteArray &extraPorts = {})
    {
        m_ini = m_dir.filePath("cli.ini");
        writeFile(m_ini,
                  "[RS232C]\nCommPort=1\n\n[Ports]\nCom1=" + QFile::encodeName(m_sim->portPath()) + "\n" + extraPorts);
    }

private Q_SLOTS:
    void init()
    {
        m_sim = std::make_unique<ControllerSimulator>();
        QVERIFY2(m_sim->start(), qPrintable(m_sim->errorString()));
        m_sim->setRomVersion(5);
        useIni();
    }
    void cleanup() { m_sim.reset(); }

    // One path through each command and each way a run ends: exit status, what reached the
    // controller, and what the user was told. Runs that end before the port is opened, the
    // decoding and the exit status of each red line are pinned down in tst_cli_rules.
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
                 {"write", "write,--set,dead band=7", Normal, E::Done, "sr,sw,<block>,sr",
                  "Dead Band                      6 -> 7"},
                 {"write dry run", "write,--dry-run,--set,Current Limiter=off", Normal, E::Done, "sr",
                  "Current Limiter Off            no -> yes"},
                 {"defaults without --yes", "defaults", Normal, E::Usage, "", "give --yes"},
                 {"defaults", "defaults,--yes", Normal, E::Done, "sr,ae,rt,sr", "ROM Version                    5"},
                 {"log clear", "log,clear,--yes", Normal, E::Done, "sr,be", "Completion"},
                 {"log get", "log,get", Normal, E::Done, "br", "Seconds with data: 300"},
                 {"log get line lost", "log,get", LineLost, E::Failed, "br",
                  "The connection to the controller was lost"},
                 {"port missing", "--port,/nonexistent/tty,read", Normal, E::Failed, "", "does not exist"},
                 {"port not mapped", "--port,2,read", Normal, E::Failed, "", "Com2 is not connected"},
                 {"port by path", "--port,<sim>,read", Normal, E::Done, "sr", "Completion"},
                 {"help", "--help", Normal, E::Done, "", "Usage: zx316b-cli [global options] COMMAND [options]"},
                 {"help of a command", "log,get,--help", Normal, E::Done, "", "--png FILE.png"},
                 {"version", "--version", Normal, E::Done, "", "zx316b-cli 1."}})
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
        if (scenario == Deleted)
            m_sim->setDeviceType(0xFF);
        m_sim->setMisbehaviour(scenario == LineLost ? Misbehaviour {.onlyFor = {"br"}, .hangUpAfter = 500}
                                                    : Misbehaviour {.silent = scenario == Silent});
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
        QVERIFY(exit != 0 || !sent.isEmpty() || r.err.isEmpty()); // help and version on standard output alone
    }

    // The files are the window's: read -o and log get -o write what File > Save writes
    // for the same settings and the same log.
    void filesAsTheWindowSavesThem()
    {
        QCOMPARE(cli({"read", "-o", "cli.set"}).exit, 0);
        QCOMPARE(cli({"log", "get", "-o", "cli.csv"}).exit, 0);
        m_sim->stop();
        OperationsWorld w(5);
        w.click(0); // Setting Data Read
        w.dialogs.paths = {m_dir.filePath("window.set")};
        w.files->mnuSave_Click();
        w.click(3); // Data Get
        w.dialogs.paths = {m_dir.filePath("window.csv")};
        w.files->mnuSaveLog_Click();
        QCOMPARE(fileBytes(m_dir.filePath("cli.set")), fileBytes(m_dir.filePath("window.set")));
        QCOMPARE(fileBytes(m_dir.filePath("cli.csv")), fileBytes(m_dir.filePath("window.csv")));
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
        QCOMPARE(picture.pixelColor(400, 2), QColor(0xE0, 0xE0, 0xE0)); // the graph's background
        QSet<QRgb> colours; // both traces are drawn: the voltage in blue, the current in purple
        for (int x = 0; x < picture.width(); ++x)
            for (int y = 0; y < picture.height(); ++y)
                colours.insert(picture.pixel(x, y));
        QVERIFY(colours.contains(qRgb(0, 0, 0xFF)) && colours.contains(qRgb(0xC0, 0, 0xC0)));
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
        QCOMPARE(
            list[1].toObject(),
            QJsonObject({{"com", 4}, {"path", "/nonexistent/ttyUSB9"}, {"description", ""}, {"status", "missing"}}));
        QVERIFY(m_sim->received().isEmpty());
    }
};

QTEST_MAIN(TestCliE2e)
#include "tst_cli_e2e.moc"
