#include "platform/ini_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestIniFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QStringLiteral("ZX316B Link.ini")); }
    void put(const QByteArray &bytes) const
    {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray get() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init() { QFile::remove(path()); }
    void reading_data();
    void reading();
    void writing_data();
    void writing();
    void writeReplacesTheFileAsAWhole();
    void aFileThatCannotBeReadIsNeverReplaced();
};

void TestIniFile::reading_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>": no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    auto row = [](const char *name, const QByteArray &c, const char *s, const char *k, const QString &v) {
        QTest::newRow(name) << c << QString::fromLatin1(s) << QString::fromLatin1(k) << v;
    };
    const QByteArray basic("[RS232C]\nCommPort=3\n[Chart]\nScaleLine0=1\n");
    row("no file", "<none>", "RS232C", "CommPort", "Error");
    row("plain", basic, "RS232C", "CommPort", "3");
    row("missing key", basic, "Chart", "ScaleLine1", "Error");
    row("missing section", basic, "Ports", "Com1", "Error");
    row("key of another section", basic, "Chart", "CommPort", "Error");
    row("names in any case", basic, "rs232c", "COMMPORT", "3");
    row("blanks around names and value", "  [ RS232C ]  \n  CommPort  =  4  \n", "RS232C", "CommPort", "4");
    row("CRLF lines", "[RS232C]\r\nCommPort=5\r\n", "RS232C", "CommPort", "5");
    row("comments are not keys", "[RS232C]\n;CommPort=1\n#CommPort=2\nCommPort=6\n", "RS232C", "CommPort", "6");
    row("first of two keys", "[RS232C]\nCommPort=1\nCommPort=2\n", "RS232C", "CommPort", "1");
    row("value holds an equals sign", "[Ports]\nCom1=/dev/a=b\n", "Ports", "Com1", "/dev/a=b");
    row("cut at NUL", QByteArray("[RS232C]\nCommPort=12\0" "34\n", 24), "RS232C", "CommPort", "12");
    row("cut to 255", "[Chart]\nScaleLine0=" + QByteArray(300, '7'), "Chart", "ScaleLine0", QString(255, '7'));
    row("entry before any section", "CommPort=1\n[RS232C]\n", "RS232C", "CommPort", "Error");
    row("unclosed section line", "[RS232C\nCommPort=1\n", "RS232C", "CommPort", "Error");
    row("junk", QByteArray("\xff\xfe\0[\n]=\n=x\n[RS232C]\nCommPort=\x01\x80\n", 32), "RS232C", "CommPort",
        QString::fromUtf8("\x01\x80"));
}

void TestIniFile::reading()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    if (content != "<none>")
        put(content);
    QCOMPARE(IniFile(path()).ReadIni(section, key), value);
    QCOMPARE(QFileInfo::exists(path()), content != "<none>"); // reading creates nothing
}

void TestIniFile::writing_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after"); // the value written is always "7"

    QTest::newRow("creates file and section") << QByteArray("<none>") << "RS232C" << "CommPort"
                                              << QByteArray("[RS232C]\nCommPort=7\n");
    QTest::newRow("replaces, keeps other keys, sections and comments")
        << QByteArray("; port\n[RS232C]\nCommPort=1\nX=y\n\n[Chart]\nScaleLine0=1\n") << "RS232C" << "CommPort"
        << QByteArray("; port\n[RS232C]\nCommPort=7\nX=y\n\n[Chart]\nScaleLine0=1\n");
    QTest::newRow("adds a key after the section's last entry")
        << QByteArray("[Chart]\nScaleLine0=1\n\n[RS232C]\n") << "Chart" << "ScaleLine1"
        << QByteArray("[Chart]\nScaleLine0=1\nScaleLine1=7\n\n[RS232C]\n");
    QTest::newRow("adds a section at the end") << QByteArray("[RS232C]\nCommPort=1\n") << "Chart" << "ScaleLine0"
                                               << QByteArray("[RS232C]\nCommPort=1\n\n[Chart]\nScaleLine0=7\n");
    QTest::newRow("any case, spelling kept") << QByteArray("[rs232c]\ncommport=1\n") << "RS232C" << "CommPort"
                                             << QByteArray("[rs232c]\ncommport=7\n");
    QTest::newRow("CRLF kept") << QByteArray("[RS232C]\r\n;CommPort=9\r\nCommPort=1\r\n") << "RS232C"
                               << "CommPort" << QByteArray("[RS232C]\r\n;CommPort=9\r\nCommPort=7\r\n");
}

void TestIniFile::writing()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    if (before != "<none>")
        put(before);
    IniFile ini(path());
    QVERIFY(ini.WriteIni(section, key, QStringLiteral("7")));
    QCOMPARE(get(), after);
    QCOMPARE(ini.ReadIni(section, key), QStringLiteral("7"));
}

void TestIniFile::writeReplacesTheFileAsAWhole()
{
    put("[RS232C]\nCommPort=1\n");
    // A second name for the old file: an in-place rewrite would change what it shows.
    const QString oldName = m_dir.filePath(QStringLiteral("old"));
    QVERIFY(::link(QFile::encodeName(path()).constData(), QFile::encodeName(oldName).constData()) == 0);
    QVERIFY(IniFile(path()).WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QStringLiteral("2")));
    QFile old(oldName);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("[RS232C]\nCommPort=1\n"));
    QCOMPARE(get(), QByteArray("[RS232C]\nCommPort=2\n"));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files).size(), 2); // no temporary left behind
    QFile::remove(oldName);
}

void TestIniFile::aFileThatCannotBeReadIsNeverReplaced()
{
    // Too big to read whole: a write must not replace it with just the new key.
    const QByteArray big = "[RS232C]\nCommPort=1\n[Notes]\n" + QByteArray(5 << 20, 'x') + "\n";
    put(big);
    QVERIFY(!IniFile(path()).WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QStringLiteral("2")));
    QCOMPARE(get().size(), big.size());
    if (::geteuid() != 0) { // permissions do not bind the superuser
        put("[RS232C]\nCommPort=1\n");
        QFile::setPermissions(path(), QFile::WriteOwner);
        QVERIFY(!IniFile(path()).WriteIni(QStringLiteral("RS232C"), QStringLiteral("CommPort"), QStringLiteral("2")));
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(get(), QByteArray("[RS232C]\nCommPort=1\n"));
    }
}

QTEST_MAIN(TestIniFile)
#include "tst_ini_file.moc"
