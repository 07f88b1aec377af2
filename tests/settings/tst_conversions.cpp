#include "settings/block_assembly.h"
#include "settings/conversions.h"
#include "settings/number_text.h"
#include "settings/settings_block.h"
#include "worked_example.h"
#include <QTest>

class TestConversions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void toHex_data()
    {
        QTest::addColumn<QString>("routine");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("hex");
        const auto row = [](const char *routine, float v, const char *hex) {
            QTest::addRow("%s %g", routine, double(v)) << QString::fromLatin1(routine) << v << QString::fromLatin1(hex);
        };
        row("CurrentToHex", 50, "1B");
        row("CurrentToHex", 80, "2A"); // 42.5 goes to the even 42
        row("CurrentToHex", 240, "80"); // 127.5 goes to 128
        row("CurrentToHex", 250, "85");
        row("CurrentToHex", 300, "9F");
        row("CurrentToHex", 480, "FF");
        row("CurrentToHex", 0, "0");
        row("VoltToHex", 2.5f, "20");
        row("VoltToHex", 3.3f, "2A"); // lands on 42.5 only in single precision
        row("VoltToHex", 5.0f, "40");
        row("VoltToHex", 6.0f, "4D");
        row("PercentToHex", 10, "1A"); // 25.5 goes to 26
        row("PercentToHex", 30, "4C"); // 76.5 goes to 76
        row("PercentToHex", 50, "80");
        row("PercentToHex", 100, "FF");
    }
    void toHex()
    {
        QFETCH(QString, routine);
        QFETCH(float, value);
        const QString hex = routine == "CurrentToHex" ? CurrentToHex(value)
                          : routine == "VoltToHex"    ? VoltToHex(value)
                                                      : PercentToHex(value);
        QTEST(hex, "hex");
    }

    void fromHex_data()
    {
        QTest::addColumn<QString>("routine");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("shown"); // as a field shows it
        const auto row = [](const char *routine, const char *in, const char *shown) {
            QTest::addRow("%s %s", routine, in) << QString::fromLatin1(routine) << QString::fromLatin1(in)
                                                << QString::fromLatin1(shown);
        };
        row("HexToCurrent", "&H1B", "50");
        row("HexToCurrent", "&H9F", "300");
        row("HexToCurrent", "&HFF", "480");
        row("HexToCurrent", "&H05", "10");
        row("HexToCurrent", "&H00", "0");
        row("HexToCurrent", "255", "480"); // the log decoder passes decimal digits
        row("HexToCurrent", "&HZZ", "0");
        row("HexToVolt", "&H20", "2.5");
        row("HexToVolt", "&H40", "5");
        row("HexToVolt", "&H3F", "4.9");
        row("HexToVolt", "&H4D", "6");
        row("HexToVolt", "&HFF", "19.8");
        row("HexToPercent", "&H80", "50");
        row("HexToPercent", "&HFF", "100");
        row("HexToPercent", "&H00", "0");
        row("HexToPercent", "&H1A", "10");
    }
    void fromHex()
    {
        QFETCH(QString, routine);
        QFETCH(QString, input);
        const QString shown = routine == "HexToCurrent" ? numtext::shortestText(HexToCurrent(input))
                            : routine == "HexToVolt"    ? numtext::shortestText(HexToVolt(input))
                                                        : HexToPercent(input);
        QTEST(shown, "shown");
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
        const int step = fields::snapsToTens(field) ? 10 : 1;
        const int low = tenths ? s.spinMinimum : int(s.minimum);
        const int high = tenths ? s.spinMaximum : int(s.maximum);
        int checked = 0;
        for (int n = low; n <= high; n += step) {
            const QString text = tenths ? numtext::shortestText(n / 10.0) : QString::number(n);
            assembly::FieldTexts texts = worked::fieldTexts();
            texts[size_t(field)] = text;
            const QString source = fields::isHidden(field) ? worked::withPlainValue(field, n) : worked::Block;
            const QString written = assembly::build(texts, false, source);
            QCOMPARE(written.size(), 64);
            QCOMPARE(worked::shownField(block::read(written), field), text);
            ++checked;
        }
        QCOMPARE(checked, (high - low) / step + 1);
    }
};

int runConversionTests(int argc, char **argv)
{
    TestConversions t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_conversions.moc"
