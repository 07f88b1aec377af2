#include "platform/ini_file.h"
#include "platform/port_catalog.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using SystemList = QList<SystemPort>;
Q_DECLARE_METATYPE(SystemList)

class TestPortCatalog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numbering_data();
    void numbering();
};

void TestPortCatalog::numbering_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<SystemList>("system");
    QTest::addColumn<QStringList>("expected"); // "number=path description"

    const SystemList machine{{"/dev/ttyS1", "built-in", false}, {"/dev/ttyS0", "console", false},
                             {"/dev/ttyUSB1", "second", true}, {"/dev/ttyACM0", "modem", true},
                             {"/dev/ttyUSB0", "FT232R", true}};
    QTest::newRow("[Ports] alone defines, descriptions from the system")
        << QByteArray("[Ports]\nCom3=/tmp/sim\nCom1=/dev/ttyUSB1\n") << machine
        << QStringList{"1=/dev/ttyUSB1 second", "3=/tmp/sim "};
    QTest::newRow("empty [Ports] hides the system's ports") << QByteArray("[Ports]\n") << machine << QStringList{};
    QTest::newRow("[Ports]: bad keys skipped, first mapping wins")
        << QByteArray("[Ports]\nCOM2=/a\ncom0=/b\nCom17=/c\nPort4=/d\nCom5x=/e\nCom6=\nCom16=/f\nCom2=/g\n")
        << SystemList{} << QStringList{"2=/a ", "16=/f "};
    QTest::newRow("system list: USB first, console never") << QByteArray() << machine
        << QStringList{"1=/dev/ttyACM0 modem", "2=/dev/ttyUSB0 FT232R", "3=/dev/ttyUSB1 second", "4=/dev/ttyS1 built-in"};
    SystemList many;
    QStringList expected;
    for (int i = 20; i >= 0; --i)
        many.append({QStringLiteral("/dev/ttyUSB%1").arg(i), QString(), true});
    for (int i = 0; i < 16; ++i)
        expected << QStringLiteral("%1=/dev/ttyUSB%2 ").arg(i + 1).arg(i);
    QTest::newRow("device numbers in natural order, nothing above 16") << QByteArray() << many << expected;
}

void TestPortCatalog::numbering()
{
    QFETCH(QByteArray, ini);
    QFETCH(SystemList, system);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    IniFile file(dir.filePath(QStringLiteral("ZX316B Link.ini")));
    QFile f(file.path());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ini);
    f.close();
    QStringList actual;
    const PortCatalog catalog = PortCatalog::build(file, [&] { return system; });
    for (const PortEntry &e : catalog.entries())
        actual << QStringLiteral("%1=%2 %3").arg(QString::number(e.number), e.devicePath, e.description);
    QCOMPARE(actual, expected);
}

QTEST_MAIN(TestPortCatalog)
#include "tst_port_catalog.moc"
