// Pictures of the shell's windows for a person to look at (test-output/*.png).
#include "ui/frm_config.h"
#include "ui/frm_main.h"
#include "ui/logo_widget.h"
#include "ui/shape_led.h"

#include "link/port_choice.h"
#include "link/serial_link.h"
#include "logview/log_store.h"
#include "platform/ini_file.h"
#include "platform/message_line.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/test_output.h"

#include <QTemporaryDir>
#include <QTest>

class TestShellScreenshots : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mainWindow();
    void portDialog_data();
    void portDialog();
    void logo();
};

void TestShellScreenshots::mainWindow()
{
    FakeSerialPort port;
    port.openable = {1};
    QVERIFY(port.open(1));
    RecordingMessageBoxes boxes;
    LogStore store;
    FrmMain window(port, boxes, store);
    window.prepare(QStringLiteral("Version1.00"), QStringLiteral("ZX316B Link"));
    window.MainIni();
    window.messageLine().ShowMessage(QStringLiteral("CommPort was initialized."), MessageLine::Black);
    window.setLedColour(SerialLink::LedIdle);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage shot = window.grab().toImage();
    QVERIFY(saveScreenshot(&window, QStringLiteral("main-window.png")));
    QCOMPARE(shot.size() / shot.devicePixelRatio(), window.size());
    // The indicator's middle shows its idle colour: the picture is the real window.
    const QPoint led = window.ShpLED()->mapTo(&window, window.ShpLED()->rect().center());
    QCOMPARE(shot.pixelColor(led * shot.devicePixelRatio()), QColor(0, 0x40, 0x40));
}

void TestShellScreenshots::portDialog_data()
{
    QTest::addColumn<QString>("why");
    QTest::addColumn<QString>("file");
    QTest::newRow("from the menu") << "" << "port-dialog.png";
    QTest::newRow("after a failed open")
        << "No permission to use /dev/ttyUSB0. Add your user to the 'dialout' group "
           "(sudo usermod -aG dialout $USER) and log in again."
        << "port-dialog-failed.png";
}

void TestShellScreenshots::portDialog()
{
    QFETCH(QString, why);
    QFETCH(QString, file);

    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("ZX316B Link.ini")));
    FakeSerialPort port;
    port.openable = {1, 3, 4};
    PortChoice choice;
    choice.ComPortNo = 3;
    frmConfig dialog(port, choice, ini, [] { return PortCatalog(); }, why);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(saveScreenshot(&dialog, file));
}

void TestShellScreenshots::logo()
{
    const QImage image = LogoWidget::render();
    QCOMPARE(image.size(), QSize(150, 45));
    // Drawn, not empty: the corners are transparent, the middle is not.
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    QVERIFY(image.pixelColor(75, 22).alpha() > 0);
    QVERIFY(image.save(testOutputDir() + QStringLiteral("/logo.png")));
}

QTEST_MAIN(TestShellScreenshots)
#include "tst_screenshots.moc"
