#include "settings/conversions.h"
#include "settings/settings_block.h"
#include "settings/block_assembly.h"

#include "numtext/number_text.h"
#include "worked_block.h"

#include <QTest>
#include <cmath>

using namespace numtext;

namespace {
// Runs one routine on a text and writes what it gives as text, so every rule is one table.
QString apply(const QString &routine, const QString &in)
{
    const double d = in.toDouble();
    const float f = readSingle(in);
    const auto yes = [](bool b) { return QString(b ? "yes" : "no"); };
    if (routine == "read") // value, begins with a number, is wholly one number
        return QStringList {QString::number(leadingNumber(in), 'g', 17), yes(hasLeadingNumber(in)),
                            yes(isCompleteNumber(in))}
            .join(' ');
    if (routine == "single")
        return QString::number(f, 'g', 9);
    if (routine == "round") // halves to even, fraction dropped, no decimals halves away from zero
        return QStringLiteral("%1 %2 %3").arg(roundHalfEven(d)).arg(fix(d)).arg(fixedText(d, 0));
    if (routine == "write" || routine == "write single")
        return routine == "write" ? shortestText(d) + ' ' + fixedText(d, 1) : shortestText(f) + ' ' + fixedText(f, 1);
    const int byte = routine == "CurrentToHex" ? CurrentToHex(f)
        : routine == "VoltToHex"               ? VoltToHex(f)
                                               : PercentToHex(f);
    return block::byteText(byte);
}

struct Decode {
    const char *name;
    QString block;
    bool readable;
    int field;
    const char *shown;
};
} // namespace
Q_DECLARE_METATYPE(Decode)

class TestSettingsText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void routines_data()
    {
        QTest::addColumn<QString>("routine");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("result");
        const auto rows = [](const char *routine, std::initializer_list<std::pair<const char *, const char *>> pairs) {
            for (auto [in, out] : pairs)
                QTest::addRow("%s \"%s\"", routine, in) << routine << in << out;
        };
        rows("read", {{" 1 000 ", "1000 yes yes"}, {"5x", "5 yes no"}, {"3.5.1", "3.5 yes no"}, {"3.", "3 yes yes"}});
        rows("read", {{"-.5", "-0.5 yes yes"}, {"1,5", "1 yes no"}, {"2e3", "2 yes no"}, {"&h1b", "27 yes yes"}});
        rows("read", {{"&HFFFF", "65535 yes yes"}, {"&H", "0 no no"}, {"-", "0 no no"}, {".", "0 no no"}});
        rows("single", {{"3.55", "3.54999995"}, {"999999999999999999999999999999999999999999999999999", "inf"}});
        rows("round", {{"35.5", "36 35 36"}, {"150.5", "150 150 151"}, {"-2.5", "-2 -2 -3"}, {"-0.4", "0 0 0"}});
        rows("write", {{"6", "6 6.0"}, {"10000", "10000 10000.0"}, {"0.25", "0.25 0.3"}, {"-0.0", "0 0.0"}});
        rows("write", {{"4.969411764705883", "4.969412 5.0"}, {"12345678", "12345680 12345678.0"}});
        rows("write single", {{"3.55", "3.55 3.5"}}); // just below 3.55
        // 80 A: 42.5 goes to 42; 240 A: 127.5 goes to 128; 3.3 V lands on 42.5 only in single precision
        rows("CurrentToHex", {{"50", "1B"}, {"80", "2A"}, {"240", "80"}, {"250", "85"}, {"300", "9F"}, {"480", "FF"}});
        rows("VoltToHex", {{"2.5", "20"}, {"3.3", "2A"}, {"5", "40"}, {"6", "4D"}});
        rows("PercentToHex", {{"10", "1A"}, {"30", "4C"}, {"50", "80"}, {"100", "FF"}});
        rows("PercentToHex", {{"300", "FD"}, {"-0.1", "00"}, {"-0.2", "FF"}}); // the byte is the low eight bits
    }
    void routines()
    {
        QFETCH(QString, routine);
        QFETCH(QString, input);
        QTEST(apply(routine, input), "result");
    }

    // Each byte against the formulas written out on their own (3 V over 255 steps; 6.25 mV an
    // ampere; the voltage divided by 6.6), rounded as the fields show them.
    void everyByteOfEveryConversion()
    {
        for (int b = 0; b <= 255; ++b) {
            QCOMPARE(HexToCurrent(b), float(std::floor(b * 3.0 / (0.00625 * 255) / 10 + 0.5) * 10));
            QCOMPARE(HexToVolt(b), float(std::floor(b * 3.0 * 66 / 2550 * 10 + 0.5) / 10));
            QCOMPARE(HexToPercent(b), QString::number(std::floor(b * 100.0 / 255 + 0.5)));
        }
    }

    // Every value a field accepts is written and read back as the same text. Hidden
    // fields are not written from the field: their value travels in the copied bytes.
    void everyValidValueSurvives_data()
    {
        QTest::addColumn<int>("field");
        for (const FieldSpec &s : fields::table())
            QTest::addRow("field %d", s.index) << s.index;
    }
    void everyValidValueSurvives()
    {
        QFETCH(int, field);
        const FieldSpec &s = fields::row(field);
        for (int n = s.spinMinimum; n <= s.spinMaximum; n += s.spinStep) {
            const QString text = field == fields::LowBattery ? shortestText(n / 10.0) : QString::number(n);
            assembly::FieldTexts texts = worked::fieldTexts();
            texts[size_t(field)] = text;
            const QString source = s.isHidden() ? worked::withPlainValue(field, n) : worked::Block;
            QCOMPARE(worked::shownField(block::read(assembly::build(texts, false, source)), field), text);
        }
    }

    // Only a block of 64 hexadecimal digits is read, and then every field of it; one stray
    // character, even in the last digit, refuses the whole block.
    void decoding_data()
    {
        QTest::addColumn<Decode>("d"); // `shown` null: nothing was read
        using worked::with;
        for (const Decode &d :
             std::initializer_list<Decode> {{"6300 in field 0", with(1, "6300"), true, 0, "99"},
                                            {"unsigned word", with(9, "FFFF"), true, 2, "65535"},
                                            {"3 V, not 2.9", with(35, "26"), true, 6, "3"},
                                            {"G in mode digit", with(64, "G"), false, 12, nullptr},
                                            {"longer: tail ignored", worked::Block + "GG\r", true, 0, "2000"},
                                            {"63 characters", worked::Block.left(63), false, 0, nullptr}})
            QTest::newRow(d.name) << d;
    }
    void decoding()
    {
        QFETCH(Decode, d);
        const QList<block::Step> r = block::read(d.block);
        QCOMPARE(block::isReadable(d.block), d.readable);
        QCOMPARE(r.isEmpty(), !d.readable);
        QCOMPARE(worked::shownField(r, d.field), QString::fromLatin1(d.shown));
        if (d.readable) // version and mode flags close the reading
            QVERIFY(r.last().kind == block::Step::Kind::ModeFlags && r.last().bits == 0xA);
    }
};

QTEST_APPLESS_MAIN(TestSettingsText)
#include "tst_settings_text.moc"
