// The File menu's commands against real files in a temporary folder, dialogs and boxes answered by script.
#include "ui/file_commands.h"
#include "files/log_file.h"
#include "logview/frm_log.h" // LogViewer keeps a QPointer to it
#include "logdata/log_store.h"
#include "logview/log_viewer.h"
#include "platform/ini_file.h"
#include "editor/settings_editor.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/scripted_file_dialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using Answer = MessageBoxes::Answer;
using Icon = MessageBoxes::Icon;

namespace {
const QString Block = "D007401FF0054C046C070000000000000640556A6432330A500085C80000030A";
const QString Abnormal = "Data is abnormal!!\r\nPlease set it correctly.";

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

struct World {
    QTemporaryDir dir;
    QWidget window;
    QWidget fraTmp {&window};
    RecordingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    SettingsEditor editor {&window, &fraTmp, boxes};
    LogStore store;
    IniFile ini {dir.filePath("zx.ini")};
    const std::array<int, 2> scaleLine {0, 0};
    LogViewer viewer {store, ini, scaleLine, &window};
    QString readData;
    FileCommands files {dialogs, boxes, editor, store, viewer, [this] { return readData; }};

    World()
    {
        editor.MainIni();
        store.markEmpty();
    }
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
    void fillLog()
    {
        for (int i = 0; i < LogStore::SampleCount; ++i) {
            store.VoltData[size_t(i)] = float(8 + i / 100.0);
            store.CurData[size_t(i)] = float(i % 48 * 10);
        }
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
// Field 0 set to `field0` (unless null) in the worked example, the file holding `old` ("-": none) saved over.
struct Save {
    const char *name;
    bool log;
    const char *field0;
    QByteArray old;
    Answer answer;
    QStringList messages;
    QByteArray after;
};
} // namespace
Q_DECLARE_METATYPE(Open)
Q_DECLARE_METATYPE(Save)

class TstFileCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Saved and opened again, a block shows as it did and saves the same again: limiter on and off.
    void settingsRoundTrip()
    {
        for (const QString &block : {Block, QString(Block).replace(38, 2, "FF")}) {
            World w;
            w.readData = block;
            w.editor.ShowReadData(block, BlockSource::Device);
            const QStringList before = w.shown();
            const QString file = w.dir.filePath("typed without extension"), again = w.dir.filePath("again");
            w.dialogs.paths = {file, file, again};
            w.files.mnuSave_Click();
            QCOMPARE(contentOf(file), block.toLatin1()); // the block and nothing else
            QVERIFY(!QFile::exists(file + ".set"));
            w.editor.ClearDisplay();
            w.readData.clear(); // as after a start without reading the controller
            w.files.mnuOpen_Click();
            QVERIFY(w.shown() == before && w.editor.CurLimData() == (block.mid(38, 2) == "FF" ? 480.f : 200.f));
            w.files.mnuSave_Click(); // a file opened alone saves the same block again
            QCOMPARE(contentOf(again), block.toLatin1());
            QVERIFY(w.boxes.shown.isEmpty() && w.dialogs.filters == QStringList(3, FileCommands::SettingsFilter));
        }
    }

