#include "qt_file_dialogs.h"

#include <QFileDialog>

QString QtFileDialogs::toQtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QString pattern = parts[i + 1];
        // "*.*" means every file; on Unix it would only match names with a dot.
        const QString native = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
        const QString suffix = QLatin1Char('(') + pattern + QLatin1Char(')');
        if (description.endsWith(suffix))
            description.chop(suffix.size());
        out << description.trimmed() + QStringLiteral(" (") + native + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

QString QtFileDialogs::openFile(const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, QString(), QString(), toQtFilter(filter));
}

QString QtFileDialogs::saveFile(const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, QString(), QString(), toQtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtFileDialogs::saveFileAs(const QString &filter, const QString &suggestedPath)
{
    return QFileDialog::getSaveFileName(m_parent, QString(), suggestedPath, toQtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
