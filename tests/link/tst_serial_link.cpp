// The link's rules that need no real line: time-outs, which "sr" replies are settings, input
// nobody waits for, and how often a closed line is reported.
#include "link/port_choice.h"
#include "link/serial_link.h"
#include "settings/settings_reply.h"
#include "platform/waiter.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/recording_message_line.h"

#include <QtTest>

namespace {
// A link over an in-memory port that is open as Com1.
struct LinkWorld {
    FakeSerialPort port;
    PortChoice choice {1, false};
    Waiter waiter;
    RecordingMessageBoxes boxes;
    RecordingMessageLine line;
    SerialLink link {port, choice, waiter, boxes, line};
    LinkWorld()
    {
        port.openable = {1};
        link.OpenPort({});
    }
};
} // namespace

using settingsreply::Verdict;
Q_DECLARE_METATYPE(Verdict)

class TestSerialLink : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Erasing and fetching the log wait longer than the 3 seconds the end-to-end runs meet. The
    // wait under every exchange: no time left ends it at once, a time limit when it has passed.
    void timeouts()
    {
        QVERIFY(SerialLink::timeoutFor("ae") == 12000 && SerialLink::timeoutFor("be") == 12000);
        QCOMPARE(SerialLink::timeoutFor("br"), 10000);
        Waiter waiter;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!waiter.waitUntil([] { return false; }, 0));
        QVERIFY(!waiter.waitUntil([] { return false; }, 50) && clock.elapsed() >= 50);
    }

    // Bytes 29 (device type) and 30 (ROM version) of the block are characters 59-62. Which
    // characters a block may hold is the block reader's test; here, that the reply is checked.
    void settingsReply_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<int>("romVer");
        const QString head = "D007401FF0054C046C070000000000000640556A6432330A500085C80000";
        const auto sr = [&](const char *version) { return "sr" + head + version + "0A0\r"; };
        const QString b5 = head + "050A";
        QTest::newRow("echo, block, two more") << sr("05") << Verdict::Accepted << 5;
        QTest::newRow("version 255") << sr("FF") << Verdict::Accepted << 255;
        QTest::newRow("lower-case version") << sr("1a") << Verdict::Accepted << 26;
        QTest::newRow("echo after the block") << b5 + "sr0\r" << Verdict::Accepted << 5;
        QTest::newRow("no echo") << b5 + "00\r\r" << Verdict::Accepted << 5;
        QTest::newRow("one short") << "sr" + b5 + "\r" << Verdict::WrongLength << -1;
        QTest::newRow("version not hex") << sr("G5") << Verdict::Unreadable << -1;
        // Line noise that repeats the echo leaves less than a block behind.
        QTest::newRow("echo three times") << "srsrsr" + b5.left(62) << Verdict::Unreadable << -1;
    }
    void settingsReply()
    {
        QFETCH(QString, reply);
        QFETCH(Verdict, verdict);
        const settingsreply::Reply r = settingsreply::parse(reply);
        QCOMPARE(r.verdict, verdict);
        QCOMPARE(r.block, verdict == Verdict::Accepted ? reply.mid(reply.indexOf("D007"), 64) : QString());
        if (verdict == Verdict::Accepted)
            QTEST(int(r.romVer), "romVer");
    }

    // Input nobody waits for is dropped at once; during an exchange the buffer is bounded,
    // so the echo after a flood is lost and the exchange times out.
    void inputIsBounded()
    {
        LinkWorld w;
        w.port.onWrite = [&](const QByteArray &) { w.port.feedLater("sw", 5); };
        w.link.SendCommand("sw", "sw");
        w.port.feed(QByteArray(1 << 20, 'x')); // a babbling line while idle
        QCOMPARE(w.link.RecvData(), QString("sw"));
        w.port.onWrite = [&](const QByteArray &) { // a full buffer takes nothing more, not even the echo
            w.port.feed(QByteArray(1 << 20, 'x'));
            w.port.feed("sw");
        };
        w.link.SendCommand("sw", "sw");
        QVERIFY(w.link.CommTimeout());
        QVERIFY2(w.link.RecvData().size() >= 4096 && w.link.RecvData().size() <= 65536,
                 qPrintable(QString::number(w.link.RecvData().size())));
        QCOMPARE(w.boxes.texts(), QStringList {"ZX cannot be set."});
    }

    // On a closed line every operation fails at once and tells the user once, however many
    // commands it sends (a lost line: tst_exchange_pty).
    void closedLineReportedOncePerOperation()
    {
        LinkWorld w;
        w.link.ClosePort();
        QElapsedTimer clock;
        clock.start();
        for (int operation = 1; operation <= 2; ++operation) {
            w.link.beginOperation();
            for (int command = 0; command < 3; ++command)
                w.link.SendCommand("sr", "\r");
            QCOMPARE(w.boxes.shown.size(), operation);
            QCOMPARE(w.line.lines.last(), qMakePair(QString("RS232 communication fault."), int(MessageLine::Red)));
        }
        QVERIFY2(clock.elapsed() < 1000, "a closed line fails at once, without waiting for replies");
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_serial_link.moc"
