#include "editor_fixture.h"

namespace {
constexpr int Black = SettingsEditor::Black;
constexpr int Red = SettingsEditor::Red;
}

class TestSettingsEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUp()
    {
        EditorWorld w;
        QCOMPARE(w.field(0)->toolTip(), QString::fromUtf8("100～10000"));
        QCOMPARE(w.field(6)->toolTip(), QString::fromUtf8("2.5～6"));
        QCOMPARE(w.spin(6)->minimum(), 25);
        QCOMPARE(w.spin(6)->maximum(), 60);
        for (int i = 0; i < fields::Count; ++i) {
            QCOMPARE(w.spin(i)->singleStep(), i == 7 || i == 12 ? 10 : 1);
            QVERIFY(w.field(i)->text().isEmpty());
        }
        QVERIFY(w.window.findChild<QLineEdit *>("TxtData_7") == w.field(7) && w.field(7)->isEnabled());
        QVERIFY(w.fraTmp->findChild<QCheckBox *>("ChkMode_3") == w.editor.ChkMode(3));
        QVERIFY(w.editor.ChkMode(3)->y() < w.editor.ChkMode(0)->y());
        QCOMPARE(w.field(7)->geometry(), twips::rect(4740, 240 + 4 * 420, 915, 315));
    }

    // Typed key by key (program writes where a row says so): text, colour, spin.
    void editing_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("spin");
        const auto row = [](int field, const char *keys, bool typed, const char *text, int colour, int spin) {
            QTest::addRow("%d: %s%s", field, keys, typed ? "" : " written") << field << keys << typed << text << colour << spin;
        };
        row(7, "57", true, "60", Black, 60);
        row(7, "45", true, "45", Red, 50);
        row(7, "155", true, "160", Black, 160);
        row(7, "305", true, "310", Red, 50);
        row(7, "480", true, "480", Red, 50);
        row(12, "57", true, "60", Black, 60);
        row(6, "2.5", true, "2.5", Black, 25);
        row(6, "6.1", true, "6.1", Red, 60);
        row(6, "2.", true, "2.", Red, 25); // a number being typed keeps its colour
        row(6, "3.57", true, "3.6", Black, 36);
        row(6, "3.55", true, "3.55", Black, 35); // spin already at 35 from "3.5"
        row(6, "3.55", false, "3.5", Black, 35); // held just below 3.55
        row(0, "99", true, "99", Red, 100);
        row(0, "150.7", true, "151", Black, 151);
        row(0, "100000", true, "10000", Black, 10000); // sixth key refused
        row(5, "255", false, "255", Red, 2); // program writes are never cut
        row(2, "1000", true, "1000", Red, 1020);
    }
    void editing()
    {
        EditorWorld w;
        QFETCH(int, field);
        QFETCH(QString, keys);
        QFETCH(bool, typed);
        if (typed)
            w.type(field, keys);
        else
            w.field(field)->setText(keys);
        QTEST(w.field(field)->text(), "text");
        QTEST(w.editor.fieldColour(field), "colour");
        QTEST(w.spin(field)->value(), "spin");
        QCOMPARE(w.editor.CurLimData(), field == 7 && w.editor.fieldColour(7) == Black ? float(w.spin(7)->value()) : 0.0f);
    }

    void spinClicks_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        const auto row = [](int field, const char *before, bool up, const char *after) {
            QTest::addRow("%d: '%s' %s", field, before, up ? "up" : "down") << field << before << up << after;
        };
        row(2, "5000", true, "2020"); // above the range: the upper limit
        row(2, "", true, "1020");     // below: the lower limit
        row(6, "3.5", true, "3.6");
        row(7, "200", true, "210");
        row(7, "300", true, "300"); // past the bound: nothing happens
        row(6, "", false, "");
    }
    void spinClicks()
    {
        EditorWorld w;
        w.fraTmp->show();
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QFETCH(int, field);
        QFETCH(QString, before);
        QFETCH(bool, up);
        w.field(field)->setText(before);
        QTest::mouseClick(up ? w.spin(field)->upButton() : w.spin(field)->downButton(), Qt::LeftButton);
        QTEST(w.field(field)->text(), "after");
    }

    // What unticking "Off" brings back depends on what field 7 held when it was ticked.
    void offSwitch_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("atTick");
        QTest::addColumn<QString>("back");
        QTest::addColumn<int>("colour");
        QTest::newRow("200") << "200" << "200" << "200" << Black;
        QTest::newRow("480 comes back as 300") << "480" << "480" << "300" << Black;
        QTest::newRow("red 45 comes back red") << "45" << "45" << "45" << Red;
        QTest::newRow("no number keeps last value") << "200" << "-" << "200" << Black;
        QTest::newRow("never a value: red 0") << "" << "" << "0" << Red;
    }
    void offSwitch()
    {
        EditorWorld w;
        QFETCH(QString, typed);
        QFETCH(QString, atTick);
        w.type(7, typed);
        w.field(7)->setText(atTick);
        w.editor.ChkCurLimOff()->setChecked(true);
        QVERIFY(w.field(7)->text().isEmpty());
        QVERIFY(!w.field(7)->isEnabled() && !w.spin(7)->isEnabled() && !w.editor.LblCurLim()->isEnabled());
        w.editor.ChkCurLimOff()->setChecked(false);
        QTEST(w.field(7)->text(), "back");
        QTEST(w.editor.fieldColour(7), "colour");
        QVERIFY(w.field(7)->isEnabled() && w.spin(7)->isEnabled() && w.editor.LblCurLim()->isEnabled());
    }

    void clearDisplay()
    {
        EditorWorld w;
        w.editor.ShowReadData(worked::Block, BlockSource::File);
        w.editor.ChkCurLimOff()->setChecked(true);
        w.editor.ClearDisplay();
        QVERIFY(!w.editor.ChkCurLimOff()->isChecked() && w.field(7)->isEnabled());
        for (int i = 0; i < fields::Count; ++i)
            QVERIFY(w.field(i)->text().isEmpty());
        QVERIFY(!w.editor.ChkMode(3)->isChecked() && w.editor.TxtVer()->text().isEmpty());
    }
};

QTEST_MAIN(TestSettingsEditor)
#include "tst_settings_editor.moc"
