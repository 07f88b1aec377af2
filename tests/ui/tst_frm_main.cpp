#include "ui/frm_main.h"
#include "ui/logo_widget.h"
#include "ui/message_line_edit.h"
#include "ui/shape_led.h"

#include "link/serial_link.h"
#include "logview/log_store.h"
#include "platform/twips.h"
#include "settings/settings_editor.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/recording_message_boxes.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestMainWindow : public QObject {
    Q_OBJECT

    struct World {
        FakeSerialPort port;
        RecordingMessageBoxes boxes;
        LogStore store;
        FrmMain window{port, boxes, store};
    };

private Q_SLOTS:
    void widgetsStandAtTheirPlaces_data();
    void widgetsStandAtTheirPlaces();
    void menuBarReadsFileComPortExit();
    void menuItemsCarryTheirCaptions_data();
    void menuItemsCarryTheirCaptions();
    void buttonsFollowThePortState_data();
    void buttonsFollowThePortState();
    void buttonClicksReportTheirIndex();
    void messageLineShowsTextInItsColour_data();
    void messageLineShowsTextInItsColour();
    void startupPreparationCutsTheWindowAndHidesTheFrame();
    void mainIniResetsTheWindowState();
    void editorDecidesWhetherWritingIsOffered();
    void clearDisplayBlanksTheEditor();
    void busyIndicatorFollowsTheLink();
    void closingByAnyMeansIsReported();
};

void TestMainWindow::widgetsStandAtTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twipRect");

    QTest::newRow("read") << "CmdZxCom_0" << "Setting Data Read" << QRect(180, 240, 1575, 495);
    QTest::newRow("write") << "CmdZxCom_1" << "Setting Data Write" << QRect(180, 960, 1575, 495);
    QTest::newRow("default") << "CmdZxCom_2" << "Default Data Write" << QRect(180, 1680, 1575, 495);
    QTest::newRow("get") << "CmdZxCom_3" << "Data Get" << QRect(180, 2940, 1575, 495);
    QTest::newRow("clear") << "CmdZxCom_4" << "Data Clear" << QRect(180, 3660, 1575, 495);
    QTest::newRow("busy caption") << "LblBusy" << "Busy" << QRect(2340, 4080, 555, 195);
    QTest::newRow("busy indicator") << "ShpLED" << "" << QRect(2880, 4080, 255, 135);
    QTest::newRow("logo") << "ImgLogo" << "" << QRect(4620, 4140, 1515, 435);
    QTest::newRow("message caption") << "LblMessage" << "Message" << QRect(180, 4380, 1515, 195);
    QTest::newRow("message line") << "TxtMsg" << "" << QRect(180, 4620, 4035, 315);
    QTest::newRow("product") << "LblProductName" << "" << QRect(4620, 4620, 1515, 195);
    QTest::newRow("version") << "LblVersion" << "Version" << QRect(4620, 4800, 1515, 195);
    QTest::newRow("hidden frame") << "FraTmp" << "" << QRect(180, 5460, 6255, 2475);
}

void TestMainWindow::widgetsStandAtTheirPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twipRect);

    World w;
    auto *widget = w.window.client()->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->parentWidget(), w.window.client());
    QCOMPARE(widget->geometry(), twips::rect(twipRect.x(), twipRect.y(), twipRect.width(), twipRect.height()));
    if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), caption);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), caption);
}

void TestMainWindow::menuBarReadsFileComPortExit()
{
    World w;
    QStringList bar;
    for (QAction *a : w.window.menuBar()->actions())
        bar << a->text();
    QCOMPARE(bar, (QStringList{"&File", "&ComPort", "&Exit"}));
    // ComPort and Exit are commands on the bar, not menus.
    QVERIFY(!w.window.mnuCom()->menu());
    QVERIFY(!w.window.mnuEnd()->menu());

    QStringList file;
    for (QAction *a : w.window.menu().mnuFile->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(file, (QStringList{"&Setting Data ", "-", "&Log Data"}));
}

void TestMainWindow::menuItemsCarryTheirCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentMenu");
    QTest::addColumn<QString>("caption");

    QTest::newRow("settings open") << "mnuOpen" << "mnuSet" << "&Open";
    QTest::newRow("settings save") << "mnuSave" << "mnuSet" << "&Save";
    QTest::newRow("log open") << "munOpenLog" << "mnuLog" << "&Open";
    QTest::newRow("log save") << "mnuSaveLog" << "mnuLog" << "&Save";
    QTest::newRow("separator") << "sep1" << "mnuFile" << "";
}

