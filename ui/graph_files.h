#pragma once
#include "logview/log_file_access.h"

#include <QDateTime>
#include <QString>
#include <functional>

class FileDialogs;
class MessageBoxes;

// The log window's file commands: a log file to compare with, read by the same reader
// and refused by the same rules as File > Log Data > Open, and the graph kept as a PNG
// file, saved the way the program saves its other files.
class GraphFiles : public LogFileAccess {
public:
    static inline const QString PngFilter = QStringLiteral("PNG image (*.png)|*.png|ALL files(*.*)|*.*");

    GraphFiles(
        FileDialogs &dialogs, MessageBoxes &boxes,
        std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); });

    // The folder of the last log file opened or saved; pictures are suggested there.
    void rememberLogPath(const QString &path);
    QString logFolder() const { return m_logFolder; }

    bool openComparison(LogStore &into) override;
    void savePicture(const QImage &picture) override;

    // The suggested picture name: the date and time, in the log folder when there is one.
    QString suggestedPicturePath() const;

private:
    FileDialogs &m_dialogs;
    MessageBoxes &m_boxes;
    std::function<QDateTime()> m_now;
    QString m_logFolder;
};
