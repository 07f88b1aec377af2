// The main window and the port dialog; shown windows are also saved as pictures (test-output/*.png).
#include "ui/frm_config.h"
#include "ui/frm_main.h"
#include "ui/logo_widget.h"
#include "ui/message_line_edit.h"
#include "ui/shape_led.h"

#include "link/port_choice.h"
#include "logdata/log_store.h"
#include "platform/ini_file.h"
#include "platform/gui/twips.h"
#include "editor/settings_editor.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/test_output.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
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

struct MainWorld {
    FakeSerialPort port;
    RecordingMessageBoxes boxes;
    LogStore store;
    FrmMain window {port, boxes};
};

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

class TestShellWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void widgetsAndMenus()
    {
        MainWorld w;
        for (auto [name, caption, r] : {std::tuple {"CmdZxCom_0", "Setting Data Read", QRect(180, 240, 1575, 495)},
                                        {"LblBusy", "Busy", QRect(2340, 4080, 555, 195)},
                                        {"FraTmp", "", QRect(180, 5460, 6255, 2475)}}) {
            auto *widget = w.window.client()->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
            QVERIFY2(widget && widget->geometry() == twips::rect(r.x(), r.y(), r.width(), r.height()), name);
            auto *button = qobject_cast<QPushButton *>(widget);
            auto *label = qobject_cast<QLabel *>(widget);
            // A button's caption as shown: its access key is underlined, not written.
            QCOMPARE(button ? QString(button->text()).remove('&') : label ? label->text() : QString(), caption);
        }
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
        MainWorld w;
        FrmMain &window = w.window;
        w.port.openable = {1};
        QVERIFY(w.port.open(1));
        window.prepare(QStringLiteral("Version1.00"), QStringLiteral("ZX316B Link"));
        window.MainIni();
        QVERIFY(!window.editor().TxtData(0)->toolTip().isEmpty() && window.CmdZxCom(0)->isEnabled());
        window.messageLine().ShowMessage(QStringLiteral("CommPort was initialized."), 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(saveScreenshot(&window, QStringLiteral("main-window.png")));
        QCOMPARE(window.windowTitle(), QStringLiteral("ZX316B Link"));
        // Cut to the visible part: the version is the lowest widget shown, the frame is below.
        QCOMPARE(window.size(), QSize(twips::toPixels(6450), twips::toPixels(6030)));
        QVERIFY(window.LblVersion()->mapTo(&window, QPoint(0, window.LblVersion()->height())).y() <= window.height());
        const QImage shot = window.grab().toImage(); // the indicator shows its idle dark teal
        const QPoint led = window.ShpLED()->mapTo(&window, window.ShpLED()->rect().center());
        QCOMPARE(shot.pixelColor(led * shot.devicePixelRatio()), QColor(0, 0x40, 0x40));
        // Writing waits for settings to show, not just for the port; a click tells which command.
        QVERIFY(!window.CmdZxCom(1)->isEnabled());
        Q_EMIT window.editor().writeAllowed(true);
        QList<int> clicked;
        connect(&window, &FrmMain::commandClicked, this, [&](int index) { clicked << index; });
        QTest::mouseClick(window.CmdZxCom(3), Qt::LeftButton);
        QTest::mouseClick(window.CmdZxCom(1), Qt::LeftButton);
        QCOMPARE(clicked, (QList<int> {3, 1}));
        // The message line shows its text in the colour asked for, and cannot be typed into.
        for (const auto &[colour, shown] : {std::pair {255, QColor(255, 0, 0)}, std::pair {0, QColor(Qt::black)}}) {
            window.messageLine().ShowMessage(QStringLiteral("ComPort cannot be opened."), colour);
            QCOMPARE(window.TxtMsg()->text(), QStringLiteral("ComPort cannot be opened."));
            const QPalette p = window.TxtMsg()->palette();
            QVERIFY(p.color(QPalette::Active, QPalette::Text) == shown
                    && p.color(QPalette::Inactive, QPalette::Text) == shown);
        }
        QVERIFY(window.TxtMsg()->isReadOnly());
        window.resize(window.width() + 200, window.height() + 300); // enlarging only shows empty client area
        QVERIFY(!window.FraTmp()->isVisible() && !window.editor().TxtData(2)->isVisible());
        const QImage logo = LogoWidget::render();
        QVERIFY(logo.size() == QSize(150, 45) && logo.pixelColor(0, 0).alpha() == 0
                && logo.pixelColor(75, 22).alpha() > 0);
        QVERIFY(logo.save(testOutputDir() + QStringLiteral("/logo.png")));
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
                 // The dialog can always be left: the close box and Escape are Cancel.
                 {"close box after an OK", {5, 12}, 5, false, "Com12 close", "Com5 Com12 [Com12] 12 12 yes"},
                 {"Escape after an OK", {5, 12}, 5, false, "Com12 escape", "Com5 Com12 [Com12] 12 12 yes"}})
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
            else if (words[1] == QLatin1String("escape"))
                QTest::keyClick(w.dialog.get(), Qt::Key_Escape);
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
            QVERIFY(saveScreenshot(
                &dialog, why.isEmpty() ? QStringLiteral("port-dialog.png") : QStringLiteral("port-dialog-failed.png")));
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
};

QTEST_MAIN(TestShellWindows)
#include "tst_shell_windows.moc"
