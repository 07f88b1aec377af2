// The command exchange over a real serial port object on a pseudo-terminal, against the
// controller simulator: what the user meets with a real cable.
#include "link/serial_link.h"
#include "platform/port_catalog.h"
#include "platform/qt_serial_port.h"
#include "platform/waiter.h"
#include "sim/controller_simulator.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/recording_message_line.h"

#include <QElapsedTimer>
#include <QtTest>
#include <sys/resource.h>

namespace {
double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
} // namespace

class TestExchangePty : public QObject {
    Q_OBJECT

    struct World {
        ControllerSimulator sim;
        std::unique_ptr<QtSerialPort> port;
        PortChoice choice;
        Waiter waiter;
        RecordingMessageBoxes boxes;
        RecordingMessageLine line;
        std::unique_ptr<SerialLink> link;
        World()
        {
            if (!sim.start())
                qFatal("simulator: %s", qPrintable(sim.errorString()));
            port = std::make_unique<QtSerialPort>(PortCatalog::fromEntries({{1, sim.portPath(), QString()}}));
            choice.ComPortNo = 1;
            link = std::make_unique<SerialLink>(*port, choice, waiter, boxes, line);
            link->OpenPort({});
        }
    };

private Q_SLOTS:
    void settingsReadArrivesWhole()
    {
        World w;
        QVERIFY(w.link->isOpen());
        QCOMPARE(w.line.lastText(), QString("CommPort was initialized."));
        w.link->SendCommand("sr", "\r");
        QVERIFY(!w.link->CommError());
        QCOMPARE(w.link->RecvData().size(), 68);
        QVERIFY(w.link->RecvData().startsWith("sr"));
        QCOMPARE(w.sim.receivedTexts(), QStringList{"sr"});
        QCOMPARE(w.sim.receivedBytes(), QByteArray("sr")); // nothing appended to the command
    }

    void splitReplyStillEndsTheWait()
    {
        World w;
        Misbehaviour m;
        m.splitSize = 1;
        m.splitGapMs = 30;
        w.sim.setMisbehaviour(m);
        w.link->SendCommand("sw", "sw");
        QVERIFY(!w.link->CommError());
        QCOMPARE(w.link->RecvData(), QString("sw"));
    }

    void silentControllerCostsNoCpu()
    {
        World w;
        Misbehaviour m;
        m.silent = true;
        w.sim.setMisbehaviour(m);
        const double before = cpuSeconds();
        w.link->SendCommand("sr", "\r");
        const double used = cpuSeconds() - before;
        QVERIFY(w.link->CommError());
        QCOMPARE(w.boxes.texts(), QStringList{"RS232 communication fault."});
        // A busy wait would burn the whole 3 s; allow a generous margin for a loaded machine.
        QVERIFY2(used < 0.5, qPrintable(QString::number(used)));
    }

    void partialReplyIsReportedAsCannotBeSet()
    {
        World w;
        Misbehaviour m;
        m.truncateAfter = 10;
        m.onlyFor = {"sr"};
        w.sim.setMisbehaviour(m);
        w.link->SendCommand("sr", "\r");
        QVERIFY(w.link->CommError());
        QCOMPARE(w.link->RecvData().size(), 10);
        QCOMPARE(w.boxes.texts(), QStringList{"ZX cannot be set."});
    }

    void hangUpMidReplyIsReportedOnce()
    {
        World w;
        Misbehaviour m;
        m.hangUpAfter = 20;
        m.onlyFor = {"br"};
        w.sim.setMisbehaviour(m);
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = cpuSeconds();
        w.link->SendCommand("br", "\r");
        QVERIFY2(clock.elapsed() < 5000, "a lost line must end the exchange before its time-out");
        QVERIFY(w.link->CommError());
        QVERIFY(!w.link->isOpen());
        // The rest of an operation on the lost line: quiet, immediate, no CPU storm.
        w.link->SendCommand("sr", "\r");
        w.link->SendCommand("be", "\r");
        QTest::qWait(300);
        QVERIFY2(cpuSeconds() - cpuBefore < 1.0, "an error loop after the hang-up");
        QCOMPARE(w.boxes.shown.size(), 1);
        QVERIFY(w.boxes.shown[0].text.contains("lost"));

        // The controller comes back: the port opens again and works.
        QVERIFY(w.sim.reconnect());
        w.link->OpenPort({});
        QVERIFY(w.link->isOpen());
        w.sim.setMisbehaviour({});
        w.link->setCommError(false);
        w.link->SendCommand("sr", "\r");
        QVERIFY(!w.link->CommError());
        QCOMPARE(w.link->RecvData().size(), 68);
    }

    void staleInputIsDiscardedBeforeSending()
    {
        World w;
        Misbehaviour m;
        m.garbage = "zzzz";
        m.garbageAt = Misbehaviour::GarbageAt::After;
        m.onlyFor = {"rt"};
        w.sim.setMisbehaviour(m);
        w.link->SendCommand("rt", "rt");
        QTest::qWait(100); // the trailing garbage arrives while idle
        w.sim.setMisbehaviour({});
        w.link->SendCommand("sr", "\r");
        QVERIFY(w.link->RecvData().startsWith("sr"));
        QCOMPARE(w.link->RecvData().size(), 68);
    }
};

QTEST_MAIN(TestExchangePty)
#include "test_exchange_pty.moc"
