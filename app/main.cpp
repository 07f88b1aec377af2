// zx316b-link: the program that links a PC to the ZX316B speed controller.
#include "application.h"
#include "command_line.h"

#include "platform/posix_system.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Answered before the application object exists: it needs a display, and these two
    // must work from a terminal without one.
    const QString answer = commandline::earlyAnswer(commandline::fromArgv(argc, argv));
    if (!answer.isEmpty()) {
        std::fputs(answer.toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zx316b-link"));
    // Lets the desktop match the window to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("zx316b-link"));
    // The program ends when the main window closes, not when the first dialog does.
    QApplication::setQuitOnLastWindowClosed(false);

    // The texts in the user's language, when a translation is installed beside the program
    // or in the shared folder of an installed copy; English otherwise.
    QTranslator translator;
    const QString here = QApplication::applicationDirPath();
    for (const QString &folder :
         {here + QStringLiteral("/translations"), here + QStringLiteral("/../share/zx316b-link/translations")}) {
        if (translator.load(QLocale(), QStringLiteral("zx316b-link"), QStringLiteral("_"), folder)) {
            QApplication::installTranslator(&translator);
            break;
        }
    }

    Application shell(ShellPlace::ofThisProcess());
    // A kill, Ctrl+C or a closed terminal ends the program as Exit does: the port closed
    // (and its exclusive mode released), the single-instance lock removed. A request that
    // comes while the program starts is carried out once it runs.
    bool running = false;
    bool stopRequested = false;
    posixsystem::onTerminationSignal([&] {
        if (running)
            shell.endProgram();
        else
            stopRequested = true;
    });
    if (!shell.Main())
        return 0;
    running = true;
    if (stopRequested)
        QTimer::singleShot(0, &shell, &Application::endProgram);
    return app.exec();
}
