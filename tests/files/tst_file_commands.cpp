// The File menu's commands against real files in a temporary folder, with the dialogs
// and message boxes answered by script.
#include "files/file_commands.h"
#include "logview/frm_log.h" // LogViewer keeps a QPointer to it
#include "logview/log_store.h"
#include "logview/log_viewer.h"
#include "platform/ini_file.h"
#include "settings/settings_editor.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/scripted_file_dialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using Answer = MessageBoxes::Answer;
Q_DECLARE_METATYPE(MessageBoxes::Answer)

namespace {

const QString Block = "D007401FF0054C046C070000000000000640556A6432330A500085C80000030A";

QString withChars(QString block, int position, const QString &chars)
{
    return block.replace(position - 1, chars.size(), chars);
}

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

struct World {
    QTemporaryDir dir;
    QWidget window;
    QWidget fraTmp{&window};
    RecordingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    SettingsEditor editor{&window, &fraTmp, boxes};
    LogStore store;
    IniFile ini{dir.filePath("zx.ini")};
    LogViewer viewer{store, ini, {0, 0}, &window};
    QString readData;
    FileCommands files{dialogs, boxes, editor, store, viewer, [this] { return readData; }};

    World()
    {
        editor.MainIni();
        store.markEmpty();
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    // Everything a settings block can change in the window.
    QStringList shown() const
    {
        QStringList s{editor.TxtZxType()->text(), editor.TxtVer()->text(),
                      QString::number(editor.ChkCurLimOff()->isChecked())};
        for (int i = 0; i < 13; ++i)
            s << editor.TxtData(i)->text() + u'/' + QString::number(editor.fieldColour(i));
        for (int b = 0; b < 4; ++b)
            s << QString::number(editor.ChkMode(b)->isChecked());
        return s;
    }
    void fillLog()
    {
        for (int i = 0; i < LogStore::SampleCount; ++i) {
            store.VoltData[size_t(i)] = i == 37 ? -1.f : float(8 + i / 100.0);
            store.CurData[size_t(i)] = i == 37 || i == 40 ? -1.f : float(i % 48 * 10);
        }
    }
};

} // namespace

class TstFileCommands : public QObject {
    Q_OBJECT
private slots:
    void settingsRoundTrip_data()
    {
        QTest::addColumn<QString>("block");
        QTest::newRow("limiter on") << Block;
        QTest::newRow("limiter off") << withChars(Block, 39, "FF");
        QTest::newRow("other mode flags") << withChars(Block, 63, "05");
    }
    void settingsRoundTrip()
    {
        QFETCH(QString, block);
        World w;
        w.readData = block;
        w.editor.ShowReadData(block, BlockSource::Device);
        const QStringList before = w.shown();
        const QString file = w.path("typed without extension");
        const QString again = w.path("again");
        w.dialogs.paths = {file, file, again};

        w.files.mnuSave_Click();
        QCOMPARE(contentOf(file), block.toLatin1()); // the block and nothing else
        QVERIFY(!QFile::exists(file + ".set"));

        w.editor.ClearDisplay();
        w.readData.clear(); // as after a start without reading the controller
        w.files.mnuOpen_Click();
        QCOMPARE(w.shown(), before);
        if (block.mid(38, 2) == "FF")
            QCOMPARE(w.editor.CurLimData(), 480.f);

        w.files.mnuSave_Click(); // a file opened alone saves the same block again
        QCOMPARE(contentOf(again), block.toLatin1());
        QCOMPARE(w.boxes.texts(), QStringList());
        QCOMPARE(w.dialogs.filters, QStringList(3, FileCommands::SettingsFilter));
    }

