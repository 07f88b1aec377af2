// The real file dialogs, driven as a user does: a name typed into the dialog, a filter
// picked from its list, Enter.
#include "ui/file_commands.h"
#include "platform/gui/qt_file_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// Acts on the next file dialog that comes up: picks filter `filterIndex`, types `name`
// and presses Enter (an empty name: Escape). A dialog still up a while later is
// cancelled, so a dialog that refuses the name fails the test instead of hanging it.
void typeIntoNextDialog(const QString &name, int filterIndex = 0)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(2000, dialog, [dialog] {
            // A dialog that refused the name may have put a box of its own on top.
            while (auto *top = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                top->reject();
                if (top == dialog)
                    break;
            }
        });
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(types && edit);
        for (int i = 0; i < filterIndex; ++i)
            QTest::keyClick(types, Qt::Key_Down);
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, name.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
    });
    poll->start();
}
} // namespace

class TstFileDialogs : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    // The dialogs start in the working folder, as they do for the user.
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(QFile(m_dir.filePath("old.set")).open(QIODevice::WriteOnly));
    }

    // Open returns a name that does not exist yet as readily as an existing one; save adds the
    // extension of the filter chosen (0: the file type, 1: ALL files) to a name typed without one.
    void dialog_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen"); // relative to the folder; empty: cancelled
        const QString settings = FileCommands::SettingsFilter, log = FileCommands::LogFilter;
        for (auto [name, save, filter, index, typed, chosen] :
             {std::tuple {"open: a name that does not exist", false, settings, 0, "new.set", "new.set"},
              {"open: an existing file", false, settings, 0, "old.set", "old.set"},
              {"open: cancelled", false, settings, 0, "", ""},
              {"save: settings, no extension", true, settings, 0, "mine", "mine.set"},
              {"save: log, no extension", true, log, 0, "run", "run.csv"},
              {"save: ALL files adds nothing", true, settings, 1, "mine", "mine"},
              {"save: another extension is kept", true, settings, 0, "mine.txt", "mine.txt"},
              {"save: the same extension once", true, log, 0, "run.csv", "run.csv"},
              {"save: a trailing dot is the user's", true, settings, 0, "mine.", "mine."},
              {"save: existing file, no question from the dialog", true, settings, 0, "old.set", "old.set"},
              {"save: cancelled", true, settings, 0, "", ""}})
            QTest::newRow(name) << save << filter << index << QString(typed) << QString(chosen);
    }
    void dialog()
    {
        QFETCH(bool, save);
        QFETCH(QString, filter);
        QFETCH(int, filterIndex);
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        QtFileDialogs dialogs;
        typeIntoNextDialog(typed, filterIndex);
        QCOMPARE(save ? dialogs.saveFile(filter) : dialogs.openFile(filter),
                 chosen.isEmpty() ? chosen : m_dir.filePath(chosen));
        QVERIFY(!QFile::exists(m_dir.filePath("new.set")) && !QFile::exists(m_dir.filePath("mine.set")));
    }
};

QTEST_MAIN(TstFileDialogs)
#include "tst_file_dialogs.moc"
