#include "files/log_file.h"

#include "logdata/log_store.h"
#include "numtext/number_text.h"

#include <QList>
#include <cfloat>
#include <cmath>

namespace logfile {
namespace {

void appendValue(QString &text, float value)
{
    if (value != LogStore::Missing)
        text += numtext::shortestText(value);
}

// A value field: empty means "no sample"; anything else must be wholly a number that
// a single-precision sample can hold.
bool readValue(QStringView field, float &value)
{
    if (field.isEmpty()) {
        value = LogStore::Missing;
        return true;
    }
    if (!numtext::isCompleteNumber(field))
        return false;
    const double v = numtext::leadingNumber(field);
    if (!(std::fabs(v) <= FLT_MAX))
        return false;
    value = numtext::readSingle(field);
    return true;
}

// Line n of the file (0 is the header). False refuses the file.
bool takeLine(QStringView line, int n, LogStore &store)
{
    if (line.isEmpty())
        return false; // no field at all: neither a header nor a time
    const QList<QStringView> fields = line.split(u',');
    if (n == 0)
        return fields[0] == u"Time(s)";

    const QStringView time = fields[0];
    if (!numtext::isCompleteNumber(time) || numtext::leadingNumber(time) != double(n - 1))
        return false;

    const int index = n - 1;
    std::array<float, LogStore::SampleCount> *columns[2] = {&store.VoltData, &store.CurData};
    for (int c = 0; c < 2 && c + 1 < fields.size(); ++c) {
        float value = 0;
        if (!readValue(fields[c + 1], value))
            return false;
        // Rows past the last sample may carry a time, never a value.
        if (index >= LogStore::SampleCount)
            return false;
        (*columns[c])[size_t(index)] = value;
    }
    return true;
}

} // namespace

QString MakeRunDat(const LogStore &store)
{
    QString text;
    text.reserve(16 * 1024);
    text += Header + LineEnd;
    for (int i = 0; i < LogStore::SampleCount; ++i) {
        text += QString::number(i) + u',';
        appendValue(text, store.VoltData[size_t(i)]);
        text += u',';
        appendValue(text, store.CurData[size_t(i)]);
        text += LineEnd;
    }
    return text;
}

Load loadLogText(QStringView text, LogStore &store)
{
    if (text.isEmpty())
        return Load::Empty;
    // Read into a copy: the held log changes only when the whole file is accepted, and
    // then exactly as if its rows had been stored one by one.
    LogStore read = store;
    qsizetype pos = 0;
    for (int n = 0; pos < text.size(); ++n) {
        // CR, LF and CR LF each end a line; the last line may end at the end of the file.
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        qsizetype next = end;
        if (next < text.size())
            next += text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n' ? 2 : 1;
        const QStringView line = text.mid(pos, end - pos);
        pos = next;
        if (!takeLine(line, n, read))
            return Load::Refused;
    }
    store = read;
    return Load::Loaded;
}

} // namespace logfile