    // Only a file of exactly one readable block changes the fields; anything else is
    // passed over in silence, or told as trouble when it cannot be read.
    void settingsWithoutEffect_data()
    {
        const QByteArray other = withChars(Block, 1, "E803").toLatin1();
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("line end added") << other + "\r\n" << QStringList();
        QTest::newRow("63 characters") << other.left(63) << QStringList();
        QTest::newRow("65 characters") << other + "0" << QStringList();
        QTest::newRow("empty") << QByteArray() << QStringList();
        QTest::newRow("2 MiB") << other.repeated(32768) << QStringList();
        QTest::newRow("unreadable") << "G" + other.mid(1) << QStringList{FileCommands::TroubleText};
    }
    void settingsWithoutEffect()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, messages);
        World w;
        w.editor.ShowReadData(Block, BlockSource::Device);
        const QStringList before = w.shown();
        put(w.path("f.set"), content);
        w.dialogs.paths = {w.path("f.set")};
        w.files.mnuOpen_Click();
        QCOMPARE(w.shown(), before);
        QCOMPARE(w.boxes.texts(), messages);
    }

    // The two questions, answered both ways; the missing file is made empty and loads nothing.
    void questions_data()
    {
        QTest::addColumn<QByteArray>("old"); // "-" for no file
        QTest::addColumn<int>("command");    // 0 open settings, 1 open log, 2 save settings
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("settings missing, yes") << QByteArray("-") << 0 << Answer::Yes << QByteArray("");
        QTest::newRow("settings missing, no") << QByteArray("-") << 0 << Answer::No << QByteArray("-");
        QTest::newRow("log missing, yes") << QByteArray("-") << 1 << Answer::Yes << QByteArray("");
        QTest::newRow("log missing, no") << QByteArray("-") << 1 << Answer::No << QByteArray("-");
        QTest::newRow("overwrite, no") << QByteArray(200, 'x') << 2 << Answer::No << QByteArray(200, 'x');
        QTest::newRow("overwrite, yes") << QByteArray(200, 'x') << 2 << Answer::Yes << Block.toLatin1();
    }
    void questions()
    {
        QFETCH(QByteArray, old);
        QFETCH(int, command);
        QFETCH(Answer, answer);
        QFETCH(QByteArray, after);
        World w;
        w.readData = Block;
        const QString file = w.path("f");
        if (old != "-")
            put(file, old);
        const QStringList before = w.shown();
        w.dialogs.paths = {file};
        w.boxes.answers = {answer};
        const std::array<void (FileCommands::*)(), 3> commands{
            &FileCommands::mnuOpen_Click, &FileCommands::munOpenLog_Click, &FileCommands::mnuSave_Click};
        if (command == 2)
            w.editor.ShowReadData(Block, BlockSource::Device);
        (w.files.*commands[size_t(command)])();
        QCOMPARE(w.boxes.texts(), QStringList{command == 2 ? "The file already exists. \r\nDo you overwrite?"
                                                           : "File not found. Create it?"});
        QCOMPARE(w.boxes.shown[0].icon, MessageBoxes::Icon::None);
        QCOMPARE(QFile::exists(file) ? contentOf(file) : QByteArray("-"), after);
        if (command < 2)
            QCOMPARE(w.shown(), before);
        QVERIFY(!w.viewer.window());
    }

    // A save that is refused shows why and opens no dialog.
    void saveRefused_data()
    {
        QTest::addColumn<QString>("field0");
        QTest::addColumn<bool>("log");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank field") << "" << false << "Data is abnormal!!\r\nPlease set it correctly.";
        QTest::newRow("red field") << "99" << false << "Data is abnormal!!\r\nPlease set it correctly.";
        QTest::newRow("no log") << "" << true << "There is no preserved data.";
    }
    void saveRefused()
    {
        QFETCH(QString, field0);
        QFETCH(bool, log);
        QFETCH(QString, message);
        World w;
        w.readData = Block;
        w.editor.ShowReadData(Block, BlockSource::Device);
        w.editor.TxtData(0)->setText(field0);
        w.dialogs.paths = {w.path("f")};
        log ? w.files.mnuSaveLog_Click() : w.files.mnuSave_Click();
        QCOMPARE(w.boxes.texts(), QStringList{message});
        QVERIFY(w.dialogs.filters.isEmpty());
        QVERIFY(!QFile::exists(w.path("f")));
    }

    void logRoundTrip()
    {
        World w;
        w.fillLog();
        const LogStore saved = w.store;
        const QString file = w.path("run.csv");
        w.dialogs.paths = {file, file};
        w.files.mnuSaveLog_Click();
        const QList<QByteArray> lines = contentOf(file).split('\n');
        QCOMPARE(lines.size(), 514);
        QCOMPARE(lines[38], QByteArray("37,,\r"));
        QCOMPARE(lines[41], QByteArray("40,8.4,\r"));

        w.store.VoltData.fill(3.f);
        w.store.CurData.fill(3.f);
        w.files.munOpenLog_Click();
        QVERIFY(w.store.VoltData == saved.VoltData && w.store.CurData == saved.CurData);
        QVERIFY(w.viewer.window() && w.viewer.window()->isVisible());
        QCOMPARE(w.dialogs.filters, QStringList(2, FileCommands::LogFilter));
        QCOMPARE(w.boxes.texts(), QStringList());
    }

    // Rows before the wrong line stay in the store; the window is not brought up.
    void logRefused_data()
    {
        const QByteArray head = "Time(s),Voltage(V),Current(A)\r\n0,1,2\r\n1,1,2\r\n2,1,2\r\n";
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("stored");
        QTest::newRow("row 3 missing") << head + "4,1,2\r\n" << 3;
        QTest::newRow("larger than any log") << head + "3,1,2" + QByteArray(2 << 20, ',') << 0;
    }
    void logRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, stored);
        World w;
        put(w.path("f.csv"), content);
        w.dialogs.paths = {w.path("f.csv")};
        w.files.munOpenLog_Click();
        QCOMPARE(w.boxes.texts(), QStringList{FileCommands::TroubleText});
        QCOMPARE(w.boxes.shown[0].icon, MessageBoxes::Icon::Critical);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.store.CurData[size_t(i)], i < stored ? 2.f : 0.f);
        QVERIFY(!w.viewer.window());
    }

    // A save that cannot be done says so, and leaves what was on disk as it was.
    void saveFails_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("setup");
        QTest::newRow("folder missing") << "no such folder/run.csv" << "";
        QTest::newRow("name is a folder") << "run.csv" << "folder";
        QTest::newRow("disk full part-way") << "run.csv" << "small limit";
        QTest::newRow("read-only folder") << "run.csv" << "read-only";
    }
    void saveFails()
    {
        QFETCH(QString, name);
        QFETCH(QString, setup);
        if (setup == "read-only" && geteuid() == 0)
            QSKIP("permission bits do not stop root");
        World w;
        w.fillLog();
        const QString file = w.path(name);
        const QByteArray old("old log\r\n");
        if (setup == "folder")
            QVERIFY(QDir().mkpath(file));
        else if (!setup.isEmpty())
            put(file, old);
        const QStringList before = QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        w.dialogs.paths = {file};

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (setup == "small limit") {
            rlimit small = saved;
            small.rlim_cur = 4096; // a write past this fails with EFBIG, as on a full disk
            setrlimit(RLIMIT_FSIZE, &small);
        }
        if (setup == "read-only")
            QFile::setPermissions(w.dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        w.files.mnuSaveLog_Click();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QFile::setPermissions(w.dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        const QStringList texts = w.boxes.texts();
        QCOMPARE(texts.size(), setup == "folder" || setup.isEmpty() ? 1 : 2);
        QVERIFY2(texts.last().startsWith(FileCommands::NotSavedText + "\r\n" + file), qPrintable(texts.last()));
        QCOMPARE(w.boxes.shown.last().icon, MessageBoxes::Icon::Critical);
        QCOMPARE(QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        if (setup == "folder")
            QVERIFY(QFileInfo(file).isDir());
        else if (!setup.isEmpty())
            QCOMPARE(contentOf(file), old);
    }
};

QTEST_MAIN(TstFileCommands)
#include "tst_file_commands.moc"
