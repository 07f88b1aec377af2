// The link's rules that need no real line.
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

class TestSerialLink : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Erasing and fetching the log wait longer than the 3 seconds the end-to-end runs meet; the wait
    // under every exchange ends at once with no time left, else when its limit has passed.
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

    // The ROM version is byte 30 of the block (characters 61-62). The plain reply: every end-to-end read.
    void settingsReply_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("romVer"); // -1: the reply is refused as unreadable
        const QString head = "D007401FF0054C046C070000000000000640556A6432330A500085C80000";
        const auto sr = [&](const char *version) { return "sr" + head + version + "0A0\r"; };
        const QString b5 = head + "050A";
        QTest::newRow("version 255") << sr("FF") << 255;
        QTest::newRow("lower-case version") << sr("1a") << 26;
        QTest::newRow("echo after the block") << b5 + "sr0\r" << 5;
        QTest::newRow("no echo") << b5 + "00\r\r" << 5;
        QTest::newRow("version not hex") << sr("G5") << -1;
        // Line noise that repeats the echo leaves less than a block behind.
        QTest::newRow("echo three times") << "srsrsr" + b5.left(62) << -1;
    }
    void settingsReply()
    {
        QFETCH(QString, reply);
        QFETCH(int, romVer);
        using settingsreply::Verdict;
        const settingsreply::Reply r = settingsreply::parse(reply);
        QCOMPARE(r.verdict, romVer < 0 ? Verdict::Unreadable : Verdict::Accepted);
        QCOMPARE(r.block, romVer < 0 ? QString() : reply.mid(reply.indexOf("D007"), 64));
        QCOMPARE(int(r.romVer), romVer);
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
        QVERIFY2(w.link.RecvData().size() >= 4096 && w.link.RecvData().size() <= 65536,
                 qPrintable(QString::number(w.link.RecvData().size())));
        QCOMPARE(w.boxes.texts(), QStringList {"ZX cannot be set."});
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_serial_link.moc"
