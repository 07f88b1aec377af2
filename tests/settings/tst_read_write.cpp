#include "editor_fixture.h"
#include <QSignalSpy>

Q_DECLARE_METATYPE(DecodeResult)
Q_DECLARE_METATYPE(BlockSource)

namespace {
const QString Abnormal = QStringLiteral("Data is abnormal!!\r\nPlease set it correctly.");
const QString Unreadable = QStringLiteral("The setting data received from the ZX could not be read.\r\n"
                                          "Please try \"Setting Data Read\" again.");
}

class TestReadWrite : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Field 0 and 1 start as "123" and "456", the type box as "old".
    void showReadData_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<BlockSource>("source");
        QTest::addColumn<DecodeResult>("result");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown"); // field 0, field 1, type box
        const auto dev = BlockSource::Device, file = BlockSource::File;
        QTest::newRow("worked") << worked::Block << dev << DecodeResult::Accepted << "" << "2000 8000 ZX316B";
        QTest::newRow("deleted") << worked::with(59, "FF") << dev << DecodeResult::Deleted << "Setting Data is deleted." << "123 456 old";
        QTest::newRow("foreign") << worked::with(59, "01") << dev << DecodeResult::OtherType << "ZX type is different." << "123 456 ";
        QTest::newRow("non-hex reply") << worked::with(6, "G") << dev << DecodeResult::Unreadable << Unreadable << "2000 456 ZX316B";
        QTest::newRow("non-hex file") << worked::with(6, "G") << file << DecodeResult::Unreadable << "" << "2000 456 ZX316B";
        QTest::newRow("short file") << worked::Block.left(60) << file << DecodeResult::Unreadable << "" << "123 456 old";
    }
    void showReadData()
    {
        EditorWorld w;
        QFETCH(QString, block);
        QFETCH(BlockSource, source);
        QFETCH(DecodeResult, result);
        QFETCH(QString, box);
        w.field(0)->setText("123");
        w.field(1)->setText("456");
        w.editor.TxtZxType()->setText("old");
        QSignalSpy allowed(&w.editor, &SettingsEditor::writeAllowed);
        QCOMPARE(w.editor.ShowReadData(block, source), result);
        QCOMPARE(w.boxes.texts(), box.isEmpty() ? QStringList() : QStringList{box});
        QVERIFY(box.isEmpty() || w.boxes.shown.first().icon == MessageBoxes::Icon::Exclamation);
        QTEST(QStringList({w.field(0)->text(), w.field(1)->text(), w.editor.TxtZxType()->text()}).join(' '), "shown");
        QCOMPARE(allowed.count(), 1);
        QCOMPARE(allowed.last().at(0).toBool(), result == DecodeResult::Accepted);
    }

    void workedExampleInEveryWidget()
    {
        EditorWorld w;
        w.editor.ShowReadData(worked::Block, BlockSource::Device);
        for (int i = 0; i < fields::Count; ++i) {
            QCOMPARE(w.field(i)->text(), worked::fieldTexts()[size_t(i)]);
            QCOMPARE(w.editor.fieldColour(i), SettingsEditor::Black);
        }
        QVERIFY(w.editor.TxtVer()->text() == "3" && !w.editor.ChkCurLimOff()->isChecked());
        for (int b = 0; b < 4; ++b) // 3A: only the low digit counts
            QCOMPARE(w.editor.ChkMode(b)->isChecked(), b == 1 || b == 3);
        QVERIFY(w.editor.MakeWriteData(worked::Block));
        QCOMPARE(w.editor.WriteData(), worked::Block);
    }

    void currentLimiterOffInBlock()
    {
        EditorWorld w;
        for (int pass = 0; pass < 2; ++pass) { // a second such block must also leave it blank
            QCOMPARE(w.editor.ShowReadData(worked::with(39, "FF"), BlockSource::File), DecodeResult::Accepted);
            QVERIFY(w.editor.ChkCurLimOff()->isChecked() && !w.field(7)->isEnabled());
            QVERIFY(w.field(7)->text().isEmpty());
        }
        w.editor.ChkCurLimOff()->setChecked(false);
        QCOMPARE(w.field(7)->text(), "300");
        w.editor.ChkCurLimOff()->setChecked(true);
        w.editor.ShowReadData(worked::with(39, "9F"), BlockSource::File);
        QVERIFY(!w.editor.ChkCurLimOff()->isChecked());
        QCOMPARE(w.field(7)->text(), "300");
    }

    // From the worked example in the editor, one field changed ("a\bb": a then b).
    void makeWriteData_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("off");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("chars"); // empty: refused
        const auto row = [](const char *name, int field, const char *text, bool off, int pos, const char *chars) {
            QTest::newRow(name) << field << text << off << pos << chars;
        };
        row("hidden 2 blank", 2, "", false, 0, "");
        row("hidden 9 blank", 9, "", false, 0, "");
        row("hidden 2 out of range", 2, "1000", false, 0, "");
        row("hidden 3 never written", 3, "2000", false, 13, "4C04");
        row("off with blank 7", 7, "", true, 39, "FF");
        row("on with blank 7", 7, "", false, 0, "");
        row("2.5 in field 8", 8, "2.5", false, 41, "02");
        row("neutral brake 30", 10, "30", false, 45, "4C");
        row("current limiter 80", 7, "80", false, 39, "2A");
        row("low batt 3.3", 6, "3.3", false, 35, "2A");
        row("100x", 8, "100x", false, 0, ""); // spin already at 100: the text stays
        row("lone minus", 11, "0\b-", false, 0, "");
        row("lone period", 10, ".", false, 0, "");
        row("stale black 99.", 0, "100.\b99.", false, 0, "");
    }
    void makeWriteData()
    {
        EditorWorld w;
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(bool, off);
        QFETCH(int, position);
        QFETCH(QString, chars);
        w.editor.ShowReadData(worked::Block, BlockSource::Device);
        QVERIFY(w.editor.MakeWriteData(worked::Block));
        w.editor.ChkCurLimOff()->setChecked(off);
        for (const QString &t : text.split(u'\b'))
            w.field(field)->setText(t);
        QCOMPARE(w.editor.MakeWriteData(worked::Block), !chars.isEmpty());
        if (chars.isEmpty()) {
            QCOMPARE(w.editor.WriteData(), worked::Block); // kept from the last success
            QCOMPARE(w.boxes.texts(), QStringList{Abnormal});
            QCOMPARE(w.boxes.shown.first().icon, MessageBoxes::Icon::Information);
        } else {
            QCOMPARE(w.editor.WriteData().mid(position - 1, chars.size()), chars);
        }
    }

    void startUpFieldsRefused()
    {
        EditorWorld w;
        QVERIFY(!w.editor.MakeWriteData(worked::Block));
        QCOMPARE(w.boxes.texts(), QStringList{Abnormal});
        QVERIFY(w.editor.WriteData().isEmpty());
    }

    void lowerCaseCopiesKept()
    {
        EditorWorld w;
        const QString lower = worked::Block.toLower();
        w.editor.ShowReadData(lower, BlockSource::Device);
        QVERIFY(w.editor.MakeWriteData(lower));
        const QString out = w.editor.WriteData();
        QCOMPARE(out, lower.left(8).toUpper() + lower.mid(8, 12) + worked::Block.mid(20, 22) + lower.mid(42, 2)
                          + worked::Block.mid(44, 12) + lower.mid(56));
    }

    // Without a controller reply the copied bytes come from the last settings file.
    void copySource()
    {
        EditorWorld w;
        w.editor.ShowReadData(worked::Block, BlockSource::Device);
        QVERIFY(!w.editor.MakeWriteData(QString()));
        QVERIFY(w.boxes.texts().value(0).startsWith("No setting data has been read"));
        const QString fromFile = worked::with(57, "77");
        w.editor.ShowReadData(fromFile, BlockSource::File);
        w.editor.ShowReadData(worked::with(57, "99"), BlockSource::Device); // not a file
        QVERIFY(w.editor.MakeWriteData(QString()));
        QCOMPARE(w.editor.WriteData(), fromFile);
        QVERIFY(w.editor.MakeWriteData(worked::Block)); // a reply wins over the file
        QCOMPARE(w.editor.WriteData(), worked::Block);
    }
};

QTEST_MAIN(TestReadWrite)
#include "tst_read_write.moc"
