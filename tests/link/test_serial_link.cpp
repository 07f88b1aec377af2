// The command exchange against an in-memory port: time-outs, awaited texts, failure
// reports, the busy indicator and the port's open/close rules.
#include "link/serial_link.h"
#include "platform/waiter.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/recording_message_line.h"

#include <QElapsedTimer>
#include <QtTest>

using Icon = MessageBoxes::Icon;

class TestSerialLink : public QObject {
    Q_OBJECT

    struct World {
        FakeSerialPort port;
        PortChoice choice;
        Waiter waiter;
        RecordingMessageBoxes boxes;
        RecordingMessageLine line;
        SerialLink link{port, choice, waiter, boxes, line};
        World()
        {
            port.openable = {1, 4};
            choice.ComPortNo = 1;
            link.OpenPort({});
        }
    };

private Q_SLOTS:
    void timeoutTable_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("ms");
        QTest::newRow("rt") << "rt" << 3000;
        QTest::newRow("sw") << "sw" << 3000;
        QTest::newRow("sr") << "sr" << 3000;
        QTest::newRow("ae") << "ae" << 12000;
        QTest::newRow("be") << "be" << 12000;
        QTest::newRow("ar") << "ar" << 10000;
        QTest::newRow("br") << "br" << 10000;
        QTest::newRow("settings block") << "D007401FF0054C046C070000000000000640556A6432330A500085C80000030A" << 3000;
        QTest::newRow("upper-case command is not a command") << "BR" << 3000;
        QTest::newRow("empty") << "" << 3000;
    }
    void timeoutTable()
    {
        QFETCH(QString, command);
        QFETCH(int, ms);
        QCOMPARE(SerialLink::timeoutFor(command), ms);

        // The timer really runs with that interval: answer at once and look at it.
        World w;
        w.port.onWrite = [&](const QByteArray &) { w.port.feedLater("\r", 5); };
        w.link.SendCommand(command, "\r");
        QCOMPARE(w.link.TmrComm().interval(), ms);
        QVERIFY(!w.link.CommError());
    }

    void sendsBareCommandAndCollectsReply()
    {
        World w;
        w.port.feed("stale"); // arrived while idle: wiped by the next send
        w.port.onWrite = [&](const QByteArray &) {
            w.port.feedLater("s", 5);
            w.port.feedLater("w", 15); // the awaited text split across two reads
            w.port.feedLater("xyz", 200);
        };
        w.link.SendCommand("sw", "sw");
        QCOMPARE(w.port.written, QByteArray("sw"));
        QCOMPARE(w.link.RecvData(), QString("sw"));
        QVERIFY(!w.link.CommError());
        QVERIFY(w.boxes.shown.isEmpty());
    }

    void silentControllerTimesOut()
    {
        World w;
        QElapsedTimer clock;
        clock.start();
        w.link.SendCommand("sr", "\r");
        const qint64 took = clock.elapsed();
        QVERIFY2(took >= 2990 && took < 6000, qPrintable(QString::number(took)));
        QVERIFY(w.link.CommError());
        QVERIFY(w.link.CommTimeout());
        QCOMPARE(w.link.RecvData(), QString());
        QCOMPARE(w.boxes.texts(), QStringList{"RS232 communication fault."});
        QCOMPARE(w.boxes.shown[0].icon, Icon::Exclamation);
        QCOMPARE(w.line.lastText(), QString("RS232 communication fault."));
        QCOMPARE(w.line.lastColour(), MessageLine::Red);
    }

    void partialReplyTimesOut()
    {
        World w;
        w.port.onWrite = [&](const QByteArray &) { w.port.feedLater("s", 5); };
        w.link.SendCommand("sw", "sw");
        QVERIFY(w.link.CommError());
        QCOMPARE(w.link.RecvData(), QString("s"));
        QCOMPARE(w.boxes.texts(), QStringList{"ZX cannot be set."});
        QCOMPARE(w.boxes.shown[0].icon, Icon::Information);
        QCOMPARE(w.line.lastText(), QString("ZX cannot be set."));
        QCOMPARE(w.line.lastColour(), MessageLine::Red);
    }

    void commErrorIsNeverClearedByTheExchange()
    {
        World w;
        w.link.setCommError(true);
        w.port.onWrite = [&](const QByteArray &) { w.port.feedLater("rt", 1); };
        w.link.SendCommand("rt", "rt");
        QVERIFY(w.link.CommError());
    }

    void closedPortEndsAtOnceAsTimeout()
    {
        World w;
        w.link.ClosePort();
        QElapsedTimer clock;
        clock.start();
        w.link.SendCommand("sr", "\r");
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(w.link.CommError());
        QCOMPARE(w.boxes.texts(), QStringList{"RS232 communication fault."});
        QCOMPARE(w.port.written, QByteArray());
        // The rest of the operation on the closed line: one box was enough.
        w.link.SendCommand("sw", "sw");
        QCOMPARE(w.boxes.shown.size(), 1);
        QCOMPARE(w.line.lastText(), QString("RS232 communication fault."));
        QCOMPARE(w.line.lastColour(), MessageLine::Red);
    }

    void lostLineIsReportedOnceAndEndsTheExchange()
    {
        World w;
        w.port.onWrite = [&](const QByteArray &) {
            w.port.feedLater("s", 5);
            QTimer::singleShot(20, &w.port, [&] { w.port.lose(); });
        };
        QElapsedTimer clock;
        clock.start();
        w.link.SendCommand("sr", "\r");
        QVERIFY2(clock.elapsed() < 1000, "the exchange must not wait for its time-out");
        QVERIFY(w.link.CommError());
        // The rest of an operation on the lost line: no further boxes.
        w.link.SendCommand("sw", "sw");
        w.link.SendCommand("sr", "\r");
        QCOMPARE(w.boxes.shown.size(), 1);
        QVERIFY(w.boxes.shown[0].text.contains("lost"));
        QCOMPARE(w.line.lastColour(), MessageLine::Red);
        // Once the port is open again, failures are reported as usual.
        w.link.OpenPort({});
        w.link.ClosePort();
        w.link.SendCommand("sr", "\r");
        QCOMPARE(w.boxes.shown.size(), 2);
    }

    void busyIndicatorBlinksUntilStopped()
    {
        World w;
        QCOMPARE(w.link.ledColour(), SerialLink::LedIdle);
        QList<int> colours;
        connect(&w.link, &SerialLink::ledColourChanged, this, [&](int c) { colours << c; });
        w.port.onWrite = [&](const QByteArray &) { w.port.feedLater("\r", 450); };
        w.link.SendCommand("sr", "\r");
        QCOMPARE(colours.first(), SerialLink::LedBright);
        QVERIFY2(colours.size() >= 4, qPrintable(QString::number(colours.size())));
        for (int i = 1; i < colours.size(); ++i)
            QVERIFY(colours[i] != colours[i - 1]);
        QVERIFY(w.link.TmrLed().isActive()); // left blinking for the operation to stop
        w.link.stopBusyIndicator();
        QVERIFY(!w.link.TmrLed().isActive());
        QCOMPARE(w.link.ledColour(), SerialLink::LedDark);
    }

    void openPortRules()
    {
        FakeSerialPort port;
        port.openable = {4};
        PortChoice choice;
        Waiter waiter;
        RecordingMessageBoxes boxes;
        RecordingMessageLine line;
        SerialLink link(port, choice, waiter, boxes, line);

        // No port configured: red line, no dialog.
        int asked = 0;
        link.OpenPort([&](const QString &) { ++asked; return true; });
        QCOMPARE(asked, 0);
        QCOMPARE(line.lastText(), QString("ComPort cannot be opened."));
        QCOMPARE(line.lastColour(), MessageLine::Red);

        // A failed open offers the dialog; OK with another port retries with that port.
        choice.ComPortNo = 2;
        QStringList reasons;
        link.OpenPort([&](const QString &why) { reasons << why; choice.ComPortNo = 4; return true; });
        QCOMPARE(reasons.size(), 1);
        QVERIFY(!reasons[0].isEmpty());
        QVERIFY(link.isOpen());
        QCOMPARE(port.openNumber, 4);
        QCOMPARE(line.lastText(), QString("CommPort was initialized."));
        QCOMPARE(line.lastColour(), MessageLine::Black);

        // Already open: reported as initialized, nothing reopened.
        const int attempts = port.openAttempts;
        link.OpenPort({});
        QCOMPARE(port.openAttempts, attempts);
        QCOMPARE(line.lastText(), QString("CommPort was initialized."));

        // Cancel in the dialog leaves the port closed with the red line.
        link.ClosePort();
        choice.ComPortNo = 3;
        link.OpenPort([&](const QString &) { return false; });
        QVERIFY(!link.isOpen());
        QCOMPARE(line.lastText(), QString("ComPort cannot be opened."));
        QCOMPARE(line.lastColour(), MessageLine::Red);
    }

    void cancelledWaitReturnsWithoutReporting()
    {
        World w;
        QTimer::singleShot(50, &w.waiter, [&] { w.waiter.cancelAll(); });
        QElapsedTimer clock;
        clock.start();
        w.link.SendCommand("ae", "ae");
        QVERIFY(clock.elapsed() < 2000);
        QVERIFY(w.boxes.shown.isEmpty());
    }
};

QTEST_MAIN(TestSerialLink)
#include "test_serial_link.moc"
