// Settings kept in a file and brought back to the controller, against the simulator on
// a pseudo-terminal, with the device operations wired as the program wires them.
#include "sim/settings_block.h"
#include "tests/link/operations_world.h"

#include <QCheckBox>

class TstFilesE2e : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void savedSettingsGoBackToTheController()
    {
        OperationsWorld w(5);
        // 10000 Hz, dead band 9, limiter off: values of the user's, not the defaults.
        QString saved = zxsim::defaultSettingsBlock(5);
        for (auto [index, value] : {std::pair {0, 0x10}, {1, 0x27}, {16, 9}, {19, 0xFF}})
            saved = zxsim::withByte(saved, index, value);
        const QString file = w.dir.filePath(QStringLiteral("mine.set"));

        w.sim.setSettingsBlock(saved);
        w.click(0); // Setting Data Read
        w.dialogs.paths = {file, file};
        w.files->mnuSave_Click();
        QCOMPARE(QString::fromLatin1([&] {
                     QFile f(file);
                     f.open(QIODevice::ReadOnly);
                     return f.readAll();
                 }()),
                 saved);

        w.sim.setSettingsBlock(zxsim::defaultSettingsBlock(5));
        w.click(0);
        QCOMPARE(w.field(0), QStringLiteral("2000"));
        w.files->mnuOpen_Click();
        QCOMPARE(w.field(0), QStringLiteral("10000"));
        w.click(1); // Setting Data Write, verified by reading back
        QVERIFY(w.completed());
        QCOMPARE(w.sim.settingsBlock(), saved);

        w.editor->ClearDisplay();
        w.click(0);
        QCOMPARE(w.field(0), QStringLiteral("10000"));
        QCOMPARE(w.field(5), QStringLiteral("9"));
        QVERIFY(w.editor->ChkCurLimOff()->isChecked());
        QVERIFY(w.boxes.shown.isEmpty());
    }
};

QTEST_MAIN(TstFilesE2e)
#include "tst_files_e2e.moc"
