#pragma once
// What the harnesses that drive widgets share: one offscreen application for the whole
// run, and message boxes that answer without showing anything.
#include "fuzz/harness_support.h"
#include "platform/message_boxes.h"

#include <QApplication>

namespace fuzzsupport {

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
}

// OK for every box, No for every question.
class SilentBoxes : public MessageBoxes {
public:
    Answer show(const QString &, Icon, Buttons b) override { return b == Buttons::Ok ? Answer::Ok : Answer::No; }
};

} // namespace fuzzsupport
