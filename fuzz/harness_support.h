#pragma once
// What every harness shares: its input as 8-bit text and a check that stops the run.
#include <QString>
#include <cstdint>
#include <cstdlib>

namespace fuzzsupport {

inline QString latin1(const uint8_t *data, size_t size)
{
    return QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace fuzzsupport
