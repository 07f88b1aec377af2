#pragma once
#include <QString>
#include <QStringView>

class LogStore;

// The log file: a header line and one line per sample, "time,voltage,current", lines
// ended by CR LF (CR or LF alone are read too), an empty field for a sample without a
// value. Files written by every earlier version of the program open here, and files
// written here open there.
namespace logfile {

inline const QString Header = QStringLiteral("Time(s),Voltage(V),Current(A)");
inline const QString LineEnd = QStringLiteral("\r\n");

// A log file is about 10 KB; anything past this is not one, and is refused without
// being read into memory.
constexpr qint64 ReadLimit = 1024 * 1024;

// The whole file text for the store: the header and all 512 rows, even empty ones.
QString MakeRunDat(const LogStore &store);

enum class Load {
    Empty, // nothing in the file: nothing loaded
    Loaded, // every line was taken
    Refused // a line was wrong; the store is as it was
};

// Reads a log file text into the store, line by line; CR, LF and CR LF all end a line, as
// files from other systems have them. The store is not cleared first: samples the file
// does not list keep their values. A refused file changes nothing, so the log held (and
// shown) is never replaced in part by rows of a file the user was told is broken.
Load loadLogText(QStringView text, LogStore &store);

} // namespace logfile
