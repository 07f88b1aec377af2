#include "startup_world.h"

#include "link/serial_link.h"
#include "logview/frm_log.h"
#include "logview/log_viewer.h"
#include "settings/settings_editor.h"
#include "ui/shape_led.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

using PortSet = QSet<int>;
Q_DECLARE_METATYPE(PortSet)

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startupPaths_data();
    void startupPaths();
    void windowIsPreparedBeforeItShows();
    void secondCopyShowsTheBoxAndNothingElse();
    void portMenu_data();
    void portMenu();
    void closingDuringAWaitEndsCleanly_data();
    void closingDuringAWaitEndsCleanly();
    void closingEndsTheRealEventLoopFromInsideAWait();
};

void TestStartup::startupPaths_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<PortSet>("openable");
    QTest::addColumn<QStringList>("dialogActions"); // one per showing of the port dialog
    QTest::addColumn<QString>("state");              // message colour, buttons, open port
    QTest::addColumn<QString>("stored");             // CommPort in the INI file afterwards

    auto row = [](const char *name, const char *ini, PortSet open, QStringList acts, const char *state,
                  const char *stored) {
        QTest::newRow(name) << QByteArray(ini) << open << acts << QString::fromLatin1(state)
                            << QString::fromLatin1(stored);
    };
    row("first start: dialog, OK with a port", "", {3}, {"Com3 ok"}, "black 10111 3", "3");
    row("first start: dialog cancelled", "", {3}, {"cancel"}, "red 00000 0", "Error");
    row("first start: pick, then Cancel", "", {3}, {"Com3 cancel"}, "red 00000 0", "3");
    row("first start without ports: OK", "", {}, {"ok"}, "red 00000 0", "Error");
    row("INI names a port", "[RS232C]\nCommPort=2\n", {2}, {}, "black 10111 2", "2");
    row("port 0: no dialog", "[RS232C]\nCommPort=0\n", {1}, {}, "red 00000 0", "0");
    row("2.5 is port 2", "[RS232C]\nCommPort=2.5\n", {2, 3}, {}, "black 10111 2", "2.5");
    row("3.5 is port 4", "[RS232C]\nCommPort=3.5\n", {3, 4}, {}, "black 10111 4", "3.5");
    row("7abc is port 7", "[RS232C]\nCommPort=7abc\n", {7}, {}, "black 10111 7", "7abc");
    row("abc is port 0", "[RS232C]\nCommPort=abc\n", {1}, {}, "red 00000 0", "abc");
    row("literal Error is missing", "[RS232C]\nCommPort=Error\n", {1}, {"Com1 ok"}, "black 10111 1", "1");
    row("out of 16-bit range is missing", "[RS232C]\nCommPort=99999\n", {1}, {"Com1 ok"}, "black 10111 1", "1");
    row("port fails: another chosen", "[RS232C]\nCommPort=5\n", {2}, {"Com2 ok"}, "black 10111 2", "2");
    row("port fails: Cancel", "[RS232C]\nCommPort=5\n", {2}, {"cancel"}, "red 00000 0", "5");
    row("port fails: OK alone asks again", "[RS232C]\nCommPort=5\n", {2}, {"ok", "cancel"}, "red 00000 0", "5");
}

void TestStartup::startupPaths()
{
    QFETCH(QByteArray, ini);
    QFETCH(PortSet, openable);
    QFETCH(QStringList, dialogActions);
    QFETCH(QString, state);
    QFETCH(QString, stored);

    StartupWorld w(ini, openable);
    PortDialogDriver driver(dialogActions);
    QVERIFY(w.start(driver));
    QCOMPARE(driver.shown, dialogActions.size());
    QCOMPARE(driver.unexpected, 0);
    QVERIFY(!driver.mainWindowWasUp); // the dialog comes first
    // A dialog offered because the configured port failed says why.
    for (const QString &reason : driver.reasons)
        QCOMPARE(reason, ini.contains("=5") ? QStringLiteral("No such serial port.") : QString());
    QVERIFY(w.window().isVisible());
    QCOMPARE(w.state(), state);
    QCOMPARE(w.stored(), stored);
    QVERIFY(w.boxes.shown.isEmpty());
}

void TestStartup::windowIsPreparedBeforeItShows()
{
    StartupWorld w("[RS232C]\nCommPort=1\n[Chart]\nScaleLine1=1\n", {1});
    PortDialogDriver none({});
    QVERIFY(w.start(none));
    FrmMain &window = w.window();
    QCOMPARE(window.LblVersion()->text(), QStringLiteral("Version1.00"));
    QCOMPARE(window.LblProductName()->text(), QStringLiteral("ZX316B Link"));
    QCOMPARE(w.app->ini().path(), w.iniPath());
    QVERIFY(!window.FraTmp()->isVisible());
    QVERIFY(w.app->logStore().isEmpty());
    QCOMPARE(w.app->ScaleLine(), (ScaleLines{0, 1}));
    QCOMPARE(window.editor().TxtData(0)->toolTip(), QStringLiteral("100～10000"));
    // The indicator starts idle and follows the link from then on.
    QCOMPARE(window.ShpLED()->fillColour(), SerialLink::LedIdle);
    w.app->link().stopBusyIndicator();
    QCOMPARE(window.ShpLED()->fillColour(), SerialLink::LedDark);
}

