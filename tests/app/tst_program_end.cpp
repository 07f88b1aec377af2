// The program as a process against the simulated controller: how it ends when it is told
// to from outside, and what a killed copy leaves for the next start.
#include "app/single_instance.h"
#include "sim/controller_simulator.h"

#include <QDir>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

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

} // namespace

class TestProgramEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
};

QTEST_MAIN(TestProgramEnd)
#include "tst_program_end.moc"
