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
        const auto row = [](const QString &t, double v, bool begins, bool complete) {
            QTest::addRow("\"%s\"", qPrintable(t)) << t << v << begins << complete;
        };
        row(" 1 000 ", 1000, true, true); // blanks skipped wherever they stand
        row("5x", 5, true, false);
        row("3.5.1", 3.5, true, false);
        row("3.", 3, true, true);
        row("-.5", -0.5, true, true);
        row("1,5", 1, true, false); // the period is the only decimal point
        row("2e3", 2, true, false); // no exponent form
        row("&h1b", 27, true, true);
        row("&HFFFF", 65535, true, true); // unsigned
        row("&H", 0, false, false);
        row("-", 0, false, false);
        row(".", 0, false, false);
    }
    void reading()
    {
        QFETCH(QString, text);
        QTEST(leadingNumber(text), "value");
        QTEST(hasLeadingNumber(text), "begins");
        QTEST(isCompleteNumber(text), "complete");
    }

    void rounding_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("even");      // whole number, halves to even
        QTest::addColumn<qint64>("truncated"); // fraction dropped
        QTest::addColumn<QString>("fixed0");   // no decimals, halves away from zero
        const auto row = [](double v, qint64 even, qint64 fixed, const char *f0) {
            QTest::addRow("%g", v) << v << even << fixed << QString::fromLatin1(f0);
        };
        row(2.5, 2, 2, "3");
        row(35.5, 36, 35, "36");
        row(150.5, 150, 150, "151");
        row(-2.5, -2, -2, "-3");
        row(-0.4, 0, 0, "0");
    }
    void rounding()
    {
        QFETCH(double, value);
        QTEST(qint64(roundHalfEven(value)), "even");
        QTEST(qint64(fix(value)), "truncated");
        QTEST(fixedText(value, 0), "fixed0");
    }

    void writing_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shortest");
        QTest::addColumn<QString>("fixed1");
        const auto row = [](double v, const char *s, const char *f1) {
            QTest::addRow("%s", s) << v << QString::fromLatin1(s) << QString::fromLatin1(f1);
        };
        row(6.0, "6", "6.0");
        row(10000, "10000", "10000.0");
        row(double(3.55f), "3.55", "3.5"); // the single is just below 3.55
        row(0.25, "0.25", "0.3");          // a true half goes away from zero
        row(64 * 198 / 2550.0, "4.969412", "5.0");
        row(12345678, "12345680", "12345678.0");
        row(-0.0, "0", "0.0");
    }
    void writing()
    {
        QFETCH(double, value);
        QTEST(shortestText(value), "shortest");
        QTEST(fixedText(value, 1), "fixed1");
    }

    void hugeTextSaturates() { QCOMPARE(readSingle(QString(60, u'9')), HUGE_VALF); }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
