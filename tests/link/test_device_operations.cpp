// The five device operations end to end against the simulated controller: the commands on
// the line with their pauses, what the window shows afterwards, and how failures, menu
// commands and closing the window end an operation.
#include "operations_world.h"

#include "logview/run_data_decoder.h"
#include "sim/run_log.h"
#include "sim/settings_block.h"

#include <QElapsedTimer>

Q_DECLARE_METATYPE(Misbehaviour)

namespace {
enum Op { Read, Write, Defaults, Get, Clear };
const QString Fault = "RS232 communication fault.";
const QString Partial = "ZX cannot be set.";
const QString Abnormal = "Data is abnormal!!\r\nPlease set it correctly.";
const QString Unreadable = "The setting data received from the ZX could not be read.";
const QString Block = OperationsWorld::Block;

// Not the defaults: 10000 Hz in field 0.
QString customBlock(int rom)
{
    return zxsim::withByte(zxsim::withByte(zxsim::defaultSettingsBlock(rom), 0, 0x10), 1, 0x27);
}

Misbehaviour misbehave(const QStringList &onlyFor, const std::function<void(Misbehaviour &)> &set)
{
    Misbehaviour m;
    m.onlyFor = onlyFor;
    set(m);
    return m;
}

// Reads the settings once so that the fields hold text and the version is known.
void readFirst(OperationsWorld &w)
{
    w.click(Read);
    QVERIFY(w.completed());
    w.sim.clearReceived();
    w.line.lines.clear();
    w.leds.clear();
}
} // namespace

