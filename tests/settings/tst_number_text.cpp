#include "settings/number_text.h"
#include <QTest>
#include <cmath>

using namespace numtext;

class TestNumberText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("begins");   // begins with a number
        QTest::addColumn<bool>("complete"); // is wholly one number
        QTest::newRow("integer") << "150" << 150.0 << true << true;
        QTest::newRow("leading blanks") << "  42" << 42.0 << true << true;
        QTest::newRow("inner blank") << "1 000" << 1000.0 << true << true;
        QTest::newRow("trailing blank") << "7 " << 7.0 << true << true;
        QTest::newRow("junk after") << "5x" << 5.0 << true << false;
        QTest::newRow("second period") << "3.5.1" << 3.5 << true << false;
        QTest::newRow("trailing period") << "3." << 3.0 << true << true;
        QTest::newRow("leading period") << ".5" << 0.5 << true << true;
        QTest::newRow("negative") << "-2.5" << -2.5 << true << true;
        QTest::newRow("plus") << "+7" << 7.0 << true << true;
        QTest::newRow("comma is no point") << "1,5" << 1.0 << true << false;
        QTest::newRow("no exponent") << "2e3" << 2.0 << true << false;
        QTest::newRow("hex") << "&H1B" << 27.0 << true << true;
        QTest::newRow("hex lower") << "&hff" << 255.0 << true << true;
        QTest::newRow("hex unsigned") << "&HFFFF" << 65535.0 << true << true;
        QTest::newRow("hex stops") << "&H4G" << 4.0 << true << false;
        QTest::newRow("hex no digit") << "&HG4" << 0.0 << false << false;
        QTest::newRow("bare hex prefix") << "&H" << 0.0 << false << false;
        QTest::newRow("empty") << "" << 0.0 << false << false;
        QTest::newRow("lone minus") << "-" << 0.0 << false << false;
        QTest::newRow("lone period") << "." << 0.0 << false << false;
        QTest::newRow("letter first") << "x5" << 0.0 << false << false;
        QTest::newRow("non-ascii digit") << QString::fromUtf8("\u0665") << 0.0 << false << false;
        QTest::newRow("huge") << QString(400, u'9') << HUGE_VAL << true << true;
        QTest::newRow("tiny") << "0." + QString(400, u'0') + "1" << 0.0 << true << true;
    }
    void reading()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(leadingNumber(text), value);
        QTEST(hasLeadingNumber(text), "begins");
        QTEST(isCompleteNumber(text), "complete");
    }

    void singlePrecision()
    {
        // 3.55 is held just below 3.55, so ten times it rounds to 35; 3.57 gives 36.
        QVERIFY(double(readSingle(u"3.55")) < 3.55);
        QCOMPARE(roundHalfEven(double(readSingle(u"3.55")) * 10), 35);
        QCOMPARE(roundHalfEven(double(readSingle(u"3.57")) * 10), 36);
        QCOMPARE(readSingle(QString(60, u'9')), HUGE_VALF);
    }

    void wholeNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("even");
        QTest::addColumn<qint64>("truncated");
        QTest::newRow("0.5") << 0.5 << qint64(0) << qint64(0);
        QTest::newRow("1.5") << 1.5 << qint64(2) << qint64(1);
        QTest::newRow("2.5") << 2.5 << qint64(2) << qint64(2);
        QTest::newRow("35.5") << 35.5 << qint64(36) << qint64(35);
        QTest::newRow("150.5") << 150.5 << qint64(150) << qint64(150);
        QTest::newRow("-1.5") << -1.5 << qint64(-2) << qint64(-1);
        QTest::newRow("-2.5") << -2.5 << qint64(-2) << qint64(-2);
        QTest::newRow("2.9") << 2.9 << qint64(3) << qint64(2);
        QTest::newRow("-2.9") << -2.9 << qint64(-3) << qint64(-2);
        QTest::newRow("nan") << double(NAN) << qint64(0) << qint64(0);
        QTest::newRow("inf") << double(HUGE_VAL) << std::numeric_limits<qint64>::max()
                             << std::numeric_limits<qint64>::max();
    }
    void wholeNumbers()
    {
        QFETCH(double, value);
        QTEST(qint64(roundHalfEven(value)), "even");
        QTEST(qint64(fix(value)), "truncated");
    }

    void shortest_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("100") << 100.0 << "100";
        QTest::newRow("2.5") << 2.5 << "2.5";
        QTest::newRow("6.0") << 6.0 << "6";
        QTest::newRow("10000") << 10000.0 << "10000";
        QTest::newRow("single 0.1") << double(0.1f) << "0.1";
        QTest::newRow("single 3.55") << double(3.55f) << "3.55";
        QTest::newRow("spin 36/10") << 36 / 10.0 << "3.6";
        QTest::newRow("7 digits") << 1234567.8 << "1234568";
        QTest::newRow("no exponent big") << 12345678.0 << "12345680";
        QTest::newRow("no exponent small") << 0.0001 << "0.0001";
        QTest::newRow("third") << 1 / 3.0 << "0.3333333";
        QTest::newRow("negative") << -2.5 << "-2.5";
        QTest::newRow("minus zero") << -0.0 << "0";
    }
    void shortest()
    {
        QFETCH(double, value);
        QTEST(shortestText(value), "text");
    }

    void fixedDecimals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("volt 4.969") << 64 * 198 / 2550.0 << 1 << "5.0";
        QTest::newRow("half away, not even") << 0.25 << 1 << "0.3";
        QTest::newRow("2.5 -> 3") << 2.5 << 0 << "3";
        QTest::newRow("-2.5 -> -3") << -2.5 << 0 << "-3";
        QTest::newRow("decimal half") << 2.675 << 2 << "2.68";
        QTest::newRow("19.8") << 19.8 << 1 << "19.8";
        QTest::newRow("percent") << 128 * 100 / 255.0 << 0 << "50";
        QTest::newRow("no minus zero") << -0.4 << 0 << "0";
    }
    void fixedDecimals()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QTEST(fixedText(value, decimals), "text");
    }

    void hex_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "0";
        QTest::newRow("27") << qint64(27) << "1B";
        QTest::newRow("255") << qint64(255) << "FF";
        QTest::newRow("10000") << qint64(10000) << "2710";
        QTest::newRow("negative") << qint64(-1) << "FFFFFFFF";
    }
    void hex()
    {
        QFETCH(qint64, value);
        QTEST(hexText(value), "text");
    }

    void strict_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("count");
        QTest::addColumn<qint64>("value");
        QTest::newRow("upper") << "1B" << 2 << qint64(27);
        QTest::newRow("lower") << "1b" << 2 << qint64(27);
        QTest::newRow("word") << "2710" << 4 << qint64(10000);
        QTest::newRow("bad char") << "1G" << 2 << qint64(-1);
        QTest::newRow("blank") << " 1" << 2 << qint64(-1);
        QTest::newRow("short") << "1" << 2 << qint64(-1);
        QTest::newRow("sign") << "-1" << 2 << qint64(-1);
    }
    void strict()
    {
        QFETCH(QString, digits);
        QFETCH(int, count);
        QTEST(qint64(strictHex(digits, count)), "value");
    }
};

int runNumberTextTests(int argc, char **argv)
{
    TestNumberText t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_number_text.moc"
