// The File menu's commands against real files in a temporary folder, dialogs and boxes answered by
// script; then the real file dialogs, driven as a user does: a name typed, a filter picked, Enter.
#include "ui/file_commands.h"
#include "files/log_file.h"
#include "logview/frm_log.h" // LogViewer keeps a QPointer to it
#include "logdata/log_store.h"
#include "logview/log_viewer.h"
#include "platform/gui/qt_file_dialogs.h"
#include "platform/ini_file.h"
#include "tests/editor/settings_world.h"
#include "tests/support/scripted_file_dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

using Answer = MessageBoxes::Answer;
using Icon = MessageBoxes::Icon;

namespace {
using worked::Block;

QByteArray contentOf(const QString &path) // "-" when there is no file
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("-");
}
bool put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
// Data rows from..to-1 of a log file, each with values a test can recognise by index.
QByteArray rows(int from, int to)
{
    QByteArray t;
    for (int i = from; i < to; ++i)
        t += QStringLiteral("%1,%2,%3\r\n").arg(i).arg(10 + i / 10.0).arg(i * 10).toLatin1();
    return t;
}

struct World : EditorWorld {
    QTemporaryDir dir;
    ScriptedFileDialogs dialogs;
    LogStore store;
    IniFile ini {dir.filePath("zx.ini")};
    const std::array<int, 2> scaleLine {0, 0};
    LogViewer viewer {store, ini, scaleLine, &window};
    QString readData;
    FileCommands files {dialogs, boxes, editor, store, viewer, [this] { return readData; }};

    World() { store.markEmpty(); }
    // Everything a settings block can change in the window.
    QStringList shown() const
    {
        QStringList s {editor.TxtZxType()->text(), editor.TxtVer()->text(),
                       QString::number(editor.ChkCurLimOff()->isChecked())};
        for (int i = 0; i < 13; ++i) // with the colour, and the mode boxes along the first four
            s << QStringLiteral("%1/%2/%3")
                     .arg(editor.TxtData(i)->text())
                     .arg(editor.fieldColour(i))
                     .arg(i < 4 && editor.ChkMode(i)->isChecked());
        return s;
    }
    void holdLog(float v)
    {
        store.VoltData.fill(v);
        store.CurData.fill(v);
    }
};

