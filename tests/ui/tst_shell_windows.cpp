// The main window and the port dialog: what they show, the keyboard, and what a screen reader
// hears. Shown windows are also saved as pictures (test-output/*.png).
#include "ui/busy_indicator.h"
#include "ui/frm_config.h"
#include "ui/frm_main.h"
#include "ui/message_line_edit.h"
#include "ui/shape_led.h"

#include "editor/settings_editor.h"
#include "link/port_choice.h"
#include "platform/gui/twips.h"
#include "platform/ini_file.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using PortSet = QSet<int>;
// `cancelled`: how the dialog was left last time; `action` "ComN ok|cancel|close": pick an entry, then leave;
// `outcome`: entries [selected], ComPortNo, CommPort in the INI, cancelled.
struct Dialog {
    const char *name;
    PortSet openable;
    int configured;
    bool cancelled;
    QString action;
    const char *outcome;
};
Q_DECLARE_METATYPE(Dialog)

// A port dialog over the ports that open, the configured port and an INI file of its own.
struct DialogWorld {
    QTemporaryDir dir;
    IniFile ini {dir.filePath(QStringLiteral("ZX316B Link.ini"))};
    FakeSerialPort port;
    PortChoice choice;
    PortCatalog catalog;
    int catalogBuilds = 0;
    std::unique_ptr<frmConfig> dialog;

    DialogWorld(PortSet openable, int configured, bool cancelled = false, const QString &why = {})
        : choice {qint16(configured), cancelled}
    {
        port.openable = std::move(openable);
        // The caller keeps each pick at once, as start-up and the port menu do.
        const auto store = [this](int number) {
            choice.ComPortNo = qint16(number);
            ini.WriteIni("RS232C", "CommPort", QString::number(number));
        };
        dialog = std::make_unique<frmConfig>(
            port, configured, [this] { return ++catalogBuilds, catalog; }, store, why);
    }
    QString stored() const { return ini.ReadIni("RS232C", "CommPort"); }
    QString entries() const
    {
        QStringList out;
        for (int i = 0; i < dialog->Combo->count(); ++i)
            out << dialog->Combo->itemText(i);
        return out.join(' ');
    }
    QString tip(int row) const { return dialog->Combo->itemData(row, Qt::ToolTipRole).toString(); }
};

namespace {

QString accessible(QObject *o, QAccessible::Text t)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(t) : QStringLiteral("<none>");
}

// A main window over an open port (with the worked settings shown unless told), on screen and active.
struct ShownWindow {
    FakeSerialPort port;
    RecordingMessageBoxes boxes;
    FrmMain window {port, boxes};
    QList<int> clicked;

    explicit ShownWindow(bool settingsShown = true)
    {
        port.openable = {1};
        port.open(1);
        window.prepare(QStringLiteral("Version1.00"), QStringLiteral("ZX316B Link"));
        window.MainIni();
        if (settingsShown)
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

class TestShellWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void widgetsAndMenus()
    {
        ShownWindow w;
        auto *busy = w.window.client()->findChild<QLabel *>("LblBusy", Qt::FindDirectChildrenOnly);
        QVERIFY(busy && busy->text() == "Busy");
        auto captions = [](const QList<QAction *> &actions) {
            QStringList out;
            for (QAction *a : actions)
                out << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + QLatin1Char(':') + a->text());
            return out;
        };
        QCOMPARE(captions(w.window.menuBar()->actions()), (QStringList {":&File", "mnuCom:&ComPort", "mnuEnd:&Exit"}));
        QVERIFY(!w.window.mnuCom()->menu() && !w.window.mnuEnd()->menu()); // commands on the bar itself
        const MainMenu &m = w.window.menu();
        QCOMPARE(captions(m.mnuFile->actions()), (QStringList {":&Setting Data ", "-", ":&Log Data"}));
        QCOMPARE(captions(m.mnuSet->actions()) + captions(m.mnuLog->actions()),
                 (QStringList {"mnuOpen:&Open", "mnuSave:&Save", "munOpenLog:&Open", "mnuSaveLog:&Save"}));
    }

    void shownMainWindow()
    {
        ShownWindow w(false);
        FrmMain &window = w.window;
        window.messageLine().ShowMessage(QStringLiteral("CommPort was initialized."), 0);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(saveScreenshot(&window, QStringLiteral("main-window.png")));
        QCOMPARE(window.windowTitle(), QStringLiteral("ZX316B Link"));
        // Cut to the visible part: the version is the lowest widget shown, the frame is below.
        QCOMPARE(window.size(), QSize(twips::toPixels(6450), twips::toPixels(6030)));
        QVERIFY(window.LblVersion()->mapTo(&window, QPoint(0, window.LblVersion()->height())).y() <= window.height());
        QVERIFY(window.TxtMsg()->isReadOnly());
        window.resize(window.width() + 200, window.height() + 300); // enlarging only shows empty client area
        QVERIFY(!window.FraTmp()->isVisible() && !window.editor().TxtData(2)->isVisible());
    }

