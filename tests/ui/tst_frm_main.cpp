#include "ui/frm_main.h"
#include "ui/message_line_edit.h"

#include "logview/log_store.h"
#include "platform/twips.h"
#include "settings/settings_editor.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/recording_message_boxes.h"

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
        QString buttons() const
        {
            QString out;
            for (int i = 0; i < FrmMain::CommandCount; ++i)
                out += window.CmdZxCom(i)->isEnabled() ? '1' : '0';
            return out;
        }
    };

private Q_SLOTS:
    void widgetsStandAtTheirPlaces_data();
    void widgetsStandAtTheirPlaces();
    void menus();
    void buttonRule();
    void messageLineColour();
    void startupCutsTheWindowAndHidesTheFrame();
    void mainIniOrder();
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
    QTest::newRow("busy") << "LblBusy" << "Busy" << QRect(2340, 4080, 555, 195);
    QTest::newRow("indicator") << "ShpLED" << "" << QRect(2880, 4080, 255, 135);
    QTest::newRow("logo") << "ImgLogo" << "" << QRect(4620, 4140, 1515, 435);
    QTest::newRow("message") << "LblMessage" << "Message" << QRect(180, 4380, 1515, 195);
    QTest::newRow("message line") << "TxtMsg" << "" << QRect(180, 4620, 4035, 315);
    QTest::newRow("version") << "LblVersion" << "Version" << QRect(4620, 4800, 1515, 195);
    QTest::newRow("hidden frame") << "FraTmp" << "" << QRect(180, 5460, 6255, 2475);
}

void TestMainWindow::widgetsStandAtTheirPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twipRect);
    World w;
    auto *widget = w.window.client()->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), twips::rect(twipRect.x(), twipRect.y(), twipRect.width(), twipRect.height()));
    if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), caption);
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), caption);
}

void TestMainWindow::menus()
{
    World w;
    auto captions = [](const QList<QAction *> &actions) {
        QStringList out;
        for (QAction *a : actions)
            out << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + QLatin1Char(':') + a->text());
        return out;
    };
    QCOMPARE(captions(w.window.menuBar()->actions()), (QStringList{":&File", "mnuCom:&ComPort", "mnuEnd:&Exit"}));
    QVERIFY(!w.window.mnuCom()->menu() && !w.window.mnuEnd()->menu()); // commands on the bar itself
    const MainMenu &m = w.window.menu();
    QCOMPARE(m.mnuFile->title(), QStringLiteral("&File"));
    QCOMPARE(captions(m.mnuFile->actions()), (QStringList{":&Setting Data ", "-", ":&Log Data"}));
    QCOMPARE(m.sep1->objectName(), QStringLiteral("sep1"));
    QCOMPARE(captions(m.mnuSet->actions()), (QStringList{"mnuOpen:&Open", "mnuSave:&Save"}));
    QCOMPARE(captions(m.mnuLog->actions()), (QStringList{"munOpenLog:&Open", "mnuSaveLog:&Save"}));
}

void TestMainWindow::buttonRule()
{
    World w;
    w.port.openable = {1};
    w.window.SetButtonState();
    QCOMPARE(w.buttons(), QStringLiteral("00000"));
    QVERIFY(w.port.open(1));
    w.window.SetButtonState();
    QCOMPARE(w.buttons(), QStringLiteral("10111")); // writing waits for settings to show
    Q_EMIT w.window.editor().writeAllowed(true);
    QCOMPARE(w.buttons(), QStringLiteral("11111"));

    QSignalSpy clicks(&w.window, &FrmMain::commandClicked);
    QTest::mouseClick(w.window.CmdZxCom(3), Qt::LeftButton);
    QTest::mouseClick(w.window.CmdZxCom(0), Qt::LeftButton);
    QCOMPARE(clicks.size(), 2);
    QCOMPARE(clicks[0][0].toInt(), 3);
    QCOMPARE(clicks[1][0].toInt(), 0);
}

void TestMainWindow::messageLineColour()
{
    World w;
    for (const auto &[colour, shown] : {std::pair{0, QColor(Qt::black)}, std::pair{255, QColor(255, 0, 0)}}) {
        w.window.messageLine().ShowMessage(QStringLiteral("CommPort was initialized."), colour);
        const MessageLineEdit *line = w.window.TxtMsg();
        QCOMPARE(line->text(), QStringLiteral("CommPort was initialized."));
        QCOMPARE(line->textColour(), colour);
        QCOMPARE(line->palette().color(QPalette::Active, QPalette::Text), shown);
        QCOMPARE(line->palette().color(QPalette::Inactive, QPalette::Text), shown);
    }
    QVERIFY(w.window.TxtMsg()->isReadOnly());
}

void TestMainWindow::startupCutsTheWindowAndHidesTheFrame()
{
    World w;
    w.window.prepare(QStringLiteral("Version1.00"), QStringLiteral("ZX316B Link"));
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QCOMPARE(w.window.windowTitle(), QStringLiteral("ZX316B Link"));
    QCOMPARE(w.window.size(), QSize(twips::toPixels(6450), twips::toPixels(6030)));
    const QWidget *version = w.window.LblVersion();
    QVERIFY(version->mapTo(&w.window, QPoint(0, version->height())).y() <= w.window.height());
    // Enlarging the window only shows empty client area.
    w.window.resize(w.window.width() + 200, w.window.height() + 300);
    QVERIFY(!w.window.FraTmp()->isVisible());
    QVERIFY(!w.window.editor().TxtData(2)->isVisible());
}

void TestMainWindow::mainIniOrder()
{
    World w;
    QStringList steps;
    auto fieldsReady = [&] { return !w.window.editor().TxtData(0)->toolTip().isEmpty(); };
    w.window.setMainIniHooks({[&] { steps << QStringLiteral("files %1 %2").arg(fieldsReady()).arg(w.store.isEmpty()); },
                              [&] { steps << QStringLiteral("rom %1").arg(w.store.isEmpty()); }});
    w.window.MainIni();
    QCOMPARE(steps, (QStringList{"files 1 0", "rom 1"}));
    QVERIFY(w.store.isEmpty());
}

void TestMainWindow::closingByAnyMeansIsReported()
{
    World w;
    QSignalSpy spy(&w.window, &FrmMain::closing);
    w.window.show();
    w.window.mnuEnd()->trigger();
    QVERIFY(!w.window.isVisible());
    w.window.show();
    w.window.close();
    QCOMPARE(spy.size(), 2);
}

QTEST_MAIN(TestMainWindow)
#include "tst_frm_main.moc"
