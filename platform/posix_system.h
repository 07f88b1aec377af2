#pragma once
#include <QString>
#include <functional>

// The few services the program takes from a POSIX system directly. Everything else
// reaches the system through Qt; code outside this file includes no POSIX header.
namespace posixsystem {

// True when this user may both read and write `path` (a serial device).
bool canReadAndWrite(const QString &path);

// True when the standard stream is a terminal a person may be watching or typing at.
enum class StandardStream { Input, Output, Error };
bool isTerminal(StandardStream stream);

// Runs `handler` from the event loop of the calling thread when SIGTERM, SIGINT or SIGHUP
// arrives (a kill, Ctrl+C, the terminal closing), never inside the signal itself. After
// the first such signal the next one ends the process at once, so a program that cannot
// end in an orderly way can still be stopped. Needs a QCoreApplication; call it once.
// False when the signals could not be taken over (their default action then stays).
bool onTerminationSignal(std::function<void()> handler);

// Input of the terminal `fd` in batches: the terminal reports input as readable only once
// `chars` characters are waiting (at most 255; 1 or less: at the first one, as it does by
// default). A read still returns whatever is there. False when the terminal refused it.
bool setInputBatch(int fd, int chars);

// Characters received on the terminal `fd` and not read yet; -1 when it cannot be told.
int pendingInput(int fd);

} // namespace posixsystem
