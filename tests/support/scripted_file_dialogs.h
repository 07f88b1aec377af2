#pragma once
#include "platform/file_dialogs.h"
#include <QStringList>

// Returns scripted paths in order (empty = cancelled once the script is used up) and
// records the filter each dialog was given.
class ScriptedFileDialogs : public FileDialogs {
public:
    QString openFile(const QString &filter) override { return next(filter); }
    QString saveFile(const QString &filter) override { return next(filter); }
    QString saveFileAs(const QString &filter, const QString &suggestedPath) override
    {
        suggestions << suggestedPath;
        return next(filter);
    }

    QStringList paths;
    QStringList filters;
    QStringList suggestions; // the suggested paths of saveFileAs, in order

private:
    QString next(const QString &filter)
    {
        filters << filter;
        return paths.isEmpty() ? QString() : paths.takeFirst();
    }
};
