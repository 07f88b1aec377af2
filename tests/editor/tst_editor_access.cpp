// What the editor tells beyond colour: values changed since the last block shown, the
// fields' names for screen readers, and the keyboard.
#include "settings_world.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QToolTip>

namespace {
constexpr int Red = SettingsEditor::Red;

// `actions`: "i=text" writes field i, "off"/"on" ticks or unticks "Off", separated by ','.
// `marked`: the fields shown bold ("off" for the box); `field`'s tooltip and description follow.
struct Mark {
    const char *name;
    QString block;
    BlockSource source;
    const char *actions, *marked;
    int count, field;
    const char *tooltip, *description;
};

void apply(EditorWorld &w, const QString &actions)
{
    for (const QString &a : actions.split(u',', Qt::SkipEmptyParts)) {
        if (a == "off" || a == "on")
            w.editor.ChkCurLimOff()->setChecked(a == "off");
        else
            w.field(a.section(u'=', 0, 0).toInt())->setText(a.section(u'=', 1));
    }
}

// The fields shown bold, the mark the user sees ("off" for the box).
QString markedNow(const EditorWorld &w)
{
    QStringList out;
    for (int i = 0; i < fields::Count; ++i) {
        if (w.field(i)->font().bold())
            out << QString::number(i);
    }
    if (w.editor.ChkCurLimOff()->font().bold())
        out << QStringLiteral("off");
    return out.join(u' ');
}

QString accessible(QObject *o, QAccessible::Text t)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(t) : QStringLiteral("<none>");
}
} // namespace
Q_DECLARE_METATYPE(Mark)

