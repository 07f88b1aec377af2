// The simulated controller's command handling, without any line.
#include "sim/controller_protocol.h"
#include "sim/settings_block.h"

#include <QtTest>

Q_DECLARE_METATYPE(Misbehaviour)
Q_DECLARE_METATYPE(Misbehaviour::ReadBack)

namespace {

const QByteArray Rom5Block = "D007401FF0054C046C070000000000000640556A6432330A500085C80000050A";
const QByteArray OtherBlock = "E803E8032C01DC05B0040000000000000A3C55FF50326408A00085C80000050B";

QByteArray sent(const QList<Exchange> &exchanges)
{
    QByteArray all;
    for (const Exchange &exchange : exchanges)
        for (const ReplyPart &part : exchange.reply)
            all += part.bytes;
    return all;
}

QStringList texts(const QList<Exchange> &exchanges)
{
    QStringList all;
    for (const Exchange &exchange : exchanges)
        all.append(exchange.command.text);
    return all;
}

QList<Exchange> feedAll(ControllerProtocol &protocol, const QByteArrayList &chunks)
{
    QList<Exchange> all;
    for (const QByteArray &chunk : chunks)
        all += protocol.feed(chunk, 0);
    return all;
}

} // namespace

class TestSimProtocol : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replies_data()
    {
        QTest::addColumn<int>("rom");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("closingCrDelayed");
        QTest::newRow("sr") << 5 << QByteArray("sr") << "sr" + Rom5Block + "0\r" << false;
        QTest::newRow("sr rom 3") << 3 << QByteArray("sr")
                                  << "sr" + QByteArray(Rom5Block).replace(60, 2, "03") + "0\r" << false;
        QTest::newRow("sw") << 5 << QByteArray("sw") << QByteArray("sw") << false;
        QTest::newRow("rt") << 5 << QByteArray("rt") << QByteArray("rt") << false;
        QTest::newRow("ae rom 5") << 5 << QByteArray("ae") << QByteArray("ae\r") << true;
        QTest::newRow("ae rom 4") << 4 << QByteArray("ae") << QByteArray("ae\r") << true;
        QTest::newRow("ae rom 3") << 3 << QByteArray("ae") << QByteArray("ae") << false;
        QTest::newRow("be rom 5") << 5 << QByteArray("be") << QByteArray("be\r") << true;
        QTest::newRow("be rom 3") << 3 << QByteArray("be") << QByteArray("be") << false;
    }
    void replies()
    {
        QFETCH(int, rom);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(bool, closingCrDelayed);
        ControllerProtocol protocol;
        protocol.setRomVersion(rom);
        const QList<Exchange> exchanges = protocol.feed(command, 0);
        QCOMPARE(texts(exchanges), QStringList{QString::fromLatin1(command)});
        QCOMPARE(sent(exchanges), reply);
        QCOMPARE(exchanges.first().reply.size() == 2 && exchanges.first().reply.last().delayMs > 0,
                 closingCrDelayed);
    }

    void runDataReplyCarriesEverySample()
    {
        ControllerProtocol protocol;
        RunLog log = zxsim::emptyRunLog();
        log[0] = {0x6C, 0x00};
        log[511] = {0x01, 0xFE};
        protocol.setRunLog(log);
        const QByteArray reply = sent(protocol.feed("br", 0));
        QCOMPARE(reply.size(), 2051);
        QCOMPARE(reply.left(6), QByteArray("br6C00"));
        QCOMPARE(reply.right(5), QByteArray("01FE\r"));
        QCOMPARE(reply.mid(6, 2040), QByteArray(2040, 'F'));
    }

    void writtenBlockIsStoredAndReadBack_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArray>("block");
        QTest::newRow("one write") << QByteArrayList{"sw" + OtherBlock} << OtherBlock;
        QTest::newRow("command then block") << QByteArrayList{"sw", OtherBlock} << OtherBlock;
        QTest::newRow("block in pieces")
            << QByteArrayList{"sw", OtherBlock.left(1), OtherBlock.mid(1, 40), OtherBlock.mid(41)} << OtherBlock;
        QTest::newRow("lower case kept as sent") << QByteArrayList{"sw", OtherBlock.toLower()} << OtherBlock.toLower();
        QByteArray commandLetters = QByteArray("srbeae").repeated(11).left(64);
        QTest::newRow("command letters inside a block") << QByteArrayList{"sw", commandLetters} << commandLetters;
    }
    void writtenBlockIsStoredAndReadBack()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QByteArray, block);
        ControllerProtocol protocol;
        const QList<Exchange> exchanges = feedAll(protocol, chunks);
        QCOMPARE(texts(exchanges), (QStringList{"sw", QString::fromLatin1(block)}));
        QVERIFY(exchanges.last().command.isSettingsBlock);
        QCOMPARE(sent(exchanges), "sw" + block);
        QCOMPARE(protocol.settingsBlock(), QString::fromLatin1(block));
        QCOMPARE(sent(protocol.feed("sr", 0)), "sr" + block + "0\r");
    }

    void restoreAndEraseKeepIdentity()
    {
        ControllerProtocol protocol;
        protocol.setRomVersion(3);
        protocol.setDeviceType(0xFF);
        QCOMPARE(protocol.settingsBlock().mid(58, 4), QString("FF03"));
        feedAll(protocol, {"sw", OtherBlock, "ae", "be"});
        QCOMPARE(protocol.settingsBlock(), zxsim::defaultSettingsBlock(3, 0xFF));
        QCOMPARE(sent(protocol.feed("br", 0)), "br" + QByteArray(2048, 'F') + "\r");
    }

    void resynchronisesAfterNoise_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("noise before") << QByteArrayList{QByteArray("\x00\xff#", 3) + "sr"} << QStringList{"sr"};
        QTest::newRow("doubled letter") << QByteArrayList{"ssr"} << QStringList{"sr"};
        QTest::newRow("upper case is not a command") << QByteArrayList{"SRsr"} << QStringList{"sr"};
        QTest::newRow("unknown pair") << QByteArrayList{"arsr"} << QStringList{"sr"};
        QTest::newRow("line endings between") << QByteArrayList{"sr\r\nbr"} << QStringList{"sr", "br"};
        QTest::newRow("split over reads") << QByteArrayList{"s", "r"} << QStringList{"sr"};
    }
    void resynchronisesAfterNoise()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QStringList, commands);
        ControllerProtocol protocol;
        QCOMPARE(texts(feedAll(protocol, chunks)), commands);
    }

    void staleHalfInputIsDropped()
    {
        ControllerProtocol protocol;
        QVERIFY(protocol.feed("s", 0).isEmpty());
        QVERIFY(protocol.feed("r", ControllerProtocol::StaleInputMs + 1).isEmpty());
        protocol.feed("sw" + OtherBlock.left(10), 20000);
        QCOMPARE(texts(protocol.feed("sr", 20000 + ControllerProtocol::StaleInputMs + 1)), QStringList{"sr"});
        QCOMPARE(protocol.settingsBlock(), QString::fromLatin1(Rom5Block));
    }

    void misbehaviour_data()
    {
        QTest::addColumn<Misbehaviour>("misbehaviour");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        Misbehaviour m;
        m.silent = true;
        QTest::newRow("silent") << m << QByteArray("srsw") << QByteArray();
        m = {};
        m.onlyFor = {"sw"};
        m.truncateAfter = 1;
        QTest::newRow("partial echo") << m << QByteArray("rtsw") << QByteArray("rts");
        m = {};
        m.truncateAfter = 2;
        QTest::newRow("closing CR withheld") << m << QByteArray("ae") << QByteArray("ae");
        m = {};
        m.lowerCaseHex = true;
        QTest::newRow("lower-case hex") << m << QByteArray("sr") << "sr" + Rom5Block.toLower() + "0\r";
        m = {};
        m.garbage = "#?";
        QTest::newRow("garbage instead") << m << QByteArray("rt") << QByteArray("#?");
        m.garbageAt = Misbehaviour::GarbageAt::Before;
        QTest::newRow("garbage before") << m << QByteArray("rt") << QByteArray("#?rt");
        m = {};
        m.silent = true;
        m.times = 1;
        QTest::newRow("only once") << m << QByteArray("rtrt") << QByteArray("rt");
        m.times = -1;
        m.onlyFor = {Misbehaviour::SettingsBlock};
        QTest::newRow("block echo only") << m << "sw" + OtherBlock + "rt" << QByteArray("swrt");
    }
    void misbehaviour()
    {
        QFETCH(Misbehaviour, misbehaviour);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        ControllerProtocol protocol;
        protocol.setMisbehaviour(misbehaviour);
        QCOMPARE(sent(protocol.feed(input, 0)), output);
    }

    void readBackAfterWrite_data()
    {
        QTest::addColumn<Misbehaviour::ReadBack>("mode");
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("readBack");
        using R = Misbehaviour::ReadBack;
        QTest::newRow("faithful") << R::Faithful << 0 << Rom5Block;
        QTest::newRow("flip first") << R::FlipCharacter << 0 << "C" + Rom5Block.mid(1);
        QTest::newRow("lower next letter") << R::LowerCaseCharacter << 1 << "D007401f" + Rom5Block.mid(8);
        QTest::newRow("lower last letter") << R::LowerCaseCharacter << 63 << Rom5Block.left(63) + "a";
    }
    void readBackAfterWrite()
    {
        QFETCH(Misbehaviour::ReadBack, mode);
        QFETCH(int, index);
        QFETCH(QByteArray, readBack);
        ControllerProtocol protocol;
        Misbehaviour m;
        m.readBack = mode;
        m.readBackIndex = index;
        protocol.setMisbehaviour(m);
        QCOMPARE(sent(protocol.feed("sr", 0)).mid(2, 64), Rom5Block);
        feedAll(protocol, {"sw", Rom5Block});
        QCOMPARE(sent(protocol.feed("sr", 0)).mid(2, 64), readBack);
        QCOMPARE(sent(protocol.feed("sr", 0)).mid(2, 64), Rom5Block);
    }

    void measurementBytesInvertTheProgramsConversions()
    {
        QCOMPARE(zxsim::voltageByte(5.0), 0x40);
        QCOMPARE(zxsim::currentByte(50), 0x1B);
        // 255 would read as a missing sample.
        QCOMPARE(zxsim::voltageByte(19.8), 254);
        QCOMPARE(zxsim::currentByte(480), 254);
    }

    void demoLogLooksLikeARun()
    {
        // Five minutes of samples, 7.4..8.4 V, bursts near 200 A, and the voltage lowest
        // where the current is highest.
        const RunLog log = zxsim::demoRunLog();
        int vMin = 255, vMax = 0, aMax = 0, vAtPeak = 0;
        for (int i = 0; i < RunLogSamples; ++i) {
            QCOMPARE(log[i].voltage != 0xFF && log[i].current != 0xFF, i < 300);
            if (i >= 300)
                continue;
            vMin = std::min<int>(vMin, log[i].voltage);
            vMax = std::max<int>(vMax, log[i].voltage);
            if (log[i].current > aMax)
                aMax = log[i].current, vAtPeak = log[i].voltage;
        }
        QVERIFY(vMin >= zxsim::voltageByte(7.3) && vMax == zxsim::voltageByte(8.4));
        QVERIFY(aMax >= zxsim::currentByte(180) && aMax <= zxsim::currentByte(200));
        QVERIFY(vAtPeak < (vMin + vMax) / 2);
    }
};

QTEST_GUILESS_MAIN(TestSimProtocol)
#include "tst_sim_protocol.moc"
