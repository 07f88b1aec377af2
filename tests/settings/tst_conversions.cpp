#include "settings/conversions.h"
#include "settings/number_text.h"
#include "worked_example.h"
#include <QTest>

class TestConversions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workedValues_data()
    {
        QTest::addColumn<QString>("routine");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("result"); // hex text, or the value as a field shows it
        const auto row = [](const char *routine, const char *in, const char *out) {
            QTest::addRow("%s %s", routine, in) << routine << in << out;
        };
        for (auto [in, out] : {std::pair{"50", "1B"}, {"80", "2A"}, {"240", "80"}, {"250", "85"}, {"300", "9F"}, {"480", "FF"}})
            row("CurrentToHex", in, out); // 80: 42.5 goes to 42; 240: 127.5 goes to 128
        for (auto [in, out] : {std::pair{"2.5", "20"}, {"3.3", "2A"}, {"5", "40"}, {"6", "4D"}})
            row("VoltToHex", in, out); // 3.3 lands on 42.5 only in single precision
        for (auto [in, out] : {std::pair{"10", "1A"}, {"30", "4C"}, {"50", "80"}, {"100", "FF"}})
            row("PercentToHex", in, out);
        for (auto [in, out] : {std::pair{"&H1B", "50"}, {"&H9F", "300"}, {"&HFF", "480"}, {"&H05", "10"}, {"&H00", "0"}, {"255", "480"}, {"&HZZ", "0"}})
            row("HexToCurrent", in, out); // decimal digits as the log decoder passes them
        for (auto [in, out] : {std::pair{"&H20", "2.5"}, {"&H40", "5"}, {"&H3F", "4.9"}, {"&H4D", "6"}, {"&HFF", "19.8"}})
            row("HexToVolt", in, out);
        for (auto [in, out] : {std::pair{"&H80", "50"}, {"&HFF", "100"}, {"&H00", "0"}})
            row("HexToPercent", in, out);
    }
    void workedValues()
    {
        QFETCH(QString, routine);
        QFETCH(QString, input);
        const float v = numtext::readSingle(input);
        const QString result = routine == "CurrentToHex"   ? CurrentToHex(v)
                               : routine == "VoltToHex"    ? VoltToHex(v)
                               : routine == "PercentToHex" ? PercentToHex(v)
                               : routine == "HexToCurrent" ? numtext::shortestText(HexToCurrent(input))
                               : routine == "HexToVolt"    ? numtext::shortestText(HexToVolt(input))
                                                           : HexToPercent(input);
        QTEST(result, "result");
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
        const FieldSpec &s = fields::spec(field);
        const bool tenths = field == fields::LowBattery;
        for (int n = s.spinMinimum; n <= s.spinMaximum; n += s.spinStep) {
            const QString text = tenths ? numtext::shortestText(n / 10.0) : QString::number(n);
            assembly::FieldTexts texts = worked::fieldTexts();
            texts[size_t(field)] = text;
            const QString source = fields::isHidden(field) ? worked::withPlainValue(field, n) : worked::Block;
            QCOMPARE(worked::shownField(block::read(assembly::build(texts, false, source)), field), text);
        }
    }
};

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