class TestEditorAccess : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void changeMarks_data()
    {
        QTest::addColumn<Mark>("m");
        const auto dev = BlockSource::Device, file = BlockSource::File;
        const QString off = worked::with(39, "FF");
        for (const Mark &m : std::initializer_list<Mark> {
                 {"same number, other text", worked::Block, dev, "6=5.0", "", 0, 6, "2.5～6", "volts, 2.5 to 6"},
                 {"three from a file", worked::Block, file, "0=2001,5=7,10=30", "0 5 10", 3, 5, "2～50\nIn the file: 6",
                  "microseconds, 2 to 50, changed, was 6"},
                 {"blanked", worked::Block, dev, "8=", "8", 1, 8, "0～100\nIn the ZX: 100",
                  "percent, 0 to 100, changed, was 100"},
                 {"out of range stays marked", worked::Block, dev, "0=99", "0", 1, 0, "100～10000\nIn the ZX: 2000",
                  "hertz, 100 to 10000, changed, was 2000"},
                 // Field 7 and "Off" share one byte: one change, however many marks.
                 {"limiter switched off", worked::Block, dev, "off", "off", 1, 7, "50～300", "amperes, 50 to 300"},
                 {"limiter switched on", off, dev, "on", "7 off", 1, 7, "50～300\nIn the ZX: (blank)",
                  "amperes, 50 to 300, changed, was (blank)"},
                 // Hidden values are never written: marked, not counted.
                 {"hidden field", worked::Block, file, "2=1600", "2", 0, 2, "1020～2020\nIn the file: 1520",
                  "microseconds, 1020 to 2020, changed, was 1520"}})
            QTest::newRow(m.name) << m;
    }
    void changeMarks()
    {
        QFETCH(Mark, m);
        EditorWorld w;
        QCOMPARE(w.editor.ShowReadData(m.block, m.source), DecodeResult::Accepted);
        QCOMPARE(markedNow(w), "");
        apply(w, m.actions);
        QCOMPARE(markedNow(w), m.marked);
        QCOMPARE(w.editor.changedCount(), m.count);
        QCOMPARE(w.field(m.field)->toolTip(), QString::fromUtf8(m.tooltip));
        QCOMPARE(accessible(w.field(m.field), QAccessible::Description), m.description);
        const bool offChanged = QString(m.marked).contains("off");
        QCOMPARE(w.editor.ChkCurLimOff()->accessibleDescription(),
                 offChanged ? (w.editor.ChkCurLimOff()->isChecked() ? "changed, was off" : "changed, was on") : "");
    }

    // The marks go with the block they were counted against.
    void marksClear()
    {
        EditorWorld w;
        w.editor.ShowReadData(worked::Block, BlockSource::File);
        apply(w, "0=2001,off");
        w.editor.ShowReadData(worked::Block, BlockSource::Device); // a new block
        QVERIFY(markedNow(w).isEmpty() && w.editor.changedCount() == 0);

        // After a verified write the controller holds the written values.
        w.editor.ShowReadData(worked::Block, BlockSource::File);
        apply(w, "0=2001,5=7");
        QVERIFY(w.editor.MakeWriteData(worked::Block));
        w.editor.markWritten(w.editor.WriteData());
        apply(w, "0=2000"); // field 0 alone differs from what was written
        QVERIFY(markedNow(w) == "0" && w.editor.changedCount() == 1);
        QCOMPARE(w.field(0)->toolTip(), QString::fromUtf8("100～10000\nIn the ZX: 2001"));
        // A refused block leaves the marks as they were.
        w.editor.ShowReadData(worked::with(59, "FF"), BlockSource::Device);
        QCOMPARE(markedNow(w), "0");
        // That a write of any shown block leaves nothing marked: the settings_block fuzz harness.
    }

    // The fields' names and words for screen readers; field 11 has the one unit no other test names.
    void names()
    {
        EditorWorld w;
        QLineEdit *field = w.field(11);
        QCOMPARE(accessible(field, QAccessible::Name), "Current Limit timer");
        QCOMPARE(accessible(field, QAccessible::Description), "seconds, 0 to 240");
        // The unit label is announced as the field's label.
        const auto labels = QAccessible::queryAccessibleInterface(field)->relations(QAccessible::Label);
        QVERIFY(std::any_of(labels.begin(), labels.end(),
                            [&](const auto &r) { return r.first->object() == w.editor.unitLabel(11); }));
        QCOMPARE(accessible(w.spin(11)->upButton(), QAccessible::Name), "Increase Current Limit timer");
        QCOMPARE(accessible(w.spin(11)->downButton(), QAccessible::Name), "Decrease Current Limit timer");
    }

    // Typed out of range, the range shows beside the field at once; it goes when the value is good.
    void rangeTipWhileTyping()
    {
        EditorWorld w;
        QVERIFY(w.showAll());
        QLineEdit *field = w.field(0);
        QTest::keyClicks(field, "9");
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString::fromUtf8("100～10000"));
        QTest::keyClicks(field, "9");
        QVERIFY(QToolTip::isVisible()); // a second key does not take it away
        QTest::keyClick(field, Qt::Key_Up); // 99 steps to the lower limit, in range
        QTRY_VERIFY(!QToolTip::isVisible()); // it fades out
        // Values the program writes are coloured, never announced with a tip.
        w.field(5)->setText("99");
        QVERIFY(w.editor.fieldColour(5) == Red && !QToolTip::isVisible());
    }

    void refusalFocusesFirstValueOnScreen_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("focused"); // -1: none
        QTest::newRow("screen order, not index order") << "10=,5=99" << 5;
        QTest::newRow("limiter on and blank") << "7=" << 7;
        QTest::newRow("only a hidden one") << "2=1000" << -1;
    }
    void refusalFocusesFirstValueOnScreen()
    {
        QFETCH(QString, actions);
        QFETCH(int, focused);
        EditorWorld w;
        QVERIFY(w.showAll());
        QApplication::setActiveWindow(&w.window);
        w.editor.ShowReadData(worked::Block, BlockSource::Device);
        apply(w, actions);
        w.fraTmp->hide();
        w.field(0)->setFocus();
        w.boxes.onShow = [&](const auto &) { QVERIFY(w.field(0)->hasFocus()); }; // moved after the box
        QVERIFY(!w.editor.MakeWriteData(worked::Block));
        QCOMPARE(w.editor.refusedField(), focused < 0 ? nullptr : w.field(focused));
        QCOMPARE(QApplication::focusWidget(), w.field(focused < 0 ? 0 : focused));
    }
};

QTEST_MAIN(TestEditorAccess)
#include "tst_editor_access.moc"
