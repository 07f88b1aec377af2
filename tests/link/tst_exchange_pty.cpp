// The command exchange over a real serial port on a pseudo-terminal, against the simulated controller.
#include "operations_world.h"

#include <sys/resource.h>

Q_DECLARE_METATYPE(Misbehaviour)

namespace {
const QString Fault = OperationsWorld::Fault;
double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
} // namespace

class TestExchangePty : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Nothing or part of the reply before the time-out: box, icon and red line say which; the wait sleeps, blinking.
    void timeOut_data()
    {
        QTest::addColumn<Misbehaviour>("m");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::newRow("nothing") << Misbehaviour {.silent = true} << Fault << int(MessageBoxes::Icon::Exclamation);
        QTest::newRow("part") << Misbehaviour {.truncateAfter = 10} << "ZX cannot be set."
                              << int(MessageBoxes::Icon::Information);
    }
    void timeOut()
    {
        QFETCH(Misbehaviour, m);
        QFETCH(QString, text);
        OperationsWorld w;
        w.sim.setMisbehaviour(m);
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = cpuSeconds();
        w.link->SendCommand("sr", "\r");
        QVERIFY2(clock.elapsed() >= 2990 && clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(cpuSeconds() - cpuBefore < 0.5, "a busy wait");
        QCOMPARE(w.boxes.texts(), QStringList {text});
        QTEST(int(w.boxes.shown[0].icon), "icon");
        QCOMPARE(w.line.lines.last(), qMakePair(text, MessageLine::Red));
        // Blinking all along, and left blinking for the operation to stop.
        QVERIFY(w.leds.size() >= 20 && w.leds.first() == BusyIndicator::LedBright
                && w.window->busyIndicator().TmrLed().isActive());
        for (int i = 1; i < w.leds.size(); ++i)
            QVERIFY(w.leds[i] != w.leds[i - 1]);
    }

    // A line lost mid-reply is reported once; the rest fails at once, quietly, without an error loop, till reconnected.
    void lostLine()
    {
        OperationsWorld w;
        w.sim.setMisbehaviour({.onlyFor = {"br"}, .hangUpAfter = 20});
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = cpuSeconds();
        w.link->SendCommand("br", "\r");
        w.link->SendCommand("sr", "\r");
        w.link->SendCommand("be", "\r");
        QVERIFY2(clock.elapsed() < 5000, "a lost line must end the exchange before its time-out");
        QTest::qWait(300);
        QVERIFY2(cpuSeconds() - cpuBefore < 1.0, "an error loop after the hang-up");
        QVERIFY(w.link->CommError() && !w.link->isOpen() && w.line.lastColour() == MessageLine::Red);
        QVERIFY(w.boxes.shown.size() == 1 && w.boxes.shown[0].text.contains("lost"));

        QVERIFY(w.sim.reconnect());
        w.link->OpenPort({});
        w.link->setCommError(false);
        w.link->SendCommand("sr", "\r");
        QVERIFY(!w.link->CommError() && w.link->RecvData().size() == 68);
    }

    // Replies come in a few pieces, not one wake-up a character: an awaited text split over two reads,
    // a reply of known length, or one that ends early (cut short: tst_device_operations, "Data Get").
    void repliesAreTakenInWhole()
    {
        OperationsWorld w;
        w.sim.setMisbehaviour({.splitSize = 1, .splitGapMs = 30});
        w.link->SendCommand("rt", "rt");
        QVERIFY(w.link->RecvData() == "rt" && !w.link->CommError());
        QCOMPARE(w.sim.receivedBytes(), "rt"); // nothing added to a command
        w.sim.setPacing(true);
        int arrivals = 0;
        QObject::connect(&w.port, &SerialPort::dataArrived, [&arrivals] { ++arrivals; });
        w.sim.setMisbehaviour({.delayMs = 300}); // a controller that thinks a while first
        w.link->SendCommand("sr", "\r", 68);
        QCOMPARE(w.link->RecvData(), "sr" + w.sim.settingsBlock() + "0\r");
        QVERIFY2(arrivals <= 10, qPrintable(QString::number(arrivals))); // 68 one by one

        // A log comes in batches, each taken whole although Linux hands one read() 64
        // characters (33 reports); the line here delivers 8 at a time, as a UART does.
        w.sim.setMisbehaviour({});
        w.sim.setDeliveryGroup(8);
        arrivals = 0;
        w.link->SendCommand("br", "\r", 2051);
        QVERIFY(w.link->RecvData().size() == 2051 && w.link->RecvData().endsWith('\r'));
        QVERIFY2(arrivals <= 20, qPrintable(QString::number(arrivals)));
        w.sim.setDeliveryGroup(1);

        w.sim.setMisbehaviour({.garbage = "x\r"});
        QElapsedTimer clock;
        clock.start();
        w.link->SendCommand("sr", "\r", 68);
        QVERIFY(w.link->RecvData() == "x\r" && !w.link->CommError());
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    }
};

QTEST_MAIN(TestExchangePty)
#include "tst_exchange_pty.moc"
