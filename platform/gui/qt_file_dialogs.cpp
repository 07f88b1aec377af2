#include "qt_file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

struct FilterEntry {
    QString qtFilter; // "ZX setting data (*.set)"
    QString pattern; // "*.set"
};

QList<FilterEntry> filterEntries(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<FilterEntry> out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const QString pattern = parts[i + 1];
        // "*.*" means every file; on Unix it would only match names with a dot.
        const QString native = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
        const QString suffix = QLatin1Char('(') + pattern + QLatin1Char(')');
        if (description.endsWith(suffix))
            description.chop(suffix.size());
        out.append({description.trimmed() + QStringLiteral(" (") + native + QLatin1Char(')'), pattern});
    }
    return out;
}

} // namespace

QString QtFileDialogs::toQtFilter(const QString &filter)
{
    QStringList out;
    for (const FilterEntry &e : filterEntries(filter))
        out << e.qtFilter;
    return out.join(QStringLiteral(";;"));
}

QString QtFileDialogs::withExtension(const QString &path, const QString &pattern)
{
    // Only a pattern for one extension names one: "*.set" does, "*.*" does not.
    static const QRegularExpression single(QStringLiteral("^\\*\\.([A-Za-z0-9_]+)$"));
    const auto match = single.match(pattern);
    if (!match.hasMatch() || path.isEmpty())
        return path;
    // A name with any extension (any dot) is the user's own choice.
    if (QFileInfo(path).fileName().contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + match.captured(1);
}

QString QtFileDialogs::openFile(const QString &filter)
{
    QFileDialog dialog(m_parent, QString(), QString(), toQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist comes back too: the program offers to create it. Qt's
    // own dialog, because the platform's open dialogs insist on an existing file.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtFileDialogs::saveFile(const QString &filter)
{
    const QList<FilterEntry> entries = filterEntries(filter);
    QFileDialog dialog(m_parent, QString(), QString(), toQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Overwriting is asked by the program itself, about the name with its extension.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedNameFilter();
    QString pattern;
    for (const FilterEntry &e : entries)
        if (e.qtFilter == chosen)
            pattern = e.pattern;
    return withExtension(dialog.selectedFiles().constFirst(), pattern);
}

QString QtFileDialogs::saveFileAs(const QString &filter, const QString &suggestedPath)
{
    return QFileDialog::getSaveFileName(m_parent, QString(), suggestedPath, toQtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
