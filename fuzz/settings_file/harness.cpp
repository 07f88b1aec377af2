// A settings file's bytes, as the Open command takes them, through the block decoder.
#include "files/settings_file.h"
#include "settings/settings_block.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Open reads one byte past a block at most; longer files are never looked at.
    if (size > size_t(settingsfile::ReadLimit) + 1)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto text = settingsfile::blockText(bytes);
    if (!text)
        return 0;
    if (text->size() != settingsfile::BlockLength)
        std::abort();
    if (block::deviceOf(*text) == block::Device::Zx316b)
        (void)block::read(*text);
    return 0;
}
