// The command line's own logic: its arguments, the editor's rules as it applies them to
// --set, the settings it decodes and builds, its exit status and its help.
#include "cli/arguments.h"
#include "cli/console.h"
#include "cli/help_text.h"
#include "cli/progress_bar.h"
#include "cli/settings_state.h"
#include "settings/field_rules.h"
#include "tests/settings/worked_block.h"

#include <QDir>
#include <QFile>
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
                 {"read", "read", C::Read, "", "||||||"},
                 {"globals before", "--port,3,--ini=a.ini,--json,-q,read", C::Read, "", "3|a.ini|||||json quiet"},
                 {"globals after", "read,-o,x.set,--port=/dev/ttyUSB0", C::Read, "", "/dev/ttyUSB0|||x.set|||"},
                 {"write file sets", "write,a.set,--set,Dead Band=5,--set=x=1,--dry-run", C::Write, "",
                  "||a.set|||Dead Band=5;x=1|dry"},
                 {"log get", "log,get,-o,l.csv,--png,l.png", C::LogGet, "", "|||l.csv|l.png||"},
                 {"log clear yes", "log,clear,--yes", C::LogClear, "", "||||||yes"},
                 {"show", "show,--,-odd.set", C::Show, "", "||-odd.set||||"},
                 {"help anywhere", "log,get,--help", C::LogGet, "", "||||||"},
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

    // A value put into a field ends as the editor leaves a typed one.
    void typedValues_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        struct Row {
            const char *name;
            int field;
            const char *typed, *text;
            bool valid;
        };
        for (const Row &r : std::initializer_list<Row> {{"limiter 57 snaps", 7, "57", "60", true},
                                                        {"limiter 45 stays", 7, "45", "45", false},
                                                        {"limiter 155 snaps", 7, "155", "160", true},
                                                        {"limiter 305 snaps out", 7, "305", "310", false},
                                                        {"limiter 480", 7, "480", "480", false},
                                                        {"time limit 57", 12, "57", "60", true},
                                                        {"volts to tenths", 6, "3.57", "3.6", true},
                                                        {"volts single", 6, "3.55", "3.5", true},
                                                        {"volts high", 6, "6.1", "6.1", false},
                                                        {"volts low", 6, "2.4", "2.4", false},
                                                        {"fraction to spin", 0, "150.7", "151", true},
                                                        {"half to even", 5, "5.5", "6", true},
                                                        {"pwm low", 0, "99", "99", false},
                                                        {"duty zero", 8, "0", "0", true},
                                                        {"duty high", 8, "101", "101", false},
                                                        {"being typed", 8, "3.", "3.", true}})
            QTest::newRow(r.name) << r.field << QString(r.typed) << QString(r.text) << r.valid;
    }
    void typedValues()
    {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const fieldrules::Entry e = fieldrules::typed(field, typed);
        QCOMPARE(e.text, text);
        QCOMPARE(e.valid, valid);
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

    void refusals_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("set"); // field=value applied after the block; empty: none
        QTest::addColumn<QString>("message"); // a part of what the user is told
        for (const auto &[name, block, set, message] :
             std::initializer_list<std::tuple<const char *, QString, const char *, const char *>> {
                 {"deleted", worked::with(59, "FF"), "", "Setting Data is deleted."},
                 {"other type", worked::with(59, "01"), "", "ZX type is different."},
                 {"not hex", worked::with(10, "G"), "", "unreadable"},
                 {"out of range", worked::Block, "7=305", "Current Limiter: 305 (310) is out of range"},
                 {"not a number", worked::Block, "5=5x", "\"5x\" is not a number"},
                 {"hidden red", worked::withPlainValue(2, 1000), "", "Neutral is 1000"}})
            QTest::newRow(name) << block << QString(set) << QString(message);
    }
    void refusals()
    {
        QFETCH(QString, block);
        QFETCH(QString, set);
        QFETCH(QString, message);
        SettingsState s;
        const SettingsState::Decode d = s.show(block);
        QString why =
            d == SettingsState::Decode::Unreadable ? QStringLiteral("unreadable") : SettingsState::refusalText(d);
        if (d == SettingsState::Decode::Accepted) {
            if (!set.isEmpty())
                QVERIFY(!s.set(set.section('=', 0, 0).toInt(), set.section('=', 1), &why));
            else
                QVERIFY(!s.build(block, &why));
        } else {
            QVERIFY(s.isEmpty());
        }
        QVERIFY2(why.contains(message), qPrintable(why));
    }

    void visibleCaptions()
    {
        QCOMPARE(SettingsState::visibleField("current limiter"), 7);
        QCOMPARE(SettingsState::visibleField(" Low Batt. Protection "), 6);
        QCOMPARE(SettingsState::visibleField("Neutral"), -1); // hidden: written back as read
        QCOMPARE(SettingsState::visibleField("Limiter"), -1);
    }

    void exitForRedLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("exit");
        QTest::newRow("fault") << "RS232 communication fault." << int(Exit::Failed);
        QTest::newRow("partial") << "ZX cannot be set." << int(Exit::Failed);
        QTest::newRow("port") << "ComPort cannot be opened." << int(Exit::Failed);
        QTest::newRow("verify") << "Verify was NG." << int(Exit::VerifyNg);
        QTest::newRow("unreadable") << "The setting data received from the ZX could not be read." << int(Exit::Refused);
        QTest::newRow("not written") << "Nothing was written to the ZX." << int(Exit::Refused);
    }
    void exitForRedLines()
    {
        QFETCH(QString, line);
        QFETCH(int, exit);
        QCOMPARE(int(ConsoleMessageLine::exitFor(line)), exit);
    }

    // A question is Yes only with --yes or a y typed at a terminal; otherwise nothing is
    // done and the run ends as a usage error.
    void questions_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("answeredYes");
        QTest::newRow("--yes") << true << false << "" << true;
        QTest::newRow("terminal y") << false << true << "y" << true;
        QTest::newRow("terminal Yes") << false << true << " Yes" << true;
        QTest::newRow("terminal n") << false << true << "n" << false;
        QTest::newRow("terminal enter") << false << true << "" << false;
        QTest::newRow("no terminal") << false << false << "y" << false;
    }
    void questions()
    {
        QFETCH(bool, yes);
        QFETCH(bool, terminal);
        QFETCH(QString, typed);
        QFETCH(bool, answeredYes);
        QString err;
        Console console([](const QString &) {}, [&err](const QString &t) { err += t; }, [typed] { return typed; },
                        terminal, terminal);
        cli::Outcome outcome;
        ConsoleMessageBoxes boxes(console, outcome, yes);
        const auto answer = boxes.show("Erase?", MessageBoxes::Icon::None, MessageBoxes::Buttons::YesNoDefaultNo);
        QCOMPARE(answer == MessageBoxes::Answer::Yes, answeredYes);
        QCOMPARE(outcome.exit(), answeredYes ? Exit::Done : Exit::Usage);
        QCOMPARE(err.contains("Erase?"), !yes);
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
