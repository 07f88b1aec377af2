// zx316b-link: the program that links a PC to the ZX316B speed controller.
#include "application.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zx316b-link"));
    // The program ends when the main window closes, not when the first dialog does.
    QApplication::setQuitOnLastWindowClosed(false);

    Application shell(ShellPlace::ofThisProcess());
    if (!shell.Main())
        return 0;
    return app.exec();
}
