// --version and --help: answered from a terminal without a display, before any window exists.
#include "platform/app_identity.h"
#include "app/command_line.h"

#include <QProcess>
#include <QTest>

namespace {
const QString Version = QStringLiteral("zx316b-link " ZX_PROJECT_VERSION "\n");
}

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void earlyAnswer_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("begins"); // empty: the program starts its window
        QTest::newRow("nothing") << QStringList() << QString();
        QTest::newRow("--version") << QStringList {"--version"} << Version;
        QTest::newRow("-v") << QStringList {"-v"} << Version;
        QTest::newRow("--help") << QStringList {"--help"} << "Usage: zx316b-link [--help | --version]\n";
        QTest::newRow("-h") << QStringList {"-h"} << "Usage: zx316b-link";
        QTest::newRow("the first of the two wins") << QStringList {"--help", "--version"} << "Usage:";
        QTest::newRow("after Qt's own options") << QStringList {"-platform", "xcb", "--version"} << Version;
        QTest::newRow("Qt's options alone") << QStringList {"-style", "fusion"} << QString();
        QTest::newRow("nothing after --") << QStringList {"--", "--version"} << QString();
        QTest::newRow("a look-alike") << QStringList {"--versions", "-help"} << QString();
    }
    void earlyAnswer()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, begins);
        const QString answer = commandline::earlyAnswer(QStringList {"/usr/bin/zx316b-link"} + arguments);
        QVERIFY2(answer.startsWith(begins) && answer.isEmpty() == begins.isEmpty(), qPrintable(answer));
    }

    // The real program, with no display to connect to and no platform chosen (the texts: earlyAnswer).
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
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
