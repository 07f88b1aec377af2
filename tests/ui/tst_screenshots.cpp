// Pictures of the shell's windows for a person to look at (test-output/*.png).
#include "ui/frm_config.h"
#include "ui/frm_main.h"
#include "ui/logo_widget.h"
#include "ui/shape_led.h"

#include "link/port_choice.h"
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
    void windows();
};

void TestShellScreenshots::windows()
{
    FakeSerialPort port;
    port.openable = {1, 3, 4};
    QVERIFY(port.open(1));
    RecordingMessageBoxes boxes;
    LogStore store;
    FrmMain window(port, boxes, store);
    window.prepare(QStringLiteral("Version1.00"), QStringLiteral("ZX316B Link"));
    window.MainIni();
    window.messageLine().ShowMessage(QStringLiteral("CommPort was initialized."), MessageLine::Black);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(saveScreenshot(&window, QStringLiteral("main-window.png")));
    // The picture is the real window: the indicator shows its idle dark teal.
    const QImage shot = window.grab().toImage();
    const QPoint led = window.ShpLED()->mapTo(&window, window.ShpLED()->rect().center());
    QCOMPARE(shot.pixelColor(led * shot.devicePixelRatio()), QColor(0, 0x40, 0x40));

    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("ZX316B Link.ini")));
    PortChoice choice{3, false};
    for (const QString &why : {QString(), QStringLiteral("No permission to use /dev/ttyUSB0. Add your user to the "
                                                         "'dialout' group (sudo usermod -aG dialout $USER) and log in again.")}) {
        frmConfig dialog(port, choice, ini, [] { return PortCatalog(); }, why);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(saveScreenshot(&dialog, why.isEmpty() ? QStringLiteral("port-dialog.png")
                                                      : QStringLiteral("port-dialog-failed.png")));
    }
    const QImage logo = LogoWidget::render();
    QCOMPARE(logo.size(), QSize(150, 45));
    QVERIFY(logo.pixelColor(0, 0).alpha() == 0 && logo.pixelColor(75, 22).alpha() > 0);
    QVERIFY(logo.save(testOutputDir() + QStringLiteral("/logo.png")));
}

QTEST_MAIN(TestShellScreenshots)
#include "tst_screenshots.moc"
