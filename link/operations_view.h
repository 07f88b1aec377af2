#pragma once
#include <QString>
#include <optional>

// What the device operations tell whoever shows them (the window, or a command line),
// and the two things they ask of it. Messages for the message line and boxes go through
// their own seams; everything here happens on the operations' thread, in order.
class OperationsView {
public:
    virtual ~OperationsView() = default;

    // Operation `index` starts: nothing else may be started until it ends.
    virtual void operationStarted(int index) = 0;
    // Operation `index` has ended, whatever happened in it.
    virtual void operationEnded(int index) = 0;

    // The settings shown so far are about to be replaced: blank them.
    virtual void clearDisplay() = 0;
    // The controller sent a readable settings block (64 characters): show it. The view
    // may still refuse it (settings deleted, other device type) and say so itself.
    virtual void settingsAccepted(const QString &block) = 0;
    // The block to write, built from what the user set and the bytes the tool does not
    // own (taken from `readData`, the controller's last block). Nothing when the values
    // cannot be written; the view has told the user why.
    virtual std::optional<QString> makeWriteData(const QString &readData) = 0;
    // A written block was read back unchanged: the controller holds it now.
    virtual void settingsVerified(const QString &block) { (void)block; }
    // The controller sent its run log (the whole reply, echo included).
    virtual void runLogFetched(const QString &reply) = 0;
};
