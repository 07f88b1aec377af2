// The command line's own logic: its arguments, the editor's rules as it applies them to
// --set, the settings it decodes and builds, its exit status and its help.
#include "cli/arguments.h"
#include "cli/cli_program.h"
#include "cli/console.h"
#include "cli/help_text.h"
#include "cli/progress_bar.h"
#include "cli/settings_state.h"
#include "settings/field_rules.h"
#include "tests/settings/worked_block.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using cli::Command;
using cli::Exit;

class TestCliRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void arguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("error"); // a part of the error; empty: accepted
        QTest::addColumn<QString>("summary"); // port|ini|file|output|png|sets|flags
        using C = Command;
        struct Row {
            const char *name;
            const char *args; // split at commas
            C command;
            const char *error, *summary;
        };
        for (const Row &r : std::initializer_list<Row> {
                 {"globals before", "--port,3,--ini=a.ini,--json,-q,read", C::Read, "", "3|a.ini|||||json quiet"},
                 {"globals after", "read,-o,x.set,--port=/dev/ttyUSB0", C::Read, "", "/dev/ttyUSB0|||x.set|||"},
                 {"write file sets", "write,a.set,--set,Dead Band=5,--set=x=1,--dry-run", C::Write, "",
                  "||a.set|||Dead Band=5;x=1|dry"},
                 {"show", "show,--,-odd.set", C::Show, "", "||-odd.set||||"},
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
            QTest::newRow(r.name) << QString(r.args).split(',', Qt::SkipEmptyParts) << int(r.command)
                                  << QString(r.error) << QString(r.summary);
    }
    void arguments()
    {
        QFETCH(QStringList, args);
        QFETCH(int, command);
        QFETCH(QString, error);
        QFETCH(QString, summary);
        const cli::Parsed p = cli::parseArguments(args);
        if (!error.isEmpty()) {
            QVERIFY2(p.error.contains(error), qPrintable(p.error));
            return;
        }
        QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
        const cli::Invocation &i = p.invocation;
        QCOMPARE(int(i.command), command);
        QStringList flags;
        for (const auto &[on, name] :
             {std::pair {i.json, "json"}, {i.quiet, "quiet"}, {i.dryRun, "dry"}, {i.yes, "yes"}})
            if (on)
                flags << name;
        QCOMPARE(QStringList({i.port, i.ini, i.file, i.output, i.png, i.sets.join(';'), flags.join(' ')}).join('|'),
                 summary);
    }

    // A value put into a field ends as the editor leaves a typed one (the editor's own table
    // pins down each rule; these are the ways they combine).
    void typedValues()
    {
        for (const auto &[field, typed, text, valid] :
             std::initializer_list<std::tuple<int, const char *, const char *, bool>> {
                 {7, "57", "60", true}, // snapped to tens
                 {7, "305", "310", false}, // snapped out of range
                 {6, "3.57", "3.6", true}, // volts to tenths
                 {0, "150.7", "151", true}, // a fraction to what the spin box holds
                 {8, "101", "101", false},
                 {8, "3.", "3.", true}, // being typed
                 {8, "101.", "101.", false}}) {
            const fieldrules::Entry e = fieldrules::typed(field, typed);
            QCOMPARE(e.text, QString(text));
            QCOMPARE(e.valid, valid);
        }
    }

    void decodeAndRebuild()
    {
        SettingsState s;
        QCOMPARE(s.show(worked::Block), SettingsState::Decode::Accepted);
        const auto texts = worked::fieldTexts();
        for (int i = 0; i < fields::Count; ++i)
            QCOMPARE(s.text(i), texts[size_t(i)]);
        QVERIFY(!s.curLimOff() && s.modeFlag(1) && s.modeFlag(3) && !s.modeFlag(0));
        QCOMPARE(s.version(), QStringLiteral("3"));
        QString why;
        QCOMPARE(s.build(QString(), &why).value_or(QString()), worked::Block);

        // The limiter reported off is blank and ticked; switched on it comes back at 300.
        QVERIFY(s.set(7, "off", &why));
        QCOMPARE(s.build(worked::Block, &why)->mid(38, 2), QStringLiteral("FF"));
        SettingsState off;
        QCOMPARE(off.show(worked::with(39, "FF")), SettingsState::Decode::Accepted);
        QVERIFY(off.curLimOff() && off.text(7).isEmpty());
        QVERIFY(off.set(7, "ON", &why));
        QCOMPARE(off.text(7), QStringLiteral("300"));
        QVERIFY(off.set(7, "155", &why));
        QCOMPARE(off.build(worked::Block, &why)->mid(38, 2), QStringLiteral("55"));
    }

    // Refused decoding leaves nothing shown; a value or a hidden field the editor would mark
    // red stops the block from being built.
    void refusals()
    {
        SettingsState other;
        QCOMPARE(SettingsState::refusalText(other.show(worked::with(59, "01"))), "ZX type is different.");
        QVERIFY(other.isEmpty());
        SettingsState s;
        QString why;
        QCOMPARE(s.show(worked::Block), SettingsState::Decode::Accepted);
        QVERIFY(!s.set(5, "5x", &why));
        QVERIFY2(why.contains("\"5x\" is not a number"), qPrintable(why));
        QCOMPARE(s.show(worked::withPlainValue(2, 1000)), SettingsState::Decode::Accepted);
        QVERIFY(!s.build(worked::withPlainValue(2, 1000), &why));
        QVERIFY2(why.contains("Neutral is 1000"), qPrintable(why));
    }

    void visibleCaptions()
    {
        QCOMPARE(SettingsState::visibleField(" Low Batt. Protection "), 6);
        QCOMPARE(SettingsState::visibleField("Limiter"), -1);
    }

    void exitForRedLines()
    {
        for (const auto &[line, exit] : {std::pair {"RS232 communication fault.", Exit::Failed},
                                         {"Verify was NG.", Exit::VerifyNg},
                                         {"The setting data received from the ZX could not be read.", Exit::Refused},
                                         {"Nothing was written to the ZX.", Exit::Refused}})
            QCOMPARE(ConsoleMessageLine::exitFor(line), exit);
    }

    // A question is Yes only with --yes or a y typed at a terminal; otherwise nothing is
    // done and the run ends as a usage error.
    void questions()
    {
        for (const auto &[yes, terminal, typed, answeredYes] :
             std::initializer_list<std::tuple<bool, bool, const char *, bool>> {{true, false, "", true},
                                                                                {false, true, "y", true},
                                                                                {false, true, " Yes", true},
                                                                                {false, true, "n", false},
                                                                                {false, true, "", false},
                                                                                {false, false, "y", false}}) {
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

    // A box and the red line after it with the same words reach the user once.
    void messagesOnce()
    {
        QString err;
        Console console([](const QString &) {}, [&err](const QString &t) { err += t; }, {}, false, false);
        cli::Outcome outcome;
        ConsoleMessageBoxes boxes(console, outcome, false);
        ConsoleMessageLine line(console, outcome);
        boxes.show("RS232 communication fault.", MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
        line.ShowMessage("RS232 communication fault.", MessageLine::Red);
        boxes.show("First.\r\nSecond.", MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
        line.ShowMessage("First.", MessageLine::Red);
        console.setQuiet(true);
        line.ShowMessage("Completion", MessageLine::Black);
        QCOMPARE(err, QStringLiteral("RS232 communication fault.\nFirst.\nSecond.\n"));
        QCOMPARE(outcome.exit(), Exit::Failed);
    }

    void progressBar()
    {
        QCOMPARE(ProgressBar::text(0, 2051, 10), QStringLiteral("[          ]    0/2051 characters"));
        QCOMPARE(ProgressBar::text(1026, 2051, 10), QStringLiteral("[#####     ] 1026/2051 characters"));
        QCOMPARE(ProgressBar::text(3000, 2051, 10), QStringLiteral("[##########] 2051/2051 characters"));
    }

    // Runs that end before any port is opened: files shown without a controller, printed as
    // read and log get print them or refused, and values refused before anything is sent.
    void runs_data()
    {
        QTest::addColumn<QStringList>("args"); // @NAME: a file in a fresh folder
        QTest::addColumn<QByteArray>("content"); // of that file; "-": there is none
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("said"); // a part of what is printed
        const QByteArray block = worked::Block.toLatin1(), none = "-";
        QByteArray log = "Time(s),Voltage(V),Current(A)\r\n";
        for (int i = 0; i < 512; ++i)
            log += QByteArray::number(i) + (i < 10 ? ",7.5,100\r\n" : ",,\r\n");
        const QStringList settings {"show", "@a"}, csv {"show", "@a.csv"};
        const QStringList write {"--port", "/nonexistent/tty", "write", "--set"};
        const int refused = int(Exit::Refused);
        QTest::newRow("settings, no extension") << settings << block << 0 << "Dead Band                      6 uS";
        QTest::newRow("line end added") << QStringList {"show", "@a.set"} << block + "\r\n"
                                        << refused << "exactly 64 characters";
        QTest::newRow("not hex") << settings << QByteArray(block).replace(5, 1, "x") << refused
                                 << "Trouble is found in data.";
        QTest::newRow("log") << csv << log << 0 << "Seconds with data: 10";
        QTest::newRow("log gap") << csv << QByteArray(log).replace("\r\n4,", "\r\n5,") << refused
                                 << "Trouble is found in data.";
        QTest::newRow("empty log") << csv << QByteArray() << refused << "is empty";
        QTest::newRow("missing") << settings << none << refused << "Trouble is found in data.";
        QTest::newRow("refused value") << write + QStringList {"Current Limiter=305"} << none << refused
                                       << "Current Limiter: 305 (310) is out of range (50～300 A).\nNothing was sent.";
        QTest::newRow("hidden caption") << write + QStringList {"Neutral=1500"} << none << int(Exit::Usage)
                                        << "--set takes \"CAPTION=VALUE\" with one of these captions: ";
        QTest::newRow("port out of range")
            << QStringList {"--port", "17", "read"} << none << int(Exit::Usage) << "from 1 to 16";
    }
    void runs()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, content);
        QFETCH(int, exit);
        QFETCH(QString, said);
        QTemporaryDir dir;
        for (QString &a : args) {
            if (!a.startsWith('@'))
                continue;
            a = dir.filePath(a.mid(1));
            QFile f(a);
            QVERIFY(content == "-" || (f.open(QIODevice::WriteOnly) && f.write(content) == content.size()));
        }
        QString printed;
        const auto print = [&printed](const QString &t) { printed += t; };
        Console console(print, print, {}, false, false);
        QCOMPARE(int(CliProgram(console, {}).run(QStringList {"--ini", dir.filePath("none.ini")} + args)), exit);
        QVERIFY2(printed.contains(said), qPrintable(printed));
    }

    // The manual page carries the help's own words: what --help prints is what man shows.
    void manPageFromHelp()
    {
        QFile page(ZX_CLI_MANPAGE);
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        const QString sections = clihelp::manSections();
        if (!text.contains(sections)) {
            const QString dir = qEnvironmentVariable("ZX_TEST_OUTPUT", QDir::currentPath());
            QDir().mkpath(dir);
            QFile expected(dir + "/zx316b-cli.man-sections");
            QVERIFY(expected.open(QIODevice::WriteOnly));
            expected.write(sections.toUtf8());
            QFAIL(qPrintable("packaging/man/zx316b-cli.1.in lacks the help's sections; they are in "
                             + expected.fileName()));
        }
        for (Command c : {Command::Ports, Command::Read, Command::Write, Command::Defaults, Command::LogGet,
                          Command::LogClear, Command::Show})
            QVERIFY(clihelp::overview().contains(clihelp::forCommand(c).section('\n', 0, 0).section(" options] ", 1)));
    }
};

QTEST_GUILESS_MAIN(TestCliRules)
#include "tst_cli_rules.moc"
