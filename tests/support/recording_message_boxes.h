#pragma once
#include "platform/message_boxes.h"
#include <QList>
#include <QString>
#include <functional>

// Answers every box without showing it and records what was shown.
// Yes/No boxes get the next scripted answer (Yes when none is left); OK boxes get Ok.
// `onShow` runs inside show(), for tests that act while a modal box is up.
class RecordingMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        QString text;
        Icon icon;
        Buttons buttons;
    };

    Answer show(const QString &text, Icon icon, Buttons buttons) override
    {
        shown.append({text, icon, buttons});
        if (onShow)
            onShow(shown.last());
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto &s : shown)
            out << s.text;
        return out;
    }

    QList<Shown> shown;
    QList<Answer> answers;
    std::function<void(const Shown &)> onShow;
};
