#include "worked_example.h"
#include <QTest>

// Positions read as plain numbers must hold hex digits; decoding stops before the field
// that holds another character. Bytes shown through a conversion are read leniently.
class TestSettingsBlock : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decoding_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("shown"); // null: decoding stopped before the field
        const auto row = [](const char *name, int pos, const char *chars, bool complete, int field, const char *shown) {
            QTest::newRow(name) << worked::with(pos, chars) << complete << field << QString::fromLatin1(shown);
        };
        row("E803 in field 0", 1, "E803", true, 0, "1000");
        row("6300 in field 0", 1, "6300", true, 0, "99");
        row("unsigned word", 9, "FFFF", true, 2, "65535");
        row("lower case", 33, "0a", true, 5, "10");
        row("G in field 0", 2, "G", false, 0, nullptr);
        row("G in field 1 keeps field 0", 5, "G", false, 0, "2000");
        row("blank in dead band", 34, " ", false, 5, nullptr);
        row("G in volts is lenient", 35, "G0", true, 6, "0");
        row("G in version", 62, "G", false, 12, "150");
        row("G in mode digit", 64, "G", false, 12, "150");
        row("high mode digit unread", 63, "G", true, 12, "150");
        row("unused bytes unread", 21, "GGGGGGGGGGGG", true, 5, "6");
        QTest::newRow("longer: tail ignored") << worked::Block + "GG\r" << true << 0 << "2000";
        QTest::newRow("63 characters") << worked::Block.left(63) << false << 0 << QString();
    }
    void decoding()
    {
        QFETCH(QString, block);
        QFETCH(int, field);
        const block::Reading r = block::read(block);
        QTEST(r.complete, "complete");
        QTEST(worked::shownField(r, field), "shown");
    }
};

QTEST_APPLESS_MAIN(TestSettingsBlock)
#include "tst_settings_block.moc"
