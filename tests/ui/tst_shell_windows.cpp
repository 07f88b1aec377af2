// The main window, its small widgets and the port dialog; shown windows are saved as pictures (test-output/*.png).
#include "ui/busy_indicator.h"
#include "ui/frm_config.h"
#include "ui/frm_main.h"
#include "ui/logo_widget.h"
#include "ui/message_line_edit.h"
#include "ui/shape_led.h"

#include "editor/settings_editor.h"
#include "platform/gui/qt_message_boxes.h"
#include "platform/gui/twips.h"
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
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using PortSet = QSet<int>;
// `leave` "cancel|Return|Escape": pick the entry below the configured one with the arrow key, then leave;
// `outcome`: entries [selected], the last number stored (0: none), how the dialog was left.
struct Dialog {
    const char *name;
    PortSet openable;
    int configured;
    QString leave;
    const char *outcome;
};
Q_DECLARE_METATYPE(Dialog)

// A port dialog over the ports that open and the configured port; `stored`: the last pick handed to be kept.
struct DialogWorld {
    FakeSerialPort port;
    PortCatalog catalog;
    int catalogBuilds = 0;
    int stored = 0;
    std::unique_ptr<frmConfig> dialog;

    DialogWorld(PortSet openable, int configured, const QString &why = {})
    {
        port.openable = std::move(openable);
        dialog = std::make_unique<frmConfig>(
            port, configured, [this] { return ++catalogBuilds, catalog; }, [this](int n) { stored = n; }, why);
    }
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

// The fill inside a one-pixel black frame, or "no frame".
QString framedFill(const QImage &image)
{
    const QPoint last(image.width() - 1, image.height() - 1);
    const QColor fill = image.pixelColor(1, 1);
    const bool framed = image.pixelColor(0, 0) == Qt::black && image.pixelColor(last) == Qt::black;
    return framed && image.pixelColor(last - QPoint(1, 1)) == fill ? fill.name() : QStringLiteral("no frame");
}

} // namespace

class TestShellWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shownMainWindow()
    {
        ShownWindow w(false);
        FrmMain &window = w.window;
        window.messageLine().ShowMessage(QStringLiteral("CommPort was initialized."), 0);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(saveScreenshot(&window, QStringLiteral("main-window.png")));
        QCOMPARE(window.windowTitle(), QStringLiteral("ZX316B Link"));
        // Cut to the visible part: the version is the lowest widget shown.
        QCOMPARE(window.size(), QSize(twips::toPixels(6450), twips::toPixels(6030)));
        QVERIFY(window.LblVersion()->mapTo(&window, QPoint(0, window.LblVersion()->height())).y() <= window.height());
        auto *busy = window.client()->findChild<QLabel *>("LblBusy", Qt::FindDirectChildrenOnly);
        QVERIFY(busy && busy->text() == "Busy");
        const MainMenu &m = window.menu();
        QStringList captions;
        for (QAction *a :
             window.menuBar()->actions() + m.mnuFile->actions() + m.mnuSet->actions() + m.mnuLog->actions())
            captions << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + QLatin1Char(':') + a->text());
        QCOMPARE(captions,
                 (QStringList {":&File", "mnuCom:&ComPort", "mnuEnd:&Exit", ":&Setting Data ", "-", ":&Log Data",
                               "mnuOpen:&Open", "mnuSave:&Save", "munOpenLog:&Open", "mnuSaveLog:&Save"}));
        QVERIFY(!window.mnuCom()->menu() && !window.mnuEnd()->menu()); // commands on the bar itself

        // The write button counts the changes, the limiter's among them (the README's picture: two, one out of range).
        SettingsEditor &editor = window.editor();
        editor.ShowReadData(worked::Block, BlockSource::Device);
        editor.TxtData(0)->setText("2500"); // one change: tst_program_e2e
        editor.TxtData(8)->setText("101");
        window.messageLine().ShowMessage("Completion", 0);
        QVERIFY(saveScreenshot(&window, "main-window-changed.png"));
        editor.ChkCurLimOff()->setChecked(true);
        QCOMPARE(window.CmdZxCom(1)->toolTip(), "Writes 3 changed fields");
        window.ClearDisplay();
        QCOMPARE(window.CmdZxCom(1)->toolTip(), "No field changed");

        // The message line and the busy indicator as a screen reader hears them; a long message shows its start.
        MessageLineEdit *line = window.TxtMsg();
        QVERIFY(line->isReadOnly());
        QCOMPARE(accessible(line, QAccessible::Name), "Message");
        for (const auto &[text, colour, description] :
             {std::tuple {"RS232 communication fault.", 255, "error"}, {"Completion", 0, ""}}) {
            window.messageLine().ShowMessage(text, colour);
            QCOMPARE(accessible(line, QAccessible::Description), description);
            QCOMPARE(line->cursorPosition(), 0);
        }
        // The indicator: a black frame around teal until the first command, then the greens.
        ShapeLed *led = window.ShpLED();
        QCOMPARE(accessible(led, QAccessible::Name), "Busy");
        QStringList seen;
        for (int step : {-1, 1, 0}) {
            if (step >= 0)
                window.busyIndicator().setBusy(step);
            seen << accessible(led, QAccessible::Description) + ' ' + framedFill(led->grab().toImage());
        }
        QCOMPARE(seen, (QStringList {"idle #004040", "communicating #00ff00", "idle #004000"}));
    }

    // Tab follows the reading order; each command button answers Space, Return, Enter on the keypad, and Alt with
    // its key from anywhere; the menu's shortcuts work from a field (Ctrl+S: tst_program_e2e).
    void keyboard()
    {
        ShownWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QStringList order {w.focused()}; // where the window starts
        for (int k = 0; k < 16; ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << w.focused();
        }
        QCOMPARE(order.join(' '),
                 "CmdZxCom_0 CmdZxCom_1 CmdZxCom_2 CmdZxCom_3 CmdZxCom_4 TxtData_0 TxtData_1 "
                 "TxtData_5 TxtData_6 TxtData_7 ChkCurLimOff TxtData_12 TxtData_11 TxtData_8 "
                 "TxtData_10 TxtMsg CmdZxCom_0");

        const QStringList texts {"Setting Data &Read", "Setting Data &Write", "&Default Data Write", "Data &Get",
                                 "Data C&lear"};
        for (int i = 0; i < 5; ++i) {
            QPushButton *b = w.window.CmdZxCom(i);
            QCOMPARE(b->text(), texts[i]);
            QCOMPARE(accessible(b, QAccessible::Name), QString(texts[i]).remove('&'));
            w.clicked.clear();
            b->setFocus();
            QTest::keyClick(b, Qt::Key_Space);
            QTest::keyClick(b, Qt::Key_Return);
            QTest::keyClick(b, Qt::Key_Enter, Qt::KeypadModifier);
            w.window.editor().TxtData(0)->setFocus();
            QTest::keyClick(&w.window, texts[i][texts[i].indexOf('&') + 1].toLatin1(), Qt::AltModifier);
            QTRY_COMPARE(w.clicked, (QList<int> {i, i, i, i}));
        }

        QSignalSpy opened(w.window.mnuOpen(), &QAction::triggered);
        QSignalSpy closing(&w.window, &FrmMain::closing);
        QWidget *field = w.window.editor().TxtData(6);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_O, Qt::ControlModifier);
        QVERIFY(opened.count() == 1 && closing.isEmpty());
        QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(closing.count(), 1);
    }

    void portDialog_data()
    {
        QTest::addColumn<Dialog>("d");
        for (const Dialog &d : std::initializer_list<Dialog> {
                 {"configured port selected, stored again", {1, 4}, 4, "", "Com1 Com4 [Com4] 4"},
                 {"configured port missing", {1, 4}, 2, "", "Com1 Com4 [] 0"},
                 {"no port: Not found, stored never", {}, 3, "", "Not found [Not found] 0"},
                 {"nothing above 16", {3, 16, 17, 20}, 17, "", "Com3 Com16 [] 0"},
                 {"Cancel after a pick", {5, 12}, 5, "cancel", "Com5 Com12 [Com12] 12 Cancel"},
                 {"Return is OK", {5, 12}, 5, "Return", "Com5 Com12 [Com12] 12 OK"},
                 {"Escape is Cancel", {5, 12}, 5, "Escape", "Com5 Com12 [Com12] 12 Cancel"}})
            QTest::newRow(d.name) << d;
    }
    void portDialog()
    {
        QFETCH(Dialog, d);
        DialogWorld w(d.openable, d.configured);
        frmConfig &dialog = *w.dialog;
        QVERIFY(w.port.openAttempts == 16 && w.port.written.isEmpty() && !w.port.isOpen());
        if (!d.leave.isEmpty()) {
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QCOMPARE(QStringList({dialog.windowTitle(), dialog.cmdOk->text(), dialog.CmdCancel->text(),
                                  dialog.Label17->text()}),
                     (QStringList {"ComPort Setting", "OK", "Cancel", "ComPort is selected, and ZX is connected."}));
            QVERIFY(!dialog.LblWhy); // no reason, no room for one
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // the list has the focus
            QCOMPARE(QString::number(w.stored), dialog.Combo->currentText().mid(3)); // at once, before any button
            if (d.leave == QLatin1String("cancel"))
                QTest::mouseClick(dialog.CmdCancel, Qt::LeftButton);
            else
                QTest::keyClick(dialog.Combo, d.leave == QLatin1String("Return") ? Qt::Key_Return : Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
        }
        const QString left = d.leave.isEmpty() ? "" : dialog.result() == QDialog::Accepted ? " OK" : " Cancel";
        QCOMPARE(QStringLiteral("%1 [%2] %3").arg(w.entries(), dialog.Combo->currentText()).arg(w.stored) + left,
                 d.outcome);
    }

    // Entries name their devices and follow replugging; a reason the port failed is shown in full below the buttons.
    void entriesAndReason()
    {
        const QString why = QStringLiteral("No permission to use /dev/ttyUSB0. Add your user to the "
                                           "'dialout' group (sudo usermod -aG dialout $USER) and log in again.");
        DialogWorld w({1, 3}, 1, why);
        w.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dialog.get()));
        const QLabel *label = w.dialog->LblWhy;
        QVERIFY(label && label->text() == why && label->geometry().top() >= w.dialog->cmdOk->geometry().bottom()
                && label->geometry().bottom() <= w.dialog->height());
        // An adapter plugged in since the dialog opened: the numbering is rebuilt for the next listing.
        w.port.openable = {1, 2, 3};
        w.catalog = PortCatalog::fromEntries({{2, "/dev/ttyUSB0", "FT232R USB UART"}, {3, "/tmp/sim", ""}});
        w.dialog->ListComPorts();
        QVERIFY(w.catalogBuilds == 2 && w.entries() == "Com1 Com2 Com3");
        QCOMPARE(w.tip(0) + '|' + w.tip(1) + '|' + w.tip(2), "|/dev/ttyUSB0 — FT232R USB UART|/tmp/sim");
    }

    // The real message box behind its seam, answered by a key while it is up; Return takes the default.
    void messageBoxes()
    {
        using B = MessageBoxes::Buttons;
        using I = MessageBoxes::Icon;
        using A = MessageBoxes::Answer;
        QtMessageBoxes boxes("ZX316B Link");
        for (auto [buttons, icon, key, shown, qtIcon, answer] :
             {std::tuple {B::Ok, I::Critical, Qt::Key_Return, "OK", QMessageBox::Critical, A::Ok},
              {B::Ok, I::Exclamation, Qt::Key_Return, "OK", QMessageBox::Warning, A::Ok},
              {B::YesNo, I::Information, Qt::Key_Escape, "Yes* No", QMessageBox::Information, A::No},
              {B::YesNoDefaultNo, I::None, Qt::Key_Return, "Yes No*", QMessageBox::NoIcon, A::No}}) {
            QString seen;
            QTimer::singleShot(0, this, [&seen, key = key] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    seen = box->windowTitle() + ": " + box->text() + " /"; // buttons in order, the default one marked
                    for (QAbstractButton *b : box->buttons())
                        seen += ' ' + b->text().remove('&') + (b == box->defaultButton() ? "*" : "");
                    seen += ' ' + QString::number(int(box->icon()));
                    QTest::keyClick(box, key);
                }
            });
            QVERIFY(boxes.show("Erase?", icon, buttons) == answer);
            QCOMPARE(seen, QStringLiteral("ZX316B Link: Erase? / %1 %2").arg(shown).arg(int(qtIcon)));
        }
    }

    // The logo: transparent corners, a dark blue badge, the yellow spark inside a ring round its centre.
    void logo()
    {
        const QImage logo = LogoWidget::render();
        QCOMPARE(logo.pixelColor(0, 0).alpha(), 0);
        const QColor field = logo.pixelColor(110, 40);
        QVERIFY2(field.blue() > field.red() + 40 && field.blue() > 40, qPrintable(field.name()));
        QCOMPARE(logo.pixelColor(22, 22), QColor(0xff, 0xc8, 0x2e));
        for (QPoint ring : {QPoint(8, 22), QPoint(36, 22), QPoint(22, 8), QPoint(22, 36)})
            QCOMPARE(logo.pixelColor(ring), QColor(0x6f, 0xb8, 0xe8));
    }
};

QTEST_MAIN(TestShellWindows)
#include "tst_shell_windows.moc"
