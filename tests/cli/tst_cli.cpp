// zx316b-cli: its own logic, then the program as a process against the simulated controller on a
// pseudo-terminal, with no display: one path through each command, and the same files as the window's.
#include "cli/arguments.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/progress_bar.h"
#include "cli/settings_state.h"
#include "sim/settings_block.h"
#include "tests/link/operations_world.h"
#include "tests/settings/worked_block.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using cli::Command;
using cli::Exit;

namespace {

struct Run {
    int exit = -1;
    QString out;
    QString err;
};

enum Scenario { Normal, Silent, Deleted, LineLost };

// `args` split at commas; `error` a part of the error (empty: accepted); when accepted, `summary` is
// port|ini|file|output|png|sets|flags as 0/1 (json, quiet, dry run, yes).
struct Arguments {
    const char *name, *args;
    Command command;
    const char *error, *summary;
};
// A run of the program: `args` and `sent` (the commands the controller got) split at commas; `said` is a
// part of standard error or output; `file` is put where the last argument names ("-": none).
struct Case {
    const char *name, *args;
    Exit exit;
    const char *sent, *said;
    QByteArray file = "-";
    Scenario scenario = Normal;
};

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
Q_DECLARE_METATYPE(Arguments)
Q_DECLARE_METATYPE(Case)

class TestCli : public QObject {
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
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
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
    void arguments_data()
    {
        QTest::addColumn<Arguments>("a");
        using C = Command;
        for (const Arguments &a : std::initializer_list<Arguments> {
                 {"globals before", "--port,3,--ini=a.ini,--json,-q,read", C::Read, "", "3|a.ini|||||1100"},
                 {"globals after", "read,-o,x.set,--port=/dev/ttyUSB0", C::Read, "", "/dev/ttyUSB0|||x.set|||0000"},
                 {"write file sets", "write,a.set,--set,Dead Band=5,--set=x=1,--dry-run", C::Write, "",
                  "||a.set|||Dead Band=5;x=1|0010"},
                 {"show", "show,--,-odd.set", C::Show, "", "||-odd.set||||0000"},
                 {"no command", "", C::None, "no command", ""},
                 {"unknown option", "read,--frob", C::Read, "unknown option --frob", ""},
                 {"unknown command", "erase", C::None, "unknown command erase", ""},
                 {"log alone", "log", C::None, "log needs get or clear", ""},
                 {"option of another", "read,--yes", C::Read, "read does not take --yes", ""},
                 {"png for read", "read,--png,a.png", C::Read, "does not take --png", ""},
                 {"missing value", "read,-o", C::Read, "-o needs a value", ""},
                 {"value not taken", "--json=1,read", C::None, "takes no value", ""},
                 {"extra word", "read,a.set", C::Read, "read does not take a.set", ""},
                 {"show without file", "show", C::Show, "show needs a file", ""}})
            QTest::newRow(a.name) << a;
    }
    void arguments()
    {
        QFETCH(Arguments, a);
        const cli::Parsed p = cli::parseArguments(QString(a.args).split(',', Qt::SkipEmptyParts));
        if (*a.error) {
            QVERIFY2(p.error.contains(a.error), qPrintable(p.error));
            return;
        }
        QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
        const cli::Invocation &i = p.invocation;
        QCOMPARE(i.command, a.command);
        QString flags; // json, quiet, dry run, yes
        for (bool on : {i.json, i.quiet, i.dryRun, i.yes})
            flags += on ? u'1' : u'0';
        QCOMPARE(QStringList({i.port, i.ini, i.file, i.output, i.png, i.sets.join(';'), flags}).join('|'), a.summary);
    }

