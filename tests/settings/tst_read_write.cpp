#include "editor_fixture.h"
#include "worked_example.h"
#include <QSignalSpy>

namespace {

constexpr int Black = SettingsEditor::Black;
constexpr int Red = SettingsEditor::Red;
const QString Abnormal = QStringLiteral("Data is abnormal!!\r\nPlease set it correctly.");

QString with(QString block, int position, const QString &chars)
{
    return block.replace(position - 1, chars.size(), chars);
}

} // namespace

Q_DECLARE_METATYPE(DecodeResult)
Q_DECLARE_METATYPE(BlockSource)

class TestReadWrite : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workedExampleShown()
    {
        EditorWorld w;
        QSignalSpy allowed(&w.editor, &SettingsEditor::writeAllowed);
        QCOMPARE(w.editor.ShowReadData(worked::Block, BlockSource::Device), DecodeResult::Accepted);
        const auto texts = worked::fieldTexts();
        for (int i = 0; i < fields::Count; ++i) {
            QCOMPARE(w.field(i)->text(), texts[size_t(i)]);
            QCOMPARE(w.editor.fieldColour(i), Black);
        }
        QCOMPARE(w.editor.TxtZxType()->text(), "ZX316B");
        QCOMPARE(w.editor.TxtVer()->text(), "3");
        QVERIFY(!w.editor.ChkCurLimOff()->isChecked());
        const bool modes[4] = {false, true, false, true};
        for (int b = 0; b < 4; ++b)
            QCOMPARE(w.editor.ChkMode(b)->isChecked(), modes[b]);
        QCOMPARE(w.spin(6)->value(), 50);
        QVERIFY(w.boxes.shown.isEmpty());
        QCOMPARE(allowed.count(), 1);
        QCOMPARE(allowed.last().at(0).toBool(), true);
    }

    // Refused and partly read blocks: what is shown, what the user is told, and that
    // the write button is kept off.
    void refusedBlocks_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<BlockSource>("source");
        QTest::addColumn<DecodeResult>("result");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("field0");
        QTest::addColumn<QString>("field1");
        QTest::addColumn<QString>("zxType");
        const QString deleted = with(worked::Block, 59, "FF");
        const QString foreign = with(worked::Block, 59, "01");
        const QString badField1 = with(worked::Block, 6, "G");
        QTest::newRow("deleted") << deleted << BlockSource::Device << DecodeResult::Deleted
                                 << "Setting Data is deleted." << "123" << "456" << "old";
        QTest::newRow("deleted file") << deleted << BlockSource::File << DecodeResult::Deleted
                                      << "Setting Data is deleted." << "123" << "456" << "old";
        QTest::newRow("foreign") << foreign << BlockSource::Device << DecodeResult::OtherType
                                 << "ZX type is different." << "123" << "456" << "";
        QTest::newRow("unreadable reply") << badField1 << BlockSource::Device << DecodeResult::Unreadable
                                          << "The setting data received from the ZX could not be read.\r\n"
                                             "Please try \"Setting Data Read\" again."
                                          << "2000" << "456" << "ZX316B";
        QTest::newRow("unreadable file") << badField1 << BlockSource::File << DecodeResult::Unreadable
                                         << "" << "2000" << "456" << "ZX316B";
        QTest::newRow("short file") << worked::Block.left(60) << BlockSource::File << DecodeResult::Unreadable
                                    << "" << "123" << "456" << "old";
    }
    void refusedBlocks()
    {
        EditorWorld w;
        QFETCH(QString, block);
        QFETCH(BlockSource, source);
        QFETCH(QString, box);
        w.field(0)->setText("123");
        w.field(1)->setText("456");
        w.editor.TxtZxType()->setText("old");
        QSignalSpy allowed(&w.editor, &SettingsEditor::writeAllowed);
        QTEST(w.editor.ShowReadData(block, source), "result");
        QCOMPARE(w.boxes.texts(), box.isEmpty() ? QStringList() : QStringList{box});
        if (!box.isEmpty())
            QCOMPARE(w.boxes.shown.first().icon, MessageBoxes::Icon::Exclamation);
        QTEST(w.field(0)->text(), "field0");
        QTEST(w.field(1)->text(), "field1");
        QTEST(w.editor.TxtZxType()->text(), "zxType");
        QCOMPARE(allowed.count(), 1);
        QCOMPARE(allowed.last().at(0).toBool(), false);
    }

    void currentLimiterOffInBlock()
    {
        EditorWorld w;
        const QString off = with(worked::Block, 39, "FF");
        // Twice: a second block with the limiter off must also leave the field blank.
        for (int pass = 0; pass < 2; ++pass) {
            QCOMPARE(w.editor.ShowReadData(off, BlockSource::File), DecodeResult::Accepted);
            QVERIFY(w.editor.ChkCurLimOff()->isChecked());
            QVERIFY(w.field(7)->text().isEmpty());
            QVERIFY(!w.field(7)->isEnabled());
            QCOMPARE(w.editor.CurLimData(), 480.0f);
        }
        w.editor.ChkCurLimOff()->setChecked(false);
        QCOMPARE(w.field(7)->text(), "300");

        QCOMPARE(w.editor.ShowReadData(with(worked::Block, 39, "9F"), BlockSource::File), DecodeResult::Accepted);
        QVERIFY(!w.editor.ChkCurLimOff()->isChecked());
        QCOMPARE(w.field(7)->text(), "300");
    }

    void modeDigit()
    {
        EditorWorld w;
        w.editor.ShowReadData(with(worked::Block, 63, "3A"), BlockSource::Device);
        const bool modes[4] = {false, true, false, true};
        for (int b = 0; b < 4; ++b)
            QCOMPARE(w.editor.ChkMode(b)->isChecked(), modes[b]);
        w.editor.ShowReadData(with(worked::Block, 63, "05"), BlockSource::Device);
        QVERIFY(w.editor.ChkMode(0)->isChecked() && w.editor.ChkMode(2)->isChecked());
        QVERIFY(!w.editor.ChkMode(1)->isChecked() && !w.editor.ChkMode(3)->isChecked());
    }

    void workedExampleRebuilt()
    {
        EditorWorld w;
        w.editor.ShowReadData(worked::Block, BlockSource::Device);
        QVERIFY(w.editor.MakeWriteData(worked::Block));
        QCOMPARE(w.editor.WriteData(), worked::Block);
        QVERIFY(w.boxes.shown.isEmpty());
    }

    void startUpFieldsRefused()
    {
        EditorWorld w;
        QVERIFY(!w.editor.MakeWriteData(worked::Block));
        QCOMPARE(w.boxes.texts(), QStringList{Abnormal});
        QCOMPARE(w.boxes.shown.first().icon, MessageBoxes::Icon::Information);
        QVERIFY(w.editor.WriteData().isEmpty());
    }

    // Each row starts from the worked example shown in the editor and changes one thing.
    void writeFromFields_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("off");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("chars");
        QTest::newRow("hidden 2 blank") << 2 << "" << false << false << 0 << "";
        QTest::newRow("hidden 9 blank") << 9 << "" << false << false << 0 << "";
        QTest::newRow("hidden 2 out of range") << 2 << "1000" << false << false << 0 << "";
        QTest::newRow("hidden 3 changed, still copied") << 3 << "2000" << false << true << 13 << "4C04";
        QTest::newRow("off with blank 7") << 7 << "" << true << true << 39 << "FF";
        QTest::newRow("on with blank 7") << 7 << "" << false << false << 0 << "";
        QTest::newRow("2.5 in field 8") << 8 << "2.5" << false << true << 41 << "02";
        QTest::newRow("neutral brake 30") << 10 << "30" << false << true << 45 << "4C";
        QTest::newRow("current limiter 80") << 7 << "80" << false << true << 39 << "2A";
        QTest::newRow("low batt 3.3") << 6 << "3.3" << false << true << 35 << "2A";
        // The spin already stands at the leading number, so nothing rewrites these texts.
        QTest::newRow("100x refused") << 8 << "100x" << false << false << 0 << "";
        QTest::newRow("lone minus refused") << 11 << "0\b-" << false << false << 0 << "";
        QTest::newRow("lone period refused") << 10 << "." << false << false << 0 << "";
        QTest::newRow("stale black 99.") << 0 << "100.\b99." << false << false << 0 << "";
    }
    void writeFromFields()
    {
        EditorWorld w;
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(bool, off);
        QFETCH(bool, ok);
        QFETCH(int, position);
        QFETCH(QString, chars);
        w.editor.ShowReadData(worked::Block, BlockSource::Device);
        QVERIFY(w.editor.MakeWriteData(worked::Block));
        w.editor.ChkCurLimOff()->setChecked(off);
        // "a\bb" writes a, then b: a stale colour or spin position to start from.
        for (const QString &t : text.split(u'\b'))
            w.field(field)->setText(t);
        QCOMPARE(w.editor.MakeWriteData(worked::Block), ok);
        if (ok) {
            QCOMPARE(w.editor.WriteData().mid(position - 1, chars.size()), chars);
            QVERIFY(w.boxes.shown.isEmpty());
        } else {
            QCOMPARE(w.editor.WriteData(), worked::Block); // kept from the last success
            QCOMPARE(w.boxes.texts(), QStringList{Abnormal});
        }
    }

    void lowerCaseCopiesKept()
    {
        EditorWorld w;
        const QString lower = worked::Block.toLower();
        QCOMPARE(w.editor.ShowReadData(lower, BlockSource::Device), DecodeResult::Accepted);
        QVERIFY(w.editor.MakeWriteData(lower));
        const QString out = w.editor.WriteData();
        QCOMPARE(out.mid(8, 12), lower.mid(8, 12));
        QCOMPARE(out.mid(56), lower.mid(56));
        QCOMPARE(out.toUpper(), worked::Block);
        QCOMPARE(out.left(8), "D007401F");
    }

    // Without a controller reply the copied bytes come from the last settings file.
    void copySource()
    {
        EditorWorld w;
        w.editor.ShowReadData(worked::Block, BlockSource::Device);
        QVERIFY(!w.editor.MakeWriteData(QString()));
        QCOMPARE(w.boxes.shown.size(), 1);
        QVERIFY(w.boxes.texts().first().startsWith("No setting data has been read"));

        const QString fromFile = with(worked::Block, 57, "77");
        QCOMPARE(w.editor.ShowReadData(fromFile, BlockSource::File), DecodeResult::Accepted);
        w.editor.ShowReadData(with(worked::Block, 57, "99"), BlockSource::Device); // not a file
        QVERIFY(w.editor.MakeWriteData(QString()));
        QCOMPARE(w.editor.WriteData(), fromFile);
        QVERIFY(w.editor.MakeWriteData(worked::Block)); // a reply wins over the file
        QCOMPARE(w.editor.WriteData(), worked::Block);
    }
};

QTEST_MAIN(TestReadWrite)
#include "tst_read_write.moc"