    void portDialog_data()
    {
        QTest::addColumn<Dialog>("d");
        for (const Dialog &d : std::initializer_list<Dialog> {
                 {"configured port selected, stored again", {1, 4}, 4, false, "", "Com1 Com4 [Com4] 4 4 no"},
                 {"configured port missing", {1, 4}, 2, false, "", "Com1 Com4 [] 2 Error no"},
                 {"no port: Not found, stored never", {}, 3, false, "", "Not found [Not found] 3 Error no"},
                 {"nothing above 16", {3, 16, 17, 20}, 17, false, "", "Com3 Com16 [] 17 Error no"},
                 {"OK", {5, 12}, 5, true, "Com12 ok", "Com5 Com12 [Com12] 12 12 no"},
                 {"Cancel after a pick", {5, 12}, 5, false, "Com12 cancel", "Com5 Com12 [Com12] 12 12 yes"},
                 // The dialog can always be left: the close box is Cancel (Escape: portDialogFromKeys).
                 {"close box after an OK", {5, 12}, 5, false, "Com12 close", "Com5 Com12 [Com12] 12 12 yes"}})
            QTest::newRow(d.name) << d;
    }
    void portDialog()
    {
        QFETCH(Dialog, d);
        DialogWorld w(d.openable, d.configured, d.cancelled);
        // Each number probed once, nothing sent, the port left closed.
        QVERIFY(w.port.openAttempts == 16 && w.port.written.isEmpty() && !w.port.isOpen());
        if (!d.action.isEmpty()) {
            const QStringList words = d.action.split(' ');
            w.dialog->show();
            w.dialog->Combo->setCurrentIndex(w.dialog->Combo->findText(words[0]));
            QCOMPARE(w.stored(), words[0].mid(3)); // at once, before any button
            if (words[1] == QLatin1String("close"))
                w.dialog->close();
            else
                QTest::mouseClick(words[1] == QLatin1String("ok") ? w.dialog->cmdOk : w.dialog->CmdCancel,
                                  Qt::LeftButton);
            QVERIFY(!w.dialog->isVisible());
            w.choice.PortSelectCancelled = w.dialog->result() != QDialog::Accepted;
        }
        QCOMPARE(QStringLiteral("%1 [%2] %3 %4 %5")
                     .arg(w.entries(), w.dialog->Combo->currentText())
                     .arg(w.choice.ComPortNo)
                     .arg(w.stored(), w.choice.PortSelectCancelled ? "yes" : "no"),
                 d.outcome);
    }

    void entriesShowDevicesAndFollowReplugging()
    {
        DialogWorld w({1, 3}, 1);
        // An adapter plugged in since the dialog opened: the numbering is rebuilt for the next listing.
        w.port.openable = {1, 2, 3};
        w.catalog = PortCatalog::fromEntries({{2, "/dev/ttyUSB0", "FT232R USB UART"}, {3, "/tmp/sim", ""}});
        w.dialog->ListComPorts();
        QVERIFY(w.catalogBuilds == 2 && w.entries() == "Com1 Com2 Com3");
        QVERIFY(w.tip(0).isEmpty() && w.tip(1).contains("/dev/ttyUSB0") && w.tip(1).contains("FT232R USB UART"));
        QCOMPARE(w.tip(2), QStringLiteral("/tmp/sim"));
    }

    void shownPortDialog()
    {
        for (const QString &why :
             {QString(),
              QStringLiteral("No permission to use /dev/ttyUSB0. Add your user to the "
                             "'dialout' group (sudo usermod -aG dialout $USER) and log in again.")}) {
            DialogWorld w({1, 3, 4}, 3, false, why);
            frmConfig &dialog = *w.dialog;
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.windowTitle() + ' ' + dialog.cmdOk->text() + dialog.CmdCancel->text(),
                     "ComPort Setting OKCancel");
            QCOMPARE(dialog.Label17->text(), QStringLiteral("ComPort is selected, and ZX is connected."));
            // A reason is shown in full below the buttons; without one there is no label for it.
            QCOMPARE(bool(dialog.LblWhy), !why.isEmpty());
            if (dialog.LblWhy)
                QVERIFY(dialog.LblWhy->text() == why
                        && dialog.LblWhy->geometry().top() >= dialog.cmdOk->geometry().bottom()
                        && dialog.LblWhy->geometry().bottom() <= dialog.height());
        }
    }

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
            QCOMPARE(b->text(), texts[i]);
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
        for (const auto &[text, colour, description] :
             {std::tuple {"RS232 communication fault.", 255, "error"}, {"Completion", 0, ""}}) {
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

    // The write button counts the changes, the limiter's among them. The picture (for the README)
    // shows two values changed after a read, one of them out of range.
    void writeButtonCountsChanges()
    {
        ShownWindow w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QPushButton *write = w.window.CmdZxCom(1);
        SettingsEditor &editor = w.window.editor();
        editor.TxtData(0)->setText("2500"); // one change: tst_keyboard_e2e
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

QTEST_MAIN(TestShellWindows)
#include "tst_shell_windows.moc"