    // What --set does: a value ends as the editor leaves a typed one (the editor's tests pin down each
    // rule); the limiter switched off is built as FF, reported
    // off it is blank and switched on it comes back at 300. A refused decoding leaves nothing shown; a value
    // or a hidden field the editor would mark red stops the block from being built.
    void settingsState()
    {
        SettingsState s;
        QString why;
        QCOMPARE(s.show(worked::Block), SettingsState::Decode::Accepted);
        QVERIFY(s.set(7, "off", &why));
        QCOMPARE(s.build(worked::Block, &why)->mid(38, 2), QStringLiteral("FF"));
        QVERIFY(!s.set(5, "5x", &why));
        QVERIFY2(why.contains("\"5x\" is not a number"), qPrintable(why));

        QCOMPARE(s.show(worked::with(39, "FF")), SettingsState::Decode::Accepted);
        QVERIFY(s.curLimOff() && s.text(7).isEmpty());
        QVERIFY(s.set(7, "ON", &why));
        QCOMPARE(s.text(7), QStringLiteral("300"));
        QVERIFY(s.set(7, "155", &why));
        QCOMPARE(s.build(worked::Block, &why)->mid(38, 2), QStringLiteral("55"));

        QCOMPARE(s.show(worked::withPlainValue(2, 1000)), SettingsState::Decode::Accepted);
        QVERIFY(!s.build(worked::withPlainValue(2, 1000), &why));
        QVERIFY2(why.contains("Neutral is 1000"), qPrintable(why));
        SettingsState other;
        QCOMPARE(SettingsState::refusalText(other.show(worked::with(59, "01"))), "ZX type is different.");
        QVERIFY(other.isEmpty());
    }

    void exitForRedLines()
    {
        for (const auto &[line, exit] : {std::pair {"Verify was NG.", Exit::VerifyNg},
                                         {"The setting data received from the ZX could not be read.", Exit::Refused},
                                         {"Nothing was written to the ZX.", Exit::Refused}})
            QCOMPARE(ConsoleMessageLine::exitFor(line), exit);
    }

    // A question is Yes only with --yes or a y typed at a terminal; otherwise nothing is done and the run
    // ends as a usage error (without a terminal: "defaults without --yes" below).
    void questions()
    {
        using Row = std::tuple<bool, bool, const char *, bool>;
        for (const auto &[yes, terminal, typed, answeredYes] :
             {Row {true, false, "", true}, Row {false, true, "y", true}, Row {false, true, " Yes", true},
              Row {false, true, "n", false}}) {
            QString err;
            Console console([](const QString &) {}, [&err](const QString &t) { err += t; },
                            [t = typed] { return QString(t); }, terminal, terminal);
            cli::Outcome outcome;
            ConsoleMessageBoxes boxes(console, outcome, yes);
            const auto answer = boxes.show("Erase?", MessageBoxes::Icon::None, MessageBoxes::Buttons::YesNoDefaultNo);
            QCOMPARE(answer == MessageBoxes::Answer::Yes, answeredYes);
            QCOMPARE(outcome.exit(), answeredYes ? Exit::Done : Exit::Usage);
            QCOMPARE(err.contains("Erase?"), !yes);
            QCOMPARE(err.endsWith("Nothing was sent.\n"), !answeredYes);
        }
    }

