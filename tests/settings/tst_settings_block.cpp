#include "settings/block_assembly.h"
#include "settings/settings_block.h"
#include "worked_example.h"
#include <QTest>

Q_DECLARE_METATYPE(block::Device)

namespace {

QString with(QString block, int position, const QString &chars)
{
    return block.replace(position - 1, chars.size(), chars);
}

assembly::FieldStates states(const assembly::FieldTexts &texts)
{
    assembly::FieldStates s;
    for (size_t i = 0; i < texts.size(); ++i)
        s[i] = {texts[i], false};
    return s;
}

} // namespace

class TestSettingsBlock : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void device_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<block::Device>("device");
        QTest::newRow("00") << "00" << block::Device::Zx316b;
        QTest::newRow("FF") << "FF" << block::Device::Deleted;
        QTest::newRow("ff") << "ff" << block::Device::Deleted;
        QTest::newRow("01") << "01" << block::Device::Other;
        QTest::newRow("not hex reads 0") << "ZZ" << block::Device::Zx316b;
    }
    void device()
    {
        QFETCH(QString, type);
        QTEST(block::deviceOf(with(worked::Block, 59, type)), "device");
    }

    void workedExample()
    {
        const block::Reading r = block::read(worked::Block);
        QVERIFY(r.complete);
        const assembly::FieldTexts expected = worked::fieldTexts();
        for (int i = 0; i < fields::Count; ++i)
            QCOMPARE(worked::shownField(r, i), expected[size_t(i)]);
        QCOMPARE(r.steps.first().text, "ZX316B");
        QCOMPARE(r.steps.last().bits, 0xA);
        QCOMPARE(r.steps.at(r.steps.size() - 2).text, "3"); // version
    }

    // Positions read as plain numbers must hold hex digits; decoding stops before the
    // field that holds another character. Converted bytes are read leniently.
    void plainNumbers_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("chars");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("shown");
        QTest::newRow("E803 in field 0") << 1 << "E803" << true << 0 << "1000";
        QTest::newRow("6300 in field 0") << 1 << "6300" << true << 0 << "99";
        QTest::newRow("10000") << 1 << "1027" << true << 0 << "10000";
        QTest::newRow("unsigned word") << 9 << "FFFF" << true << 2 << "65535";
        QTest::newRow("lower case") << 33 << "0a" << true << 5 << "10";
        QTest::newRow("G in field 0") << 2 << "G" << false << 0 << QString();
        QTest::newRow("G in field 1 keeps field 0") << 5 << "G" << false << 0 << "2000";
        QTest::newRow("blank in dead band") << 34 << " " << false << 5 << QString();
        QTest::newRow("G in volts is lenient") << 35 << "G0" << true << 6 << "0";
        QTest::newRow("G in version") << 62 << "G" << false << 12 << "150";
        QTest::newRow("G in mode digit") << 64 << "G" << false << 12 << "150";
        QTest::newRow("mode high digit unused") << 63 << "G" << true << 12 << "150";
        QTest::newRow("unused bytes unread") << 21 << "GGGGGGGGGGGG" << true << 5 << "6";
    }
    void plainNumbers()
    {
        QFETCH(int, position);
        QFETCH(QString, chars);
        QFETCH(int, field);
        const block::Reading r = block::read(with(worked::Block, position, chars));
        QTEST(r.complete, "complete");
        QTEST(worked::shownField(r, field), "shown");
    }

    void lengths()
    {
        QVERIFY(block::read(worked::Block.left(63)).steps.isEmpty());
        QVERIFY(!block::read(QString()).complete);
        const block::Reading longer = block::read(worked::Block + "GG\r");
        QVERIFY(longer.complete);
        QCOMPARE(worked::shownField(longer, 0), "2000");
    }

    void currentLimiterOff()
    {
        QCOMPARE(worked::shownField(block::read(with(worked::Block, 39, "FF")), 7), "480");
        QCOMPARE(worked::shownField(block::read(with(worked::Block, 39, "9F")), 7), "300");
    }

    void validation_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("red");
        QTest::addColumn<bool>("off");
        QTest::addColumn<int>("firstUnusable");
        QTest::newRow("all good") << 0 << "2000" << false << false << -1;
        QTest::newRow("blank hidden") << 3 << "" << false << false << 3;
        QTest::newRow("red") << 11 << "10" << true << false << 11;
        QTest::newRow("junk after number") << 8 << "5x" << false << false << 8;
        QTest::newRow("lone minus") << 8 << "-" << false << false << 8;
        QTest::newRow("lone period") << 10 << "." << false << false << 10;
        QTest::newRow("stale colour") << 0 << "99." << false << false << 0;
        QTest::newRow("trailing period ok") << 0 << "100." << false << false << -1;
        QTest::newRow("off exempts 7") << 7 << "" << false << true << -1;
        QTest::newRow("off exempts red 7") << 7 << "480" << true << true << -1;
        QTest::newRow("on needs 7") << 7 << "" << false << false << 7;
    }
    void validation()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(bool, red);
        QFETCH(bool, off);
        assembly::FieldStates s = states(worked::fieldTexts());
        s[size_t(field)] = {text, red};
        QTEST(assembly::firstUnusableField(s, off), "firstUnusable");
    }

    void assembly_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("off");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("chars");
        QTest::newRow("worked") << 0 << "2000" << false << 1 << worked::Block;
        QTest::newRow("10000") << 0 << "10000" << false << 1 << "1027";
        QTest::newRow("100") << 1 << "100" << false << 5 << "6400";
        QTest::newRow("half to even") << 8 << "2.5" << false << 41 << "02";
        QTest::newRow("neutral brake 30") << 10 << "30" << false << 45 << "4C";
        QTest::newRow("current 80") << 7 << "80" << false << 39 << "2A";
        QTest::newRow("volts 3.3") << 6 << "3.3" << false << 35 << "2A";
        QTest::newRow("off") << 7 << "" << true << 39 << "FF";
        QTest::newRow("hidden never written") << 2 << "2000" << false << 9 << "F0054C046C07";
        QTest::newRow("fixed bytes") << 0 << "2000" << false << 21 << "000000000000";
        QTest::newRow("fixed tail") << 0 << "2000" << false << 51 << "0085C8";
    }
    void assembly()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(bool, off);
        QFETCH(int, position);
        QFETCH(QString, chars);
        assembly::FieldTexts t = worked::fieldTexts();
        t[size_t(field)] = text;
        const QString out = assembly::build(t, off, worked::Block);
        QCOMPARE(out.size(), 64);
        QCOMPARE(out.mid(position - 1, chars.size()), chars);
    }

    void copiedCharactersKeepTheirCase()
    {
        const QString lower = worked::Block.toLower();
        const QString out = assembly::build(worked::fieldTexts(), false, lower);
        QCOMPARE(out.mid(8, 12), lower.mid(8, 12));
        QCOMPARE(out.mid(42, 2), lower.mid(42, 2));
        QCOMPARE(out.mid(56), lower.mid(56));
        QCOMPARE(out.left(8), "D007401F");
        QCOMPARE(out.mid(32, 10), "0640556A64");
    }
};

int runBlockTests(int argc, char **argv)
{
    TestSettingsBlock t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_settings_block.moc"
