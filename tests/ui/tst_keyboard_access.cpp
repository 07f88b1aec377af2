// The main window and the port dialog from the keyboard, and as a screen reader hears them.
#include "ui/busy_indicator.h"
#include "ui/command_button.h"
#include "ui/frm_config.h"
#include "ui/frm_main.h"
#include "ui/message_line_edit.h"
#include "ui/shape_led.h"

#include "editor/settings_editor.h"
#include "tests/settings/worked_block.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/test_output.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

QString accessible(QObject *o, QAccessible::Text t)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(t) : QStringLiteral("<none>");
}

// A main window over an open port, settings shown, on screen and active.
struct ShownWindow {
    FakeSerialPort port;
    RecordingMessageBoxes boxes;
    FrmMain window {port, boxes};
    QList<int> clicked;

    ShownWindow()
    {
        port.openable = {1};
        port.open(1);
        window.prepare(QStringLiteral("Version1.00"), QStringLiteral("ZX316B Link"));
        window.MainIni();
        window.editor().ShowReadData(worked::Block, BlockSource::Device);
        QObject::connect(&window, &FrmMain::commandClicked, [this](int i) { clicked << i; });
        window.show();
        QApplication::setActiveWindow(&window);
    }
    QString focused() const
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName() : QStringLiteral("<none>");
    }
};

} // namespace

class TestKeyboardAccess : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tabFollowsReadingOrder()
    {
        ShownWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QCOMPARE(w.focused(), "CmdZxCom_0"); // where the window starts
        QStringList order {w.focused()};
        for (int k = 0; k < 16; ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << w.focused();
        }
        QCOMPARE(order.join(' '),
                 "CmdZxCom_0 CmdZxCom_1 CmdZxCom_2 CmdZxCom_3 CmdZxCom_4 TxtData_0 TxtData_1 "
                 "TxtData_5 TxtData_6 TxtData_7 ChkCurLimOff TxtData_12 TxtData_11 TxtData_8 "
                 "TxtData_10 TxtMsg CmdZxCom_0");
    }

    void commandButtons()
    {
        ShownWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        const QStringList texts {"Setting Data &Read", "Setting Data &Write", "&Default Data Write", "Data &Get",
                                 "Data C&lear"};
        const Qt::Key keys[] = {Qt::Key_R, Qt::Key_W, Qt::Key_D, Qt::Key_G, Qt::Key_L};
        for (int i = 0; i < 5; ++i) {
            QPushButton *b = w.window.CmdZxCom(i);
            QVERIFY(b->text() == texts[i] && CommandButton::captionWithAccessKey(i) == texts[i]);
            QCOMPARE(accessible(b, QAccessible::Name), QString(texts[i]).remove('&'));
            // Space, Return and Enter on the focused button; Alt and its key from anywhere.
            w.clicked.clear();
            b->setFocus();
            QTest::keyClick(b, Qt::Key_Space);
            QTest::keyClick(b, Qt::Key_Return);
            QTest::keyClick(b, Qt::Key_Enter, Qt::KeypadModifier);
            w.window.editor().TxtData(0)->setFocus();
            QTest::keyClick(&w.window, keys[i], Qt::AltModifier);
            QTRY_COMPARE(w.clicked, (QList<int> {i, i, i, i}));
        }
    }

    void menuShortcuts()
    {
        ShownWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QCOMPARE(w.window.mnuOpen()->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(w.window.mnuSave()->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(w.window.mnuEnd()->shortcut(), QKeySequence("Ctrl+Q"));
        QSignalSpy opened(w.window.mnuOpen(), &QAction::triggered);
        QSignalSpy saved(w.window.mnuSave(), &QAction::triggered);
        QSignalSpy closing(&w.window, &FrmMain::closing);
        QWidget *field = w.window.editor().TxtData(6);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(opened.count() == 1 && saved.count() == 1 && closing.isEmpty());
        QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(closing.count(), 1);
    }

    // The message line and the busy indicator as a screen reader hears them.
    void messageLineAndBusyIndicator()
    {
        ShownWindow w;
        MessageLineEdit *line = w.window.TxtMsg();
        QVERIFY(line->focusPolicy() & Qt::TabFocus);
        QCOMPARE(accessible(line, QAccessible::Name), "Message");
        for (const auto &[text, colour, description] : {std::tuple {"Setting Data Read", 0, ""},
                                                        {"RS232 communication fault.", 255, "error"},
                                                        {"RS232 communication fault.", 255, "error"},
                                                        {"Completion", 0, ""}}) {
            w.window.messageLine().ShowMessage(text, colour);
            QCOMPARE(accessible(line, QAccessible::Description), description);
        }
        ShapeLed *led = w.window.ShpLED();
        QCOMPARE(accessible(led, QAccessible::Name), "Busy");
        QStringList descriptions {accessible(led, QAccessible::Description)};
        for (bool busy : {true, false}) {
            w.window.busyIndicator().setBusy(busy);
            descriptions << accessible(led, QAccessible::Description);
        }
        QCOMPARE(descriptions, (QStringList {"idle", "communicating", "idle"}));
    }

    // The write button says what it would change; marks follow the fields. The picture (for the
    // README) shows two values changed after a read, one of them out of range.
    void writeButtonCountsChanges()
    {
        ShownWindow w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QPushButton *write = w.window.CmdZxCom(1);
        SettingsEditor &editor = w.window.editor();
        QCOMPARE(write->toolTip(), "No field changed");
        editor.TxtData(0)->setText("2500");
        QCOMPARE(write->toolTip(), "Writes 1 changed field");
        editor.TxtData(8)->setText("101");
        w.window.messageLine().ShowMessage("Completion", 0);
        QVERIFY(saveScreenshot(&w.window, "main-window-changed.png"));
        editor.ChkCurLimOff()->setChecked(true);
        QCOMPARE(write->toolTip(), "Writes 3 changed fields");
        w.window.ClearDisplay();
        QCOMPARE(write->toolTip(), "No field changed");
    }

    // The port dialog: the list from the arrow keys, OK with Return, Cancel with Escape.
    void portDialogFromKeys()
    {
        for (const auto &[key, accepted] : {std::pair {Qt::Key_Return, true}, {Qt::Key_Escape, false}}) {
            FakeSerialPort port;
            port.openable = {1, 4};
            QList<int> stored;
            frmConfig dialog(port, 1, {}, [&](int n) { stored << n; });
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QCOMPARE(QApplication::focusWidget(), dialog.Combo);
            QTest::keyClick(dialog.Combo, Qt::Key_Down);
            QCOMPARE(dialog.Combo->currentText(), "Com4");
            QTest::keyClick(dialog.Combo, key);
            QVERIFY(!dialog.isVisible());
            QVERIFY(stored == (QList<int> {1, 4}) && (dialog.result() == QDialog::Accepted) == accepted);
        }
    }
};

QTEST_MAIN(TestKeyboardAccess)
#include "tst_keyboard_access.moc"
