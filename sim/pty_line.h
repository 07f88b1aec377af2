#pragma once
#include <QByteArray>
#include <QString>

// The controller's end of a pseudo-terminal, reached by the program through a symbolic
// link that stays at one path while the terminal behind it is replaced (after a hang-up).
class PtyLine {
public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine &) = delete;
    PtyLine &operator=(const PtyLine &) = delete;

    // Opens a fresh terminal pair in raw mode and points `linkPath` at its slave side,
    // replacing an earlier link there (never a file or folder). On failure returns false
    // with the reason in `why`, and the line stays closed.
    bool open(const QString &linkPath, QString *why);
    // Closes both sides: the program's port on the slave sees the line drop. The link is
    // left in place, pointing at a terminal that no longer answers.
    void close();
    // Removes the link if it still points at the last terminal this line opened.
    void removeLink();

    bool isOpen() const { return m_master >= 0; }
    // Non-blocking descriptor of the controller's side; -1 when closed.
    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }

    // Becomes readable when a program has closed the terminal, however it ended (-1 where
    // the system cannot tell); then call settle().
    int hangUpFd() const { return m_hangUpWatch; }
    // Undoes what the last program left on the terminal: its exclusive mode and its line
    // settings, so the next program opens it as it opened the first time.
    void settle();
    QString linkPath() const { return m_linkPath; }

private:
    bool openPair(QString *why);
    bool pointLink(const QString &linkPath, QString *why);

    int m_master = -1;
    // Held open so that the program closing and reopening its port never leaves the
    // master without a slave, which would make every read of the master fail at once.
    int m_slave = -1;
    int m_hangUpWatch = -1;
    QByteArray m_settings; // the terminal's line settings as this line set them up
    QString m_slavePath;
    QString m_linkPath;
};