class TestDeviceOperations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Waits scaled to a tenth; the controller takes 400 ms to restore or erase (ROM 4 on).
    void commandSequences_data()
    {
        QTest::addColumn<int>("rom");
        QTest::addColumn<int>("op");
        QTest::addColumn<bool>("readBefore");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QList<int>>("minGaps"); // ms between consecutive commands
        QTest::addColumn<int>("minTail");        // ms from the last command to the end
        const QStringList defaults{"sr", "ae", "rt", "sr"};
        QTest::newRow("defaults at start-up, ROM 5") << 5 << int(Defaults) << false << defaults << QList<int>{30, 450, 50} << 0;
        QTest::newRow("defaults at start-up, ROM 3") << 3 << int(Defaults) << false << defaults << QList<int>{30, 550, 50} << 0;
        QTest::newRow("defaults, version known, ROM 5") << 5 << int(Defaults) << true << defaults.mid(1) << QList<int>{450, 50} << 0;
        QTest::newRow("defaults, version known, ROM 3") << 3 << int(Defaults) << true << defaults.mid(1) << QList<int>{550, 50} << 0;
        QTest::newRow("clear, ROM 5") << 5 << int(Clear) << false << QStringList{"sr", "be"} << QList<int>{30} << 400;
        QTest::newRow("clear, ROM 3") << 3 << int(Clear) << false << QStringList{"sr", "be"} << QList<int>{30} << 500;
        QTest::newRow("clear reads every time") << 3 << int(Clear) << true << QStringList{"sr", "be"} << QList<int>{30} << 500;
        QTest::newRow("read") << 5 << int(Read) << false << QStringList{"sr"} << QList<int>{} << 0;
        QTest::newRow("get") << 5 << int(Get) << false << QStringList{"br"} << QList<int>{} << 0;
        QTest::newRow("write before any read") << 5 << int(Write) << false << QStringList{"sr", "sw", Block, "sr"} << QList<int>{50, 0, 50} << 0;
        QTest::newRow("write after a read") << 5 << int(Write) << true << QStringList{"sw", Block, "sr"} << QList<int>{0, 50} << 0;
    }
    void commandSequences()
    {
        QFETCH(int, rom);
        QFETCH(int, op);
        QFETCH(bool, readBefore);
        QFETCH(QStringList, expected);
        QFETCH(QList<int>, minGaps);
        QFETCH(int, minTail);
        OperationsWorld w(rom);
        w.sim.setProcessingDelayMs(400);
        w.sim.setSettingsBlock(customBlock(rom));
        if (readBefore)
            readFirst(w);
        else if (op == Write)
            w.ops->ShowLoadedSettings(customBlock(rom)); // fields from a settings file
        if (op == Write)
            w.editor->TxtData(0)->setText("3000");
        QCOMPARE(w.ops->RomVer(), qint16(readBefore ? rom : -1));

        QList<bool> lockedDuring;
        QElapsedTimer sinceLast;
        connect(&w.sim, &ControllerSimulator::commandReceived, this, [&] {
            sinceLast.start();
            lockedDuring = w.enabled();
            w.click(Read); // a locked button does nothing
        });
        w.editor->TxtData(2)->setFocus();
        w.click(op);
        const qint64 tail = sinceLast.elapsed();

        QCOMPARE(w.sent(), expected);
        for (int i = 0; i < minGaps.size(); ++i)
            QVERIFY2(w.gap(i, i + 1) >= minGaps[i] - 2 && w.gap(i, i + 1) < minGaps[i] + 2000,
                     qPrintable(QString("gap %1: %2 ms").arg(i).arg(w.gap(i, i + 1))));
        QVERIFY2(tail >= minTail - 2, qPrintable(QString::number(tail)));
        QCOMPARE(lockedDuring, QList<bool>(5, false));
        QCOMPARE(w.line.lines.first(), qMakePair(OperationsWorld::Captions[op], MessageLine::Black));
        QVERIFY(w.completed());
        QVERIFY(w.boxes.shown.isEmpty());
        QCOMPARE(w.leds.first(), SerialLink::LedBright);
        QCOMPARE(w.leds.last(), SerialLink::LedDark);
        QVERIFY(!w.link->TmrLed().isActive());
        QCOMPARE(w.enabled(), QList<bool>({true, !w.field(0).isEmpty(), true, true, true}));
        QCOMPARE(w.cmd[op]->hasFocus(), op != Get);

        if (op == Defaults)
            QCOMPARE(w.field(0), QString("2000"));
        if (op == Clear) {
            QVERIFY(w.sim.runLog() == zxsim::emptyRunLog());
            QCOMPARE(w.field(0), readBefore ? QString("10000") : QString()); // not touched
        }
        if (op == Read)
            QCOMPARE(w.field(0), QString("10000"));
        if (op == Get)
            QVERIFY(w.viewer->window() && w.viewer->window()->isVisible());
        if (op == Write) {
            QCOMPARE(w.sim.settingsBlock(), w.sim.received()[expected.indexOf(Block)].text);
            QCOMPARE(w.sim.settingsBlock().left(4), QString("B80B"));
            QCOMPARE(w.ops->ReadData(), w.sim.settingsBlock());
        }
    }

    void readFailures_data()
    {
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<int>("deviceType");
        QTest::addColumn<QString>("versionChars");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("completes");
        const Misbehaviour good;
        QTest::newRow("controller silent") << misbehave({}, [](Misbehaviour &m) { m.silent = true; }) << 0 << "" << Fault << false;
        QTest::newRow("one character too many") << misbehave({}, [](Misbehaviour &m) { m.garbage = "x"; m.garbageAt = Misbehaviour::GarbageAt::Before; }) << 0 << "" << "" << true;
        QTest::newRow("short reply") << misbehave({}, [](Misbehaviour &m) { m.garbage = "sr0123\r"; }) << 0 << "" << "" << true;
        QTest::newRow("settings deleted") << good << 0xFF << "" << "Setting Data is deleted." << true;
        QTest::newRow("other device type") << good << 0x12 << "" << "ZX type is different." << true;
        QTest::newRow("version not hex") << good << 0 << "G5" << Unreadable << true;
    }
    void readFailures()
    {
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(int, deviceType);
        QFETCH(QString, versionChars);
        QFETCH(QString, box);
        QFETCH(bool, completes);
        OperationsWorld w(5);
        readFirst(w);
        QVERIFY(w.cmd[Write]->isEnabled());
        w.sim.setMisbehaviour(misbehaviour);
        w.sim.setDeviceType(deviceType);
        w.sim.setRomVersion(7);
        if (!versionChars.isEmpty())
            w.sim.setSettingsBlock(w.sim.settingsBlock().replace(60, 2, versionChars));

        w.click(Read);
        QCOMPARE(w.boxes.texts(), box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(w.completed(), completes);
        if (!completes)
            QCOMPARE(w.line.lastText(), box);
        for (int i = 0; i < 13; ++i)
            QCOMPARE(w.field(i), QString());
        QCOMPARE(w.enabled(), QList<bool>({true, false, true, true, true}));
        // Only an accepted reply tells the version.
        QCOMPARE(w.ops->RomVer(), qint16(deviceType ? 7 : 5));
    }

    void writeFailures_data()
    {
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<QString>("field0");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("lastLine");
        const QStringList all{"sw", Block, "sr"};
        const auto readBack = [](Misbehaviour::ReadBack how, int at) {
            return misbehave({}, [=](Misbehaviour &m) { m.readBack = how; m.readBackIndex = at; });
        };
        QTest::newRow("read-back differs in a digit") << readBack(Misbehaviour::ReadBack::FlipCharacter, 40) << "3000" << all << "" << "Verify was NG.";
        QTest::newRow("read-back differs in case") << readBack(Misbehaviour::ReadBack::LowerCaseCharacter, 0) << "3000" << all << "" << "Verify was NG.";
        QTest::newRow("read-back of the wrong length") << misbehave({"sr"}, [](Misbehaviour &m) { m.garbage = "x"; m.garbageAt = Misbehaviour::GarbageAt::Before; }) << "10000" << all << "" << "Verify was NG.";
        QTest::newRow("field out of range") << Misbehaviour() << "20000" << QStringList() << Abnormal << "Completion";
        QTest::newRow("field emptied") << Misbehaviour() << "" << QStringList() << Abnormal << "Completion";
        QTest::newRow("sw not echoed") << misbehave({"sw"}, [](Misbehaviour &m) { m.silent = true; }) << "3000" << all << Fault << Fault;
        QTest::newRow("block echo cut short") << misbehave({Misbehaviour::SettingsBlock}, [](Misbehaviour &m) { m.truncateAfter = 10; }) << "3000" << all << Partial << Partial;
    }
    void writeFailures()
    {
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(QString, field0);
        QFETCH(QStringList, expected);
        QFETCH(QString, box);
        QFETCH(QString, lastLine);
        OperationsWorld w(5);
        w.sim.setSettingsBlock(customBlock(5));
        readFirst(w);
        w.sim.setMisbehaviour(misbehaviour);
        w.editor->TxtData(0)->setText(field0);

        w.click(Write);
        QCOMPARE(w.sent(), expected);
        QCOMPARE(w.boxes.texts(), box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(w.line.lastText(), lastLine);
        QCOMPARE(w.line.lastColour(), lastLine == "Completion" ? MessageLine::Black : MessageLine::Red);
        if (!expected.isEmpty()) // the block got through even when an echo was lost
            QCOMPARE(w.sim.settingsBlock(), w.sim.received()[1].text);
        // An emptied field locks writing; the focus does not go to the locked button.
        QCOMPARE(w.cmd[Write]->isEnabled(), !field0.isEmpty());
        QCOMPARE(w.cmd[Write]->hasFocus(), !field0.isEmpty());
    }

    void dataGetReplacesTheLogOrLeavesItAlone()
    {
        OperationsWorld w(5);
        w.click(Get);
        QVERIFY(w.completed());
        QVERIFY(!w.store.isEmpty());

        RunLog second = zxsim::demoRunLog();
        for (int n = 0; n < RunLogSamples; ++n)
            second[n] = n >= 1 && n <= 4 ? RunSample{} : RunSample{quint8(n % 250), quint8(255 - n % 200)};
        w.sim.setRunLog(second);
        w.click(Get);
        LogStore expected;
        decodeRunData(QString::fromLatin1("br" + zxsim::runLogHex(second)), expected);
        QVERIFY(w.store.VoltData == expected.VoltData);
        QVERIFY(w.store.CurData == expected.CurData);
        QCOMPARE(w.store.VoltData[3], LogStore::Missing);

        // A reply cut short: the window is neither opened again nor redrawn from it.
        w.viewer->window()->close();
        QTRY_VERIFY(!w.viewer->window());
        w.sim.setRunLog(zxsim::demoRunLog());
        w.sim.setMisbehaviour(misbehave({"br"}, [](Misbehaviour &m) { m.truncateAfter = 600; }));
        w.click(Get);
        QCOMPARE(w.boxes.texts(), QStringList{Partial});
        QVERIFY(!w.completed());
        QVERIFY(!w.viewer->window());
        QVERIFY(w.store.VoltData == expected.VoltData);
    }

    // Menu commands run between the steps of an operation, by the user's choice.
    void menuCommandDuringOperation_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("at");
        QTest::addColumn<int>("action");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("lastLine");
        QTest::addColumn<QString>("fieldAfter");
        QTest::addColumn<bool>("usable");
        const QStringList write{"sr", "sw", Block, "sr"};
        QTest::newRow("port closed") << int(Write) << "sr" << 0 << QStringList{"sr"} << "Verify was NG." << "3000" << false;
        QTest::newRow("port reopened, other button clicked") << int(Write) << "sr" << 1 << write << "Completion" << "3000" << true;
        QTest::newRow("settings file opened during a read") << int(Read) << "sr" << 2 << QStringList{"sr"} << "Completion" << "10000" << true;
        QTest::newRow("settings file saved during a write") << int(Write) << Block << 3 << write << "Completion" << "4000" << true;
    }
    void menuCommandDuringOperation()
    {
        QFETCH(int, op);
        QFETCH(QString, at);
        QFETCH(int, action);
        QFETCH(QStringList, expected);
        QFETCH(QString, lastLine);
        QFETCH(QString, fieldAfter);
        QFETCH(bool, usable);
        OperationsWorld w(5, 1.0);
        w.sim.setSettingsBlock(customBlock(5));
        w.ops->ShowLoadedSettings(zxsim::defaultSettingsBlock(5)); // fields from a settings file
        w.editor->TxtData(0)->setText("3000");
        if (op == Read)
            w.sim.setMisbehaviour(misbehave({"sr"}, [](Misbehaviour &m) { m.delayMs = 300; }));
        w.when(at, 150, [&] {
            switch (action) {
            case 0: // "ComPort", then Cancel
                w.link->ClosePort();
                break;
            case 1: // "ComPort", then OK: the buttons are offered again
                w.link->ClosePort();
                w.link->OpenPort({});
                for (QPushButton *b : w.cmd)
                    b->setEnabled(true);
                w.click(Get);
                break;
            case 2:
                w.ops->ShowLoadedSettings(zxsim::defaultSettingsBlock(5));
                break;
            case 3:
                w.editor->TxtData(0)->setText("4000");
                QVERIFY(w.editor->MakeWriteData(w.ops->ReadData()));
                break;
            }
        });
        w.click(op);
        QCOMPARE(w.sent(), expected);
        QCOMPARE(w.line.lastText(), lastLine);
        QCOMPARE(w.enabled(), QList<bool>(5, usable));
        QCOMPARE(w.field(0), fieldAfter);
        if (usable)
            QVERIFY(w.boxes.shown.isEmpty());
        else // each exchange on the closed port ends at once as a fault
            QCOMPARE(w.boxes.texts().count(Fault), 3);
        if (op == Write && usable)
            QCOMPARE(w.sim.settingsBlock().left(4), QString("B80B")); // 3000, as it was sent
    }

    void windowClosedDuringOperation_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("at");
        QTest::addColumn<int>("replyDelayMs");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("during a pause") << int(Defaults) << "ae" << 0 << QStringList{"sr", "ae"};
        QTest::newRow("during an exchange") << int(Read) << "sr" << 2000 << QStringList{"sr"};
        QTest::newRow("during the log fetch") << int(Get) << "br" << 2000 << QStringList{"br"};
    }
    void windowClosedDuringOperation()
    {
        QFETCH(int, op);
        QFETCH(QString, at);
        QFETCH(int, replyDelayMs);
        QFETCH(QStringList, expected);
        OperationsWorld w(3, 1.0);
        w.sim.setMisbehaviour(misbehave({}, [=](Misbehaviour &m) { m.delayMs = replyDelayMs; }));
        QElapsedTimer sinceClose;
        w.when(at, 100, [&] {
            w.window->close();
            delete w.window; // every widget gone while the operation is still on the stack
            sinceClose.start();
        });
        w.click(op);
        QVERIFY(sinceClose.isValid());
        QVERIFY2(sinceClose.elapsed() < 1000, qPrintable(QString::number(sinceClose.elapsed())));
        QVERIFY(!w.ops->isRunning());
        QTest::qWait(200);
        QCOMPARE(w.sent(), expected);
        QVERIFY(w.boxes.shown.isEmpty());
        QCOMPARE(w.line.lines.size(), 1); // the caption only
    }

    // The one test at real speed: "Default Data Write" on a ROM 3 controller.
    void realWaits()
    {
        OperationsWorld w(3, 1.0);
        w.click(Defaults);
        QVERIFY(w.completed());
        QCOMPARE(w.sent(), QStringList({"sr", "ae", "rt", "sr"}));
        const QList<QPair<int, int>> bounds{{300, 1800}, {5500, 7500}, {500, 2000}};
        for (int i = 0; i < 3; ++i)
            QVERIFY2(w.gap(i, i + 1) >= bounds[i].first && w.gap(i, i + 1) < bounds[i].second,
                     qPrintable(QString("gap %1: %2 ms").arg(i).arg(w.gap(i, i + 1))));
    }
};

QTEST_MAIN(TestDeviceOperations)
#include "test_device_operations.moc"
