// Feeds arbitrary bytes to the run-data decoder as a received reply. Every sample must
// come out as "no value" (-1) or as a value the conversions can produce from a byte.
#include "fuzz/harness_support.h"
#include "logdata/log_store.h"
#include "logdata/run_data_decoder.h"

using fuzzsupport::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LogStore store;
    decodeRunData(fuzzsupport::latin1(data, size), store); // one character per received byte
    for (int i = 0; i < LogStore::SampleCount; ++i) {
        const float v = store.VoltData[i], c = store.CurData[i];
        require(v == LogStore::Missing || (v >= 0.0f && v <= 19.8f));
        require(c == LogStore::Missing || (c >= 0.0f && c <= 480.0f));
    }
    // A reply too short for a sample can only give "no value" from that sample on.
    require(size >= size_t(RunDataReplyLength) || store.CurData[LogStore::SampleCount - 1] == LogStore::Missing);
    return 0;
}