void TestMainWindow::menuItemsCarryTheirCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, parentMenu);
    QFETCH(QString, caption);

    World w;
    auto *menu = w.window.findChild<QMenu *>(parentMenu);
    QVERIFY(menu);
    QAction *found = nullptr;
    for (QAction *a : menu->actions())
        if (a->objectName() == name)
            found = a;
    QVERIFY2(found, qPrintable(name));
    QCOMPARE(found->text(), caption);
}

void TestMainWindow::buttonsFollowThePortState_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("enabled"); // one digit per button, 1 = enabled

    QTest::newRow("closed") << false << "00000";
    QTest::newRow("open: writing waits for a read") << true << "10111";
}

void TestMainWindow::buttonsFollowThePortState()
{
    QFETCH(bool, open);
    QFETCH(QString, enabled);

    World w;
    w.port.openable = {1};
    // Start from the opposite state so the rule has to change every button.
    for (int i = 0; i < FrmMain::CommandCount; ++i)
        w.window.CmdZxCom(i)->setEnabled(!open);
    if (open)
        QVERIFY(w.port.open(1));
    w.window.SetButtonState();
    QString actual;
    for (int i = 0; i < FrmMain::CommandCount; ++i)
        actual += w.window.CmdZxCom(i)->isEnabled() ? '1' : '0';
    QCOMPARE(actual, enabled);
}

void TestMainWindow::buttonClicksReportTheirIndex()
{
    World w;
    QSignalSpy spy(&w.window, &FrmMain::commandClicked);
    for (int i = FrmMain::CommandCount - 1; i >= 0; --i) {
        w.window.CmdZxCom(i)->setEnabled(true);
        QTest::mouseClick(w.window.CmdZxCom(i), Qt::LeftButton);
    }
    QCOMPARE(spy.size(), 5);
    for (int n = 0; n < 5; ++n)
        QCOMPARE(spy.at(n).at(0).toInt(), 4 - n);
}

void TestMainWindow::messageLineShowsTextInItsColour_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<QColor>("shown");
    QTest::newRow("black") << 0 << QColor(Qt::black);
    QTest::newRow("red") << 255 << QColor(255, 0, 0);
}

void TestMainWindow::messageLineShowsTextInItsColour()
{
    QFETCH(int, colour);
    QFETCH(QColor, shown);

    World w;
    // A previous message of the other colour must not leak into the new one.
    w.window.messageLine().ShowMessage(QStringLiteral("before"), colour == 0 ? 255 : 0);
    w.window.messageLine().ShowMessage(QStringLiteral("CommPort was initialized."), colour);
    MessageLineEdit *line = w.window.TxtMsg();
    QCOMPARE(line->text(), QStringLiteral("CommPort was initialized."));
    QCOMPARE(line->textColour(), colour);
    QCOMPARE(line->palette().color(QPalette::Active, QPalette::Text), shown);
    QCOMPARE(line->palette().color(QPalette::Inactive, QPalette::Text), shown);
    QVERIFY(line->isReadOnly());
}

