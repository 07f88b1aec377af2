#include "startup_world.h"

#include "link/serial_link.h"
#include "logview/frm_log.h"
#include "logview/log_viewer.h"
#include "platform/ini_file.h"
#include "settings/settings_editor.h"
#include "ui/message_line_edit.h"
#include "ui/shape_led.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

using PortSet = QSet<int>;
Q_DECLARE_METATYPE(PortSet)

namespace {
const QString Initialized = QStringLiteral("CommPort was initialized.");
const QString CannotOpen = QStringLiteral("ComPort cannot be opened.");
} // namespace

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
    void closingTakesTheLogWindowAlong();
};

void TestStartup::startupPaths_data()
{
    QTest::addColumn<QByteArray>("ini"); // empty: no INI file
    QTest::addColumn<PortSet>("openable");
    QTest::addColumn<QStringList>("dialogActions");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<QString>("firstReason");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("colour");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("openPort"); // 0: closed

    const QString noReason;
    const QString failed = QStringLiteral("No such serial port.");
    QTest::newRow("first start: dialog, then OK with a port")
        << QByteArray() << PortSet{3} << QStringList{"Com3 ok"} << 1 << noReason << Initialized << 0
        << "10111" << "3" << 3;
    QTest::newRow("first start: dialog cancelled")
        << QByteArray() << PortSet{3} << QStringList{"cancel"} << 1 << noReason << CannotOpen << 255
        << "00000" << "Error" << 0;
    QTest::newRow("first start: pick, then Cancel")
        << QByteArray() << PortSet{3} << QStringList{"Com3 cancel"} << 1 << noReason << CannotOpen << 255
        << "00000" << "3" << 0;
    QTest::newRow("first start without ports: OK opens nothing")
        << QByteArray() << PortSet{} << QStringList{"ok"} << 1 << noReason << CannotOpen << 255
        << "00000" << "Error" << 0;
    QTest::newRow("INI names a port") << QByteArray("[RS232C]\nCommPort=2\n") << PortSet{2} << QStringList{} << 0
                                      << noReason << Initialized << 0 << "10111" << "2" << 2;
    QTest::newRow("port 0: red line, no dialog") << QByteArray("[RS232C]\nCommPort=0\n") << PortSet{1}
                                                 << QStringList{} << 0 << noReason << CannotOpen << 255
                                                 << "00000" << "0" << 0;
    QTest::newRow("2.5 is port 2") << QByteArray("[RS232C]\nCommPort=2.5\n") << PortSet{2, 3} << QStringList{}
                                   << 0 << noReason << Initialized << 0 << "10111" << "2.5" << 2;
    QTest::newRow("3.5 is port 4") << QByteArray("[RS232C]\nCommPort=3.5\n") << PortSet{3, 4} << QStringList{}
                                   << 0 << noReason << Initialized << 0 << "10111" << "3.5" << 4;
    QTest::newRow("7abc is port 7") << QByteArray("[RS232C]\nCommPort=7abc\n") << PortSet{7} << QStringList{}
                                    << 0 << noReason << Initialized << 0 << "10111" << "7abc" << 7;
    QTest::newRow("abc is port 0") << QByteArray("[RS232C]\nCommPort=abc\n") << PortSet{1} << QStringList{}
                                   << 0 << noReason << CannotOpen << 255 << "00000" << "abc" << 0;
    QTest::newRow("literal Error counts as missing")
        << QByteArray("[RS232C]\nCommPort=Error\n") << PortSet{1} << QStringList{"Com1 ok"} << 1 << noReason
        << Initialized << 0 << "10111" << "1" << 1;
    QTest::newRow("out of 16-bit range counts as missing")
        << QByteArray("[RS232C]\nCommPort=99999\n") << PortSet{1} << QStringList{"Com1 ok"} << 1 << noReason
        << Initialized << 0 << "10111" << "1" << 1;
    QTest::newRow("configured port fails: another one chosen")
        << QByteArray("[RS232C]\nCommPort=5\n") << PortSet{2} << QStringList{"Com2 ok"} << 1 << failed
        << Initialized << 0 << "10111" << "2" << 2;
    QTest::newRow("configured port fails: Cancel")
        << QByteArray("[RS232C]\nCommPort=5\n") << PortSet{2} << QStringList{"cancel"} << 1 << failed
        << CannotOpen << 255 << "00000" << "5" << 0;
    QTest::newRow("configured port fails: OK without a pick asks again")
        << QByteArray("[RS232C]\nCommPort=5\n") << PortSet{2} << QStringList{"ok", "cancel"} << 2 << failed
        << CannotOpen << 255 << "00000" << "5" << 0;
}

