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

const QString Block = QStringLiteral("D007401FF0054C046C070000000000000640556A6432330A500085C80000030A");

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
    IniFile ini{dir.filePath(QStringLiteral("zx.ini"))};
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
        QTest::newRow("limiter off") << withChars(Block, 39, QStringLiteral("FF"));
        QTest::newRow("other mode flags") << withChars(Block, 63, QStringLiteral("05"));
    }
    void settingsRoundTrip()
    {
        QFETCH(QString, block);
        World w;
        w.readData = block;
        w.editor.ShowReadData(block, BlockSource::Device);
        const QStringList before = w.shown();
        const QString file = w.path(QStringLiteral("typed without extension"));
        const QString again = w.path(QStringLiteral("again"));
        w.dialogs.paths = {file, file, again};

        w.files.mnuSave_Click();
        QCOMPARE(contentOf(file), block.toLatin1()); // the block and nothing else
        QVERIFY(!QFile::exists(file + QStringLiteral(".set")));

        w.editor.ClearDisplay();
        w.readData.clear(); // as after a start without reading the controller
        w.files.mnuOpen_Click();
        QCOMPARE(w.shown(), before);
        if (block.mid(38, 2) == QStringLiteral("FF"))
            QCOMPARE(w.editor.CurLimData(), 480.f);

        w.files.mnuSave_Click(); // a file opened alone saves the same block again
        QCOMPARE(contentOf(again), block.toLatin1());
        QCOMPARE(w.boxes.texts(), QStringList());
        QCOMPARE(w.dialogs.filters, QStringList(3, FileCommands::SettingsFilter));
    }

    // Only a file of exactly one block is shown; anything else is passed over in silence.
    void settingsIgnored_data()
    {
        const QByteArray other = withChars(Block, 1, QStringLiteral("E803")).toLatin1();
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("line end added") << other + "\r\n";
        QTest::newRow("63 characters") << other.left(63);
        QTest::newRow("65 characters") << other + "0";
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("2 MiB") << other.repeated(32768);
    }
    void settingsIgnored()
    {
        QFETCH(QByteArray, content);
        World w;
        w.editor.ShowReadData(Block, BlockSource::Device);
        const QStringList before = w.shown();
        put(w.path(QStringLiteral("f.set")), content);
        w.dialogs.paths = {w.path(QStringLiteral("f.set"))};
        w.files.mnuOpen_Click();
        QCOMPARE(w.shown(), before);
        QCOMPARE(w.boxes.texts(), QStringList());
    }

    void settingsRefused_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("message");
        QTest::newRow("unreadable") << withChars(Block, 1, QStringLiteral("G")) << FileCommands::TroubleText;
        QTest::newRow("deleted") << withChars(Block, 59, QStringLiteral("FF")) << "Setting Data is deleted.";
    }
    void settingsRefused()
    {
        QFETCH(QString, block);
        QFETCH(QString, message);
        World w;
        put(w.path(QStringLiteral("f.set")), block.toLatin1());
        w.dialogs.paths = {w.path(QStringLiteral("f.set"))};
        w.files.mnuOpen_Click();
        QCOMPARE(w.boxes.texts(), QStringList{message});
    }

    void missingFile_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("settings, yes") << FileCommands::SettingsFilter << Answer::Yes;
        QTest::newRow("settings, no") << FileCommands::SettingsFilter << Answer::No;
        QTest::newRow("log, yes") << FileCommands::LogFilter << Answer::Yes;
        QTest::newRow("log, no") << FileCommands::LogFilter << Answer::No;
    }
    void missingFile()
    {
        QFETCH(QString, filter);
        QFETCH(Answer, answer);
        World w;
        const QStringList before = w.shown();
        const QString file = w.path(QStringLiteral("new"));
        w.dialogs.paths = {file};
        w.boxes.answers = {answer};
        w.files.OpenDataFile(filter);
        QCOMPARE(w.boxes.texts(), QStringList{FileCommands::NotFoundQuestion});
        QCOMPARE(w.boxes.shown[0].icon, MessageBoxes::Icon::None);
        QCOMPARE(QFile::exists(file), answer == Answer::Yes);
        QCOMPARE(QFileInfo(file).size(), 0);
        QCOMPARE(w.shown(), before);
        QVERIFY(!w.viewer.window());
    }

    void overwrite_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("no") << Answer::No;
        QTest::newRow("yes") << Answer::Yes;
    }
    void overwrite()
    {
        QFETCH(Answer, answer);
        World w;
        w.readData = Block;
        w.editor.ShowReadData(Block, BlockSource::Device);
        const QByteArray old(200, 'x');
        put(w.path(QStringLiteral("f.set")), old);
        w.dialogs.paths = {w.path(QStringLiteral("f.set"))};
        w.boxes.answers = {answer};
        w.files.mnuSave_Click();
        QCOMPARE(w.boxes.texts(), QStringList{QStringLiteral("The file already exists. \r\nDo you overwrite?")});
        QCOMPARE(contentOf(w.path(QStringLiteral("f.set"))), answer == Answer::Yes ? Block.toLatin1() : old);
    }

    void saveRefusedFields_data()
    {
        QTest::addColumn<QString>("field0");
        QTest::newRow("blank") << QString();
        QTest::newRow("red") << QStringLiteral("99");
    }
    void saveRefusedFields()
    {
        QFETCH(QString, field0);
        World w;
        w.readData = Block;
        w.editor.ShowReadData(Block, BlockSource::Device);
        w.editor.TxtData(0)->setText(field0);
        w.dialogs.paths = {w.path(QStringLiteral("f.set"))};
        w.files.mnuSave_Click();
        QVERIFY(w.boxes.texts().value(0).startsWith(QStringLiteral("Data is abnormal!!")));
        QVERIFY(w.dialogs.filters.isEmpty());
        QVERIFY(!QFile::exists(w.path(QStringLiteral("f.set"))));
    }

    void saveLogWithoutLog()
    {
        World w;
        w.files.mnuSaveLog_Click();
        QCOMPARE(w.boxes.texts(), QStringList{FileCommands::NoLogText});
        QCOMPARE(w.boxes.shown[0].icon, MessageBoxes::Icon::Exclamation);
        QVERIFY(w.dialogs.filters.isEmpty());
    }

    void logRoundTrip()
    {
        World w;
        w.fillLog();
        const LogStore saved = w.store;
        const QString file = w.path(QStringLiteral("run.csv"));
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
        put(w.path(QStringLiteral("f.csv")), content);
        w.dialogs.paths = {w.path(QStringLiteral("f.csv"))};
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
        if (setup == QStringLiteral("read-only") && geteuid() == 0)
            QSKIP("permission bits do not stop root");
        World w;
        w.fillLog();
        const QString file = w.path(name);
        const QByteArray old("old log\r\n");
        if (setup == QStringLiteral("folder"))
            QVERIFY(QDir().mkpath(file));
        else if (!setup.isEmpty())
            put(file, old);
        const QStringList before = QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        w.dialogs.paths = {file};

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (setup == QStringLiteral("small limit")) {
            rlimit small = saved;
            small.rlim_cur = 4096; // a write past this fails with EFBIG, as on a full disk
            setrlimit(RLIMIT_FSIZE, &small);
        }
        if (setup == QStringLiteral("read-only"))
            QFile::setPermissions(w.dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        w.files.mnuSaveLog_Click();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QFile::setPermissions(w.dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        const QStringList texts = w.boxes.texts();
        QCOMPARE(texts.size(), setup == QStringLiteral("folder") || setup.isEmpty() ? 1 : 2);
        QVERIFY2(texts.last().startsWith(FileCommands::NotSavedText + QStringLiteral("\r\n") + file), qPrintable(texts.last()));
        QCOMPARE(w.boxes.shown.last().icon, MessageBoxes::Icon::Critical);
        QCOMPARE(QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        if (setup == QStringLiteral("folder"))
            QVERIFY(QFileInfo(file).isDir());
        else if (!setup.isEmpty())
            QCOMPARE(contentOf(file), old);
    }
};

QTEST_MAIN(TstFileCommands)
#include "tst_file_commands.moc"
