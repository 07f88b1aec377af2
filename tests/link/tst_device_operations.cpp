// The five device operations against the simulated controller, as the window runs them.
#include "operations_world.h"

#include "logdata/run_data_decoder.h"
#include "sim/settings_block.h"

namespace {
enum Op { Read, Write, Defaults, Get, Clear };
const QString Fault = OperationsWorld::Fault, Partial = "ZX cannot be set.", Done = "Completion", Ng = "Verify was NG.",
              Block = OperationsWorld::Block, Unreadable = "The setting data received from the ZX could not be read.",
              UnreadableBox = Unreadable + "\r\nPlease try \"Setting Data Read\" again.",
              NothingWritten = "Nothing was written to the ZX.",
              AskClear = "Erase the run log stored in the ZX?\r\nThis cannot be undone.",
              AskDefaults = "Overwrite all settings in the ZX with the factory defaults?";

// Not the defaults: 10000 Hz in field 0, dead band 9, current limiter off.
QString customBlock(int rom, int hz = 10000)
{
    QString block = zxsim::defaultSettingsBlock(rom);
    for (auto [index, value] : {std::pair {0, hz & 0xFF}, {1, hz >> 8}, {16, 9}, {19, 0xFF}})
        block = zxsim::withByte(block, index, value);
    return block;
}

// Reads the settings once so that the fields hold text and the version is known.
void readFirst(OperationsWorld &w)
{
    w.click(Read);
    QVERIFY(w.completed());
    w.sim.clearReceived();
    w.line.lines.clear();
}

// minGaps: ms between consecutive commands; minTail: from the last one to the end; scale: of the fixed pauses.
struct Sequence {
    const char *name;
    int rom;
    Op op;
    bool readBefore;
    QStringList sent;
    QList<int> minGaps;
    int minTail = 0;
    double scale = 0.1;
};
// field0 is typed before a write; `no` answers the question No.
struct Failure {
    const char *name;
    Op op;
    Misbehaviour m;
    QStringList sent;
    QString box, lastLine, field0 = "3000";
    int deviceType = 0;
    bool no = false;
};
// `action` runs 150 ms after the controller took in `at`: 0 close the port, 1 close and reopen it
// and click "Data Get", 2 open a settings file, 3 save one.
struct MenuCase {
    const char *name;
    Op op;
    QString at;
    int action;
    QStringList sent;
    QString lastLine, field0After;
    bool usable;
};
} // namespace

Q_DECLARE_METATYPE(Sequence)
Q_DECLARE_METATYPE(Failure)
Q_DECLARE_METATYPE(MenuCase)