void TestStartup::startupPaths()
{
    QFETCH(QByteArray, ini);
    QFETCH(PortSet, openable);
    QFETCH(QStringList, dialogActions);
    QFETCH(int, dialogs);
    QFETCH(QString, firstReason);
    QFETCH(QString, message);
    QFETCH(int, colour);
    QFETCH(QString, buttons);
    QFETCH(QString, stored);
    QFETCH(int, openPort);

    StartupWorld w;
    if (!ini.isEmpty())
        w.writeIni(ini);
    w.port.openable = openable;
    PortDialogDriver driver(dialogActions);
    QVERIFY(w.start(driver));

    QCOMPARE(driver.shown, dialogs);
    QCOMPARE(driver.unexpected, 0);
    if (dialogs > 0) {
        QCOMPARE(driver.reasons.first(), firstReason);
        // The dialog comes before the main window.
        QVERIFY(!driver.mainWindowVisible.contains(true));
    }
    FrmMain &window = w.app->frmMain();
    QVERIFY(window.isVisible());
    QCOMPARE(window.TxtMsg()->text(), message);
    QCOMPARE(window.TxtMsg()->textColour(), colour);
    QCOMPARE(w.buttons(), buttons);
    QCOMPARE(IniFile(w.iniPath()).ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort")), stored);
    QCOMPARE(w.port.isOpen(), openPort != 0);
    if (openPort)
        QCOMPARE(w.port.openNumber, openPort);
    QVERIFY(w.boxes.shown.isEmpty());
}

void TestStartup::windowIsPreparedBeforeItShows()
{
    StartupWorld w;
    w.writeIni("[RS232C]\nCommPort=1\n[Chart]\nScaleLine1=1\n");
    w.port.openable = {1};
    PortDialogDriver driver({});
    QVERIFY(w.start(driver));

    FrmMain &window = w.app->frmMain();
    QCOMPARE(window.windowTitle(), QStringLiteral("ZX316B Link"));
    QCOMPARE(window.LblVersion()->text(), QStringLiteral("Version1.00"));
    QCOMPARE(window.LblProductName()->text(), QStringLiteral("ZX316B Link"));
    QCOMPARE(w.app->AppPath(), w.appDir.path());
    QCOMPARE(w.app->ini().path(), w.iniPath());
    QVERIFY(!window.FraTmp()->isVisible());
    QCOMPARE(window.RomVer(), qint16(-1));
    QVERIFY(w.app->logStore().isEmpty());
    QCOMPARE(window.ShpLED()->fillColour(), SerialLink::LedIdle);
    QCOMPARE(w.app->ScaleLine()[0], 0);
    QCOMPARE(w.app->ScaleLine()[1], 1);
    QCOMPARE(window.editor().TxtData(0)->toolTip(), QStringLiteral("100～10000"));
    QVERIFY(window.editor().TxtData(0)->text().isEmpty());

    // The indicator follows the link from then on.
    w.app->link().SendCommand(QStringLiteral("sr"), QStringLiteral("\r"));
    QCOMPARE(window.ShpLED()->fillColour(), w.app->link().ledColour());
    w.app->link().stopBusyIndicator();
    QCOMPARE(window.ShpLED()->fillColour(), SerialLink::LedDark);
}

void TestStartup::secondCopyShowsTheBoxAndNothingElse()
{
    StartupWorld first;
    first.writeIni("[RS232C]\nCommPort=1\n");
    first.port.openable = {1};
    PortDialogDriver none({});
    QVERIFY(first.start(none));
    const QByteArray iniBefore = first.iniBytes();

    // The same executable in the same folder, started again.
    FakeSerialPort port2;
    port2.openable = {1};
    RecordingMessageBoxes boxes2;
    ShellSeams seams = first.seams();
    seams.port = &port2;
    seams.boxes = &boxes2;
    int quits2 = 0;
    seams.quit = [&] { ++quits2; };
    Application second(first.place(), seams);
    PortDialogDriver driver({});
    QVERIFY(!second.Main());

    QCOMPARE(boxes2.shown.size(), 1);
    QCOMPARE(boxes2.shown[0].text, QStringLiteral("This application is already opened!!"));
    QCOMPARE(boxes2.shown[0].icon, MessageBoxes::Icon::None);
    QCOMPARE(boxes2.shown[0].buttons, MessageBoxes::Buttons::Ok);
    QVERIFY(!second.hasMainWindow());
    QCOMPARE(driver.shown, 0);
    QCOMPARE(port2.openAttempts, 0);
    QCOMPARE(first.iniBytes(), iniBefore);
    // The running copy is not touched.
    QVERIFY(first.port.isOpen());
    QVERIFY(first.boxes.shown.isEmpty());
    QCOMPARE(first.app->frmMain().TxtMsg()->text(), Initialized);
}

void TestStartup::portMenu_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("menuActions");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("colour");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<int>("openPort");

    const QByteArray open1("[RS232C]\nCommPort=1\n");
    QTest::newRow("Cancel closes an open port") << open1 << QStringList{"cancel"} << CannotOpen << 255
                                                << "00000" << 0;
    QTest::newRow("pick, then Cancel: still closed") << open1 << QStringList{"Com2 cancel"} << CannotOpen << 255
                                                     << "00000" << 0;
    QTest::newRow("OK reopens the same port") << open1 << QStringList{"ok"} << Initialized << 0 << "10111" << 1;
    QTest::newRow("OK with another port") << open1 << QStringList{"Com2 ok"} << Initialized << 0 << "10111" << 2;
    QTest::newRow("closed since start-up, OK opens")
        << QByteArray("[RS232C]\nCommPort=0\n") << QStringList{"Com2 ok"} << Initialized << 0 << "10111" << 2;
}

