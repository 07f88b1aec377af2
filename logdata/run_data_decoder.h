#pragma once
#include <QString>

class LogStore;

// Length of the meaningful part of the controller's run-data reply: two characters that
// are not read, then 512 samples of four hex digits (voltage byte, current byte).
constexpr int RunDataReplyLength = 2 + 512 * 4;

// Decodes a run-data reply into both arrays of the store, replacing every sample.
// Characters 1-2 and everything after character 2050 are ignored; hex digits may be of
// either case. A byte FF, a pair cut off by a short reply or a pair holding anything but
// two hex digits gives -1 (no value) for that quantity of that sample. The store is
// written in one step, so it never holds part of the old log and part of the new one.
void decodeRunData(const QString &reply, LogStore &store);
