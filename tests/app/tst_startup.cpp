#include "platform/app_identity.h"
#include "app/application.h"
#include "app/config.h"
#include "platform/ini_location.h"
#include "app/single_instance.h"
#include "link/serial_link.h"
#include "logview/frm_log.h"
#include "logview/log_viewer.h"
#include "platform/ini_file.h"
#include "editor/settings_editor.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/scripted_file_dialogs.h"
#include "ui/busy_indicator.h"
#include "ui/frm_config.h"
#include "ui/frm_main.h"
#include "ui/message_line_edit.h"
#include "ui/shape_led.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using PortSet = QSet<int>;
// `ini` follows "[RS232C]\n" (empty: no file); `answers`: one per showing of the port dialog, "menu": the ComPort menu.
struct Path {
    const char *name, *ini;
    PortSet openable;
    QStringList answers;
    const char *state;
};
Q_DECLARE_METATYPE(Path)

// One program's world: its folder with the INI content given (no file when empty), a fake port that opens the
// numbers in `openable`, recorded boxes, and the shell itself. `realQuit`: end the event loop as the program does.
struct World {
    QTemporaryDir appDir, userDir, lockDir;
    FakeSerialPort port;
    RecordingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    int quits = 0;
    std::unique_ptr<Application> app;
    // Each modal showing of the port dialog takes the next answer ("ok", "cancel", "ComN ok", "ComN cancel"; Cancel
    // when none is left). `seen` gets the reason each showing displayed, plus "+main" if the main window was up.
    QStringList answers, seen;
    QTimer poller;
    QPointer<frmConfig> lastDialog;

