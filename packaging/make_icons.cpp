// Writes the program's icon as PNG files, drawn by the same code as the logo in the main
// window: make_icons <folder> <size>...  gives <folder>/<size>x<size>/zx316b-link.png.
#include "ui/logo_widget.h"

#include <QDir>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Painting shapes into an image needs no display and no application object.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.size() < 3) {
        std::fputs("usage: make_icons <folder> <size>...\n", stderr);
        return 2;
    }
    for (qsizetype i = 2; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        const QString dir = QStringLiteral("%1/%2x%2").arg(args[1]).arg(size);
        if (!ok || size < 16 || size > 1024 || !QDir().mkpath(dir)
            || !LogoWidget::renderIcon(size).save(dir + QStringLiteral("/zx316b-link.png"))) {
            std::fprintf(stderr, "make_icons: cannot write the %s pixel icon in %s\n", qPrintable(args[i]),
                         qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
