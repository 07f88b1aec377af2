#include "editor_fixture.h"
#include <QSignalSpy>

namespace {
constexpr int Black = SettingsEditor::Black;
constexpr int Red = SettingsEditor::Red;
}

class TestSettingsEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUp_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<int>("spinMin");
        QTest::addColumn<int>("spinMax");
        QTest::addColumn<int>("step");
        QTest::newRow("0") << 0 << QString::fromUtf8("100～10000") << 100 << 10000 << 1;
        QTest::newRow("2 hidden") << 2 << QString::fromUtf8("1020～2020") << 1020 << 2020 << 1;
        QTest::newRow("6 tenths") << 6 << QString::fromUtf8("2.5～6") << 25 << 60 << 1;
        QTest::newRow("7") << 7 << QString::fromUtf8("50～300") << 50 << 300 << 10;
        QTest::newRow("11") << 11 << QString::fromUtf8("0～240") << 0 << 240 << 1;
        QTest::newRow("12") << 12 << QString::fromUtf8("50～300") << 50 << 300 << 10;
    }
    void startUp()
    {
        EditorWorld w;
        QFETCH(int, field);
        QTEST(w.field(field)->toolTip(), "tooltip");
        QTEST(w.spin(field)->minimum(), "spinMin");
        QTEST(w.spin(field)->maximum(), "spinMax");
        QTEST(w.spin(field)->singleStep(), "step");
        QVERIFY(w.field(field)->text().isEmpty());
        QVERIFY(w.field(field)->isEnabled());
        QCOMPARE(w.editor.CurLimData(), 0.0f);
        QVERIFY(!w.editor.ChkCurLimOff()->isChecked());
    }

    void typing_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("spin");
        QTest::newRow("7: 5 red") << 7 << "5" << "5" << Red << 50;
        QTest::newRow("7: 57 snaps to 60") << 7 << "57" << "60" << Black << 60;
        QTest::newRow("7: 45 left red") << 7 << "45" << "45" << Red << 50;
        QTest::newRow("7: 155 snaps to 160") << 7 << "155" << "160" << Black << 160;
        QTest::newRow("7: 300") << 7 << "300" << "300" << Black << 300;
        QTest::newRow("7: 305 snaps to red 310") << 7 << "305" << "310" << Red << 50;
        QTest::newRow("7: 480 red") << 7 << "480" << "480" << Red << 50;
        QTest::newRow("12: 57 snaps to 60") << 12 << "57" << "60" << Black << 60;
        QTest::newRow("6: 2.5") << 6 << "2.5" << "2.5" << Black << 25;
        QTest::newRow("6: 6") << 6 << "6" << "6" << Black << 60;
        QTest::newRow("6: 6.1 red") << 6 << "6.1" << "6.1" << Red << 60;
        QTest::newRow("6: 2.4 red") << 6 << "2.4" << "2.4" << Red << 25;
        QTest::newRow("6: 3.57 becomes 3.6") << 6 << "3.57" << "3.6" << Black << 36;
        // Typed key by key the spin is already at 35 from "3.5", so nothing rewrites it.
        QTest::newRow("6: typed 3.55 stays") << 6 << "3.55" << "3.55" << Black << 35;
        QTest::newRow("6: 2. keeps red of 2") << 6 << "2." << "2." << Red << 25;
        QTest::newRow("0: 99 red") << 0 << "99" << "99" << Red << 100;
        QTest::newRow("0: 100") << 0 << "100" << "100" << Black << 100;
        QTest::newRow("0: 10000") << 0 << "10000" << "10000" << Black << 10000;
        QTest::newRow("0: 150.7 becomes 151") << 0 << "150.7" << "151" << Black << 151;
        QTest::newRow("8: 0") << 8 << "0" << "0" << Black << 0;
        QTest::newRow("8: 101 red") << 8 << "101" << "101" << Red << 10;
        QTest::newRow("5: third key refused") << 5 << "123" << "12" << Black << 12;
        QTest::newRow("0: sixth key refused") << 0 << "100000" << "10000" << Black << 10000;
        QTest::newRow("2 hidden: 1000 red") << 2 << "1000" << "1000" << Red << 1020;
    }
    void typing()
    {
        EditorWorld w;
        QFETCH(int, field);
        QFETCH(QString, keys);
        w.type(field, keys);
        QTEST(w.field(field)->text(), "text");
        QTEST(w.editor.fieldColour(field), "colour");
        QTEST(w.spin(field)->value(), "spin");
        if (field == 12)
            QCOMPARE(w.editor.CurLimData(), 0.0f);
    }

    void programWrites_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("spin");
        // Held just below 3.55, so ten times it rounds to 35 and the field follows.
        QTest::newRow("6: 3.55 becomes 3.5") << 6 << "3.55" << "3.5" << Black << 35;
        QTest::newRow("6: 3.57 becomes 3.6") << 6 << "3.57" << "3.6" << Black << 36;
        QTest::newRow("5: not cut to two characters") << 5 << "255" << "255" << Red << 2;
        QTest::newRow("7: 5x snaps to red 10") << 7 << "5x" << "10" << Red << 50;
        QTest::newRow("8: hex text rewritten") << 8 << "&H64" << "100" << Black << 100;
    }
    void programWrites()
    {
        EditorWorld w;
        QFETCH(int, field);
        QFETCH(QString, written);
        w.field(field)->setText(written);
        QTEST(w.field(field)->text(), "text");
        QTEST(w.editor.fieldColour(field), "colour");
        QTEST(w.spin(field)->value(), "spin");
    }

    void emptiedFieldKeepsColourAndSpin()
    {
        EditorWorld w;
        w.type(6, "3");
        QTest::keyClick(w.field(6), Qt::Key_Backspace);
        QVERIFY(w.field(6)->text().isEmpty());
        QCOMPARE(w.editor.fieldColour(6), Black);
        QCOMPARE(w.spin(6)->value(), 30);
    }

    void spinClicks_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("spin");
        QTest::newRow("2 above range") << 2 << "5000" << true << "2020" << 2020;
        QTest::newRow("2 empty") << 2 << "" << true << "1020" << 1020;
        QTest::newRow("8 empty") << 8 << "" << true << "1" << 1;
        QTest::newRow("6 tenth up") << 6 << "3.5" << true << "3.6" << 36;
        QTest::newRow("6 to whole") << 6 << "3.1" << false << "3" << 30;
        QTest::newRow("7 step ten") << 7 << "200" << true << "210" << 210;
        QTest::newRow("7 past top") << 7 << "300" << true << "300" << 300;
        QTest::newRow("7 past bottom") << 7 << "50" << false << "50" << 50;
        QTest::newRow("6 empty past bottom") << 6 << "" << false << "" << 25;
    }
    void spinClicks()
    {
        EditorWorld w;
        w.window.show();
        w.fraTmp->show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QFETCH(int, field);
        QFETCH(QString, before);
        QFETCH(bool, up);
        w.field(field)->setText(before);
        QToolButton *button = up ? w.spin(field)->upButton() : w.spin(field)->downButton();
        QTest::mouseClick(button, Qt::LeftButton);
        QTEST(w.field(field)->text(), "after");
        QTEST(w.spin(field)->value(), "spin");
    }

    void spinSignalsOnlyRealChanges()
    {
        SpinButton s;
        s.setMinimum(0);
        s.setMaximum(20);
        s.setSingleStep(10);
        QSignalSpy changed(&s, &SpinButton::valueChanged);
        s.setMinimum(5); // pulls the value up without a signal
        QCOMPARE(s.value(), 5);
        s.setValue(5);
        s.stepUp();
        s.stepUp(); // 25 would pass the top
        QCOMPARE(s.value(), 15);
        QCOMPARE(changed.count(), 1);
        s.setEnabled(false);
        s.stepDown();
        QCOMPARE(s.value(), 15);
    }

    // What unticking "Off" brings back depends on what the field held when ticked.
    void offSwitch_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("atTick");
        QTest::addColumn<float>("held");
        QTest::addColumn<QString>("back");
        QTest::addColumn<int>("colour");
        QTest::newRow("200") << "200" << "200" << 200.0f << "200" << Black;
        QTest::newRow("480 comes back as 300") << "480" << "480" << 480.0f << "300" << Black;
        QTest::newRow("red 45 comes back red") << "45" << "45" << 45.0f << "45" << Red;
        QTest::newRow("blank keeps last value") << "200" << "" << 200.0f << "200" << Black;
        QTest::newRow("no number keeps last value") << "200" << "-" << 200.0f << "200" << Black;
        QTest::newRow("blank from start is red 0") << "" << "" << 0.0f << "0" << Red;
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
        QVERIFY(!w.field(7)->isEnabled());
        QVERIFY(!w.spin(7)->isEnabled());
        QVERIFY(!w.editor.LblCurLim()->isEnabled());
        QTEST(w.editor.CurLimData(), "held");

        w.editor.ChkCurLimOff()->setChecked(false);
        QTEST(w.field(7)->text(), "back");
        QTEST(w.editor.fieldColour(7), "colour");
        QVERIFY(w.field(7)->isEnabled() && w.spin(7)->isEnabled() && w.editor.LblCurLim()->isEnabled());
    }

    void clearDisplay()
    {
        EditorWorld w;
        w.type(0, "2000");
        w.editor.ChkMode(2)->setChecked(true);
        w.editor.TxtVer()->setText("3");
        w.type(7, "200");
        w.editor.ChkCurLimOff()->setChecked(true);
        w.editor.ClearDisplay();
        QVERIFY(!w.editor.ChkCurLimOff()->isChecked());
        QVERIFY(w.field(7)->isEnabled());
        for (int i = 0; i < fields::Count; ++i)
            QVERIFY(w.field(i)->text().isEmpty());
        QVERIFY(!w.editor.ChkMode(2)->isChecked());
        QVERIFY(w.editor.TxtVer()->text().isEmpty());
    }

    void widgetsAreNamedAndPlaced()
    {
        EditorWorld w;
        QCOMPARE(w.window.findChild<QLineEdit *>("TxtData_7"), w.field(7));
        QCOMPARE(w.fraTmp->findChild<QLineEdit *>("TxtData_9"), w.field(9));
        QCOMPARE(w.fraTmp->findChild<QCheckBox *>("ChkMode_3"), w.editor.ChkMode(3));
        QVERIFY(w.fraTmp->findChild<QLineEdit *>("TxtZxType"));
        QVERIFY(w.fraTmp->findChild<QLineEdit *>("TxtVer"));
        QCOMPARE(w.field(7)->geometry(), twips::rect(4740, 240 + 4 * 420, 915, 315));
        QCOMPARE(w.editor.ChkCurLimOff()->x(), twips::toPixels(3960));
        QVERIFY(w.editor.ChkMode(3)->y() < w.editor.ChkMode(0)->y());
        const QRect frame(QPoint(0, 0), twips::rect(0, 0, 6255, 2475).size());
        for (QWidget *child : w.fraTmp->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY2(frame.contains(child->geometry()), qPrintable(child->objectName()));
    }
};

QTEST_MAIN(TestSettingsEditor)
#include "tst_settings_editor.moc"
