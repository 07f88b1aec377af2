#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/port_catalog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using SystemList = QList<SystemPort>;
Q_DECLARE_METATYPE(SystemList)
// A file's bytes ("<none>": no file) and one of its keys; `text` is what a read gives.
struct Entry {
    const char *name;
    QByteArray content;
    QString section, key, text;
};
Q_DECLARE_METATYPE(Entry)

class TestIniFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QStringLiteral("ZX316B Link.ini")); }
    void put(const QByteArray &b) const // "<none>": no file
    {
        QFile f(path());
        QVERIFY(b == "<none>" || (f.open(QIODevice::WriteOnly) && f.write(b) == b.size()));
    }
    static QByteArray get(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray get() const { return get(path()); }
    bool writePort(const char *value) { return IniFile(path()).WriteIni("RS232C", "CommPort", value); }

private Q_SLOTS:
    void init() { QFile::remove(path()); }

    void reading_data()
    {
        QTest::addColumn<Entry>("e");
        const QByteArray basic("[RS232C]\nCommPort=3\n[Chart]\nScaleLine0=1\n");
        for (const Entry &e : std::initializer_list<Entry> {
                 {"no file", "<none>", "RS232C", "CommPort", "Error"},
                 {"missing key", basic, "Chart", "ScaleLine1", "Error"},
                 {"key of another section", basic, "Chart", "CommPort", "Error"},
                 {"names in any case", basic, "rs232c", "COMMPORT", "3"},
                 {"blanks around names and value", "  [ RS232C ]  \n  CommPort  =  4  \n", "RS232C", "CommPort", "4"},
                 {"mixed lines", "[Chart]\nScaleLine0=1\r\n[RS232C]\rCommPort=5", "RS232C", "CommPort", "5"},
                 {"comments are not keys", "[A]\n;K=1\n#K=2\nK=6\n", "A", "K", "6"},
                 {"first of two keys", "[RS232C]\nCommPort=1\nCommPort=2\n", "RS232C", "CommPort", "1"},
                 {"value holds an equals sign", "[Ports]\nCom1=/dev/a=b\n", "Ports", "Com1", "/dev/a=b"},
                 {"cut at NUL", "[A]\nK=12" + QByteArray(1, '\0') + "34\n", "A", "K", "12"},
                 {"cut to 255", "[A]\nK=" + QByteArray(300, '7'), "A", "K", QString(255, '7')},
                 {"entry before any section, unclosed section", "K=1\n[A\nK=2\n[A]\n", "A", "K", "Error"}})
            QTest::newRow(e.name) << e;
    }
    void reading()
    {
        QFETCH(Entry, e);
        put(e.content);
        QCOMPARE(IniFile(path()).ReadIni(e.section, e.key), e.text);
        QCOMPARE(QFileInfo::exists(path()), e.content != "<none>"); // reading creates nothing
    }

    void writing_data() // the value written is always "7"; `text` is the file afterwards
    {
        QTest::addColumn<Entry>("e");
        for (const Entry &e : std::initializer_list<Entry> {
                 {"creates file and section", "<none>", "A", "K", "[A]\nK=7\n"},
                 {"replaces, keeps the rest", "; c\n[A]\nK=1\nX=y\n\n[B]\nK=1\n", "A", "K",
                  "; c\n[A]\nK=7\nX=y\n\n[B]\nK=1\n"},
                 {"adds a key after the section's last entry", "[A]\nX=1\n\n[B]\n", "A", "K", "[A]\nX=1\nK=7\n\n[B]\n"},
                 {"adds a section at the end", "[A]\nK=1\n", "B", "K", "[A]\nK=1\n\n[B]\nK=7\n"},
                 {"any case, spelling kept", "[rs232c]\ncommport=1\n", "RS232C", "CommPort", "[rs232c]\ncommport=7\n"},
                 {"CRLF kept", "[A]\r\n;K=9\r\nK=1\r\n", "A", "K", "[A]\r\n;K=9\r\nK=7\r\n"},
                 {"CR kept", "[A]\rK=1\r[B]\rK=2\r", "A", "K", "[A]\rK=7\r[B]\rK=2\r"}})
            QTest::newRow(e.name) << e;
    }
    void writing()
    {
        QFETCH(Entry, e);
        put(e.content);
        IniFile ini(path());
        QVERIFY(ini.WriteIni(e.section, e.key, QStringLiteral("7")));
        QCOMPARE(QString::fromLatin1(get()), e.text);
        QCOMPARE(ini.ReadIni(e.section, e.key), QStringLiteral("7"));
    }

    void replacingIsAllOrNothing()
    {
        put("[RS232C]\nCommPort=1\n");
        // A second name for the old file: an in-place rewrite would change what it shows.
        const QString oldName = m_dir.filePath(QStringLiteral("old"));
        QVERIFY(::link(QFile::encodeName(path()).constData(), QFile::encodeName(oldName).constData()) == 0);
        QVERIFY(writePort("2") && get(oldName) == "[RS232C]\nCommPort=1\n"); // the new content: writing()
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files).size(), 2); // no temporary left behind
        // Down to a single byte, whatever the length, the content is written whole.
        QVERIFY(replaceFileAtomically(oldName, "x").isEmpty() && get(oldName) == "x");
        if (::geteuid() != 0) { // permissions do not bind the superuser
            put("[RS232C]\nCommPort=1\n");
            QFile::setPermissions(path(), QFile::WriteOwner);
            QVERIFY(!writePort("2"));
            QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(get(), QByteArray("[RS232C]\nCommPort=1\n"));
        }
    }

    void portNumbering_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<SystemList>("system");
        QTest::addColumn<QStringList>("expected"); // "number=path description"
        const SystemList machine {{"/dev/ttyS1", "built-in", false},
                                  {"/dev/ttyS0", "first built-in", false},
                                  {"/dev/ttyUSB1", "second", true},
                                  {"/dev/ttyACM0", "modem", true},
                                  {"/dev/ttyUSB0", "FT232R", true}};
        QTest::newRow("[Ports] alone defines, descriptions from the system")
            << QByteArray("[Ports]\nCom3=/tmp/sim\nCom1=/dev/ttyUSB1\n") << machine
            << QStringList {"1=/dev/ttyUSB1 second", "3=/tmp/sim "};
        QTest::newRow("empty [Ports] hides the system's ports") << QByteArray("[Ports]\n") << machine << QStringList {};
        QTest::newRow("[Ports]: bad keys skipped, first mapping wins")
            << QByteArray("[Ports]\nCOM2=/a\ncom0=/b\nCom17=/c\nPort4=/d\nCom5x=/e\nCom6=\nCom16=/f\nCom2=/g\n")
            << SystemList {} << QStringList {"2=/a ", "16=/f "};
        QTest::newRow("system list: USB first, then built-in ports")
            << QByteArray() << machine
            << QStringList {"1=/dev/ttyACM0 modem", "2=/dev/ttyUSB0 FT232R", "3=/dev/ttyUSB1 second",
                            "4=/dev/ttyS0 first built-in", "5=/dev/ttyS1 built-in"};
        SystemList many;
        QStringList expected;
        for (int i = 20; i >= 0; --i)
            many.append({QStringLiteral("/dev/ttyUSB%1").arg(i), QString(), true});
        for (int i = 0; i < 16; ++i)
            expected << QStringLiteral("%1=/dev/ttyUSB%2 ").arg(i + 1).arg(i);
        QTest::newRow("device numbers in natural order, nothing above 16") << QByteArray() << many << expected;
    }
    void portNumbering()
    {
        QFETCH(QByteArray, ini);
        QFETCH(SystemList, system);
        put(ini);
        const PortCatalog catalog = PortCatalog::build(IniFile(path()), [&] { return system; });
        QStringList actual;
        for (const PortEntry &e : catalog.entries())
            actual << QStringLiteral("%1=%2 %3").arg(QString::number(e.number), e.devicePath, e.description);
        QTEST(actual, "expected");
    }

    // The kernel's consoles, wherever they are, are kept from the port list; the files are those
    // of a fake root: the active consoles, the virtual console in front, /proc/consoles ("-": none).
    void consoleIsLeftOut_data()
    {
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("second serial port and a virtual console")
            << QByteArrayList {"tty0 ttyS1\n", "tty1\n", "ttyS1   -W- (E  p a)    4:65\ntty0   -WU (EC  p  )    4:1\n"}
            << QStringList {"/dev/tty1", "/dev/ttyS1"};
        QTest::newRow("only /proc/consoles")
            << QByteArrayList {"-", "-", "ttyUSB0 -W- (E p ) 188:0\n"} << QStringList {"/dev/ttyUSB0"};
        QTest::newRow("junk") << QByteArrayList {"../../etc/passwd\n\n", "-", "\n\n \x01\n"}
                              << QStringList {"/dev/\x01"};
    }
    void consoleIsLeftOut()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(QStringList, left);
        QTemporaryDir root;
        const char *names[] = {"sys/class/tty/console/active", "sys/class/tty/tty0/active", "proc/consoles"};
        for (int i = 0; i < 3; ++i) {
            QFile f(root.filePath(names[i]));
            QVERIFY(files[i] == "-"
                    || (QDir().mkpath(QFileInfo(f).path()) && f.open(QIODevice::WriteOnly)
                        && f.write(files[i]) == files[i].size()));
        }
        QCOMPARE(PortCatalog::consoleDevices(root.path()), left);
    }
    void consolesAreTakenOffTheList()
    {
        const SystemList machine {{"/dev/ttyS0", "", false}, {"/dev/ttyS1", "", false}, {"/dev/ttyUSB0", "", true}};
        const SystemList left = PortCatalog::withoutConsoles(machine, {"/dev/tty1", "/dev/ttyS1"});
        QVERIFY(left.size() == 2 && left[0].devicePath == "/dev/ttyS0" && left[1].devicePath == "/dev/ttyUSB0");
    }
};

QTEST_MAIN(TestIniFile)
#include "tst_ini_file.moc"
