#include "platform/ini_file.h"
#include "platform/port_catalog.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using SystemList = QList<SystemPort>;
using Numbering = QStringList; // "n=path" per port, in number order
Q_DECLARE_METATYPE(SystemList)

class TestPortCatalog : public QObject {
    Q_OBJECT

    static Numbering numbering(const PortCatalog &c)
    {
        Numbering out;
        for (const PortEntry &e : c.entries())
            out << QStringLiteral("%1=%2").arg(e.number).arg(e.devicePath);
        return out;
    }

private Q_SLOTS:
    void numbering_data();
    void numbering();
    void descriptionsComeFromTheSystemList();
};

void TestPortCatalog::numbering_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<SystemList>("system");
    QTest::addColumn<Numbering>("expected");

    const SystemList machine{{"/dev/ttyS1", "built-in", false},
                             {"/dev/ttyS0", "console", false},
                             {"/dev/ttyUSB1", "second adapter", true},
                             {"/dev/ttyACM0", "modem", true},
                             {"/dev/ttyUSB0", "first adapter", true}};

    QTest::newRow("[Ports] alone defines the ports")
        << QByteArray("[Ports]\nCom3=/tmp/sim\nCom1=/dev/ttyUSB1\n") << machine
        << Numbering{"1=/dev/ttyUSB1", "3=/tmp/sim"};
    QTest::newRow("an empty [Ports] hides every system port") << QByteArray("[Ports]\n") << machine << Numbering{};
    QTest::newRow("[Ports] keys in any case, bad ones skipped")
        << QByteArray("[Ports]\nCOM2=/a\ncom0=/b\nCom17=/c\nPort4=/d\nCom5x=/e\nCom6=\nCom16=/f\n") << SystemList{}
        << Numbering{"2=/a", "16=/f"};
    QTest::newRow("[Ports]: first mapping of a number wins")
        << QByteArray("[Ports]\nCom2=/first\nCom2=/second\n") << SystemList{} << Numbering{"2=/first"};
    QTest::newRow("system list: USB first, console never")
        << QByteArray() << machine
        << Numbering{"1=/dev/ttyACM0", "2=/dev/ttyUSB0", "3=/dev/ttyUSB1", "4=/dev/ttyS1"};
    QTest::newRow("natural order of device numbers")
        << QByteArray("[RS232C]\nCommPort=1\n")
        << SystemList{{"/dev/ttyUSB10", "", true}, {"/dev/ttyUSB2", "", true}, {"/dev/ttyS10", "", false},
                      {"/dev/ttyS2", "", false}}
        << Numbering{"1=/dev/ttyUSB2", "2=/dev/ttyUSB10", "3=/dev/ttyS2", "4=/dev/ttyS10"};
    SystemList many;
    Numbering first16;
    for (int i = 0; i < 20; ++i)
        many.append({QStringLiteral("/dev/ttyUSB%1").arg(i), QString(), true});
    for (int i = 0; i < 16; ++i)
        first16 << QStringLiteral("%1=/dev/ttyUSB%2").arg(i + 1).arg(i);
    QTest::newRow("nothing above 16") << QByteArray() << many << first16;
    QTest::newRow("only the console") << QByteArray() << SystemList{{"/dev/ttyS0", "", false}} << Numbering{};
}

void TestPortCatalog::numbering()
{
    QFETCH(QByteArray, ini);
    QFETCH(SystemList, system);
    QFETCH(Numbering, expected);

    QTemporaryDir dir;
    IniFile file(dir.filePath(QStringLiteral("ZX316B Link.ini")));
    if (!ini.isEmpty()) {
        QFile f(file.path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(ini);
    }
    const PortCatalog catalog = PortCatalog::build(file, [&] { return system; });
    QCOMPARE(numbering(catalog), expected);
    QVERIFY(!catalog.entry(0));
    QVERIFY(!catalog.entry(17));
}

void TestPortCatalog::descriptionsComeFromTheSystemList()
{
    QTemporaryDir dir;
    IniFile file(dir.filePath(QStringLiteral("ZX316B Link.ini")));
    QVERIFY(file.WriteIni(QStringLiteral("Ports"), QStringLiteral("Com4"), QStringLiteral("/dev/ttyUSB0")));
    QVERIFY(file.WriteIni(QStringLiteral("Ports"), QStringLiteral("Com5"), QStringLiteral("/tmp/zx316b-sim")));
    const PortCatalog catalog = PortCatalog::build(file, [] {
        return SystemList{{"/dev/ttyUSB0", "FT232R USB UART", true}};
    });
    QCOMPARE(catalog.entry(4)->description, QStringLiteral("FT232R USB UART"));
    QVERIFY(catalog.entry(5)->description.isEmpty());
}

QTEST_MAIN(TestPortCatalog)
#include "tst_port_catalog.moc"
