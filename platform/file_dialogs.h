#pragma once
#include <QString>

// Open and save file dialogs. `filter` is a list of description|pattern pairs separated
// by "|", e.g. "ZX setting data (*.set)|*.set|ALL files(*.*)|*.*"; the first pair is
// selected. Both return the chosen path, or an empty string when the user cancelled.
// Open may return a name that does not exist. Save returns the name to write: one typed
// without an extension has the chosen filter's extension added.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString openFile(const QString &filter) = 0;
    virtual QString saveFile(const QString &filter) = 0;
    // A save dialog that starts at `suggestedPath` (folder and file name). Dialogs that
    // cannot suggest a name behave as saveFile.
    virtual QString saveFileAs(const QString &filter, const QString &suggestedPath)
    {
        Q_UNUSED(suggestedPath);
        return saveFile(filter);
    }
};