    // Only a file of exactly one readable block changes the fields; anything else is passed over in silence,
    // or told as trouble when it cannot be read. A log file is taken whole or not at all: a wrong line anywhere
    // leaves the log held as it was. A missing file is made empty if the user says so. Only a log loaded
    // without complaint shows the window.
    void open_data()
    {
        QTest::addColumn<Open>("o");
        const QByteArray other = QString(Block).replace(0, 4, "E803").toLatin1(),
                         head = logfile::Header.toLatin1() + "\r\n";
        const QStringList none, trouble {FileCommands::TroubleText}, question {FileCommands::NotFoundQuestion};
        for (const Open &o : std::initializer_list<Open> {
                 {"66 characters", false, other + "\r\n", none},
                 {"2 MiB", false, other.repeated(32768), none},
                 {"unreadable", false, "G" + other.mid(1), trouble},
                 {"settings missing, yes", false, "-", question},
                 {"log missing, no", true, "-", question, 0, Answer::No},
                 {"empty log", true, "", none},
                 {"header only", true, head, none},
                 {"all rows", true, head + rows(0, 512), none, 512},
                 {"no final line end", true, head + rows(0, 3).chopped(2), none, 3},
                 {"CR line ends", true, QByteArray(head + rows(0, 3)).replace("\n", ""), none, 3},
                 {"mixed line ends", true,
                  logfile::Header.toLatin1() + "\r" + rows(0, 1).chopped(2) + "\n" + rows(1, 2) + rows(2, 3).chopped(1),
                  none, 3},
                 {"fields past the third", true, head + "0,10,0,x,y\r\n", none, 1},
                 {"fewer than three fields", true, head + "0,10\r\n1\r\n", none, 1, Answer::Yes, 0},
                 {"time as 1.0", true, head + rows(0, 1) + "1.0,10.1,10\r\n", none, 2},
                 {"row 3 missing", true, head + rows(0, 3) + rows(4, 6), trouble},
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
        const bool opened = o.content != "-" || o.answer == Answer::Yes;
        QCOMPARE(QFileInfo(w.files.graphFiles().suggestedPicturePath()).absolutePath() == w.dir.path(),
                 o.log && opened);
    }

    // A save that is refused shows why, opens no dialog and writes nothing; an existing
    // file is replaced whole or left alone as the user answers.
    void save_data()
    {
        QTest::addColumn<Save>("s");
        const QByteArray old(200, 'x');
        const QStringList abnormal {Abnormal}, question {FileCommands::OverwriteQuestion};
        for (const Save &s : std::initializer_list<Save> {
                 {"red field", false, "99", "-", Answer::Yes, abnormal, "-"},
                 {"no log", true, nullptr, "-", Answer::Yes, {FileCommands::NoLogText}, "-"},
                 {"overwrite, no", false, nullptr, old, Answer::No, question, old},
                 {"overwrite, yes", false, nullptr, old, Answer::Yes, question, Block.toLatin1()}})
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
        QVERIFY(s.old == "-" || put(file, s.old));
        w.dialogs.paths = {file};
        w.boxes.answers = {s.answer};
        s.log ? w.files.mnuSaveLog_Click() : w.files.mnuSave_Click();
        QCOMPARE(w.boxes.texts(), s.messages);
        QCOMPARE(w.dialogs.filters.isEmpty(), s.messages != QStringList {FileCommands::OverwriteQuestion});
        QCOMPARE(contentOf(file), s.after);
    }

    void logRoundTrip()
    {
        World w;
        w.fillLog();
        const QList<std::tuple<float, float, QByteArray>> special {{12.3f, 150, "1,12.3,150"},
                                                                   {-1, 300, "2,,300"},
                                                                   {4.9f, -1, "3,4.9,"},
                                                                   {-1.5f, -0.999f, "4,-1.5,-0.999"},
                                                                   {12.345678f, 0.5f, "5,12.34568,0.5"}};
        for (int i = 0; i < special.size(); ++i) // rows 1 to 5 as other versions of the program write them
            std::tie(w.store.VoltData[size_t(i) + 1], w.store.CurData[size_t(i) + 1], std::ignore) = special[i];
        LogStore saved = w.store;
        saved.VoltData[5] = 12.34568f; // seven significant digits
        const QString file = w.dir.filePath("run.csv");
        w.dialogs.paths = {file, file};
        w.files.mnuSaveLog_Click();
        const QList<QByteArray> lines = contentOf(file).split('\n');
        QCOMPARE(lines.size(), 514); // 513 lines, each ended by CR LF
        QVERIFY(lines[0] == logfile::Header.toLatin1() + '\r' && lines[7] == "6,8.06,60\r" && lines[513].isEmpty());
        for (int i = 0; i < special.size(); ++i)
            QCOMPARE(lines[i + 2], std::get<2>(special[i]) + '\r');
        w.holdLog(3.f);
        w.files.munOpenLog_Click();
        QVERIFY(w.store.VoltData == saved.VoltData && w.store.CurData == saved.CurData);
        QVERIFY(w.viewer.window() && w.viewer.window()->isVisible());
        QVERIFY(w.boxes.shown.isEmpty() && w.dialogs.filters == QStringList(2, FileCommands::LogFilter));
    }

    // A save that cannot be done says so, and leaves what was on disk as it was.
    void saveFails_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::newRow("folder missing") << "";
        QTest::newRow("name is a folder") << "folder";
        QTest::newRow("disk full part-way") << "disk full";
    }
    void saveFails()
    {
        QFETCH(QString, setup);
        World w;
        w.fillLog();
        const QString file = w.dir.filePath(setup.isEmpty() ? "no such folder/run.csv" : "run.csv");
        const QByteArray old("old log\r\n");
        QVERIFY(setup == "folder" ? QDir().mkpath(file) : setup.isEmpty() || put(file, old));
        const QStringList before = QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        w.dialogs.paths = {file};
        rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit {setup == "disk full" ? 4096 : saved.rlim_cur, saved.rlim_max}; // as on a full disk
        std::signal(SIGXFSZ, SIG_IGN); // the failed write is reported as EFBIG, not by a signal
        setrlimit(RLIMIT_FSIZE, &limit);
        w.files.mnuSaveLog_Click();
        setrlimit(RLIMIT_FSIZE, &saved);

        QCOMPARE(w.boxes.texts().size(),
                 setup == "folder" || setup.isEmpty() ? 1 : 2); // else the overwrite question first
        QVERIFY2(w.boxes.texts().last().startsWith(FileCommands::NotSavedText + "\r\n" + file),
                 qPrintable(w.boxes.texts().last()));
        QCOMPARE(w.boxes.shown.last().icon, Icon::Critical);
        QCOMPARE(QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QVERIFY(setup == "folder" ? QFileInfo(file).isDir() : setup.isEmpty() || contentOf(file) == old);
    }
};

QTEST_MAIN(TstFileCommands)
#include "tst_file_commands.moc"
