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
#include "ui/frm_config.h"
#include "ui/frm_main.h"
#include "ui/message_line_edit.h"

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

// One program: its folder and INI (none when empty), a fake port opening `openable`; `realQuit`: quit for real.
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
    // "<message: black/red/other> <buttons> <open port> / <INI CommPort> <scale lines>", e.g. "red 00000 0 / 5 0,0"
    QString state()
    {
        QString buttons;
        for (int i = 0; i < FrmMain::CommandCount; ++i)
            buttons += window().CmdZxCom(i)->isEnabled() ? '1' : '0';
        const MessageLineEdit *line = window().TxtMsg();
        const QString shown = line->text() + ' ' + QString::number(line->textColour());
        const char *message = shown == "CommPort was initialized. 0" ? "black"
            : shown == "ComPort cannot be opened. 255"               ? "red"
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
    // Reading a number and rounding it are tst_settings_text's; here what the INI adds: a missing key, 16 bits.
    void iniNumberRules()
    {
        const int none = -99999;
        const std::pair<const char *, int> rows[] = {
            {"2.5", 2},         {"", 0},         {"Error", none},   {"error", 0},     {"32767", 32767},
            {"-32768", -32768}, {"32768", none}, {"32767.5", none}, {"-32769", none}, {"99999999999999999999", none}};
        for (auto [text, value] : rows) {
            const auto n = iniNumber(text);
            QVERIFY2((n ? int(*n) : none) == value, text);
        }
    }

    void startupPaths_data()
    {
        QTest::addColumn<Path>("p");
        for (const Path &p : std::initializer_list<Path> {
                 {"no file: dialog, OK with a port", "", {3}, {"Com3 ok"}, "black 10111 3 / 3 0,0"},
                 {"no file: pick, then Cancel", "", {3}, {"Com3 cancel"}, "red 00000 0 / 3 0,0"},
                 {"no file, no ports: OK", "", {}, {"ok"}, "red 00000 0 / Error 0,0"},
                 {"port 0: no dialog", "CommPort=0\n", {1}, {}, "red 00000 0 / 0 0,0"},
                 {"3.5 is port 4; scales", "CommPort=3.5\n[Chart]\nScaleLine1=1\n", {4}, {}, "black 10111 4 / 3.5 0,1"},
                 {"port fails: another chosen", "CommPort=5\n", {2}, {"Com2 ok"}, "black 10111 2 / 2 0,0"},
                 {"port fails: OK alone asks again", "CommPort=5\n", {2}, {"ok", "cancel"}, "red 00000 0 / 5 0,0"},
                 {"menu: Cancel closes the port", "CommPort=1\n", {1, 2}, {"menu", "cancel"}, "red 00000 0 / 1 0,0"},
                 {"menu: closed port, OK opens", "CommPort=0\n", {1, 2}, {"menu", "Com2 ok"}, "black 10111 2 / 2 0,0"}})
            QTest::newRow(p.name) << p;
    }
    void startupPaths()
    {
        QFETCH(Path, p);
        const QByteArray ini(p.ini);
        World w(ini.isEmpty() ? ini : "[RS232C]\n" + ini, p.openable);
        const qsizetype menu = p.answers.indexOf("menu");
        w.answers = p.answers.mid(0, menu);
        QVERIFY(w.app->Main());
        if (menu >= 0) {
            w.window().CmdZxCom(1)->setEnabled(true); // whatever was shown before does not survive
            w.answers = p.answers.mid(menu + 1);
            w.window().mnuCom()->trigger();
        }
        // At start-up the dialog comes before the main window; offered because the port failed, it says why.
        QStringList seen(menu >= 0 ? menu : p.answers.size(), ini.contains("=5") ? "No such serial port." : "");
        QCOMPARE(w.seen, seen + QStringList(p.answers.size() - seen.size() - (menu >= 0), "+main"));
        QCOMPARE(w.state() + (w.boxes.shown.isEmpty() ? "" : " +box"), p.state);
        // Whatever the path, the window comes up prepared.
        FrmMain &window = w.window();
        QVERIFY(window.isVisible() && !window.FraTmp()->isVisible());
        QCOMPARE(window.LblVersion()->text() + ' ' + window.LblProductName()->text() + ' '
                     + window.editor().TxtData(0)->toolTip(),
                 QStringLiteral("Version1.00 ZX316B Link 100～10000"));
    }

    // An INI file the program cannot use (too large; each kind: tst_ini_file) is named at start and left as it is.
    void unusableIniFileIsNamedAndKept()
    {
        World w("[RS232C]\nCommPort=1\n", {1});
        const QString ini = w.appDir.filePath("ZX316B Link.ini");
        QVERIFY(QFile::resize(ini, 5 << 20));
        w.answers = {"Com1 ok"}; // no port from the file: the dialog asks, the choice cannot be stored
        QVERIFY(w.app->Main());
        QCOMPARE(w.boxes.shown.size(), 1);
        const auto &box = w.boxes.shown[0];
        QVERIFY2(box.text.startsWith("The configuration file cannot be used") && box.text.contains(ini),
                 qPrintable(box.text));
        QVERIFY(box.icon == MessageBoxes::Icon::Exclamation && box.buttons == MessageBoxes::Buttons::Ok);
        QCOMPARE(w.state(), QStringLiteral("black 10111 1 / Error 0,0"));
        QCOMPARE(QFileInfo(ini).size(), qint64(5) << 20);
    }

    // The same executable started again shows one box and nothing else; an unplugged adapter locks the buttons.
    void runningCopy()
    {
        World first("[RS232C]\nCommPort=1\n", {1});
        QVERIFY(first.app->Main());
        FakeSerialPort port2;
        RecordingMessageBoxes boxes2;
        Application second(first.place(), {&port2, &boxes2, &first.dialogs, {}, [] {}});
        QVERIFY(!second.Main());
        QCOMPARE(boxes2.texts(), QStringList {"This application is already opened!!"});
        QVERIFY(boxes2.shown[0].icon == MessageBoxes::Icon::None
                && boxes2.shown[0].buttons == MessageBoxes::Buttons::Ok);
        QVERIFY(!second.hasMainWindow() && first.seen.isEmpty() && port2.openAttempts == 0);
        // Another copy of the program (a test build, the demo) is not blocked.
        QVERIFY(SingleInstance(first.lockDir.path(), first.appDir.filePath("demo/zx316b-link")).tryAcquire());

        first.port.lose();
        QCOMPARE(first.state(), QStringLiteral("red 00000 0 / 1 0,0"));
    }

    void closingDuringAWaitEndsCleanly_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"close pause", "close exchange", "close pause loop"})
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
        QTimer::singleShot(50, &w.window(), [&] { w.window().close(); });
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

    // Where the INI file goes. `layout`: the executable's folder, then "desktop": an installation's desktop entry
    // beside bin/, "ini": an INI file beside the executable, "nouser": no user folder; gone/ cannot be written.
    void iniLocation()
    {
        const std::pair<QString, bool> rows[] = {
            {"build/bin", false},        {"usr/bin desktop", true},         {"usr/bin desktop ini", true},
            {"usr/demo desktop", false}, {"usr/bin desktop nouser", false}, {"gone/bin", true}};
        for (const auto &[layout, inUserFolder] : rows) {
            QTemporaryDir root;
            const QString appPath = root.filePath(layout.section(' ', 0, 0));
            const QString user = root.filePath("home/.config/zx316b-link");
            const QString entry = QFileInfo(appPath).path() + "/share/applications/zx316b-link.desktop";
            QVERIFY(layout.startsWith("gone") || (QDir().mkpath(appPath) && QDir().mkpath(QFileInfo(entry).path())));
            QVERIFY(!layout.contains("desktop") || QFile(entry).open(QIODevice::WriteOnly));
            QVERIFY(!layout.contains("ini") || QFile(appPath + "/ZX316B Link.ini").open(QIODevice::WriteOnly));
            const QString chosen = chooseIniPath(appPath, "ZX316B Link", layout.contains("nouser") ? QString() : user);
            QCOMPARE(chosen, (inUserFolder ? user : appPath) + "/ZX316B Link.ini");
            QVERIFY2(QFileInfo(user).isDir() == inUserFolder, qPrintable(layout)); // made only when chosen
        }
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
