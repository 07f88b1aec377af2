#pragma once

// What zx316b-cli tells its caller when it ends.
namespace cli {

enum class Exit {
    Done = 0,
    Failed = 1, // the controller or the port failed: time-out, port not opened, line lost
    Usage = 2, // the command line was wrong, or a question went unanswered (no --yes)
    Refused = 3, // data refused: an unreadable file or reply, a value out of range, settings
    // deleted, another device type
    VerifyNg = 4, // the read-back after a write differed
};

// Keeps the first failure of a run: later failures are mostly its consequences.
class Outcome {
public:
    void fail(Exit e)
    {
        if (m_exit == Exit::Done)
            m_exit = e;
    }
    Exit exit() const { return m_exit; }
    bool failed() const { return m_exit != Exit::Done; }

private:
    Exit m_exit = Exit::Done;
};

} // namespace cli
