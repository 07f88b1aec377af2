#pragma once
#include <QString>

// Every modal message box the program shows goes through this seam, so that tests can
// answer boxes and see which ones were shown. Boxes carry the application title.
class MessageBoxes {
public:
    enum class Icon { None, Information, Exclamation, Critical };
    // YesNo: Yes is the default button; YesNoDefaultNo: No is, for what cannot be undone.
    enum class Buttons { Ok, YesNo, YesNoDefaultNo };
    enum class Answer { Ok, Yes, No };

    virtual ~MessageBoxes() = default;
    virtual Answer show(const QString &text, Icon icon, Buttons buttons) = 0;
};
