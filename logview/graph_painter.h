#pragma once
#include "time_view.h"

class DrawingSurface;
class LogStore;

// The log graph's picture, free of any widget: background, grid and scale lines, a compared
// run and the two traces, drawn in twips on any drawing surface. The log window draws its
// graph with it, and so does anything else that wants the same picture (an exported file).
namespace graphpainter {

constexpr int GridColour = 0x808080;
constexpr int Background = 0xE0E0E0;
constexpr int VoltColour = 0xFF0000;
constexpr int CurColour = 0xC000C0;
constexpr int ShortTick = 70;

struct Look {
    bool voltLines = false; // "Scale Line" of the voltage scale: full-width lines
    bool curLines = false; // the same for the current scale
    TimeView view; // the stretch of time shown
    int voltColour = VoltColour;
    int curColour = CurColour;
    const LogStore *comparison = nullptr; // a second run drawn behind, lighter and dashed
};

// Background, grid, scale lines and the compared run.
void drawScales(DrawingSurface &s, const Look &look);
// Voltage and current of `store` over the scales.
void drawTraces(DrawingSurface &s, const LogStore &store, const Look &look);

} // namespace graphpainter