class TestDeviceOperations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The controller takes 400 ms to restore or erase before its closing CR (ROM 4 on).
    void commandSequences_data()
    {
        QTest::addColumn<Sequence>("c");
        const QStringList defaults {"sr", "ae", "rt", "sr"}, clear {"sr", "be"};
        for (const Sequence &c : std::initializer_list<Sequence> {
                 {"defaults at start-up, ROM 5", 5, Defaults, false, defaults, {30, 450, 50}},
                 {"defaults at start-up, ROM 3, real waits", 3, Defaults, false, defaults, {300, 5500, 500}, 0, 1.0},
                 {"defaults, version known, ROM 5", 5, Defaults, true, defaults.mid(1), {450, 50}},
                 {"clear, ROM 5", 5, Clear, false, clear, {30}, 400},
                 {"clear reads every time, ROM 3", 3, Clear, true, clear, {30}, 500},
                 {"read", 5, Read, false, {"sr"}, {}},
                 {"get", 5, Get, false, {"br"}, {}},
                 {"write after a read", 5, Write, true, {"sw", Block, "sr"}, {0, 50}}})
            QTest::newRow(c.name) << c;
    }
    void commandSequences()
    {
        QFETCH(Sequence, c);
        OperationsWorld w(c.rom, c.scale);
        w.sim.setProcessingDelayMs(400);
        w.sim.setSettingsBlock(customBlock(c.rom));
        if (c.readBefore)
            readFirst(w);
        if (c.op == Write)
            w.editor->TxtData(0)->setText("3000");

        QList<bool> lockedDuring;
        QElapsedTimer sinceLast;
        connect(&w.sim, &ControllerSimulator::commandReceived, this, [&] {
            sinceLast.start();
            lockedDuring = w.enabled();
            w.click(Read); // a locked button does nothing
        });
        w.editor->TxtData(2)->setFocus();
        w.click(c.op);
        const qint64 tail = sinceLast.elapsed();

        QCOMPARE(w.sent(), c.sent);
        for (int i = 0; i < c.minGaps.size(); ++i) // loose upper bounds: a loaded machine
            QVERIFY2(w.gap(i, i + 1) >= c.minGaps[i] - 2 && w.gap(i, i + 1) < c.minGaps[i] + 2000,
                     qPrintable(QString("gap %1: %2 ms").arg(i).arg(w.gap(i, i + 1))));
        QVERIFY2(tail >= c.minTail - 2, qPrintable(QString::number(tail)));
        QCOMPARE(lockedDuring, QList<bool>(5, false));
        QCOMPARE(w.line.lines.first(), qMakePair(OperationsWorld::Captions[c.op], MessageLine::Black));
        QVERIFY(w.completed());
        // What cannot be undone is asked first, with No as the default answer.
        const QString question = c.op == Defaults ? AskDefaults : c.op == Clear ? AskClear : QString();
        QCOMPARE(w.boxes.texts(), question.isEmpty() ? QStringList() : QStringList {question});
        QVERIFY(question.isEmpty() || w.boxes.shown[0].buttons == MessageBoxes::Buttons::YesNoDefaultNo);
        QVERIFY(w.leds.first() == BusyIndicator::LedBright && w.leds.last() == BusyIndicator::LedDark
                && !w.window->busyIndicator().TmrLed().isActive());
        QCOMPARE(w.enabled(), QList<bool>({true, !w.field(0).isEmpty(), true, true, true}));
        QCOMPARE(w.cmd[c.op]->hasFocus(), c.op != Get);

        const QString field0After[] = {"10000", "3000", "2000", "", c.readBefore ? "10000" : ""};
        QCOMPARE(w.field(0), field0After[c.op]);
        // A write sends the fields as typed, every other byte as read: the limiter stays off.
        QVERIFY(c.op != Write || w.sim.settingsBlock() == customBlock(c.rom, 3000));
    }

    // Each after a successful read: what a refused reply, a refused value or a question answered No does.
    void failures_data()
    {
        QTest::addColumn<Failure>("c");
        const Misbehaviour extraChar {.onlyFor = {"sr"}, .garbage = "x", .garbageAt = Misbehaviour::GarbageAt::Before};
        const Misbehaviour lowerCase {.readBack = Misbehaviour::ReadBack::LowerCaseCharacter};
        const QStringList write {"sw", Block, "sr"};
        const QString abnormal = "Data is abnormal!!\r\nPlease set it correctly.";
        for (const Failure &c : std::initializer_list<Failure> {
                 {"read: controller silent", Read, {.silent = true}, {"sr"}, Fault, Fault},
                 {"read: one character too many", Read, extraChar, {"sr"}, UnreadableBox, Unreadable},
                 {"clear: reply of the wrong length", Clear, extraChar, {"sr"}, UnreadableBox, Unreadable},
                 {"read: settings deleted", Read, {}, {"sr"}, "Setting Data is deleted.", Done, "", 0xFF},
                 {"write: read-back differs in case", Write, lowerCase, write, "", Ng},
                 {"write: read-back of the wrong length", Write, extraChar, write, UnreadableBox, Ng, "10000"},
                 {"write: field out of range", Write, {}, {}, abnormal, NothingWritten, "20000"},
                 {"write: sw not echoed", Write, {.onlyFor = {"sw"}, .silent = true}, write, Fault, Fault},
                 {"defaults: answered No", Defaults, {}, {}, AskDefaults, "", "", 0, true}})
            QTest::newRow(c.name) << c;
    }
    void failures()
    {
        QFETCH(Failure, c);
        OperationsWorld w(5);
        w.sim.setSettingsBlock(customBlock(5));
        readFirst(w);
        w.sim.setMisbehaviour(c.m);
        w.sim.setDeviceType(c.deviceType);
        w.sim.setRomVersion(7);
        w.boxes.answers = {c.no ? MessageBoxes::Answer::No : MessageBoxes::Answer::Yes};
        if (c.op == Write)
            w.editor->TxtData(0)->setText(c.field0);

        const QString fieldsBefore = w.field(0);
        w.click(c.op);
        QCOMPARE(w.sent(), c.sent);
        QCOMPARE(w.boxes.texts().filter(QRegularExpression("^(?!Erase)")),
                 c.box.isEmpty() ? QStringList() : QStringList {c.box});
        QCOMPARE(w.line.lastText(), c.lastLine);
        QCOMPARE(w.line.lastColour(), c.no ? -1 : c.lastLine == Done ? MessageLine::Black : MessageLine::Red);
        for (int i = 0; c.op == Read && i < 13; ++i)
            QCOMPARE(w.field(i), QString());
        // Version and block only from an accepted reply; a refused one changes nothing.
        const bool accepted = c.deviceType || c.box.isEmpty();
        if (c.op == Read || c.op == Clear)
            QCOMPARE(w.ops->RomVer(), qint16(c.op == Read && accepted ? 7 : 5));
        if (c.op == Clear || c.no)
            QVERIFY(w.field(0) == fieldsBefore && w.ops->ReadData() == customBlock(5) && !w.ops->isRunning());
        // Blank fields lock writing; the focus never goes to a locked button, after a refused write to the value.
        const bool writable = !w.field(0).isEmpty();
        const bool refused = c.lastLine == NothingWritten;
        QCOMPARE(w.enabled(), QList<bool>({true, writable, true, true, true}));
        QCOMPARE(w.cmd[c.op]->hasFocus(), !refused && (c.op == Read || writable));
        QCOMPARE(w.editor->TxtData(0)->hasFocus(), refused);
    }

    // The log reaches the store whole although a dialog held the wait past the time-out of "br" while
    // the port gathered the reply; a reply cut short neither opens the window again nor redraws it.
    void dataGetReplacesTheLogOrLeavesItAlone()
    {
        OperationsWorld w(5);
        RunLog log;
        for (int n = 0; n < RunLogSamples; ++n)
            log[n] = n >= 1 && n <= 4 ? RunSample {} : RunSample {quint8(n % 250), quint8(255 - n % 200)};
        w.sim.setRunLog(log);
        w.when("br", 0, [] {
            QEventLoop dialog;
            QTimer::singleShot(10300, &dialog, &QEventLoop::quit);
            dialog.exec();
        });
        w.click(Get);
        QVERIFY(w.completed() && w.boxes.shown.isEmpty() && w.viewer->window() && w.viewer->window()->isVisible());
        LogStore expected;
        decodeRunData(QString::fromLatin1("br" + zxsim::runLogHex(log)), expected);
        QVERIFY(w.store.VoltData == expected.VoltData && w.store.CurData == expected.CurData);

        w.viewer->window()->close();
        QTRY_VERIFY(!w.viewer->window());
        w.sim.setRunLog(zxsim::demoRunLog());
        w.sim.setMisbehaviour({.onlyFor = {"br"}, .truncateAfter = 600});
        w.click(Get);
        QCOMPARE(w.boxes.texts(), QStringList {Partial});
        QVERIFY(!w.completed() && !w.viewer->window() && w.store.VoltData == expected.VoltData);
    }

    // Menu commands between the steps of an operation: "ComPort" (Cancel, or OK and another button
    // clicked), a settings file opened or saved. Write: before any read, with fields from a file.
    void menuCommandDuringOperation_data()
    {
        QTest::addColumn<MenuCase>("c");
        const QStringList write {"sr", "sw", Block, "sr"};
        for (const MenuCase &c : std::initializer_list<MenuCase> {
                 {"port closed", Write, "sr", 0, {"sr"}, Ng, "3000", false},
                 {"port reopened, other button clicked", Write, "sr", 1, write, Done, "3000", true},
                 {"settings file opened during a write", Write, "sw", 2, write, Done, "2000", true},
                 {"settings file opened during a read", Read, "sr", 2, {"sr"}, Done, "10000", true},
                 {"settings file saved during a write", Write, Block, 3, write, Done, "4000", true}})
            QTest::newRow(c.name) << c;
    }
    void menuCommandDuringOperation()
    {
        QFETCH(MenuCase, c);
        OperationsWorld w(5, 1.0);
        w.sim.setSettingsBlock(customBlock(5));
        w.files->ShowLoadedSettings(zxsim::defaultSettingsBlock(5)); // fields from a settings file
        w.editor->TxtData(0)->setText("3000");
        if (c.op == Read)
            w.sim.setMisbehaviour({.onlyFor = {"sr"}, .delayMs = 300});
        QFile file(w.dir.filePath("defaults.set"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(zxsim::defaultSettingsBlock(5).toLatin1()) == 64);
        file.close();
        QList<bool> afterMenu;
        QElapsedTimer sinceMenu;
        w.when(c.at, 150, [&] {
            if (c.action <= 1)
                w.link->ClosePort();
            if (c.action == 1) { // as the port menu does it
                w.link->OpenPort({});
                w.buttons->SetButtonState();
                w.click(Get);
            } else if (c.action == 2) {
                w.dialogs.paths << file.fileName();
                w.files->mnuOpen_Click();
            } else if (c.action == 3) {
                w.editor->TxtData(0)->setText("4000");
                w.dialogs.paths << w.dir.filePath("saved.set");
                w.files->mnuSave_Click();
            }
            afterMenu = w.enabled();
            sinceMenu.start();
        });
        w.click(c.op);
        QCOMPARE(afterMenu, QList<bool>(5, false)); // locked whatever the menus did
        QCOMPARE(w.sent(), c.sent);
        QCOMPARE(w.line.lastText(), c.lastLine);
        QCOMPARE(w.enabled(), QList<bool>(5, c.usable));
        QCOMPARE(w.field(0), c.field0After);
        // The exchanges on the closed port end at once as faults, reported by one box.
        QCOMPARE(w.boxes.texts(), QStringList(c.usable ? 0 : 1, Fault));
        QVERIFY2(sinceMenu.elapsed() < 3000, qPrintable(QString::number(sinceMenu.elapsed())));
        if (c.op == Write && c.usable)
            QCOMPARE(w.sim.settingsBlock().left(4), QString("B80B")); // 3000, as it was sent
    }

    void windowClosedDuringOperation_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QStringList>("sent"); // the last one is where the window closes
        QTest::addColumn<int>("replyDelayMs");
        QTest::newRow("during a pause") << int(Defaults) << QStringList {"sr", "ae"} << 0;
        QTest::newRow("during an exchange") << int(Read) << QStringList {"sr"} << 2000;
        QTest::newRow("during the log fetch") << int(Get) << QStringList {"br"} << 2000;
    }
    void windowClosedDuringOperation()
    {
        QFETCH(int, op);
        QFETCH(QStringList, sent);
        QFETCH(int, replyDelayMs);
        OperationsWorld w(3, 1.0);
        w.sim.setMisbehaviour({.delayMs = replyDelayMs});
        QElapsedTimer sinceClose;
        w.when(sent.last(), 100, [&] {
            w.window->close();
            delete w.window; // every widget gone while the operation is still on the stack
            sinceClose.start();
        });
        w.click(op);
        QVERIFY2(sinceClose.isValid() && sinceClose.elapsed() < 1000,
                 qPrintable(QString::number(sinceClose.elapsed())));
        QVERIFY(!w.ops->isRunning());
        QTest::qWait(200);
        QCOMPARE(w.sent(), sent);
        QCOMPARE(w.boxes.texts(), op == Defaults ? QStringList {AskDefaults} : QStringList());
        QCOMPARE(w.line.lines.size(), 1); // the caption only
    }
};

QTEST_MAIN(TestDeviceOperations)
#include "tst_device_operations.moc"
