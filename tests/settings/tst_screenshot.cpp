#include "editor_fixture.h"
#include "tests/support/test_output.h"

// Pictures for a person to look at: the window part and the hidden frame (shown here on
// purpose) filled from the worked example, then with "Off" ticked and a red value.
class TestScreenshot : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editorPictures()
    {
        EditorWorld w;
        w.window.resize(twips::toPixels(6450), twips::toPixels(8100));
        w.fraTmp->setFrameShape(QFrame::Box);
        w.fraTmp->show();
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QCOMPARE(w.editor.ShowReadData(worked::Block, BlockSource::Device), DecodeResult::Accepted);
        QVERIFY(saveScreenshot(&w.window, "settings_editor_worked_example.png"));
        w.editor.ChkCurLimOff()->setChecked(true);
        w.field(0)->setText("99");
        QVERIFY(saveScreenshot(&w.window, "settings_editor_off_and_red.png"));
    }
};

QTEST_MAIN(TestScreenshot)
#include "tst_screenshot.moc"