void TestStartup::secondCopyShowsTheBoxAndNothingElse()
{
    StartupWorld first("[RS232C]\nCommPort=1\n", {1});
    PortDialogDriver none({});
    QVERIFY(first.start(none));

    // The same executable started again.
    FakeSerialPort port2;
    RecordingMessageBoxes boxes2;
    ShellSeams seams = first.seams();
    seams.port = &port2;
    seams.boxes = &boxes2;
    Application second(first.place(), seams);
    QVERIFY(!second.Main());
    QCOMPARE(boxes2.texts(), QStringList{"This application is already opened!!"});
    QCOMPARE(boxes2.shown[0].icon, MessageBoxes::Icon::None);
    QCOMPARE(boxes2.shown[0].buttons, MessageBoxes::Buttons::Ok);
    QVERIFY(!second.hasMainWindow());
    QCOMPARE(port2.openAttempts, 0);
    QCOMPARE(none.shown, 0);
    QCOMPARE(first.state(), QStringLiteral("black 10111 1")); // the running copy is not touched
}

void TestStartup::portMenu_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("menuActions");
    QTest::addColumn<QString>("state");
    const QByteArray open1("[RS232C]\nCommPort=1\n");
    QTest::newRow("Cancel closes an open port") << open1 << QStringList{"cancel"} << "red 00000 0";
    QTest::newRow("pick, then Cancel") << open1 << QStringList{"Com2 cancel"} << "red 00000 0";
    QTest::newRow("OK reopens") << open1 << QStringList{"ok"} << "black 10111 1";
    QTest::newRow("OK with another port") << open1 << QStringList{"Com2 ok"} << "black 10111 2";
    QTest::newRow("closed port, OK opens") << QByteArray("[RS232C]\nCommPort=0\n") << QStringList{"Com2 ok"}
                                           << "black 10111 2";
}

void TestStartup::portMenu()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, menuActions);
    QFETCH(QString, state);

    StartupWorld w(ini, {1, 2});
    {
        PortDialogDriver none({});
        QVERIFY(w.start(none));
    }
    w.window().CmdZxCom(1)->setEnabled(true); // whatever was shown before does not survive
    PortDialogDriver driver(menuActions);
    w.window().mnuCom()->trigger();
    QCOMPARE(driver.shown, 1);
    QCOMPARE(w.state(), state);
}

void TestStartup::closingDuringAWaitEndsCleanly_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close box during a pause") << "close pause";
    QTest::newRow("Exit during a pause") << "exit pause";
    QTest::newRow("close box during a command exchange") << "close exchange";
}

void TestStartup::closingDuringAWaitEndsCleanly()
{
    QFETCH(QString, how);
    StartupWorld w("[RS232C]\nCommPort=1\n", {1});
    PortDialogDriver none({});
    QVERIFY(w.start(none));
    w.app->logViewer().SetGraphFile();
    QPointer<FrmLog> log = w.app->logViewer().window();
    QVERIFY(log && log->isVisible());

    QTimer::singleShot(50, &w.window(), [&] {
        if (how.startsWith(QLatin1String("exit")))
            w.window().mnuEnd()->trigger();
        else
            w.window().close();
    });
    QElapsedTimer clock;
    clock.start();
    if (how.endsWith(QLatin1String("pause")))
        w.app->waiter().WaitSeconds(5.0);
    else
        w.app->link().SendCommand(QStringLiteral("sr"), QStringLiteral("\r")); // never answered
    QVERIFY2(clock.elapsed() < 2500, "the wait did not end with the window");
    QVERIFY(w.app->waiter().cancelled()); // what an operation checks before going on
    QCOMPARE(w.quits, 1);
    QVERIFY(!w.port.isOpen());
    QVERIFY(!log || !log->isVisible());
    QVERIFY(w.boxes.shown.isEmpty()); // an ending program reports no time-out
    w.window().close();
    QCOMPARE(w.quits, 1);
}

void TestStartup::closingEndsTheRealEventLoopFromInsideAWait()
{
    StartupWorld w("[RS232C]\nCommPort=1\n", {1}, true);
    PortDialogDriver none({});
    QVERIFY(w.start(none));
    bool ended = false;
    // An operation started from the event loop, as a button click starts one.
    QTimer::singleShot(0, &w.window(), [&] {
        w.app->waiter().WaitSeconds(5.0);
        ended = w.app->waiter().cancelled();
    });
    QTimer::singleShot(100, &w.window(), [&] { w.window().close(); });
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::exec();
    QVERIFY2(clock.elapsed() < 2500, "the program's event loop did not end with the window");
    QVERIFY(ended);
    QVERIFY(!w.port.isOpen());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
