// A log file's text through the reader. Whatever a file leaves in the store, the program
// must be able to write it out and read that back.
#include "files/log_file.h"
#include "logdata/log_store.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > size_t(logfile::ReadLimit))
        return 0; // refused before it is read
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    LogStore store;
    store.VoltData.fill(1.5f);
    (void)logfile::loadLogText(text, store);

    const QString written = logfile::MakeRunDat(store);
    LogStore back;
    if (logfile::loadLogText(written, back) != logfile::Load::Loaded)
        std::abort();
    return 0;
}