    // A box and the red line after it with the same words reach the user once, also when the box has more
    // lines (the single-line case: "read silent" below). Quiet leaves out all but failures.
    void messagesOnce()
    {
        QString err;
        Console console([](const QString &) {}, [&err](const QString &t) { err += t; }, {}, false, false);
        cli::Outcome outcome;
        ConsoleMessageBoxes boxes(console, outcome, false);
        ConsoleMessageLine line(console, outcome);
        boxes.show("First.\r\nSecond.", MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
        line.ShowMessage("First.", MessageLine::Red);
        console.setQuiet(true);
        line.ShowMessage("Completion", MessageLine::Black);
        QCOMPARE(err, QStringLiteral("First.\nSecond.\n"));
        QCOMPARE(outcome.exit(), Exit::Failed);
    }

    void progressBar()
    {
        QCOMPARE(ProgressBar::text(0, 2051, 10), QStringLiteral("[          ]    0/2051 characters"));
        QCOMPARE(ProgressBar::text(1026, 2051, 10), QStringLiteral("[#####     ] 1026/2051 characters"));
        QCOMPARE(ProgressBar::text(3000, 2051, 10), QStringLiteral("[##########] 2051/2051 characters"));
    }

    void init()
    {
        m_sim = std::make_unique<ControllerSimulator>();
        QVERIFY2(m_sim->start(), qPrintable(m_sim->errorString()));
        m_sim->setRomVersion(5);
        useIni();
    }
    void cleanup() { m_sim.reset(); }

    // One path through each command and each way a run ends: exit status, what reached the
    // controller, and what the user was told. Files are shown without a controller, and values
    // are refused before anything is sent.
    void commands_data()
    {
        QTest::addColumn<Case>("c");
        const QByteArray block = worked::Block.toLatin1();
        QByteArray log = "Time(s),Voltage(V),Current(A)\r\n";
        for (int i = 0; i < 512; ++i)
            log += QByteArray::number(i) + (i < 10 ? ",7.5,100\r\n" : ",,\r\n");
        for (const Case &c : std::initializer_list<Case> {
                 {"read", "read", Exit::Done, "sr", "PWM frequency(at Min. load)    2000 Hz"},
                 {"read silent", "-q,read", Exit::Failed, "sr", "RS232 communication fault.", "-", Silent},
                 {"read deleted", "read", Exit::Refused, "sr", "Setting Data is deleted.", "-", Deleted},
                 {"write", "write,--set, dead band =7", Exit::Done, "sr,sw,<block>,sr",
                  "Dead Band                      6 -> 7"},
                 {"write dry run", "write,--dry-run,--set,Current Limiter=off", Exit::Done, "sr",
                  "Current Limiter Off            no -> yes"},
                 {"defaults without --yes", "defaults", Exit::Usage, "", "give --yes"},
                 {"defaults", "defaults,--yes", Exit::Done, "sr,ae,rt,sr", "ROM Version                    5"},
                 {"log clear", "log,clear,--yes", Exit::Done, "sr,be", "Completion"},
                 {"log get", "log,get", Exit::Done, "br", "Seconds with data: 300"},
                 {"log get line lost", "log,get", Exit::Failed, "br", "The connection to the controller was lost", "-",
                  LineLost},
                 {"port missing", "--port,/nonexistent/tty,read", Exit::Failed, "", "does not exist"},
                 {"port not mapped", "--port,2,read", Exit::Failed, "", "Com2 is not connected"},
                 {"port by path", "--port,<sim>,read", Exit::Done, "sr", "Completion"},
                 {"help", "--help", Exit::Done, "", "Usage: zx316b-cli [global options] COMMAND [options]"},
                 {"help of a command", "log,get,--help", Exit::Done, "", "--png FILE.png"},
                 {"version", "--version", Exit::Done, "", "zx316b-cli 1."},
                 {"show settings, no extension", "show,a", Exit::Done, "", "Dead Band                      6 uS",
                  block},
                 {"show: line end added", "show,a.set", Exit::Refused, "", "exactly 64 characters", block + "\r\n"},
                 {"show: not hex", "show,b", Exit::Refused, "", "Trouble is found in data.",
                  QByteArray(block).replace(5, 1, "x")},
                 {"show log", "show,a.csv", Exit::Done, "", "Seconds with data: 10", log},
                 {"show: log gap", "show,b.csv", Exit::Refused, "", "Trouble is found in data.",
                  QByteArray(log).replace("\r\n4,", "\r\n5,")},
                 {"show: empty log", "show,c.csv", Exit::Refused, "", "is empty", ""},
                 {"show: missing", "show,none", Exit::Refused, "", "Trouble is found in data."},
                 {"write a deleted controller's file", "write,deleted.set", Exit::Refused, "",
                  "Setting Data is deleted.", zxsim::withByte(zxsim::defaultSettingsBlock(5), 29, 0xFF).toLatin1()},
                 {"refused value", "write,--set,Current Limiter=305", Exit::Refused, "",
                  "Current Limiter: 305 (310) is out of range (50～300 A).\nNothing was sent."},
                 {"hidden caption", "write,--set,Neutral=1500", Exit::Usage, "",
                  "--set takes \"CAPTION=VALUE\" with one of these captions: "},
                 {"port out of range", "--port,17,read", Exit::Usage, "", "from 1 to 16"}})
            QTest::newRow(c.name) << c;
    }
    void commands()
    {
        QFETCH(Case, c);
        QStringList args = QString(c.args).split(',');
        const QStringList sent = QString(c.sent).split(',', Qt::SkipEmptyParts);
        const QString said = c.said;
        if (c.file != "-")
            writeFile(m_dir.filePath(args.last()), c.file);
        if (c.scenario == Deleted)
            m_sim->setDeviceType(0xFF);
        m_sim->setMisbehaviour(c.scenario == LineLost ? Misbehaviour {.onlyFor = {"br"}, .hangUpAfter = 500}
                                                      : Misbehaviour {.silent = c.scenario == Silent});
        args.replaceInStrings("<sim>", m_sim->portPath());
        QElapsedTimer clock;
        clock.start();
        const Run r = cli(args);
        // A silent controller is given the window's 3 seconds; with -q the fault is all that is printed, once.
        QVERIFY(c.scenario != Silent || clock.elapsed() >= 3000);
        QVERIFY(!args.contains("-q") || (r.out.isEmpty() && r.err == said + '\n'));
        QVERIFY2(r.exit == int(c.exit), qPrintable(QStringLiteral("exit %1\n%2%3").arg(r.exit).arg(r.out, r.err)));
        QTest::qWait(50); // the last echo may still be on its way into the simulator
        QStringList got;
        for (const ReceivedCommand &c : m_sim->received())
            got << OperationsWorld::textOf(c);
        QCOMPARE(got, sent);
        QVERIFY2((r.err + r.out).contains(said), qPrintable(r.err + r.out));
        QVERIFY(c.exit != Exit::Done || !sent.isEmpty()
                || r.err.isEmpty()); // help and version on standard output alone
    }

    // The files are the window's: read -o writes the block as the controller sent it (as File > Save
    // does), log get -o what File > Save writes for the same log; the log's picture needs no display.
    void filesAsTheWindowSavesThem()
    {
        QCOMPARE(cli({"read", "-o", "cli.set"}).exit, 0);
        QCOMPARE(fileBytes(m_dir.filePath("cli.set")), m_sim->settingsBlock().toLatin1());
        const Run r = cli({"-q", "log", "get", "-o", "cli.csv", "--png", "log.png"});
        QVERIFY2(r.exit == 0, qPrintable(r.err));
        const QImage picture(m_dir.filePath("log.png"));
        QCOMPARE(picture.pixelColor(400, 2), QColor(0xE0, 0xE0, 0xE0)); // the graph's background
        QSet<QRgb> colours; // both traces are drawn: the voltage in blue, the current in purple
        for (int x = 0; x < picture.width(); ++x)
            for (int y = 0; y < picture.height(); ++y)
                colours.insert(picture.pixel(x, y));
        QVERIFY(colours.contains(qRgb(0, 0, 0xFF)) && colours.contains(qRgb(0xC0, 0, 0xC0)));
        m_sim->stop();
        OperationsWorld w(5);
        w.click(3); // Data Get
        w.dialogs.paths = {m_dir.filePath("window.csv")};
        w.files->mnuSaveLog_Click();
        QCOMPARE(fileBytes(m_dir.filePath("cli.csv")), fileBytes(m_dir.filePath("window.csv")));
    }

    // A settings file goes to the controller as it is, with --set on top.
    void writeSettingsFile()
    {
        const QString block = zxsim::withByte(zxsim::defaultSettingsBlock(5), 16, 9);
        writeFile(m_dir.filePath("mine.set"), block.toLatin1());
        const Run r = cli({"write", "mine.set", "--set", "Brake Max. Duty=50"});
        QVERIFY2(r.exit == 0, qPrintable(r.err));
        QCOMPARE(m_sim->settingsBlock(), zxsim::withByte(block, 20, 50));
    }

    // --json read: the block, the ROM version and the visible fields by caption; a limiter reported off is null.
    void jsonRead()
    {
        m_sim->setSettingsBlock(zxsim::withByte(m_sim->settingsBlock(), 19, 0xFF));
        const Run r = cli({"--json", "read"});
        QCOMPARE(r.exit, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object(), fields = o["fields"].toObject();
        QCOMPARE(o["block"].toString(), m_sim->settingsBlock());
        QCOMPARE(o["rom_version"].toInt(), 5);
        QVERIFY(o["current_limiter_off"].toBool() && fields["Current Limiter"].isNull());
        QCOMPARE(fields.size(), 9);
        QCOMPARE(fields["PWM frequency(at Min. load)"].toDouble(), 2000.0);
        QCOMPARE(fields["Low Batt. Protection"].toDouble(), 5.0);
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

    // The manual page carries the help's own words: what --help prints is what man shows.
    void manPageFromHelp()
    {
        QFile page(ZX_CLI_MANPAGE);
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        const QString sections = clihelp::manSections();
        if (!text.contains(sections)) {
            QFile expected(qEnvironmentVariable("ZX_TEST_OUTPUT", QDir::currentPath()) + "/zx316b-cli.man-sections");
            QVERIFY(expected.open(QIODevice::WriteOnly) && expected.write(sections.toUtf8()) > 0);
            QFAIL(qPrintable("packaging/man/zx316b-cli.1.in lacks the help's sections; they are in "
                             + expected.fileName()));
        }
        for (Command c : {Command::Ports, Command::Read, Command::Write, Command::Defaults, Command::LogGet,
                          Command::LogClear, Command::Show})
            QVERIFY(clihelp::overview().contains(clihelp::forCommand(c).section('\n', 0, 0).section(" options] ", 1)));
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
