#pragma once
#include <array>

class DrawingSurface;
class TimeView;

// A second run drawn behind the first: the same colour made lighter, dashed, so the two
// never read as one. Only neighbouring seconds that both hold a value are joined.
namespace comparison {

constexpr int DashTwips = 120; // 8 pixels of line
constexpr int GapTwips = 75; // 5 pixels of gap

// Halfway between the colour and white.
int lighter(int bgr);

// Draws one quantity of the compared run on the scale y = (top - value) x PH / divisor.
void drawTrace(DrawingSurface &s, const std::array<float, 512> &data, double top, double divisor, const TimeView &view,
               int bgr, int widthPx);

} // namespace comparison