// A file ("-": none) opened as settings or as a log, the question answered as given; log
// rows 0..stored-1 then hold the file's voltages (currents up to curStored-1 when given),
// the others what they held before.
struct Open {
    const char *name;
    bool log;
    QByteArray content;
    QStringList messages;
    int stored = 0;
    Answer answer = Answer::Yes;
    int curStored = -1;
};
// Field 0 set to `field0` (unless null) in the worked example, the file holding `old` ("-": none) saved
// over, with files limited to `sizeLimit` bytes (unless 0) as on a full disk.
struct Save {
    const char *name;
    bool log;
    const char *field0;
    QByteArray old;
    Answer answer;
    QStringList messages; // a failed save's reason left out, its path as FILE
    QByteArray after;
    rlim_t sizeLimit = 0;
};
// Acts on the file dialog about to come up: picks filter `filterIndex`, types `name` and presses
// Enter (an empty name: Escape). A dialog still up a while later is cancelled with any box it put
// on top, so a dialog that refuses the name fails the test instead of hanging it.
void typeIntoNextDialog(const QString &name, int filterIndex = 0)
{
    QTimer::singleShot(0, [=] { // runs inside the dialog's own event loop
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QTimer::singleShot(2000, dialog, [dialog] {
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
}
} // namespace
Q_DECLARE_METATYPE(Open)
Q_DECLARE_METATYPE(Save)

class TstFileCommands : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    // Saved and opened again, a block (limiter off) shows as it did and saves the same again.
    void roundTrips()
    {
        World w;
        const QByteArray block = worked::with(39, "FF").toLatin1();
        w.readData = block;
        w.editor.ShowReadData(w.readData, BlockSource::Device);
        const QStringList before = w.shown();
        const QString file = w.dir.filePath("typed without extension"), again = w.dir.filePath("again");
        w.dialogs.paths = {file, file, again};
        w.files.mnuSave_Click();
        QCOMPARE(contentOf(file), block); // the block and nothing else
        w.editor.ClearDisplay();
        w.readData.clear(); // as after a start without reading the controller
        w.files.mnuOpen_Click();
        QVERIFY(w.shown() == before && w.editor.CurLimData() == 480.f);
        w.files.mnuSave_Click(); // a file opened alone saves the same block again
        QCOMPARE(contentOf(again), block);

        // A log too: no sample is an empty field, a value has seven significant digits.
        for (int i = 0; i < LogStore::SampleCount; ++i) {
            w.store.VoltData[size_t(i)] = float(8 + i / 100.0);
            w.store.CurData[size_t(i)] = float(i % 48 * 10);
        }
        w.store.VoltData[1] = w.store.CurData[2] = LogStore::Missing;
        w.store.VoltData[3] = 12.345678f;
        LogStore saved = w.store;
        saved.VoltData[3] = 12.34568f;
        const QString log = w.dir.filePath("run.csv");
        w.dialogs.paths = {log, log};
        w.files.mnuSaveLog_Click();
        const QList<QByteArray> lines = contentOf(log).split('\n');
        QVERIFY(lines.size() == 514 && lines[513].isEmpty()); // 513 lines, each ended by CR LF
        QCOMPARE(lines.mid(0, 5),
                 (QList<QByteArray> {logfile::Header.toLatin1() + '\r', "0,8,0\r", "1,,10\r", "2,8.02,\r",
                                     "3,12.34568,30\r"}));
        w.holdLog(3.f);
        w.files.munOpenLog_Click();
        QVERIFY(w.store.VoltData == saved.VoltData && w.store.CurData == saved.CurData);
        QVERIFY(w.boxes.shown.isEmpty() && w.viewer.window() && w.viewer.window()->isVisible());
        QCOMPARE(w.dialogs.filters,
                 QStringList(3, FileCommands::SettingsFilter) + QStringList(2, FileCommands::LogFilter));
    }

    // Only a file of exactly one readable block changes the fields; anything else is passed over in silence,
    // or told as trouble when it cannot be read. A log file is taken whole or not at all: a wrong line anywhere
    // leaves the log held as it was. A missing file is made empty if the user says so. Only a log loaded
    // without complaint shows the window.
    void open_data()
    {
        QTest::addColumn<Open>("o");
        const QByteArray other = worked::with(1, "E803").toLatin1(), head = logfile::Header.toLatin1() + "\r\n";
        const QStringList none, trouble {FileCommands::TroubleText}, question {FileCommands::NotFoundQuestion};
        for (const Open &o : std::initializer_list<Open> {
                 {"66 characters", false, other + "\r\n", none},
                 {"2 MiB", false, other.repeated(32768), none},
                 {"unreadable", false, "G" + other.mid(1), trouble},
                 {"settings missing, yes", false, "-", question},
                 {"log missing, no", true, "-", question, 0, Answer::No},
                 {"empty log", true, "", none},
                 {"header only", true, head, none},
                 {"no final line end", true, head + rows(0, 3).chopped(2), none, 3},
                 {"mixed line ends", true,
                  logfile::Header.toLatin1() + "\r" + rows(0, 1).chopped(2) + "\n" + rows(1, 2) + rows(2, 3).chopped(1),
                  none, 3},
                 {"fields past the third", true, head + "0,10,0,x,y\r\n", none, 1},
                 {"fewer than three fields", true, head + "0,10\r\n1\r\n", none, 1, Answer::Yes, 0},
                 {"time as 1.0", true, head + rows(0, 1) + "1.0,10.1,10\r\n", none, 2},
                 {"header lower case", true, "time(s),Voltage(V),Current(A)\r\n" + rows(0, 3), trouble},
                 {"blank line at end", true, head + rows(0, 3) + "\r\n", trouble},
                 {"blank is not empty", true, head + rows(0, 2) + "2, ,1\r\n", trouble},
                 {"too big for a sample", true, head + "0," + QByteArray(40, '9') + ",1\r\n", trouble},
                 {"empty values after 512", true, head + rows(0, 512) + "512,,\r\n", trouble},
                 {"larger than any log", true, head + rows(0, 3) + QByteArray(2 << 20, ','), trouble}})
            QTest::newRow(o.name) << o;
    }
    void open()
    {
        QFETCH(Open, o);
        World w;
        w.editor.ShowReadData(Block, BlockSource::Device);
        w.holdLog(7.5f);
        const QStringList before = w.shown();
        const QString file = w.dir.filePath("f");
        QVERIFY(o.content == "-" || put(file, o.content));
        w.dialogs.paths = {file};
        w.boxes.answers = {o.answer};
        o.log ? w.files.munOpenLog_Click() : w.files.mnuOpen_Click();
        QCOMPARE(w.shown(), before);
        QCOMPARE(w.boxes.texts(), o.messages);
        QVERIFY(w.boxes.shown.isEmpty() || w.boxes.shown[0].icon == (o.content == "-" ? Icon::None : Icon::Critical));
        QCOMPARE(contentOf(file), o.content == "-" && o.answer == Answer::Yes ? QByteArray() : o.content);
        for (int i = 0; i < LogStore::SampleCount; ++i) {
            QCOMPARE(w.store.VoltData[size_t(i)], i < o.stored ? float(10 + i / 10.0) : 7.5f);
            QCOMPARE(w.store.CurData[size_t(i)], i < (o.curStored < 0 ? o.stored : o.curStored) ? float(i * 10) : 7.5f);
        }
        QCOMPARE(bool(w.viewer.window()), o.log && o.messages.isEmpty() && !o.content.isEmpty());
        // Pictures of the graph are suggested beside the log file opened last, never a settings file.
        QCOMPARE(QFileInfo(w.files.graphFiles().suggestedPicturePath()).absolutePath() == w.dir.path(),
                 o.log && (o.content != "-" || o.answer == Answer::Yes));
    }

    // A save that is refused shows why, opens no dialog and writes nothing; an existing file is replaced
    // whole or left alone as the user answers. A save that cannot be done says so, and leaves what was on
    // disk as it was.
    void save_data()
    {
        QTest::addColumn<Save>("s");
        const QByteArray old(200, 'x');
        const QString question = FileCommands::OverwriteQuestion, notSaved = FileCommands::NotSavedText + "\r\nFILE";
        for (const Save &s : std::initializer_list<Save> {
                 {"red field", false, "99", "-", Answer::Yes, {"Data is abnormal!!\r\nPlease set it correctly."}, "-"},
                 {"no log", true, nullptr, "-", Answer::Yes, {FileCommands::NoLogText}, "-"},
                 {"overwrite, no", false, nullptr, old, Answer::No, {question}, old},
                 {"overwrite, yes", false, nullptr, old, Answer::Yes, {question}, Block.toLatin1()},
                 {"name is a folder", false, nullptr, "folder", Answer::Yes, {notSaved}, "-"},
                 {"disk full part-way", false, nullptr, old, Answer::Yes, {question, notSaved}, old, 16}})
            QTest::newRow(s.name) << s;
    }
    void save()
    {
        QFETCH(Save, s);
        World w;
        w.readData = Block;
        w.editor.ShowReadData(Block, BlockSource::Device);
        if (s.field0)
            w.editor.TxtData(0)->setText(s.field0);
        const QString file = w.dir.filePath("f");
        QVERIFY(s.old == "-" || (s.old == "folder" ? QDir().mkpath(file) : put(file, s.old)));
        const QStringList entries = QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        w.dialogs.paths = {file};
        w.boxes.answers = {s.answer};
        rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit {s.sizeLimit ? s.sizeLimit : saved.rlim_cur, saved.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // the failed write is reported as EFBIG, not by a signal
        setrlimit(RLIMIT_FSIZE, &limit);
        s.log ? w.files.mnuSaveLog_Click() : w.files.mnuSave_Click();
        setrlimit(RLIMIT_FSIZE, &saved);
        QStringList texts;
        for (const QString &t : w.boxes.texts())
            texts << t.section("\r\n", 0, 1).replace(file, "FILE");
        QCOMPARE(texts, s.messages);
        QVERIFY(!texts.last().endsWith("FILE") || w.boxes.shown.last().icon == Icon::Critical);
        QCOMPARE(w.dialogs.filters.isEmpty(), s.field0 || s.log); // refused before the dialog
        QCOMPARE(contentOf(file), s.after);
        QCOMPARE(QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::Hidden), entries); // no temporary left
    }

    // The dialogs start in the working folder, as they do for the user.
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(QFile(m_dir.filePath("old.set")).open(QIODevice::WriteOnly));
    }

    // Open returns a name that does not exist yet as readily as an existing one; save adds the
    // extension of the filter chosen (0: settings files, 1: ALL files) to a name typed without one.
    void dialog_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen"); // relative to the folder; empty: cancelled
        for (auto [name, save, index, typed, chosen] :
             {std::tuple {"open: a name that does not exist", false, 0, "new.set", "new.set"},
              {"open: cancelled", false, 0, "", ""},
              {"save: no extension", true, 0, "mine", "mine.set"},
              {"save: ALL files adds nothing", true, 1, "mine", "mine"},
              {"save: the same extension once", true, 0, "mine.set", "mine.set"},
              {"save: a trailing dot is the user's", true, 0, "mine.", "mine."},
              {"save: existing file, no question from the dialog", true, 0, "old.set", "old.set"},
              {"save: cancelled", true, 0, "", ""}})
            QTest::newRow(name) << save << index << QString(typed) << QString(chosen);
    }
    void dialog()
    {
        QFETCH(bool, save);
        QFETCH(int, filterIndex);
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        QtFileDialogs dialogs;
        typeIntoNextDialog(typed, filterIndex);
        QCOMPARE(save ? dialogs.saveFile(FileCommands::SettingsFilter) : dialogs.openFile(FileCommands::SettingsFilter),
                 chosen.isEmpty() ? chosen : m_dir.filePath(chosen));
        QVERIFY(!QFile::exists(m_dir.filePath("new.set")) && !QFile::exists(m_dir.filePath("mine.set")));
    }
};

QTEST_MAIN(TstFileCommands)
#include "tst_file_commands.moc"
