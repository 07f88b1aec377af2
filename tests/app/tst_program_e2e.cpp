// The program as a whole: early answers, ends told from outside, one path from the keyboard alone.
#include "app/command_line.h"
#include "app/single_instance.h"
#include "files/settings_file.h"
#include "tests/link/operations_world.h"
#include "tests/settings/worked_block.h"

#include <QDir>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QString Version = QStringLiteral("zx316b-link " ZX_PROJECT_VERSION "\n");

// One copy of the program in a folder of its own, its INI mapping Com1 to the simulator.
struct Installed {
    QTemporaryDir dir;
    QString exe = dir.filePath("zx316b-link");
    QString lockDir = dir.filePath("run");

    bool install(const QString &port)
    {
        QFile ini(dir.filePath("ZX316B Link.ini"));
        const QByteArray text = "[RS232C]\nCommPort=1\n\n[Ports]\nCom1=" + QFile::encodeName(port) + "\n";
        return QFile::copy(ZX_LINK_EXECUTABLE, exe) && QDir().mkpath(lockDir)
            && QFile::setPermissions(lockDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
            && ini.open(QIODevice::WriteOnly) && ini.write(text) == text.size();
    }
    void start(QProcess &process) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", lockDir); // where the single-instance lock goes
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(exe, {});
    }
    QString lockFile() const { return SingleInstance::lockPathFor(lockDir, exe); }
};

// True once the process holds the terminal behind `port` open.
bool holds(const QProcess &process, const QString &port)
{
    const QString terminal = QFileInfo(port).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(process.processId()));
    for (const QString &fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot))
        if (QFileInfo(fds.filePath(fd)).symLinkTarget() == terminal)
            return true;
    return false;
}

void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
}

} // namespace

class TestProgramE2e : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Arguments, then "=v": the version, "=h": the help, "=": nothing (the window starts). The first option wins,
    // Qt's own are passed over, look-alikes are no options (from a terminal: programAnswersWithoutADisplay).
    void earlyAnswer()
    {
        const QString help = QStringLiteral("Usage: zx316b-link [--help | --version]\n");
        for (const QString row : {"=", "-v=v", "--help=h", "-h=h", "--help --version=h", "-platform xcb --version=v",
                                  "-- --version=", "--versions -help="}) {
            const QStringList arguments = row.section('=', 0, 0).split(' ', Qt::SkipEmptyParts);
            const QString expected = row.endsWith("=v") ? Version : row.endsWith("=h") ? help : QString();
            const QString answer = commandline::earlyAnswer(QStringList {"/usr/bin/zx316b-link"} + arguments);
            QVERIFY2(answer.startsWith(expected) && answer.isEmpty() == expected.isEmpty(), qPrintable(row));
        }
    }

    // The real program, with no display to connect to and no platform chosen.
    void programAnswersWithoutADisplay()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(ZX_LINK_EXECUTABLE), {"--version"});
        QVERIFY(program.waitForFinished(20000));
        const QByteArray err = program.readAllStandardError();
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0 && err.isEmpty(),
                 err.constData());
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()), Version);
    }

    // A stop request ends the program as Exit does: exit code 0, port closed, lock gone. After a
    // kill the same port opens again, for the program and for anyone else.
    void endedFromOutside_data()
    {
        QTest::addColumn<int>("signal");
        for (auto [name, signal] :
             {std::pair {"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}, {"SIGKILL", SIGKILL}})
            QTest::newRow(name) << signal;
    }
    void endedFromOutside()
    {
        QFETCH(int, signal);
        ControllerSimulator sim;
        Installed copy;
        QVERIFY(sim.start() && copy.install(sim.portPath()));
        for (int start = 1; start <= (signal == SIGKILL ? 2 : 1); ++start) {
            QProcess program;
            copy.start(program);
            QVERIFY2(QTest::qWaitFor([&] { return holds(program, sim.portPath()); }, 20000),
                     qPrintable(QStringLiteral("start %1 did not open the port").arg(start)));
            QVERIFY(QFileInfo::exists(copy.lockFile()));
            ::kill(pid_t(program.processId()), signal);
            QVERIFY(program.waitForFinished(10000));
            if (signal != SIGKILL)
                QVERIFY(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0
                        && !QFileInfo::exists(copy.lockFile()));
        }
        QSerialPort port(sim.portPath()); // opened as the program opens it
        port.setParity(QSerialPort::OddParity);
        QVERIFY(QTest::qWaitFor([&] { return port.open(QIODevice::ReadWrite); }, 2000));
    }

    // Read, step a value with the arrow keys, write, save a settings file: from the keyboard alone.
    void readStepWriteSave()
    {
        OperationsWorld w;
        w.sim.setSettingsBlock(worked::Block);
        QVERIFY(QTest::qWaitForWindowActive(w.window));
        QPushButton *write = w.window->CmdZxCom(1);
        key(Qt::Key_Return); // on the first button, where the window starts
        QTRY_VERIFY(w.completed());
        for (int k = 0; k < 5; ++k) // past the other four buttons to the first field
            key(Qt::Key_Tab);
        key(Qt::Key_Up);
        QVERIFY(w.field(0) == "2001" && w.editor->TxtData(0)->font().bold());
        QCOMPARE(write->toolTip(), "Writes 1 changed field");

        // Alt+W writes; the verified write clears the marks.
        w.line.lines.clear();
        key(Qt::Key_W, Qt::AltModifier);
        QTRY_VERIFY_WITH_TIMEOUT(w.completed(), 15000);
        QCOMPARE(w.sim.settingsBlock().left(4), "D107");
        QVERIFY(!w.editor->TxtData(0)->font().bold() && write->toolTip() == "No field changed");

        const QString path = w.dir.filePath("keyboard.set");
        w.dialogs.paths << path;
        key(Qt::Key_S, Qt::ControlModifier);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), settingsfile::fileContent(w.sim.settingsBlock()));
    }
};

QTEST_MAIN(TestProgramE2e)
#include "tst_program_e2e.moc"
