#include "settings/conversions.h"
#include "settings/settings_block.h"
#include "settings/block_assembly.h"

#include <cmath>
#include "numtext/number_text.h"
#include "worked_block.h"

#include <QTest>

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
        rows("round",
             {{"2.5", "2 2 3"},
              {"35.5", "36 35 36"},
              {"150.5", "150 150 151"},
              {"-2.5", "-2 -2 -3"},
              {"-0.4", "0 0 0"}});
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

    // Each byte the controller can hold, through each conversion, against the physical
    // formula: 3 A and 66/255 V per 0.00625 and 10 units, rounded as the field shows it.
    void everyByteOfEveryConversion()
    {
        for (int b = 0; b <= 255; ++b) {
            const double amperes = b * 3.0 / (0.00625 * 255);
            QCOMPARE(HexToCurrent(b), float(std::floor(amperes / 10 + 0.5) * 10));
            const double volts = b * 3.0 * 66 / 2550;
            QCOMPARE(HexToVolt(b), float(std::floor(volts * 10 + 0.5) / 10));
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

    // Writing stops at the first field that is empty, marked red or out of range; field 7 counts
    // only while the limiter is on. Partly numeric texts: the editor's test.
    void firstUnusableField()
    {
        const auto first = [](int field, const QString &text, bool red = false, bool limiterOff = false) {
            assembly::FieldStates states;
            for (int i = 0; i < fields::Count; ++i)
                states[size_t(i)].text = worked::fieldTexts()[size_t(i)];
            states[size_t(field)] = {text, red};
            return assembly::firstUnusableField(states, limiterOff);
        };
        QCOMPARE(first(8, "0"), -1);
        QCOMPARE(first(8, ""), 8); // though it would read as 0
        QCOMPARE(first(8, "50", true), 8); // a stale mark still stops the write
        QCOMPARE(first(6, "2.4"), 6);
        QCOMPARE(first(7, "999"), 7);
        QCOMPARE(first(7, "999", false, true), -1);
    }

    // Only a block of 64 hexadecimal digits is read, and then every field of it; one stray
    // character anywhere, even in bytes the tool never shows, refuses the whole block. What
    // each field shows from the worked block: the editor's test.
    void decoding_data()
    {
        QTest::addColumn<Decode>("d"); // `shown` null: nothing was read
        using worked::with;
        for (const Decode &d :
             std::initializer_list<Decode> {{"6300 in field 0", with(1, "6300"), true, 0, "99"},
                                            {"unsigned word", with(9, "FFFF"), true, 2, "65535"},
                                            {"lower case", with(33, "0a"), true, 5, "10"},
                                            {"G in field 0", with(2, "G"), false, 0, nullptr},
                                            {"G in mode digit", with(64, "G"), false, 12, nullptr},
                                            {"unused bytes", with(21, "GGGGGGGGGGGG"), false, 5, nullptr},
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
