#include "platform/ini_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestIniFile : public QObject {
    Q_OBJECT

    struct World {
        QTemporaryDir dir;
        IniFile ini{dir.filePath(QStringLiteral("ZX316B Link.ini"))};

        void write(const QByteArray &bytes) const
        {
            QFile f(ini.path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        QByteArray read() const
        {
            QFile f(ini.path());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }
    };

private Q_SLOTS:
    void reading_data();
    void reading();
    void missingFileReadsAsMissing();
    void writing_data();
    void writing();
    void writeReplacesTheFileAsAWhole();
    void aFileThatCannotBeReadIsNeverReplaced();
    void junkNeverFails();
    void portsSectionEntries();
};

void TestIniFile::reading_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const QByteArray basic("[RS232C]\nCommPort=3\n[Chart]\nScaleLine0=1\n");
    QTest::newRow("plain") << basic << "RS232C" << "CommPort" << "3";
    QTest::newRow("other section") << basic << "Chart" << "ScaleLine0" << "1";
    QTest::newRow("missing key") << basic << "Chart" << "ScaleLine1" << "Error";
    QTest::newRow("missing section") << basic << "Ports" << "Com1" << "Error";
    QTest::newRow("key of another section") << basic << "Chart" << "CommPort" << "Error";
    QTest::newRow("section name in any case") << basic << "rs232c" << "CommPort" << "3";
    QTest::newRow("key in any case") << basic << "RS232C" << "COMMPORT" << "3";
    QTest::newRow("blanks around names and value")
        << QByteArray("  [ RS232C ]  \n  CommPort  =  4  \n") << "RS232C" << "CommPort" << "4";
    QTest::newRow("CRLF lines") << QByteArray("[RS232C]\r\nCommPort=5\r\n") << "RS232C" << "CommPort" << "5";
    QTest::newRow("comments are not keys")
        << QByteArray("[RS232C]\n;CommPort=1\n#CommPort=2\nCommPort=6\n") << "RS232C" << "CommPort" << "6";
    QTest::newRow("first of two keys") << QByteArray("[RS232C]\nCommPort=1\nCommPort=2\n") << "RS232C" << "CommPort"
                                       << "1";
    QTest::newRow("first of two sections")
        << QByteArray("[RS232C]\nCommPort=1\n[RS232C]\nCommPort=2\n") << "RS232C" << "CommPort" << "1";
    QTest::newRow("empty value") << QByteArray("[RS232C]\nCommPort=\n") << "RS232C" << "CommPort" << "";
    QTest::newRow("value holds an equals sign")
        << QByteArray("[Ports]\nCom1=/dev/a=b\n") << "Ports" << "Com1" << "/dev/a=b";
    QTest::newRow("stored sentinel") << QByteArray("[RS232C]\nCommPort=Error\n") << "RS232C" << "CommPort"
                                     << "Error";
    QTest::newRow("cut at NUL") << QByteArray("[RS232C]\nCommPort=12\0" "34\n", 22) << "RS232C" << "CommPort"
                                << "12";
    QTest::newRow("cut to 255 characters") << "[Chart]\nScaleLine0=" + QByteArray(300, '7') + "\n" << "Chart"
                                           << "ScaleLine0" << QString(255, QLatin1Char('7'));
    QTest::newRow("exactly 255 kept") << "[Chart]\nScaleLine0=" + QByteArray(255, '8') + "\n" << "Chart"
                                      << "ScaleLine0" << QString(255, QLatin1Char('8'));
    QTest::newRow("no final newline") << QByteArray("[RS232C]\nCommPort=9") << "RS232C" << "CommPort" << "9";
    QTest::newRow("entry before any section")
        << QByteArray("CommPort=1\n[RS232C]\n") << "RS232C" << "CommPort" << "Error";
    QTest::newRow("unclosed section line")
        << QByteArray("[RS232C\nCommPort=1\n") << "RS232C" << "CommPort" << "Error";
}

void TestIniFile::reading()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    World w;
    w.write(content);
    QCOMPARE(w.ini.ReadIni(section, key), value);
}

