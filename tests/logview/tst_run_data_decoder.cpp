// Run-data replies into the log store: what each byte pair becomes, which characters are
// ignored, and what a short or garbled reply leaves behind.
#include "logview/log_store.h"
#include "logview/run_data_decoder.h"

#include <QTest>

namespace {

// "br", every sample holding `volt` and `cur`, then a carriage return, as the controller sends it.
QString replyOf(const QString &volt, const QString &cur)
{
    return QStringLiteral("br") + (volt + cur).repeated(512) + QLatin1Char('\r');
}

void setPair(QString &reply, int sample, bool current, const QString &pair)
{
    reply.replace(2 + 4 * sample + (current ? 2 : 0), 2, pair);
}

} // namespace

class TstRunDataDecoder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void storeStatesAndAllFF()
    {
        LogStore s;
        QVERIFY(!s.isEmpty()); // start-up: all zeros, until the main window marks it empty
        s.markEmpty();
        QVERIFY(s.isEmpty() && s.VoltData[0] == -1.0f && s.VoltData[1] == 0 && s.CurData[0] == 0);
        s.VoltData.fill(3.0f);
        decodeRunData(replyOf(QStringLiteral("FF"), QStringLiteral("FF")), s);
        QVERIFY(s.isEmpty());
        QVERIFY(std::all_of(s.VoltData.begin(), s.VoltData.end(), [](float v) { return v == -1; }));
        QVERIFY(std::all_of(s.CurData.begin(), s.CurData.end(), [](float v) { return v == -1; }));
    }

    void bytePairs_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<QString>("volt");
        QTest::addColumn<QString>("cur");
        QTest::addColumn<float>("expectVolt");
        QTest::addColumn<float>("expectCur");
        QTest::newRow("zero") << 300 << "00" << "00" << 0.0f << 0.0f;
        QTest::newRow("2.5 V, 50 A, first sample") << 0 << "20" << "1B" << 2.5f << 50.0f;
        QTest::newRow("5.0 V (not 4.97), 300 A, last") << 511 << "40" << "9F" << 5.0f << 300.0f;
        QTest::newRow("FE upper") << 300 << "FE" << "FE" << 19.7f << 480.0f;
        QTest::newRow("fe lower") << 300 << "fe" << "fe" << 19.7f << 480.0f;
        QTest::newRow("no voltage") << 300 << "FF" << "05" << -1.0f << 10.0f;
        QTest::newRow("no current") << 300 << "4D" << "FF" << 6.0f << -1.0f;
        QTest::newRow("ff mixed case") << 300 << "ff" << "fF" << -1.0f << -1.0f;
    }
    void bytePairs()
    {
        QFETCH(int, sample);
        QFETCH(QString, volt);
        QFETCH(QString, cur);
        QFETCH(float, expectVolt);
        QFETCH(float, expectCur);
        // Every other sample is 0x0E, 0x0B (1.1 V, 20 A), so a misplaced read shows.
        QString reply = replyOf(QStringLiteral("0E"), QStringLiteral("0B"));
        setPair(reply, sample, false, volt);
        setPair(reply, sample, true, cur);
        LogStore s;
        decodeRunData(reply, s);
        QCOMPARE(s.VoltData[sample], expectVolt);
        QCOMPARE(s.CurData[sample], expectCur);
        const int other = sample == 511 ? 510 : sample + 1;
        QVERIFY(s.VoltData[other] == 1.1f && s.CurData[other] == 20.0f);
    }

    // Characters 1-2 and everything after character 2050 change nothing.
    void ignoredCharacters_data()
    {
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("tail");
        QTest::newRow("CR LF head, no tail") << "\r\n" << "";
        QTest::newRow("hex head, hex tail") << "FF" << "FFFF";
        QTest::newRow("garbage tail") << "zz" << "\r0000garbage\x01";
    }
    void ignoredCharacters()
    {
        QFETCH(QString, head);
        QFETCH(QString, tail);
        QString base = replyOf(QStringLiteral("4D"), QStringLiteral("9F"));
        setPair(base, 7, false, QStringLiteral("FF"));
        LogStore expected;
        LogStore s;
        decodeRunData(base, expected);
        decodeRunData(head + base.mid(2, RunDataReplyLength - 2) + tail, s);
        QVERIFY(s.VoltData == expected.VoltData && s.CurData == expected.CurData);
    }

    // Every pair that cannot be read becomes "no value", the readable ones are kept, and
    // nothing of the previous log survives anywhere.
    void replacesEverySample_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("readableVolts"); // samples 0..n-1 read, the rest -1
        QTest::addColumn<int>("readableCurs");
        QTest::addColumn<int>("badSample");     // one more unreadable sample (both values), or -1
        const QString full = replyOf(QStringLiteral("20"), QStringLiteral("1B"));
        QTest::newRow("second complete fetch") << full << 512 << 512 << -1;
        QTest::newRow("empty") << QString() << 0 << 0 << -1;
        QTest::newRow("one digit") << full.left(3) << 0 << 0 << -1;
        QTest::newRow("first voltage only") << full.left(5) << 1 << 0 << -1;
        QTest::newRow("half") << full.left(2 + 4 * 256) << 256 << 256 << -1;
        QTest::newRow("last digit missing") << full.left(2049) << 512 << 511 << -1;
        const QString bad[] = {QStringLiteral("G1"), QStringLiteral(" 1"), QStringLiteral("+1"),
                               QStringLiteral("&H"), QString(QChar(0x0661)) + u'1', QString(QChar(0)) + u'0'};
        for (const QString &pair : bad) {
            QString g = full;
            setPair(g, 10, false, pair);
            setPair(g, 10, true, pair);
            QTest::newRow(qPrintable(QStringLiteral("pair %1").arg(pair.toUtf8().toHex()))) << g << 512 << 512 << 10;
        }
    }
    void replacesEverySample()
    {
        QFETCH(QString, reply);
        QFETCH(int, readableVolts);
        QFETCH(int, readableCurs);
        QFETCH(int, badSample);
        LogStore s;
        s.VoltData.fill(7.0f);
        s.CurData.fill(7.0f);
        decodeRunData(reply, s);
        for (int i = 0; i < 512; ++i) {
            QCOMPARE(s.VoltData[i], i < readableVolts && i != badSample ? 2.5f : -1.0f);
            QCOMPARE(s.CurData[i], i < readableCurs && i != badSample ? 50.0f : -1.0f);
        }
    }
};

QTEST_GUILESS_MAIN(TstRunDataDecoder)
#include "tst_run_data_decoder.moc"