    World(const QByteArray &ini, PortSet openable, bool realQuit = false)
    {
        port.openable = std::move(openable);
        QFile f(appDir.filePath(QStringLiteral("ZX316B Link.ini")));
        QVERIFY(ini.isEmpty() || (f.open(QIODevice::WriteOnly) && f.write(ini) == ini.size()));
        const auto quit = realQuit ? std::function<void()>() : [this] { ++quits; };
        app = std::make_unique<Application>(
            place(), ShellSeams {&port, &boxes, &dialogs, [] { return QList<SystemPort>(); }, quit});
        QObject::connect(&poller, &QTimer::timeout, [this] { answerDialog(); });
        poller.start(5);
    }
    ShellPlace place() const { return {appDir.path(), appDir.filePath("zx316b-link"), userDir.path(), lockDir.path()}; }
    void answerDialog()
    {
        auto *dialog = qobject_cast<frmConfig *>(QApplication::activeModalWidget());
        if (!dialog || dialog == std::exchange(lastDialog, dialog))
            return;
        seen << (dialog->LblWhy ? dialog->LblWhy->text() : QString())
                + (app->hasMainWindow() && window().isVisible() ? "+main" : "");
        const QStringList words = (answers.isEmpty() ? QStringLiteral("cancel") : answers.takeFirst()).split(' ');
        if (words.size() == 2)
            dialog->Combo->setCurrentIndex(dialog->Combo->findText(words[0]));
        (words.last() == QLatin1String("ok") ? dialog->cmdOk : dialog->CmdCancel)->click();
    }
    FrmMain &window() { return app->frmMain(); }
    // "<message> <buttons> <open port> / <CommPort in the INI file> <scale lines>", e.g. "black 10111 3 / 3 0,0":
    // "black"/"red" name the two start-up messages in their colours, anything else is "other".
    QString state()
    {
        QString buttons;
        for (int i = 0; i < FrmMain::CommandCount; ++i)
            buttons += window().CmdZxCom(i)->isEnabled() ? '1' : '0';
        const MessageLineEdit *line = window().TxtMsg();
        const auto shows = [line](const char *text, int colour) {
            return line->text() == text && line->textColour() == colour;
        };
        const char *message = shows("CommPort was initialized.", 0) ? "black"
            : shows("ComPort cannot be opened.", 255)               ? "red"
                                                                    : "other";
        const QString stored = IniFile(appDir.filePath("ZX316B Link.ini")).ReadIni("RS232C", "CommPort");
        return QStringLiteral("%1 %2 %3 / %4 %5,%6")
            .arg(message, buttons)
            .arg(port.isOpen() ? port.openNumber : 0)
            .arg(stored)
            .arg(app->ScaleLine()[0])
            .arg(app->ScaleLine()[1]);
    }
};

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void iniNumberRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value"); // -99999: no value, as if the key were missing
        // Reading a number and rounding it are tst_settings_text's; here what the INI adds to them.
        for (auto [text, value] :
             std::initializer_list<std::pair<const char *, int>> {{"2.5", 2},
                                                                  {"7abc", 7},
                                                                  {"", 0},
                                                                  {"Error", -99999},
                                                                  {"error", 0},
                                                                  {"32767", 32767},
                                                                  {"-32768", -32768},
                                                                  {"32768", -99999},
                                                                  {"32767.5", -99999},
                                                                  {"-32769", -99999},
                                                                  {"99999999999999999999999999", -99999}})
            QTest::newRow(text) << QString(text) << value;
    }
    void iniNumberRules()
    {
        QFETCH(QString, text);
        const auto n = iniNumber(text);
        QTEST(n ? int(*n) : -99999, "value");
    }

    void startupPaths_data()
    {
        QTest::addColumn<Path>("p");
        for (const Path &p : std::initializer_list<Path> {
                 {"no file: dialog, OK with a port", "", {3}, {"Com3 ok"}, "black 10111 3 / 3 0,0"},
                 {"no file: dialog cancelled", "", {3}, {"cancel"}, "red 00000 0 / Error 0,0"},
                 {"no file: pick, then Cancel", "", {3}, {"Com3 cancel"}, "red 00000 0 / 3 0,0"},
                 {"no file, no ports: OK", "", {}, {"ok"}, "red 00000 0 / Error 0,0"},
                 {"INI names a port", "CommPort=2\n", {2}, {}, "black 10111 2 / 2 0,0"},
                 {"port 0: no dialog", "CommPort=0\n", {1}, {}, "red 00000 0 / 0 0,0"},
                 {"3.5 is port 4", "CommPort=3.5\n", {3, 4}, {}, "black 10111 4 / 3.5 0,0"},
                 {"beyond 16 bits is missing",
                  "CommPort=70000\n[Chart]\nScaleLine0=40000\nScaleLine1=1\n",
                  {1},
                  {"Com1 ok"},
                  "black 10111 1 / 1 0,1"},
                 {"scale lines unchecked, index last",
                  "CommPort=2\n[Chart]\nScaleLine0=7\n1ScaleLine=1\n",
                  {2},
                  {},
                  "black 10111 2 / 2 7,0"},
                 {"port fails: another chosen", "CommPort=5\n", {2}, {"Com2 ok"}, "black 10111 2 / 2 0,0"},
                 {"port fails: Cancel", "CommPort=5\n", {2}, {"cancel"}, "red 00000 0 / 5 0,0"},
                 {"port fails: OK alone asks again", "CommPort=5\n", {2}, {"ok", "cancel"}, "red 00000 0 / 5 0,0"},
                 {"menu: Cancel closes the port", "CommPort=1\n", {1, 2}, {"menu", "cancel"}, "red 00000 0 / 1 0,0"},
                 {"menu: OK reopens", "CommPort=1\n", {1, 2}, {"menu", "ok"}, "black 10111 1 / 1 0,0"},
                 {"menu: closed port, OK opens", "CommPort=0\n", {1, 2}, {"menu", "Com2 ok"}, "black 10111 2 / 2 0,0"}})
            QTest::newRow(p.name) << p;
    }
    void startupPaths()
    {
        QFETCH(Path, p);
        const QByteArray ini(p.ini);
        const QStringList &answers = p.answers;
        World w(ini.isEmpty() ? ini : "[RS232C]\n" + ini, p.openable);
        const qsizetype menu = answers.indexOf("menu");
        w.answers = answers.mid(0, menu);
        QVERIFY(w.app->Main());
        if (menu >= 0) {
            w.window().CmdZxCom(1)->setEnabled(true); // whatever was shown before does not survive
            w.answers = answers.mid(menu + 1);
            w.window().mnuCom()->trigger();
        }
        // At start-up the dialog comes before the main window; offered because the port failed, it says why.
        QStringList seen(menu >= 0 ? menu : answers.size(), ini.contains("=5") ? "No such serial port." : "");
        QCOMPARE(w.seen, seen + QStringList(answers.size() - seen.size() - (menu >= 0), "+main"));
        QCOMPARE(w.state() + (w.boxes.shown.isEmpty() ? "" : " +box"), p.state);
        // Whatever the path, the window comes up prepared, the indicator idle and following the link from then on.
        FrmMain &window = w.window();
        QVERIFY(window.isVisible() && !window.FraTmp()->isVisible());
        QCOMPARE(window.LblVersion()->text() + ' ' + window.LblProductName()->text() + ' '
                     + window.editor().TxtData(0)->toolTip(),
                 QStringLiteral("Version1.00 ZX316B Link 100～10000"));
        QCOMPARE(window.ShpLED()->fillColour(), BusyIndicator::LedIdle);
        w.app->link().endBusy();
        QCOMPARE(window.ShpLED()->fillColour(), BusyIndicator::LedDark);
    }

    // An INI path the program cannot use is named in one box at start and left as it is, whatever
    // the user chooses; the program runs on without it. Each kind of path: tst_ini_file.
    void unusableIniFileIsNamedAndKept_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("folder") << true;
        QTest::newRow("over 4 MB") << false;
    }
    void unusableIniFileIsNamedAndKept()
    {
        QFETCH(bool, folder);
        World w("", {1});
        const QString ini = w.appDir.filePath("ZX316B Link.ini");
        QFile big(ini);
        QVERIFY(folder
                    ? QDir().mkpath(ini)
                    : big.open(QIODevice::WriteOnly) && big.write("[RS232C]\nCommPort=1\n") > 0 && big.resize(5 << 20));
        big.close();
        w.answers = {"Com1 ok"}; // no port from the file: the dialog asks, the choice cannot be stored
        QVERIFY(w.app->Main());
        QCOMPARE(w.boxes.shown.size(), 1);
        QVERIFY2(w.boxes.shown[0].text.startsWith("The configuration file cannot be used")
                     && w.boxes.shown[0].text.contains(ini),
                 qPrintable(w.boxes.shown[0].text));
        QVERIFY(w.boxes.shown[0].icon == MessageBoxes::Icon::Exclamation
                && w.boxes.shown[0].buttons == MessageBoxes::Buttons::Ok);
        QCOMPARE(w.state(), QStringLiteral("black 10111 1 / Error 0,0"));
        QVERIFY(folder ? QFileInfo(ini).isDir() : QFileInfo(ini).size() == 5 << 20);
    }

    void unpluggedWhileIdleLocksTheButtonsUntilReopened()
    {
        World w("[RS232C]\nCommPort=1\n", {1});
        QVERIFY(w.app->Main());
        w.port.lose();
        QCOMPARE(w.state(), QStringLiteral("red 00000 0 / 1 0,0"));
        QVERIFY(w.boxes.shown.size() == 1 && w.boxes.shown[0].text.contains("lost"));
        w.answers = {"ok"};
        w.window().mnuCom()->trigger();
        QCOMPARE(w.state(), QStringLiteral("black 10111 1 / 1 0,0"));
    }

    void secondCopyShowsTheBoxAndNothingElse()
    {
        World first("[RS232C]\nCommPort=1\n", {1});
        QVERIFY(first.app->Main());
        FakeSerialPort port2; // the same executable started again
        RecordingMessageBoxes boxes2;
        Application second(first.place(), {&port2, &boxes2, &first.dialogs, {}, [] {}});
        QVERIFY(!second.Main());
        QCOMPARE(boxes2.texts(), QStringList {"This application is already opened!!"});
        QVERIFY(boxes2.shown[0].icon == MessageBoxes::Icon::None
                && boxes2.shown[0].buttons == MessageBoxes::Buttons::Ok);
        QVERIFY(!second.hasMainWindow() && first.seen.isEmpty() && port2.openAttempts == 0);
        QCOMPARE(first.state(), QStringLiteral("black 10111 1 / 1 0,0")); // the running copy is not touched
    }

    void closingDuringAWaitEndsCleanly_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"close pause", "exit pause", "close exchange", "close pause loop"})
            QTest::newRow(how) << how; // "loop": the pause begins from the program's own event loop
    }
    void closingDuringAWaitEndsCleanly()
    {
        QFETCH(QString, how);
        const bool realLoop = how.endsWith(QLatin1String("loop"));
        World w("[RS232C]\nCommPort=1\n", {1}, realLoop);
        QVERIFY(w.app->Main());
        w.app->logViewer().SetGraphFile();
        QPointer<FrmLog> log = w.app->logViewer().window();
        QVERIFY(log && log->isVisible());
        QTimer::singleShot(50, &w.window(),
                           [&] { how.startsWith("exit") ? w.window().mnuEnd()->trigger() : void(w.window().close()); });
        bool waitEnded = false;
        auto wait = [&] { // a command "sr" is never answered
            how.contains("pause") ? w.app->waiter().WaitSeconds(5.0) : void(w.app->link().SendCommand("sr", "\r"));
            waitEnded = true;
        };
        const QDeadlineTimer deadline(2500);
        if (realLoop) // as a button click starts an operation; the program's quit must end this loop
            QTimer::singleShot(0, &w.window(), wait), QCoreApplication::exec();
        else
            wait();
        QVERIFY2(waitEnded && !deadline.hasExpired(), "the wait did not end with the window");
        // Cancelled is what an operation checks before going on.
        QVERIFY(w.app->waiter().cancelled() && !w.port.isOpen() && (!log || !log->isVisible()));
        QVERIFY(w.boxes.shown.isEmpty() && w.quits == (realLoop ? 0 : 1)); // an ending program reports no time-out
        w.window().close();
        QCOMPARE(w.quits, realLoop ? 0 : 1); // once, however often the window is closed
    }

    // `layout`: the executable's folder and what stands around it; "desktop": an installation's desktop entry
    // beside bin/, "ini": an INI file beside the executable, "nouser": no user folder is known.
    void iniLocation_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("inUserFolder");
        for (const auto &[name, folder, layout, inUserFolder] :
             std::initializer_list<std::tuple<const char *, const char *, const char *, bool>> {
                 {"a build folder", "build/bin", "", false},
                 {"the demo folder with its INI", "build/demo", "ini", false},
                 {"installed, even where it could write", "usr/bin", "desktop", true},
                 {"installed, an INI beside is not used", "usr/bin", "desktop ini", true},
                 {"a desktop entry beside no bin/", "usr/demo", "desktop", false},
                 {"installed, no home folder known", "usr/bin", "desktop nouser", false}})
            QTest::newRow(name) << QString(folder) << QString(layout) << inUserFolder;
    }
    void iniLocation()
    {
        QFETCH(QString, folder);
        QFETCH(QString, layout);
        QTemporaryDir root;
        const QString appPath = root.filePath(folder), user = root.filePath("home/.config/zx316b-link");
        const QString entry = QFileInfo(appPath).path() + "/share/applications/zx316b-link.desktop";
        QVERIFY(QDir().mkpath(appPath) && QDir().mkpath(QFileInfo(entry).path()));
        QVERIFY(!layout.contains("desktop") || QFile(entry).open(QIODevice::WriteOnly));
        QVERIFY(!layout.contains("ini") || QFile(appPath + "/ZX316B Link.ini").open(QIODevice::WriteOnly));
        const QString chosen = chooseIniPath(appPath, "ZX316B Link", layout.contains("nouser") ? QString() : user);
        QTEST(chosen == user + "/ZX316B Link.ini", "inUserFolder");
        if (chosen != user + "/ZX316B Link.ini")
            QCOMPARE(chosen, appPath + "/ZX316B Link.ini");
    }

    // The installed program's first start: the port dialog first, the port kept in the user's folder.
    void installedCopyFirstStart()
    {
        World w("", {3});
        const QString bin = w.appDir.filePath("usr/bin");
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(w.appDir.filePath("usr/share/applications")));
        QVERIFY(QFile(w.appDir.filePath("usr/share/applications/zx316b-link.desktop")).open(QIODevice::WriteOnly));
        w.app = std::make_unique<Application>(
            ShellPlace {bin, bin + "/zx316b-link", w.userDir.filePath("zx316b-link"), w.lockDir.path()},
            ShellSeams {&w.port, &w.boxes, &w.dialogs, [] { return QList<SystemPort>(); }, [] {}});
        w.answers = {"Com3 ok"};
        QVERIFY(w.app->Main());
        QCOMPARE(w.seen, QStringList {""}); // before the main window
        QCOMPARE(IniFile(w.userDir.filePath("zx316b-link/ZX316B Link.ini")).ReadIni("RS232C", "CommPort"), "3");
        QVERIFY(QDir(bin).isEmpty() && w.port.isOpen());
    }

    // Where this copy stands on the machine: its INI file, its lock, its version. A lock left by a
    // killed copy: tst_program_end.
    void placeOnTheMachine()
    {
        QCOMPARE(appidentity::VersionText(2, 3, 15), QStringLiteral("Version2.315"));
        QTemporaryDir app, user, locks;
        const QString title = QStringLiteral("ZX316B Link"), userDir = user.filePath("zx");
        // A folder that cannot hold the file: the user's configuration folder takes it.
        QVERIFY(chooseIniPath(app.filePath("gone"), title, userDir) == userDir + "/ZX316B Link.ini"
                && QFileInfo(userDir).isDir());
        const QString exe = QStringLiteral("/opt/zx/zx316b-link");
        SingleInstance first(locks.path(), exe);
        QVERIFY(first.tryAcquire() && !SingleInstance(locks.path(), exe).tryAcquire());
        // Another copy of the program (a test build, the demo) is not blocked.
        QVERIFY(SingleInstance(locks.path(), QStringLiteral("/home/me/build/bin/zx316b-link")).tryAcquire());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