void TestMainWindow::startupPreparationCutsTheWindowAndHidesTheFrame()
{
    World w;
    w.window.prepare(QStringLiteral("Version1.00"), QStringLiteral("ZX316B Link"));
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QCOMPARE(w.window.windowTitle(), QStringLiteral("ZX316B Link"));
    QCOMPARE(w.window.LblVersion()->text(), QStringLiteral("Version1.00"));
    QCOMPARE(w.window.LblProductName()->text(), QStringLiteral("ZX316B Link"));
    QCOMPARE(w.window.size(), QSize(twips::toPixels(6450), twips::toPixels(6030)));
    QVERIFY(!w.window.FraTmp()->isVisible());
    // Everything of the status area fits above the cut.
    const QWidget *version = w.window.LblVersion();
    QVERIFY(version->mapTo(&w.window, QPoint(0, version->height())).y() <= w.window.height());

    // Enlarging the window only shows empty client area: the frame stays hidden.
    w.window.resize(w.window.width() + 200, w.window.height() + 300);
    QTest::qWait(20);
    QVERIFY(!w.window.FraTmp()->isVisible());
    QVERIFY(!w.window.editor().TxtData(2)->isVisible());
}

void TestMainWindow::mainIniResetsTheWindowState()
{
    World w;
    w.window.setRomVer(5);
    w.store.VoltData[0] = 12.5f;
    int setupRuns = 0;
    bool editorReadyFirst = false;
    bool storeStillFull = false;
    w.window.setFileSysSetup([&] {
        ++setupRuns;
        editorReadyFirst = !w.window.editor().TxtData(0)->toolTip().isEmpty();
        storeStillFull = !w.store.isEmpty();
    });
    w.window.MainIni();

    QCOMPARE(w.window.RomVer(), qint16(-1));
    QVERIFY(w.store.isEmpty());
    QCOMPARE(setupRuns, 1);
    QVERIFY(editorReadyFirst);
    QVERIFY(storeStillFull);
    for (int i = 0; i < FrmMain::CommandCount; ++i)
        QVERIFY(!w.window.CmdZxCom(i)->isEnabled()); // the port is closed
    QCOMPARE(w.window.editor().TxtData(6)->toolTip(), QStringLiteral("2.5～6"));
}

void TestMainWindow::editorDecidesWhetherWritingIsOffered()
{
    World w;
    w.port.openable = {1};
    QVERIFY(w.port.open(1));
    w.window.SetButtonState();
    QVERIFY(!w.window.CmdZxCom(1)->isEnabled());
    Q_EMIT w.window.editor().writeAllowed(true);
    QVERIFY(w.window.CmdZxCom(1)->isEnabled());
    Q_EMIT w.window.editor().writeAllowed(false);
    QVERIFY(!w.window.CmdZxCom(1)->isEnabled());
}

void TestMainWindow::clearDisplayBlanksTheEditor()
{
    World w;
    w.window.MainIni();
    SettingsEditor &e = w.window.editor();
    e.TxtData(0)->setText(QStringLiteral("1500"));
    e.TxtData(9)->setText(QStringLiteral("50"));
    e.ChkMode(2)->setChecked(true);
    e.TxtVer()->setText(QStringLiteral("5"));
    w.window.ClearDisplay();
    QVERIFY(e.TxtData(0)->text().isEmpty());
    QVERIFY(e.TxtData(9)->text().isEmpty());
    QVERIFY(!e.ChkMode(2)->isChecked());
    QVERIFY(e.TxtVer()->text().isEmpty());
}

void TestMainWindow::busyIndicatorFollowsTheLink()
{
    World w;
    QCOMPARE(w.window.ShpLED()->fillColour(), SerialLink::LedIdle);
    w.window.setLedColour(SerialLink::LedBright);
    QCOMPARE(w.window.ShpLED()->fillColour(), SerialLink::LedBright);
    // The shape really shows the colour (inside its one-pixel border).
    const QImage picture = w.window.ShpLED()->grab().toImage();
    QCOMPARE(picture.pixelColor(picture.width() / 2, picture.height() / 2), QColor(0, 255, 0));
}

void TestMainWindow::closingByAnyMeansIsReported()
{
    World w;
    w.window.show();
    QSignalSpy spy(&w.window, &FrmMain::closing);
    w.window.mnuEnd()->trigger();
    QCOMPARE(spy.size(), 1);
    QVERIFY(!w.window.isVisible());
    w.window.show();
    w.window.close();
    QCOMPARE(spy.size(), 2);
}

QTEST_MAIN(TestMainWindow)
#include "tst_frm_main.moc"