void TestIniFile::missingFileReadsAsMissing()
{
    World w;
    QCOMPARE(w.ini.ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort")), IniFile::Missing);
    QVERIFY(!w.ini.hasSection(QStringLiteral("RS232C")));
    QVERIFY(!QFileInfo::exists(w.ini.path())); // reading creates nothing
}

void TestIniFile::writing_data()
{
    QTest::addColumn<QByteArray>("before"); // "<none>": no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("creates file and section") << QByteArray("<none>") << "RS232C" << "CommPort" << "3"
                                              << QByteArray("[RS232C]\nCommPort=3\n");
    QTest::newRow("replaces a value, keeps the rest")
        << QByteArray("; my port\n[RS232C]\nCommPort=1\nSpeed=fast\n\n[Chart]\nScaleLine0=1\n") << "RS232C"
        << "CommPort" << "12"
        << QByteArray("; my port\n[RS232C]\nCommPort=12\nSpeed=fast\n\n[Chart]\nScaleLine0=1\n");
    QTest::newRow("adds a key after the section's last entry")
        << QByteArray("[Chart]\nScaleLine0=1\n\n[RS232C]\nCommPort=1\n") << "Chart" << "ScaleLine1" << "1"
        << QByteArray("[Chart]\nScaleLine0=1\nScaleLine1=1\n\n[RS232C]\nCommPort=1\n");
    QTest::newRow("adds a section at the end")
        << QByteArray("[RS232C]\nCommPort=1\n") << "Chart" << "ScaleLine0" << "0"
        << QByteArray("[RS232C]\nCommPort=1\n\n[Chart]\nScaleLine0=0\n");
    QTest::newRow("matches the key in any case, keeps its spelling")
        << QByteArray("[rs232c]\ncommport=1\n") << "RS232C" << "CommPort" << "4"
        << QByteArray("[rs232c]\ncommport=4\n");
    QTest::newRow("keeps CRLF line ends") << QByteArray("[RS232C]\r\nCommPort=1\r\n") << "RS232C" << "CommPort"
                                          << "2" << QByteArray("[RS232C]\r\nCommPort=2\r\n");
    QTest::newRow("comment lines that look like the key stay")
        << QByteArray("[RS232C]\n;CommPort=9\nCommPort=1\n") << "RS232C" << "CommPort" << "5"
        << QByteArray("[RS232C]\n;CommPort=9\nCommPort=5\n");
}

void TestIniFile::writing()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    World w;
    if (before != "<none>")
        w.write(before);
    QVERIFY(w.ini.WriteIni(section, key, value));
    QCOMPARE(w.read(), after);
    QCOMPARE(w.ini.ReadIni(section, key), value);
}

void TestIniFile::writeReplacesTheFileAsAWhole()
{
    World w;
    w.write("[RS232C]\nCommPort=1\n");
    // A second name for the old file: an in-place rewrite would change what it shows.
    const QString oldName = w.dir.filePath(QStringLiteral("old.ini"));
    QVERIFY(::link(QFile::encodeName(w.ini.path()).constData(), QFile::encodeName(oldName).constData()) == 0);
    QVERIFY(w.ini.WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QStringLiteral("2")));
    QFile old(oldName);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("[RS232C]\nCommPort=1\n"));
    QCOMPARE(w.read(), QByteArray("[RS232C]\nCommPort=2\n"));
    // No temporary file is left behind.
    QCOMPARE(QDir(w.dir.path()).entryList(QDir::Files).size(), 2);
}

void TestIniFile::aFileThatCannotBeReadIsNeverReplaced()
{
    World w;
    // Too big to be a profile file: reading it whole is refused, so a write must not
    // replace it with a file that holds only the new key.
    QByteArray big = "[RS232C]\nCommPort=1\n";
    big += "[Notes]\n" + QByteArray(5 * 1024 * 1024, 'x') + "\n";
    w.write(big);
    QVERIFY(!w.ini.WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QStringLiteral("2")));
    QCOMPARE(w.read().size(), big.size());

    // Not a file at all.
    QDir().mkpath(w.ini.path() + QStringLiteral(".d"));
    IniFile folder(w.ini.path() + QStringLiteral(".d"));
    QVERIFY(!folder.WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QStringLiteral("2")));
    QVERIFY(QFileInfo(folder.path()).isDir());

    if (::geteuid() != 0) {
        World locked;
        locked.write("[RS232C]\nCommPort=1\n");
        QFile::setPermissions(locked.ini.path(), QFile::WriteOwner);
        QVERIFY(!locked.ini.WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QStringLiteral("2")));
        QFile::setPermissions(locked.ini.path(), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(locked.read(), QByteArray("[RS232C]\nCommPort=1\n"));
    }
}

void TestIniFile::junkNeverFails()
{
    World w;
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk += char((i * 7919) & 0xFF);
    junk += "\n[RS232C]\nCommPort=\xff\xfe\x01\n=novalue\n[]\n[\n]\n";
    w.write(junk);
    const QString v = w.ini.ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"));
    QVERIFY(v.size() <= IniFile::MaxValueLength);
    QVERIFY(!v.contains(QChar(0)));
    QVERIFY(w.ini.WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QStringLiteral("3")));
    QCOMPARE(w.ini.ReadIni(QStringLiteral("RS232C"), QStringLiteral("CommPort")), QStringLiteral("3"));
    // Everything that was not the key is still there, byte for byte.
    QVERIFY(w.read().startsWith(junk.left(4096)));
}

void TestIniFile::portsSectionEntries()
{
    World w;
    w.write("[Ports]\nCom3=/dev/ttyUSB0\n; a note\nCom1 = /tmp/sim\n\n[RS232C]\nCommPort=3\n");
    QVERIFY(w.ini.hasSection(QStringLiteral("ports")));
    const auto entries = w.ini.entries(QStringLiteral("Ports"));
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0], (QPair<QString, QString>("Com3", "/dev/ttyUSB0")));
    QCOMPARE(entries[1], (QPair<QString, QString>("Com1", "/tmp/sim")));
    QVERIFY(w.ini.entries(QStringLiteral("Chart")).isEmpty());
}

QTEST_MAIN(TestIniFile)
#include "tst_ini_file.moc"
