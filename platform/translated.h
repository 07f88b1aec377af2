#pragma once
#include <QCoreApplication>
#include <QString>

// A text of the program in the user's language. `source` is the English text as the code
// writes it (marked for the translation tools with QT_TRANSLATE_NOOP where it is defined),
// `context` the window or part it belongs to, so each window's texts stay together. Without
// a translation for the user's language the English text is shown as it is.
inline QString translated(const char *context, const QString &source)
{
    return QCoreApplication::translate(context, source.toUtf8().constData());
}
