// Feeds arbitrary bytes to the run-data decoder as a received reply. Every sample must
// come out as "no value" (-1) or as a value the conversions can produce from a byte.
#include "logdata/log_store.h"
#include "logdata/run_data_decoder.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Received characters arrive as 8-bit text; keep each byte as one character.
    const QString reply = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    LogStore store;
    decodeRunData(reply, store);
    for (int i = 0; i < LogStore::SampleCount; ++i) {
        const float v = store.VoltData[i];
        const float c = store.CurData[i];
        if (!(v == LogStore::Missing || (v >= 0.0f && v <= 19.8f)))
            std::abort();
        if (!(c == LogStore::Missing || (c >= 0.0f && c <= 480.0f)))
            std::abort();
    }
    // A reply too short for a sample can only give "no value" from that sample on.
    if (size < size_t(RunDataReplyLength) && store.CurData[LogStore::SampleCount - 1] != LogStore::Missing)
        std::abort();
    return 0;
}
