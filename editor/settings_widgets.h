#pragma once
#include "settings/field_table.h"
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;
class SpinButton;

// Creates the settings widgets at their places: the nine visible rows on the main
// window and the four hidden rows, mode boxes, type and version in the hidden frame.
// Owns nothing beyond what Qt's parent-child ownership already does.
struct SettingsWidgets {
    SettingsWidgets(QWidget *window, QWidget *fraTmp);

    std::array<QLineEdit *, fields::Count> txtData {};
    std::array<SpinButton *, fields::Count> upDownData {};
    std::array<QLabel *, fields::Count> captions {};
    std::array<QLabel *, fields::Count> units {};
    QCheckBox *chkCurLimOff = nullptr;
    QLabel *lblCurLim = nullptr; // the unit label of field 7
    std::array<QCheckBox *, 4> chkMode {};
    QLineEdit *txtZxType = nullptr;
    QLineEdit *txtVer = nullptr;

private:
    void nameForScreenReaders(int i);
};
