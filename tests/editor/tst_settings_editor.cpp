#include "settings_world.h"
#include <QSignalSpy>

namespace {
constexpr int Black = SettingsEditor::Black, Red = SettingsEditor::Red;
const QString Abnormal = QStringLiteral("Data is abnormal!!\r\nPlease set it correctly.");
const QString Unreadable = QStringLiteral("The setting data received from the ZX could not be read.\r\n"
                                          "Please try \"Setting Data Read\" again.");

// how: 'k' typed key by key, 'w' written by the program, 'u'/'d' written then a click on the spin's up/down arrow,
// 'D' written then the Down key in the field (Up: tst_program_e2e).
struct Edit {
    int field;
    char how;
    const char *keys, *text;
    int colour, spin;
};
// Replies. Field 0 and 1 start as "123" and "456", the type box as "old"; `shown` is field 0, field 1, type box.
struct Read {
    const char *name;
    QString block;
    DecodeResult result;
    QString box;
    const char *shown;
};
// From the worked example in the editor, one field set ("a\bb": a then b); `chars` empty: refused.
struct Write {
    const char *name;
    int field;
    const char *text;
    int position;
    const char *chars;
};
// What unticking "Off" brings back depends on what field 7 held when it was ticked.
struct Off {
    const char *name, *typed, *atTick, *back;
    int colour;
};
} // namespace
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Read)
Q_DECLARE_METATYPE(Write)
Q_DECLARE_METATYPE(Off)

class TestSettingsEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editing_data()
    {
        QTest::addColumn<Edit>("e");
        for (const Edit &e :
             std::initializer_list<Edit> {{7, 'k', "57", "60", Black, 60},
                                          {7, 'k', "45", "45", Red, 50},
                                          {6, 'k', "2.5", "2.5", Black, 25},
                                          {6, 'k', "2.", "2.", Red, 25}, // a number being typed keeps its colour
                                          {6, 'k', "3.55", "3.55", Black, 35}, // spin already at 35 from "3.5"
                                          {6, 'w', "3.55", "3.5", Black, 35}, // held just below 3.55
                                          {0, 'k', "100000", "10000", Black, 10000}, // sixth key refused
                                          {5, 'w', "255", "255", Red, 2}, // program writes are never cut
                                          {2, 'u', "5000", "2020", Black, 2020}, // above the range: the upper limit
                                          {2, 'u', "", "1020", Black, 1020}, // below: the lower limit
                                          {6, 'u', "3.5", "3.6", Black, 36},
                                          {2, 'u', "2020", "2020", Black, 2020}, // past the bound: nothing happens
                                          {7, 'd', "60", "50", Black, 50}, // onto the lower bound
                                          {7, 'D', "200", "190", Black, 190},
                                          {6, 'd', "", "", Black, 25}})
            QTest::addRow("%d %c '%s'", e.field, e.how, e.keys) << e;
    }
    void editing()
    {
        QFETCH(Edit, e);
        EditorWorld w;
        QVERIFY(w.showAll());
        e.how == 'k' ? QTest::keyClicks(w.field(e.field), e.keys) : w.field(e.field)->setText(e.keys);
        if (e.how == 'u' || e.how == 'd')
            QTest::mouseClick(e.how == 'u' ? w.spin(e.field)->upButton() : w.spin(e.field)->downButton(),
                              Qt::LeftButton);
        if (e.how == 'D')
            QTest::keyClick(w.field(e.field), Qt::Key_Down);
        QCOMPARE(w.field(e.field)->text(), e.text);
        QVERIFY(w.editor.fieldColour(e.field) == e.colour && w.spin(e.field)->value() == e.spin);
        QCOMPARE(w.editor.CurLimData(), e.field == 7 && e.colour == Black ? float(e.spin) : 0.0f);
    }

    void offSwitch_data()
    {
        QTest::addColumn<Off>("o");
        for (const Off &o : std::initializer_list<Off> {{"480 comes back as 300", "480", "480", "300", Black},
                                                        {"red 45 comes back red", "45", "45", "45", Red},
                                                        {"no number keeps last value", "200", "-", "200", Black},
                                                        {"never a value: red 0", "", "", "0", Red}})
            QTest::newRow(o.name) << o;
    }
    void offSwitch()
    {
        QFETCH(Off, o);
        EditorWorld w;
        QTest::keyClicks(w.field(7), o.typed);
        w.field(7)->setText(o.atTick);
        for (bool off : {true, false}) {
            w.editor.ChkCurLimOff()->setChecked(off);
            QCOMPARE(w.field(7)->text(), off ? "" : o.back);
            QVERIFY(w.field(7)->isEnabled() != off && w.spin(7)->isEnabled() != off
                    && w.editor.LblCurLim()->isEnabled() != off);
        }
        QCOMPARE(w.editor.fieldColour(7), o.colour);
    }

    void showReadData_data()
    {
        QTest::addColumn<Read>("r");
        for (const Read &r : std::initializer_list<Read> {
                 {"worked", worked::Block, DecodeResult::Accepted, "", "2000 8000 ZX316B"},
                 {"deleted", worked::with(59, "FF"), DecodeResult::Deleted, "Setting Data is deleted.", "123 456 old"},
                 {"foreign", worked::with(59, "01"), DecodeResult::OtherType, "ZX type is different.", "123 456 "},
                 // A reply that is not all digits changes nothing (a file's: tst_file_commands).
                 {"non-hex reply", worked::with(6, "G"), DecodeResult::Unreadable, Unreadable, "123 456 old"}})
            QTest::newRow(r.name) << r;
    }
    void showReadData()
    {
        QFETCH(Read, r);
        EditorWorld w;
        w.field(0)->setText("123");
        w.field(1)->setText("456");
        w.editor.TxtZxType()->setText("old");
        QSignalSpy allowed(&w.editor, &SettingsEditor::writeAllowed);
        QCOMPARE(w.editor.ShowReadData(r.block, BlockSource::Device), r.result);
        QCOMPARE(w.boxes.texts(), r.box.isEmpty() ? QStringList() : QStringList {r.box});
        QVERIFY(r.box.isEmpty() || w.boxes.shown.first().icon == MessageBoxes::Icon::Exclamation);
        QCOMPARE(QStringList({w.field(0)->text(), w.field(1)->text(), w.editor.TxtZxType()->text()}).join(' '),
                 r.shown);
        QVERIFY(allowed.count() == 1 && allowed.last().at(0).toBool() == (r.result == DecodeResult::Accepted));
    }

    void blockInWidgets()
    {
        EditorWorld w;
        w.editor.ShowReadData(worked::Block, BlockSource::Device);
        QVERIFY(w.editor.TxtVer()->text() == "3" && !w.editor.ChkCurLimOff()->isChecked());
        for (int b = 0; b < 4; ++b) // 3A: only the low digit counts
            QCOMPARE(w.editor.ChkMode(b)->isChecked(), b == 1 || b == 3);
        QCOMPARE(w.editor.ShowReadData(worked::with(39, "FF"), BlockSource::File), DecodeResult::Accepted);
        QVERIFY(w.editor.ChkCurLimOff()->isChecked() && !w.field(7)->isEnabled() && w.field(7)->text().isEmpty());
        w.editor.ShowReadData(worked::with(39, "05"), BlockSource::File); // on again, below its range: 10 A
        QVERIFY(!w.editor.ChkCurLimOff()->isChecked() && w.field(7)->text() == "10" && w.editor.fieldColour(7) == Red);
        w.editor.ChkCurLimOff()->setChecked(true);
        w.editor.ClearDisplay();
        // The fields it blanks: tst_device_operations, after a failed read.
        QVERIFY(!w.editor.ChkCurLimOff()->isChecked() && w.field(7)->isEnabled());
        QVERIFY(!w.editor.ChkMode(3)->isChecked() && w.editor.TxtVer()->text().isEmpty());
    }

    void makeWriteData_data()
    {
        QTest::addColumn<Write>("c");
        for (const Write &c :
             std::initializer_list<Write> {{"start-up blank fields", -1, "", 0, ""},
                                           {"hidden 3 never written", 3, "2000", 13, "4C04"},
                                           {"current limiter at its lowest", 7, "50", 39, "1B"},
                                           {"100x", 8, "100x", 0, ""}, // spin already at 100: the text stays
                                           {"stale black 99.", 0, "100.\b99.", 0, ""},
                                           {"stale red 25.", 5, "255\b25.", 0, ""}})
            QTest::newRow(c.name) << c;
    }
    void makeWriteData()
    {
        QFETCH(Write, c);
        EditorWorld w;
        if (c.field >= 0) {
            w.editor.ShowReadData(worked::Block, BlockSource::Device);
            QVERIFY(w.editor.MakeWriteData(worked::Block));
            for (const QString &t : QString(c.text).split(u'\b'))
                w.field(c.field)->setText(t);
        }
        QCOMPARE(w.editor.MakeWriteData(worked::Block), *c.chars != 0);
        if (*c.chars) {
            QCOMPARE(w.editor.WriteData().mid(c.position - 1, qstrlen(c.chars)), c.chars);
            return;
        }
        QCOMPARE(w.editor.WriteData(), c.field >= 0 ? worked::Block : QString()); // kept from the last success
        QVERIFY(w.boxes.texts() == QStringList {Abnormal}
                && w.boxes.shown.first().icon == MessageBoxes::Icon::Information);
    }

    // Bytes the tool does not own are copied from the reply, else from the last settings file.
    void copySource()
    {
        EditorWorld w;
        w.editor.ShowReadData(worked::Block, BlockSource::Device);
        QVERIFY(!w.editor.MakeWriteData(QString()));
        QVERIFY(w.boxes.texts().value(0).startsWith("No setting data has been read"));
        const QString fromFile = worked::with(57, "77");
        w.editor.ShowReadData(fromFile, BlockSource::File);
        w.editor.ShowReadData(worked::with(57, "99"), BlockSource::Device); // not a file
        QVERIFY(w.editor.MakeWriteData(QString()) && w.editor.WriteData() == fromFile);
        QVERIFY(w.editor.MakeWriteData(worked::Block)
                && w.editor.WriteData() == worked::Block); // a reply wins over the file
        // Letter case of the copied bytes: the settings_block fuzz harness over its "lower" seed.
    }
};

QTEST_MAIN(TestSettingsEditor)
#include "tst_settings_editor.moc"
