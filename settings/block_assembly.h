#pragma once
#include "settings/field_table.h"
#include <QString>
#include <QStringView>
#include <array>

// Turns the field texts back into the 64 characters to write. The block must reproduce
// the controller's own text exactly (a write is verified by reading it back), so bytes
// the tool does not own are copied character for character from a block the controller
// produced, and the computed ones are upper case.
namespace assembly {

struct FieldState {
    QString text;
    bool red = false; // the editor's out-of-range mark
};
using FieldStates = std::array<FieldState, fields::Count>;
using FieldTexts = std::array<QString, fields::Count>;

// Index of the first field, in index order, that cannot be written; -1 when all can.
// A field cannot be written when it is empty, marked red, not wholly a number ("5x",
// "-"), or out of its range (a text ending in a period keeps its old colour, so the
// colour alone can be stale). Field 7 is exempt while the limiter is off.
int firstUnusableField(const FieldStates &states, bool curLimOff);

// A block from the controller to copy the bytes the tool does not own from: a whole,
// readable one.
bool isCopySource(QStringView block);

// The 64 characters built from the field texts. Requires fields that passed
// firstUnusableField and a copy source that passed isCopySource.
QString build(const FieldTexts &texts, bool curLimOff, QStringView copySource);

} // namespace assembly
