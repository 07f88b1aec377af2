// Which "sr" replies are taken as settings, and the ROM version read from them.
#include "link/settings_reply.h"

#include <QtTest>

using settingsreply::Verdict;
Q_DECLARE_METATYPE(Verdict)

namespace {
// Bytes 29 (device type) and 30 (ROM version) at characters 59-62.
QString blockWithVersion(const QString &version)
{
    return "D007401FF0054C046C070000000000000640556A6432330A500085C800" + QString("00") + version + "0A";
}
} // namespace

class TestSettingsReply : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<int>("romVer");
        const QString b5 = blockWithVersion("05");
        QTest::newRow("echo, block, two more") << "sr" + b5 + "0\r" << Verdict::Accepted << 5;
        QTest::newRow("version 255") << "sr" + blockWithVersion("FF") + "0\r" << Verdict::Accepted << 255;
        QTest::newRow("lower-case version") << "sr" + blockWithVersion("1a") + "0\r" << Verdict::Accepted << 26;
        QTest::newRow("echo after the block") << b5 + "sr0\r" << Verdict::Accepted << 5;
        QTest::newRow("one short") << "sr" + b5 + "\r" << Verdict::WrongLength << -1;
        QTest::newRow("one long") << "xsr" + b5 + "0\r" << Verdict::WrongLength << -1;
        QTest::newRow("empty") << QString() << Verdict::WrongLength << -1;
        QTest::newRow("version not hex") << "sr" + blockWithVersion("G5") + "0\r" << Verdict::Unreadable << -1;
        QTest::newRow("version blank") << "sr" + blockWithVersion(" 5") + "0\r" << Verdict::Unreadable << -1;
        QTest::newRow("version with a sign") << "sr" + blockWithVersion("-1") + "0\r" << Verdict::Unreadable << -1;
        // Line noise that repeats the echo leaves less than a block behind.
        QTest::newRow("echo three times") << "srsrsr" + b5.left(62) << Verdict::Unreadable << -1;
        QTest::newRow("no echo") << b5 + "00\r\r" << Verdict::Accepted << 5;
    }
    void parse()
    {
        QFETCH(QString, reply);
        QFETCH(Verdict, verdict);
        QFETCH(int, romVer);
        const settingsreply::Reply r = settingsreply::parse(reply);
        QCOMPARE(r.verdict, verdict);
        if (verdict == Verdict::Accepted) {
            QCOMPARE(r.romVer, qint16(romVer));
            QCOMPARE(r.block.size(), 64);
            QVERIFY(!r.block.contains("sr"));
            QCOMPARE(r.block.left(8), QString("D007401F"));
        } else {
            QVERIFY(r.block.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsReply)
#include "test_settings_reply.moc"
