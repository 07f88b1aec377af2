#include "ui/frm_config.h"

#include "link/port_choice.h"
#include "platform/ini_file.h"
#include "tests/support/fake_serial_port.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using PortSet = QSet<int>;
Q_DECLARE_METATYPE(PortSet)

class TestPortDialog : public QObject {
    Q_OBJECT

    struct World {
        QTemporaryDir dir;
        IniFile ini{dir.filePath(QStringLiteral("ZX316B Link.ini"))};
        FakeSerialPort port;
        PortChoice choice;
        int catalogBuilds = 0;
        PortCatalog catalog;

        std::unique_ptr<frmConfig> open(const QString &why = QString())
        {
            return std::make_unique<frmConfig>(port, choice, ini, [this] {
                ++catalogBuilds;
                return catalog;
            }, why);
        }
        QString stored() const { return ini.ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort")); }
    };

    static QStringList entries(const frmConfig &d)
    {
        QStringList out;
        for (int i = 0; i < d.Combo->count(); ++i)
            out << d.Combo->itemText(i);
        return out;
    }

private Q_SLOTS:
    void listsThePortsThatOpen_data();
    void listsThePortsThatOpen();
    void probeOpensEachNumberOnceAndLeavesThePortClosed();
    void aPickIsStoredAtOnce();
    void notFoundChangesNothing();
    void buttonsTellTheCallerWhatToDo_data();
    void buttonsTellTheCallerWhatToDo();
    void entriesShowDevicePathAndAdapter();
    void numberingIsRebuiltForEachListing();
    void reasonOfAFailedOpenIsShown();
};

void TestPortDialog::listsThePortsThatOpen_data()
{
    QTest::addColumn<PortSet>("openable");
    QTest::addColumn<int>("configured");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("stored"); // CommPort in the INI file afterwards
    QTest::addColumn<int>("portNumberAfter");

    QTest::newRow("configured port is pre-selected and stored again")
        << PortSet{1, 4} << 4 << QStringList{"Com1", "Com4"} << "Com4" << "4" << 4;
    QTest::newRow("configured port missing: nothing selected")
        << PortSet{1, 4} << 2 << QStringList{"Com1", "Com4"} << "" << "Error" << 2;
    QTest::newRow("nothing configured: nothing selected")
        << PortSet{7} << 0 << QStringList{"Com7"} << "" << "Error" << 0;
    QTest::newRow("no port at all") << PortSet{} << 3 << QStringList{"Not found"} << "Not found" << "Error" << 3;
    QTest::newRow("ports above 16 are never listed")
        << PortSet{3, 16, 17, 20} << 17 << QStringList{"Com3", "Com16"} << "" << "Error" << 17;
    QTest::newRow("first of many") << PortSet{1, 2, 3, 9, 10, 11, 12, 13, 14, 15, 16} << 1
        << QStringList{"Com1", "Com2", "Com3", "Com9", "Com10", "Com11", "Com12", "Com13", "Com14", "Com15", "Com16"}
        << "Com1" << "1" << 1;
}

void TestPortDialog::listsThePortsThatOpen()
{
    QFETCH(PortSet, openable);
    QFETCH(int, configured);
    QFETCH(QStringList, listed);
    QFETCH(QString, selected);
    QFETCH(QString, stored);
    QFETCH(int, portNumberAfter);

    World w;
    w.port.openable = openable;
    w.choice.ComPortNo = qint16(configured);
    auto dialog = w.open();
    QCOMPARE(entries(*dialog), listed);
    QCOMPARE(dialog->Combo->currentText(), selected);
    QCOMPARE(w.stored(), stored);
    QCOMPARE(int(w.choice.ComPortNo), portNumberAfter);
}

void TestPortDialog::probeOpensEachNumberOnceAndLeavesThePortClosed()
{
    World w;
    w.port.openable = {2, 5};
    QVERIFY(w.port.open(5));
    w.port.openAttempts = 0;
    auto dialog = w.open();
    QCOMPARE(w.port.openAttempts, 16);
    QVERIFY(!w.port.isOpen());
    QVERIFY(w.port.written.isEmpty()); // probing sends nothing
}

void TestPortDialog::aPickIsStoredAtOnce()
{
    World w;
    w.port.openable = {5, 12};
    w.choice.ComPortNo = 5;
    auto dialog = w.open();
    QCOMPARE(w.stored(), QStringLiteral("5"));

    dialog->Combo->setCurrentIndex(dialog->Combo->findText(QStringLiteral("Com12")));
    QCOMPARE(int(w.choice.ComPortNo), 12);
    QCOMPARE(w.stored(), QStringLiteral("12"));
    // Neither button has been pressed yet.
    QVERIFY(!w.choice.PortSelectCancelled);
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
}

void TestPortDialog::notFoundChangesNothing()
{
    World w;
    w.choice.ComPortNo = 6;
    auto dialog = w.open();
    QCOMPARE(dialog->Combo->currentText(), QStringLiteral("Not found"));
    dialog->Combo_Click(); // as if the user picked it again
    QCOMPARE(int(w.choice.ComPortNo), 6);
    QVERIFY(!QFileInfo::exists(w.ini.path()));
}

void TestPortDialog::buttonsTellTheCallerWhatToDo_data()
{
    QTest::addColumn<QString>("button"); // "ok", "cancel" or "close box"
    QTest::addColumn<bool>("cancelledBefore");
    QTest::addColumn<bool>("cancelledAfter");

    QTest::newRow("OK") << "ok" << true << false;
    QTest::newRow("Cancel") << "cancel" << false << true;
    QTest::newRow("close box keeps a cancel") << "close box" << true << true;
    QTest::newRow("close box keeps an OK") << "close box" << false << false;
}

void TestPortDialog::buttonsTellTheCallerWhatToDo()
{
    QFETCH(QString, button);
    QFETCH(bool, cancelledBefore);
    QFETCH(bool, cancelledAfter);

    World w;
    w.port.openable = {2, 3};
    w.choice.ComPortNo = 2;
    w.choice.PortSelectCancelled = cancelledBefore;
    auto dialog = w.open();
    dialog->show();
    // A pick before the button: it stays, whatever the button.
    dialog->Combo->setCurrentIndex(dialog->Combo->findText(QStringLiteral("Com3")));
    if (button == QLatin1String("ok"))
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    else if (button == QLatin1String("cancel"))
        QTest::mouseClick(dialog->CmdCancel, Qt::LeftButton);
    else
        dialog->close();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(w.choice.PortSelectCancelled, cancelledAfter);
    QCOMPARE(int(w.choice.ComPortNo), 3);
    QCOMPARE(w.stored(), QStringLiteral("3"));
}

void TestPortDialog::entriesShowDevicePathAndAdapter()
{
    World w;
    w.port.openable = {1, 2, 3};
    w.catalog = PortCatalog::fromEntries({{1, "/dev/ttyUSB0", "FT232R USB UART"},
                                          {2, "/tmp/zx316b-sim", ""}});
    auto dialog = w.open();
    auto tip = [&](int row) { return dialog->Combo->itemData(row, Qt::ToolTipRole).toString(); };
    QVERIFY(tip(0).contains(QStringLiteral("/dev/ttyUSB0")));
    QVERIFY(tip(0).contains(QStringLiteral("FT232R USB UART")));
    QCOMPARE(tip(1), QStringLiteral("/tmp/zx316b-sim"));
    QVERIFY(tip(2).isEmpty()); // opened, but the catalog knows nothing about it
}

void TestPortDialog::numberingIsRebuiltForEachListing()
{
    World w;
    w.port.openable = {1};
    auto dialog = w.open();
    QCOMPARE(w.catalogBuilds, 1);
    QCOMPARE(entries(*dialog), QStringList{"Com1"});
    // An adapter plugged in while the program runs shows on the next listing.
    w.port.openable = {1, 2};
    w.catalog = PortCatalog::fromEntries({{2, "/dev/ttyACM0", "new adapter"}});
    dialog->ListComPorts();
    QCOMPARE(w.catalogBuilds, 2);
    QCOMPARE(entries(*dialog), (QStringList{"Com1", "Com2"}));
    QVERIFY(dialog->Combo->itemData(1, Qt::ToolTipRole).toString().contains(QStringLiteral("/dev/ttyACM0")));
}

void TestPortDialog::reasonOfAFailedOpenIsShown()
{
    World w;
    auto plain = w.open();
    QVERIFY(!plain->LblWhy);
    QCOMPARE(plain->windowTitle(), QStringLiteral("ComPort Setting"));
    QCOMPARE(plain->Label17->text(), QStringLiteral("ComPort is selected, and ZX is connected."));
    QCOMPARE(plain->cmdOk->text(), QStringLiteral("OK"));
    QCOMPARE(plain->CmdCancel->text(), QStringLiteral("Cancel"));

    const QString why = QStringLiteral("No permission to use /dev/ttyUSB0. Add your user to the 'dialout' group.");
    auto failed = w.open(why);
    QVERIFY(failed->LblWhy);
    QCOMPARE(failed->LblWhy->text(), why);
    QVERIFY(failed->height() > plain->height());
    // The reason sits below the buttons, inside the dialog.
    QVERIFY(failed->LblWhy->geometry().top() >= failed->cmdOk->geometry().bottom());
    QVERIFY(failed->LblWhy->geometry().bottom() <= failed->height());
}

QTEST_MAIN(TestPortDialog)
#include "tst_frm_config.moc"
