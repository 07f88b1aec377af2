#pragma once
#include <QList>
#include <QPair>
#include <QString>

// The program's profile (INI) file: [section] lines and key=value lines, read and written
// one key at a time. Section and key names match without regard to letter case. A write
// replaces the file atomically and keeps every other section, key and comment as it was.
// The file is untrusted input: any content reads without failing. Lines end at CR, LF or
// CR LF. A path that is not a regular file (a FIFO, a device, a folder), a file larger
// than MaxFileSize or one that cannot be read is never parsed nor replaced: it reads as
// an empty file and writes fail.
class IniFile {
public:
    static inline const QString Missing = QStringLiteral("Error");
    static constexpr int MaxValueLength = 255;
    // Large enough for any profile file a person writes; a bigger file is not ours.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    enum class State {
        Absent, // no file yet: reads give "Error", a write creates it
        Usable, // a regular file within the size cap
        NotRegular, // ignored and kept
        TooLarge, // ignored and kept
        Unreadable // ignored and kept; `error` says why
    };

    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    // The value stored under key in section, cut to its first 255 characters and at the
    // first NUL; "Error" when the file, the section or the key is missing.
    QString ReadIni(const QString &section, const QString &key) const;

    // Stores value under key in section, creating the file and the section when needed.
    // Returns false when the file could not be written (callers may ignore it).
    bool WriteIni(const QString &section, const QString &key, const QString &value);

    // What is at the path now; `error` gets the reason for Unreadable.
    State state(QString *error = nullptr) const;

    bool hasSection(const QString &section) const;
    // Every key=value entry of the section, in file order (values cut like ReadIni's).
    QList<QPair<QString, QString>> entries(const QString &section) const;

private:
    QString m_path;
};
