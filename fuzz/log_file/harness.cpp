// A log file's text through the reader. Whatever a file leaves in the store, the program
// must be able to write it out and read that back.
#include "files/log_file.h"
#include "fuzz/harness_support.h"
#include "logdata/log_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > size_t(logfile::ReadLimit))
        return 0; // refused before it is read
    LogStore store;
    store.VoltData.fill(1.5f);
    (void)logfile::loadLogText(fuzzsupport::latin1(data, size), store);
    LogStore back;
    fuzzsupport::require(logfile::loadLogText(logfile::MakeRunDat(store), back) == logfile::Load::Loaded);
    return 0;
}
