// The whole program driven from the keyboard alone, against the simulated controller:
// read, step a value with the arrow keys, write, save a settings file. The single keys are
// tested one by one in tst_shell_windows and tst_editor_access.
#include "tests/link/operations_world.h"
#include "tests/settings/worked_block.h"

#include "files/settings_file.h"

#include <QFile>

namespace {

QString focused()
{
    QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("<none>");
}

void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
}

} // namespace

class TestKeyboardE2e : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readStepWriteSave()
    {
        OperationsWorld w;
        w.sim.setSettingsBlock(worked::Block);
        QVERIFY(QTest::qWaitForWindowActive(w.window));
        QPushButton *write = w.window->CmdZxCom(1);

        // Return on the first button, where the window starts.
        QCOMPARE(focused(), "CmdZxCom_0");
        key(Qt::Key_Return);
        QTRY_VERIFY(w.completed());
        QVERIFY(w.field(0) == "2000" && write->isEnabled() && write->toolTip() == "No field changed");

        // Tab past the other four buttons to the first field, one step up.
        for (int k = 0; k < 5; ++k)
            key(Qt::Key_Tab);
        QCOMPARE(focused(), "TxtData_0");
        key(Qt::Key_Up);
        QVERIFY(w.field(0) == "2001" && w.editor->TxtData(0)->font().bold());
        QCOMPARE(write->toolTip(), "Writes 1 changed field");

        // Alt+W writes; the verified write clears the marks.
        w.line.lines.clear();
        key(Qt::Key_W, Qt::AltModifier);
        QTRY_VERIFY_WITH_TIMEOUT(w.completed(), 15000);
        QCOMPARE(w.sim.settingsBlock().left(4), "D107");
        QVERIFY(!w.editor->TxtData(0)->font().bold() && write->toolTip() == "No field changed");

        // Ctrl+S saves what the fields hold.
        const QString path = w.dir.filePath("keyboard.set");
        w.dialogs.paths << path;
        key(Qt::Key_S, Qt::ControlModifier);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), settingsfile::fileContent(w.sim.settingsBlock()));
    }
};

QTEST_MAIN(TestKeyboardE2e)
#include "tst_keyboard_e2e.moc"
