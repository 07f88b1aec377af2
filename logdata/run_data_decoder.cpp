#include "run_data_decoder.h"
#include "log_store.h"

#include "settings/conversions.h"
#include "numtext/number_text.h"

namespace {

constexpr int NoValue = 0xFF;

// The byte of the two characters at `pos` (0-based), or -1 when the reply is cut off
// there or the pair is not two hex digits.
int byteAt(const QString &reply, qsizetype pos)
{
    if (pos + 2 > reply.size())
        return -1;
    return int(numtext::strictHex(QStringView(reply).mid(pos, 2), 2));
}

} // namespace

void decodeRunData(const QString &reply, LogStore &store)
{
    LogStore decoded;
    for (int s = 0; s < LogStore::SampleCount; ++s) {
        // Sample s: voltage at characters 4s+3..4s+4, current at 4s+5..4s+6 (from 1).
        const qsizetype at = 2 + 4 * qsizetype(s);
        const int volt = byteAt(reply, at);
        const int cur = byteAt(reply, at + 2);
        decoded.VoltData[s] = (volt < 0 || volt == NoValue) ? LogStore::Missing : HexToVolt(volt);
        decoded.CurData[s] = (cur < 0 || cur == NoValue) ? LogStore::Missing : HexToCurrent(cur);
    }
    store = decoded;
}
