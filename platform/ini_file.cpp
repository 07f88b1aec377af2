#include "ini_file.h"

#include "atomic_file.h"
#include "capped_file.h"

#include <QFile>
#include <QFileInfo>

namespace {

struct Parsed {
    QList<QByteArray> lines;
    QByteArray eol = "\n";
    IniFile::State state = IniFile::State::Absent;
    QString error; // why, when Unreadable
};

// CR, LF and CR LF each end a line.
QList<QByteArray> splitLines(const QByteArray &all)
{
    QList<QByteArray> lines;
    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype end = pos;
        while (end < all.size() && all[end] != '\r' && all[end] != '\n')
            ++end;
        lines.append(all.mid(pos, end - pos));
        if (end < all.size() && all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n')
            ++end;
        pos = end + 1;
    }
    return lines;
}

Parsed load(const QString &path)
{
    Parsed p;
    const CappedFile file = CappedFile::read(path, IniFile::MaxFileSize);
    switch (file.status) {
    case CappedFile::Status::Missing:
        return p;
    case CappedFile::Status::NotRegular:
        p.state = IniFile::State::NotRegular;
        return p;
    case CappedFile::Status::Unreadable:
        p.state = IniFile::State::Unreadable;
        p.error = file.error;
        return p;
    case CappedFile::Status::TooLarge:
        p.state = IniFile::State::TooLarge;
        return p;
    case CappedFile::Status::Read:
        break;
    }
    const QByteArray &all = file.bytes;
    p.state = IniFile::State::Usable;
    if (all.contains("\r\n"))
        p.eol = "\r\n";
    else if (all.contains('\r') && !all.contains('\n'))
        p.eol = "\r";
    p.lines = splitLines(all);
    return p;
}

bool sameName(const QByteArray &a, const QString &b)
{
    return QString::fromUtf8(a).compare(b, Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, or a null array for other lines.
QByteArray sectionName(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    if (t.startsWith('[')) {
        const int close = t.indexOf(']');
        if (close > 0)
            return t.mid(1, close - 1).trimmed();
    }
    return QByteArray();
}

bool isComment(const QByteArray &t)
{
    return t.startsWith(';') || t.startsWith('#');
}

// Splits "key=value"; false for lines that are not entries.
bool splitEntry(const QByteArray &line, QByteArray *key, QByteArray *value)
{
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || isComment(t) || t.startsWith('['))
        return false;
    const int eq = t.indexOf('=');
    if (eq <= 0)
        return false;
    *key = t.left(eq).trimmed();
    *value = t.mid(eq + 1).trimmed();
    return true;
}

QString cutValue(const QByteArray &raw)
{
    QByteArray v = raw;
    const int nul = v.indexOf('\0');
    if (nul >= 0)
        v.truncate(nul);
    QString s = QString::fromUtf8(v);
    if (s.size() > IniFile::MaxValueLength)
        s.truncate(IniFile::MaxValueLength);
    return s;
}

// Index range [begin, end) of the body of the first section called `section`; begin is -1
// when there is none.
QPair<int, int> findSection(const QList<QByteArray> &lines, const QString &section)
{
    int begin = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray name = sectionName(lines[i]);
        if (name.isNull())
            continue;
        if (begin >= 0)
            return {begin, i};
        if (sameName(name, section))
            begin = i + 1;
    }
    return {begin, int(lines.size())};
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::ReadIni(const QString &section, const QString &key) const
{
    const Parsed p = load(m_path);
    const auto [begin, end] = findSection(p.lines, section);
    if (begin < 0)
        return Missing;
    for (int i = begin; i < end; ++i) {
        QByteArray k, v;
        if (splitEntry(p.lines[i], &k, &v) && sameName(k, key))
            return cutValue(v);
    }
    return Missing;
}

IniFile::State IniFile::state(QString *error) const
{
    const Parsed p = load(m_path);
    if (error)
        *error = p.error;
    return p.state;
}

bool IniFile::hasSection(const QString &section) const
{
    return findSection(load(m_path).lines, section).first >= 0;
}

QList<QPair<QString, QString>> IniFile::entries(const QString &section) const
{
    QList<QPair<QString, QString>> out;
    const Parsed p = load(m_path);
    const auto [begin, end] = findSection(p.lines, section);
    for (int i = begin < 0 ? end : begin; i < end; ++i) {
        QByteArray k, v;
        if (splitEntry(p.lines[i], &k, &v))
            out.append({QString::fromUtf8(k), cutValue(v)});
    }
    return out;
}

bool IniFile::WriteIni(const QString &section, const QString &key, const QString &value)
{
    Parsed p = load(m_path);
    if (p.state != State::Absent && p.state != State::Usable)
        return false; // never replace a file we could not read
    const QByteArray entry = key.toUtf8() + '=' + value.toUtf8();
    const auto [begin, end] = findSection(p.lines, section);
    if (begin < 0) {
        if (!p.lines.isEmpty() && !p.lines.last().trimmed().isEmpty())
            p.lines.append(QByteArray());
        p.lines.append('[' + section.toUtf8() + ']');
        p.lines.append(entry);
    } else {
        int lastEntry = begin - 1;
        bool replaced = false;
        for (int i = begin; i < end; ++i) {
            QByteArray k, v;
            if (!p.lines[i].trimmed().isEmpty())
                lastEntry = i;
            if (splitEntry(p.lines[i], &k, &v) && sameName(k, key)) {
                p.lines[i] = k + '=' + value.toUtf8();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            p.lines.insert(lastEntry + 1, entry);
    }

    QByteArray all = p.lines.join(p.eol);
    all += p.eol;
    return replaceFileAtomically(m_path, all).isEmpty();
}
