#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// Faults the simulated controller shows on request. A default-constructed value means a
// well-behaved controller. The faults below `onlyFor` change the replies picked by
// `onlyFor` and `times`; `readBack` works on its own (see there).
struct Misbehaviour {
    // Name used in `onlyFor` for the echo of a settings block sent after "sw".
    static inline const QString SettingsBlock = QStringLiteral("block");

    enum class GarbageAt { Instead, Before, After };
    enum class ReadBack { Faithful, FlipCharacter, LowerCaseCharacter };

    // Replies that misbehave: two-letter commands ("sr", "br", ...) or SettingsBlock.
    // Empty: every reply.
    QStringList onlyFor {};
    // How many of those replies misbehave before the controller behaves again; -1: all.
    int times = -1;

    // Commands are still taken in and acted on (a block is stored, a log erased), but
    // nothing is sent back: a broken transmit wire.
    bool silent = false;
    // Wait before the first character of the reply, in ms.
    int delayMs = 0;
    // Send only the first k characters of the reply; -1: all.
    int truncateAfter = -1;
    // Write the reply in pieces of this many characters, `splitGapMs` apart; 0: whole.
    int splitSize = 0;
    int splitGapMs = 0;
    // Bytes sent instead of, before or after the reply; empty: none.
    QByteArray garbage {};
    GarbageAt garbageAt = GarbageAt::Instead;
    // Hexadecimal digits of the reply in lower case (the echo is lower case anyway).
    bool lowerCaseHex = false;
    // Close the line after this many characters of the reply (after all of it when it is
    // shorter), as if the cable were pulled; -1: never. ControllerSimulator::reconnect()
    // brings the line back.
    int hangUpAfter = -1;

    // The first "sr" after a settings block was written returns that block with one
    // character changed: character `readBackIndex` flipped to another hex digit, or the
    // first letter A-F from `readBackIndex` on put in lower case. Later reads are faithful.
    ReadBack readBack = ReadBack::Faithful;
    int readBackIndex = 0;
};
