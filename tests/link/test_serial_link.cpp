// The link's rules that need no line: the time-out of each command, and which "sr" replies
// are taken as settings, with the ROM version read from them.
#include "link/serial_link.h"
#include "link/settings_reply.h"

#include <QtTest>

using settingsreply::Verdict;
Q_DECLARE_METATYPE(Verdict)

class TestSerialLink : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void timeouts()
    {
        const std::pair<QString, int> table[] = {
            {"rt", 3000}, {"sw", 3000}, {"sr", 3000}, {"ae", 12000}, {"be", 12000}, {"ar", 10000}, {"br", 10000},
            {"D007401FF0054C046C070000000000000640556A6432330A500085C80000030A", 3000}, {"BR", 3000}, {"", 3000}};
        for (const auto &[command, ms] : table)
            QVERIFY2(SerialLink::timeoutFor(command) == ms, qPrintable(command));
    }

    // Bytes 29 (device type) and 30 (ROM version) of the block are characters 59-62.
    void settingsReply_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<int>("romVer");
        const QString head = "D007401FF0054C046C070000000000000640556A6432330A500085C80000";
        const auto block = [&](const char *version) { return head + version + "0A"; };
        const QString b5 = block("05");
        QTest::newRow("echo, block, two more") << "sr" + b5 + "0\r" << Verdict::Accepted << 5;
        QTest::newRow("version 255") << "sr" + block("FF") + "0\r" << Verdict::Accepted << 255;
        QTest::newRow("lower-case version") << "sr" + block("1a") + "0\r" << Verdict::Accepted << 26;
        QTest::newRow("echo after the block") << b5 + "sr0\r" << Verdict::Accepted << 5;
        QTest::newRow("no echo") << b5 + "00\r\r" << Verdict::Accepted << 5;
        QTest::newRow("one short") << "sr" + b5 + "\r" << Verdict::WrongLength << -1;
        QTest::newRow("empty") << QString() << Verdict::WrongLength << -1;
        QTest::newRow("version not hex") << "sr" + block("G5") + "0\r" << Verdict::Unreadable << -1;
        QTest::newRow("version with a sign") << "sr" + block("-1") + "0\r" << Verdict::Unreadable << -1;
        // Line noise that repeats the echo leaves less than a block behind.
        QTest::newRow("echo three times") << "srsrsr" + b5.left(62) << Verdict::Unreadable << -1;
    }
    void settingsReply()
    {
        QFETCH(QString, reply);
        QFETCH(Verdict, verdict);
        QFETCH(int, romVer);
        const settingsreply::Reply r = settingsreply::parse(reply);
        QCOMPARE(r.verdict, verdict);
        QCOMPARE(r.block, verdict == Verdict::Accepted ? reply.mid(reply.indexOf("D007"), 64) : QString());
        QVERIFY(verdict != Verdict::Accepted || r.romVer == romVer);
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "test_serial_link.moc"