void TestStartup::portMenu()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, menuActions);
    QFETCH(QString, message);
    QFETCH(int, colour);
    QFETCH(QString, buttons);
    QFETCH(int, openPort);

    StartupWorld w;
    w.writeIni(ini);
    w.port.openable = {1, 2};
    {
        PortDialogDriver none({});
        QVERIFY(w.start(none));
        QCOMPARE(none.shown, 0);
    }
    // Whatever the window showed before must not survive the menu command.
    w.app->frmMain().CmdZxCom(1)->setEnabled(true);
    PortDialogDriver driver(menuActions);
    w.app->frmMain().mnuCom()->trigger();

    QCOMPARE(driver.shown, menuActions.size());
    QCOMPARE(driver.unexpected, 0);
    QVERIFY(driver.reasons.first().isEmpty());
    QCOMPARE(w.app->frmMain().TxtMsg()->text(), message);
    QCOMPARE(w.app->frmMain().TxtMsg()->textColour(), colour);
    QCOMPARE(w.buttons(), buttons);
    QCOMPARE(w.port.isOpen(), openPort != 0);
    if (openPort)
        QCOMPARE(w.port.openNumber, openPort);
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

    StartupWorld w;
    w.writeIni("[RS232C]\nCommPort=1\n");
    w.port.openable = {1};
    PortDialogDriver none({});
    QVERIFY(w.start(none));
    FrmMain &window = w.app->frmMain();

    QTimer::singleShot(50, &window, [&] {
        if (how.startsWith(QLatin1String("exit")))
            window.mnuEnd()->trigger();
        else
            window.close();
    });
    // An operation as the command buttons run one: it waits, then checks whether the
    // program is ending before it touches the window again.
    bool continued = false;
    QElapsedTimer clock;
    clock.start();
    if (how.endsWith(QLatin1String("pause")))
        w.app->waiter().WaitSeconds(5.0);
    else
        w.app->link().SendCommand(QStringLiteral("sr"), QStringLiteral("\r")); // never answered
    if (!w.app->waiter().cancelled())
        continued = true;

    QVERIFY2(clock.elapsed() < 2500, "the wait did not end with the window");
    QVERIFY(!continued);
    QCOMPARE(w.quits, 1);
    QVERIFY(!w.port.isOpen());
    QVERIFY(!window.isVisible());
    QVERIFY(w.boxes.shown.isEmpty()); // an ending program reports no time-out
    // Later waits of the same operation return at once.
    clock.restart();
    w.app->waiter().WaitSeconds(1.0);
    QVERIFY(clock.elapsed() < 500);
    // A second close does not end the program twice.
    window.close();
    QCOMPARE(w.quits, 1);
}

void TestStartup::closingTakesTheLogWindowAlong()
{
    StartupWorld w;
    w.writeIni("[RS232C]\nCommPort=1\n");
    w.port.openable = {1};
    PortDialogDriver none({});
    QVERIFY(w.start(none));
    w.app->logViewer().SetGraphFile();
    QPointer<FrmLog> log = w.app->logViewer().window();
    QVERIFY(log);
    QVERIFY(log->isVisible());
    w.app->frmMain().close();
    QTRY_VERIFY(!log || !log->isVisible());
    QCOMPARE(w.quits, 1);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
