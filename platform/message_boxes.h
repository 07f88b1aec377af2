#pragma once
#include <QString>

// Every modal message box the program shows goes through this seam, so that tests can
// answer boxes and see which ones were shown. Boxes carry the application title.
class MessageBoxes {
public:
    enum class Icon { None, Information, Exclamation, Critical };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~MessageBoxes() = default;
    virtual Answer show(const QString &text, Icon icon, Buttons buttons) = 0;
};
