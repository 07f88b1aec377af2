#pragma once

class LogStore;
class QImage;

// The file work the log window asks for: a log file to compare with, and a picture of
// the graph to keep. Dialogs, questions and failure messages are the implementer's.
class LogFileAccess {
public:
    virtual ~LogFileAccess() = default;
    // Asks for a log file and reads it into `into`. False when the user cancelled or the
    // file was refused (the refusal has been told to the user).
    virtual bool openComparison(LogStore &into) = 0;
    // Asks where to keep the picture and writes it as PNG; a failure is told to the user.
    virtual void savePicture(const QImage &picture) = 0;
};
