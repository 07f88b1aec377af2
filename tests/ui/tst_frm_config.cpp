#include "ui/frm_config.h"

#include "link/port_choice.h"
#include "platform/ini_file.h"
#include "tests/support/fake_serial_port.h"

#include <QComboBox>
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
        PortCatalog catalog;
        int catalogBuilds = 0;

        std::unique_ptr<frmConfig> open(const QString &why = QString())
        {
            auto source = [this] { return ++catalogBuilds, catalog; };
            return std::make_unique<frmConfig>(port, choice, ini, source, why);
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
    void aPickIsStoredAtOnce();
    void buttonsTellTheCallerWhatToDo_data();
    void buttonsTellTheCallerWhatToDo();
    void entriesShowDevicesAndFollowReplugging();
    void reasonOfAFailedOpenIsShown();
};

void TestPortDialog::listsThePortsThatOpen_data()
{
    QTest::addColumn<PortSet>("openable");
    QTest::addColumn<int>("configured");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("stored"); // CommPort in the INI file afterwards

    QTest::newRow("configured port selected and stored again") << PortSet{1, 4} << 4
        << QStringList{"Com1", "Com4"} << "Com4" << "4";
    QTest::newRow("configured port missing: no selection") << PortSet{1, 4} << 2
        << QStringList{"Com1", "Com4"} << "" << "Error";
    QTest::newRow("no port: Not found, which stores nothing") << PortSet{} << 3
        << QStringList{"Not found"} << "Not found" << "Error";
    QTest::newRow("nothing above 16") << PortSet{3, 16, 17, 20} << 17 << QStringList{"Com3", "Com16"} << "" << "Error";
}

void TestPortDialog::listsThePortsThatOpen()
{
    QFETCH(PortSet, openable);
    QFETCH(int, configured);
    QFETCH(QStringList, listed);
    QFETCH(QString, selected);
    QFETCH(QString, stored);

    World w;
    w.port.openable = openable;
    w.choice.ComPortNo = qint16(configured);
    auto dialog = w.open();
    QCOMPARE(entries(*dialog), listed);
    QCOMPARE(dialog->Combo->currentText(), selected);
    QCOMPARE(w.stored(), stored);
    QCOMPARE(int(w.choice.ComPortNo), configured);
    // Each number probed once, nothing sent, the port left closed.
    QCOMPARE(w.port.openAttempts, 16);
    QVERIFY(w.port.written.isEmpty());
    QVERIFY(!w.port.isOpen());
}

void TestPortDialog::aPickIsStoredAtOnce()
{
    World w;
    w.port.openable = {5, 12};
    w.choice.ComPortNo = 5;
    auto dialog = w.open();
    dialog->Combo->setCurrentIndex(dialog->Combo->findText(QStringLiteral("Com12")));
    // Stored before either button is pressed.
    QCOMPARE(int(w.choice.ComPortNo), 12);
    QCOMPARE(w.stored(), QStringLiteral("12"));
}

void TestPortDialog::buttonsTellTheCallerWhatToDo_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("cancelledBefore");
    QTest::addColumn<bool>("cancelledAfter");
    QTest::newRow("OK") << "ok" << true << false;
    QTest::newRow("Cancel after a pick") << "cancel" << false << true;
    QTest::newRow("close box keeps a Cancel") << "close" << true << true;
    QTest::newRow("close box keeps an OK") << "close" << false << false;
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
    dialog->Combo->setCurrentIndex(dialog->Combo->findText(QStringLiteral("Com3")));
    if (button == QLatin1String("close"))
        dialog->close();
    else
        QTest::mouseClick(button == QLatin1String("ok") ? dialog->cmdOk : dialog->CmdCancel, Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(w.choice.PortSelectCancelled, cancelledAfter);
    QCOMPARE(w.stored(), QStringLiteral("3")); // the pick stays, whatever the button
}

void TestPortDialog::entriesShowDevicesAndFollowReplugging()
{
    World w;
    w.port.openable = {1, 3};
    w.catalog = PortCatalog::fromEntries({{1, "/dev/ttyUSB0", "FT232R USB UART"}, {3, "/tmp/sim", ""}});
    auto dialog = w.open();
    auto tip = [&](int row) { return dialog->Combo->itemData(row, Qt::ToolTipRole).toString(); };
    QVERIFY(tip(0).contains(QStringLiteral("/dev/ttyUSB0")) && tip(0).contains(QStringLiteral("FT232R USB UART")));
    QCOMPARE(tip(1), QStringLiteral("/tmp/sim"));
    // An adapter plugged in since: the numbering is rebuilt for the next listing.
    w.port.openable = {1, 2, 3};
    w.catalog = PortCatalog::fromEntries({{2, "/dev/ttyACM0", "new"}});
    dialog->ListComPorts();
    QCOMPARE(w.catalogBuilds, 2);
    QCOMPARE(entries(*dialog), (QStringList{"Com1", "Com2", "Com3"}));
    QVERIFY(tip(1).contains(QStringLiteral("/dev/ttyACM0")));
    QVERIFY(tip(0).isEmpty());
}

void TestPortDialog::reasonOfAFailedOpenIsShown()
{
    World w;
    auto plain = w.open();
    QCOMPARE(plain->windowTitle(), QStringLiteral("ComPort Setting"));
    QCOMPARE(plain->Label17->text(), QStringLiteral("ComPort is selected, and ZX is connected."));
    QCOMPARE(plain->cmdOk->text() + plain->CmdCancel->text(), QStringLiteral("OKCancel"));
    QVERIFY(!plain->LblWhy);

    const QString why = QStringLiteral("No permission to use /dev/ttyUSB0. Add your user to the 'dialout' group.");
    auto failed = w.open(why);
    QCOMPARE(failed->LblWhy->text(), why);
    QVERIFY(failed->LblWhy->geometry().top() >= failed->cmdOk->geometry().bottom());
    QVERIFY(failed->LblWhy->geometry().bottom() <= failed->height());
}

QTEST_MAIN(TestPortDialog)
#include "tst_frm_config.moc"
