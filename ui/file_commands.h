#pragma once
#include "ui/graph_files.h"

#include <QString>
#include <functional>

class FileDialogs;
class LogStore;
class LogViewer;
class MessageBoxes;
class SettingsEditor;

// The File menu's commands: settings kept in .set files, run logs in .csv files.
// Each command is one modal step: dialog, an optional question, file access, done.
class FileCommands {
public:
    static inline const QString SettingsFilter =
        QStringLiteral(QT_TRANSLATE_NOOP("FileCommands", "ZX setting data (*.set)|*.set|ALL files(*.*)|*.*"));
    static inline const QString LogFilter =
        QStringLiteral(QT_TRANSLATE_NOOP("FileCommands", "ZX Log data (*.csv)|*.csv|ALL files(*.*)|*.*"));

    static inline const QString NotFoundQuestion =
        QStringLiteral(QT_TRANSLATE_NOOP("FileCommands", "File not found. Create it?"));
    static inline const QString OverwriteQuestion =
        QStringLiteral(QT_TRANSLATE_NOOP("FileCommands", "The file already exists. \r\nDo you overwrite?"));
    static inline const QString TroubleText =
        QStringLiteral(QT_TRANSLATE_NOOP("FileCommands", "Trouble is found in data."));
    static inline const QString NoLogText =
        QStringLiteral(QT_TRANSLATE_NOOP("FileCommands", "There is no preserved data."));
    static inline const QString NotSavedText =
        QStringLiteral(QT_TRANSLATE_NOOP("FileCommands", "The file was not saved."));

    // `readData` gives the last settings block read from the controller (empty when
    // none); the editor copies the bytes the tool does not own from it.
    FileCommands(FileDialogs &dialogs, MessageBoxes &boxes, SettingsEditor &editor, LogStore &store, LogViewer &viewer,
                 std::function<QString()> readData);
    ~FileCommands();
    FileCommands(const FileCommands &) = delete;
    FileCommands &operator=(const FileCommands &) = delete;

    void mnuOpen_Click(); // File > Setting Data > Open
    void mnuSave_Click(); // File > Setting Data > Save
    void munOpenLog_Click(); // File > Log Data > Open
    void mnuSaveLog_Click(); // File > Log Data > Save

    // Both kinds of file; a filter naming "setting" means a settings file, any other a log.
    void OpenDataFile(const QString &Filter);
    void SaveDataFile(const QString &Filter);

    // Shows a settings file's text in the fields when it is exactly one block long.
    void ShowLoadedSettings(const QString &text);

    // The log file text for the store as it stands.
    QString MakeRunDat() const;

    // The log window's comparison and picture commands, which it reaches through the viewer.
    GraphFiles &graphFiles() { return m_graphFiles; }

private:
    static bool isSettings(const QString &filter);
    bool ask(const QString &question);
    void showTrouble();

    FileDialogs &m_dialogs;
    MessageBoxes &m_boxes;
    SettingsEditor &m_editor;
    LogStore &m_store;
    LogViewer &m_viewer;
    std::function<QString()> m_readData;
    GraphFiles m_graphFiles;
};
